#include "ui/ClsScreen2D.h"

#include "core/SceneSettings.h"

#include <korlith3d/KLScreen2D.h>

namespace landlume {

ClsScreen2D::ClsScreen2D() = default;
ClsScreen2D::~ClsScreen2D() = default;

void ClsScreen2D::Init_Screen2D(SceneSettings& settings)
{
    screen_ = std::make_unique<KLScreen2D>();
    settings.shadowCoordinates.assign(1, D3DVECTOR{});
}

void ClsScreen2D::Kill_Screen2D() { screen_.reset(); }

} // namespace landlume
