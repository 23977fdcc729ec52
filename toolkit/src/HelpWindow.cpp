#include "toolkit/HelpWindow.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <platform/Paths.h>
#include <platform/TextFile.h>

namespace toolkit {

HelpWindow::HelpWindow(QWidget* parent, const HelpWindowNames& names)
    : QDialog(parent)
{
    setObjectName(names.windowName);
    setWindowTitle(names.caption);
    resize(700, 520);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(names.textBoxName);
    text_->setReadOnly(true);
    QFont font(names.fontFamily);
    font.setStyleHint(QFont::TypeWriter);
    text_->setFont(font);
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName("Command1");
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(close, 0, Qt::AlignRight);
}

void HelpWindow::loadText(const QString& path)
{
    text_->clear();
    const platform::LinesResult read = platform::readTextLines(path);
    if (!read) {
        text_->setPlainText(tr("The help file %1 cannot be read: %2").arg(path, read.error));
        return;
    }
    QString text;
    for (const QString& line : read.lines)
        text += line + QLatin1Char('\n');
    text_->setPlainText(text);
}

void HelpWindow::loadReadme(const QString& programFolder)
{
    loadText(platform::resolvePath(platform::joinPath(programFolder, QStringLiteral("Readme.txt"))));
}

QString HelpWindow::text() const
{
    return text_->toPlainText();
}

} // namespace toolkit
