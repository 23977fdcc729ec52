#include "ui/Form4.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <platform/TextFile.h>

namespace glazery {

Form4::Form4(QWidget* parent)
    : QDialog(parent)
{
    setObjectName("Form4");
    setWindowTitle("Help for Glazery");
    resize(700, 520);
    text1_ = new QPlainTextEdit(this);
    text1_->setObjectName("Text1");
    text1_->setReadOnly(true);
    QFont courier("Courier");
    courier.setStyleHint(QFont::TypeWriter);
    text1_->setFont(courier);
    auto* close = new QPushButton(tr("Close"), this);
    close->setObjectName("Command1");
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text1_);
    layout->addWidget(close, 0, Qt::AlignRight);
}

void Form4::loadText(const QString& path)
{
    text1_->clear();
    const platform::LinesResult read = platform::readTextLines(path);
    if (!read) {
        text1_->setPlainText(tr("The help file %1 cannot be read: %2").arg(path, read.error));
        return;
    }
    QString text;
    for (const QString& line : read.lines)
        text += line + QLatin1Char('\n');
    text1_->setPlainText(text);
}

QString Form4::text() const
{
    return text1_->toPlainText();
}

} // namespace glazery
