#include "ui/FrmInfo.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace landlume {

FrmInfo::FrmInfo(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmInfo"));
    setWindowTitle(QStringLiteral("Info about the author"));
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("Landlume - Lightmap generation tool\n"
                                           "Part of the Korlith3D SDK tools.\n\n"
                                           "Builds terrain from a heightmap, places objects on it\n"
                                           "and bakes their shadows into a lightmap."),
                            this);
    text->setObjectName(QStringLiteral("LblInfo"));
    layout->addWidget(text);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("CmdOK"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignRight);
}

} // namespace landlume
