// What the tools create and refer to by id or name: textures, materials,
// lights, fonts and meshes, plus the sequence of GPU resource ids that
// textures, meshes and the background picture draw from.
#pragma once

#include "core/Stores.h"
#include "gpu/RenderTypes.h"
#include "image/TextureStore.h"
#include "scene/MeshRegistry.h"

#include <QFont>
#include <QString>

#include <map>

namespace kl::core {

struct ResourceStores {
    image::TextureStore textures;
    MaterialStore materials;
    LightStore lights;
    std::map<QString, QFont> fonts;   // by the name KLScreenText::CreateFont gave
    scene::MeshRegistry meshes;

    // A GPU resource id never handed out before (from 1).
    gpu::ResourceId newResourceId() { return nextResourceId_++; }

private:
    gpu::ResourceId nextResourceId_ = 1;
};

} // namespace kl::core
