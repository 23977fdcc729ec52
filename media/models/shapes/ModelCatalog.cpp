#include "ModelCatalog.h"

#include "Shapes.h"

#include <array>

namespace kl::models {

namespace {

constexpr std::array<ModelFile, 15> kCatalog = {{
    {"Glazery/Data/models/Sphere.X", ModelFormat::DirectX, &makeSphere},
    {"Glazery/Data/models/Teapot.X", ModelFormat::DirectX, &makeTeapot},
    {"Glazery/Data/models/Cube.X", ModelFormat::DirectX, &makeCube},
    {"Glazery/Data/models/Cylinder.X", ModelFormat::DirectX, &makeCylinder},
    {"Glazery/Data/models/Cone.X", ModelFormat::DirectX, &makeCone},
    {"Glazery/Data/models/Pyramid.X", ModelFormat::DirectX, &makePyramid},
    {"Glazery/Data/models/Torus.X", ModelFormat::DirectX, &makeTorus},
    {"Glazery/Data/models/Tube.X", ModelFormat::DirectX, &makeTube},
    {"Glazery/Data/models/Skull.X", ModelFormat::DirectX, &makeSkull},
    {"Emberly/mesh/pole.3ds", ModelFormat::Studio3ds, &makePole},
    {"Emberly/mesh/floor.3ds", ModelFormat::Studio3ds, &makeFloor},
    {"Landlume/Models/spot.x", ModelFormat::DirectX, &makeLightMarker},
    {"Landlume/Models/tree.x", ModelFormat::DirectX, &makeTree},
    {"Landlume/Models/rock.x", ModelFormat::DirectX, &makeRock},
    {"Landlume/Models/house.3ds", ModelFormat::Studio3ds, &makeHouse},
}};

}  // namespace

std::span<const ModelFile> modelCatalog()
{
    return kCatalog;
}

void writeAllModels(const std::filesystem::path& root)
{
    for (const ModelFile& entry : kCatalog) {
        const std::filesystem::path file = root / entry.relativePath;
        std::filesystem::create_directories(file.parent_path());
        exportModel(entry.build(), entry.format, file);
    }
}

}  // namespace kl::models
