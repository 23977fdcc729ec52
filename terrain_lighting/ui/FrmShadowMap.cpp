#include "ui/FrmShadowMap.h"

namespace landlume {

FrmShadowMap::FrmShadowMap(QWidget* parent) : QWidget(parent), picture_(new LightmapPicture(this))
{
    setObjectName(QStringLiteral("FrmShadowMap"));
    setWindowTitle(QStringLiteral("Lightmap"));
    picture_->move(0, 0);
}

} // namespace landlume
