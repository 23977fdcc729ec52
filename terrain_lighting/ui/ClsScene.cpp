#include "ui/ClsScene.h"

#include <korlith3d/KLScene.h>

namespace landlume {

ClsScene::ClsScene() = default;
ClsScene::~ClsScene() = default;

void ClsScene::Init_Scene()
{
    scene_ = std::make_unique<KLScene>();
    scene_->SetColor(0.79f, 0.89f, 1.0f);
}

void ClsScene::Kill_Scene() { scene_.reset(); }

KLScene& ClsScene::scene()
{
    if (!scene_)
        scene_ = std::make_unique<KLScene>();
    return *scene_;
}

} // namespace landlume
