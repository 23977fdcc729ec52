// "Lightmap": the child window showing the lightmap picture PicShadowMap at
// one pixel per texel. A right click on the picture pops up the "Lightmap
// effects" menu.
#pragma once

#include "ui/LightmapPicture.h"

#include <QWidget>

namespace landlume {

class FrmShadowMap : public QWidget {
    Q_OBJECT
public:
    explicit FrmShadowMap(QWidget* parent = nullptr);
    LightmapPicture* picture() const { return picture_; }

private:
    LightmapPicture* picture_;
};

} // namespace landlume
