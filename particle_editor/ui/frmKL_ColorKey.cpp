#include "ui/frmKL_ColorKey.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace emberly {

frmKL_ColorKey::frmKL_ColorKey(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmKL_ColorKey"));
    setWindowTitle(QStringLiteral("Emberly - Color Key"));
    setModal(true);
    auto* grid = new QGridLayout(this);
    auto* title = new QLabel(QStringLiteral("Transparent Color"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    grid->addWidget(title, 0, 0, 1, 3);
    const char* const captions[] = {"None", "Black", "Blue", "Red", "Green", "Yellow", "Magenta", "Cyan",
                                    "Clear Black"};
    for (int i = 0; i < 9; ++i) {
        options_[std::size_t(i)] = new QRadioButton(QString::fromLatin1(captions[i]), this);
        options_[std::size_t(i)]->setObjectName(QStringLiteral("optKey_%1").arg(i));
        grid->addWidget(options_[std::size_t(i)], 1 + i / 3, i % 3);
    }
    options_[0]->setChecked(true);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    grid->addWidget(ok, 4, 2);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

std::int64_t frmKL_ColorKey::colorKey() const
{
    for (std::size_t i = 0; i < options_.size(); ++i)
        if (options_[i]->isChecked())
            return kColorKeys[i];
    return -1;
}

} // namespace emberly
