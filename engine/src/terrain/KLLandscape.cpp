#include "korlith3d/KLLandscape.h"

#include "core/Context.h"
#include "gpu/Renderer.h"
#include "heightfield/HeightField.h"
#include "image/ImageLoader.h"
#include "terrain/Terrain.h"
#include "terrain/TextureGeneration.h"

#include <QFileInfo>
#include <QHash>

#include <new>

#include <platform/TextFile.h>

using kl::terrain::LandscapeData;
using kl::terrain::Terrain;
using kl::terrain::TerrainChunk;

namespace {

kl::terrain::HeightField readHeightMap(kl::core::Context& context, const QString& file)
{
    kl::image::LoadedImage loaded = kl::image::loadImageFile(context.resolve(file));
    if (loaded.image.isNull())
        context.fail(loaded.missing ? KLERR_FILE_NOT_FOUND : KLERR_BAD_FILE_FORMAT,
                     QStringLiteral("GenerateTerrain \"%1\": %2").arg(file, loaded.error));
    return kl::terrain::heightFieldFromImage(loaded.image);
}

void checkLayout(kl::core::Context& context, const kl::terrain::TerrainLayout& layout)
{
    if (!kl::terrain::validPrecision(layout.precision))
        context.fail(KLERR_INVALID_CALL,
                     QStringLiteral("GenerateTerrain: precision %1 is not one of 1, 2, 4, 8, 16, 32, 64, 128, 256")
                         .arg(layout.precision));
    if (layout.chunkColumns <= 0 || layout.chunkRows <= 0)
        context.fail(KLERR_INVALID_CALL, QStringLiteral("GenerateTerrain: invalid chunk count %1 x %2")
                                             .arg(layout.chunkColumns)
                                             .arg(layout.chunkRows));
    const std::uint64_t bytes = kl::terrain::terrainBytes(layout);
    if (bytes > kl::terrain::kMaxTerrainBytes)
        context.fail(KLERR_OUT_OF_MEMORY,
                     QStringLiteral("GenerateTerrain: %1 x %2 chunks at precision %3 would need %4 MiB, more than %5 MiB")
                         .arg(layout.chunkColumns)
                         .arg(layout.chunkRows)
                         .arg(layout.precision)
                         .arg(bytes >> 20)
                         .arg(kl::terrain::kMaxTerrainBytes >> 20));
}

} // namespace

KLLandscape::KLLandscape()
    : context_(kl::core::Context::current()), data_(std::make_shared<LandscapeData>())
{
    context_->landscape().add(data_);
}

KLLandscape::~KLLandscape() = default;

void KLLandscape::SetHeightFactor(float factor)
{
    state().heightFactor = factor;
}

float KLLandscape::GetHeightFactor() const
{
    return state().heightFactor;
}

void KLLandscape::GenerateTerrain(const QString& file, int precision, int chunksX, int chunksZ, float x, float y,
                                  float z)
{
    const kl::terrain::TerrainLayout layout{precision, chunksX, chunksZ, {x, y, z}, state().heightFactor};
    checkLayout(*context_, layout);
    const kl::terrain::HeightField heightMap = readHeightMap(*context_, file);
    try {
        state().terrain = kl::terrain::buildTerrain(heightMap, layout);
        ++state().geometryRevision;
    } catch (const std::bad_alloc&) {
        context_->fail(KLERR_OUT_OF_MEMORY, QStringLiteral("GenerateTerrain \"%1\": out of memory").arg(file));
    }
}

void KLLandscape::DestroyTerrain()
{
    state().terrain.reset();
    ++state().geometryRevision;
}

bool KLLandscape::HasTerrain() const
{
    return state().terrain.has_value();
}

int KLLandscape::GetChunksX() const
{
    return state().terrain ? state().terrain->layout.chunkColumns : 0;
}

int KLLandscape::GetChunksZ() const
{
    return state().terrain ? state().terrain->layout.chunkRows : 0;
}

int KLLandscape::GetPrecision() const
{
    return state().terrain ? state().terrain->layout.precision : 0;
}

float KLLandscape::GetLandWidth() const
{
    return state().terrain ? state().terrain->landSize().x : 0.0f;
}

float KLLandscape::GetLandHeight() const
{
    return state().terrain ? state().terrain->landSize().y : 0.0f;
}

float KLLandscape::GetHeight(float x, float z) const
{
    return state().terrain ? state().terrain->shape->surface.height(x, z) : 0.0f;
}

D3DVECTOR KLLandscape::GetNormal(float x, float z) const
{
    if (!state().terrain)
        return {0.0f, -1.0f, 0.0f};
    const glm::vec3 up = state().terrain->shape->surface.upNormal(x, z);
    return {-up.x, -up.y, -up.z};
}

namespace {

Terrain& terrainOrFail(kl::core::Context& context, LandscapeData& data, const char* operation)
{
    if (!data.terrain)
        context.fail(KLERR_INVALID_CALL,
                     QStringLiteral("%1: the landscape has no terrain (call GenerateTerrain first)")
                         .arg(QLatin1String(operation)));
    return *data.terrain;
}

void requireTexture(kl::core::Context& context, int id, const char* operation)
{
    if (!context.resources().textures.find(id))
        context.fail(KLERR_UNKNOWN_ID, QStringLiteral("%1: unknown texture id %2").arg(QLatin1String(operation)).arg(id));
}

// Applies `change` to every chunk (chunkX = -1) or to the one at (chunkX, chunkZ).
template <typename Change>
void forChunks(kl::core::Context& context, Terrain& terrain, int chunkX, int chunkZ, const char* operation,
               Change change)
{
    if (chunkX == -1) {
        for (TerrainChunk& chunk : terrain.chunks)
            change(chunk);
        return;
    }
    if (chunkX < 0 || chunkX >= terrain.layout.chunkColumns || chunkZ < 0 || chunkZ >= terrain.layout.chunkRows)
        context.fail(KLERR_INVALID_CALL, QStringLiteral("%1: no chunk (%2, %3) in a land of %4 x %5 chunks")
                                             .arg(QLatin1String(operation))
                                             .arg(chunkX)
                                             .arg(chunkZ)
                                             .arg(terrain.layout.chunkColumns)
                                             .arg(terrain.layout.chunkRows));
    change(terrain.chunks[std::size_t(chunkZ) * std::size_t(terrain.layout.chunkColumns) + std::size_t(chunkX)]);
}

} // namespace

void KLLandscape::SpreadTexture(int textureId, int firstX, int firstZ, int countX, int countZ, bool repeatPerChunk)
{
    Terrain& terrain = terrainOrFail(*context_, state(), "SpreadTexture");
    requireTexture(*context_, textureId, "SpreadTexture");
    if (countX <= 0 || countZ <= 0)
        context_->fail(KLERR_INVALID_CALL,
                       QStringLiteral("SpreadTexture: invalid chunk count %1 x %2").arg(countX).arg(countZ));
    const std::int64_t endX = std::int64_t(firstX) + countX, endZ = std::int64_t(firstZ) + countZ;
    for (TerrainChunk& chunk : terrain.chunks) {
        if (chunk.column < firstX || chunk.column >= endX || chunk.row < firstZ || chunk.row >= endZ)
            continue;
        chunk.baseTexture = textureId;
        kl::terrain::spreadTexture(chunk, terrain.shape->surface, firstX, firstZ, countX, countZ, repeatPerChunk);
    }
    ++state().geometryRevision;
}

void KLLandscape::SetMaterial(int materialId, int chunkX, int chunkZ)
{
    Terrain& terrain = terrainOrFail(*context_, state(), "SetMaterial");
    if (!context_->resources().materials.find(materialId))
        context_->fail(KLERR_UNKNOWN_ID, QStringLiteral("SetMaterial: unknown material id %1").arg(materialId));
    forChunks(*context_, terrain, chunkX, chunkZ, "SetMaterial",
              [materialId](TerrainChunk& chunk) { chunk.material = materialId; });
}

void KLLandscape::SetDetailTexture(int textureId, int chunkX, int chunkZ)
{
    Terrain& terrain = terrainOrFail(*context_, state(), "SetDetailTexture");
    requireTexture(*context_, textureId, "SetDetailTexture");
    forChunks(*context_, terrain, chunkX, chunkZ, "SetDetailTexture",
              [textureId](TerrainChunk& chunk) { chunk.detailTexture = textureId; });
}

void KLLandscape::SetDetailTiling(float tileU, float tileV, int chunkX, int chunkZ)
{
    Terrain& terrain = terrainOrFail(*context_, state(), "SetDetailTiling");
    forChunks(*context_, terrain, chunkX, chunkZ, "SetDetailTiling", [tileU, tileV](TerrainChunk& chunk) {
        kl::terrain::setDetailTiling(chunk, {tileU, tileV});
    });
    ++state().geometryRevision;
}

void KLLandscape::SetLightmap(int textureId)
{
    if (textureId != 0)
        requireTexture(*context_, textureId, "SetLightmap");
    state().lightmapTexture = textureId;
}

int KLLandscape::GetLightmap() const
{
    return state().lightmapTexture;
}

void KLLandscape::Render(bool cullChunks, bool wireframe)
{
    kl::gpu::Renderer& renderer = context_->requireRenderer(QStringLiteral("Render"));
    kl::terrain::RenderRequest& render = state().render;
    render.cullChunks = cullChunks;
    render.wireframe = wireframe;
    ++render.count;
    const kl::gpu::FrameState frame = context_->frameState();
    std::vector<kl::gpu::DrawItem> items;
    const float pixelsPerUnit = frame.projection[1][1] * 0.5f * float(context_->rendering().viewportSize().height());
    state().drawing.appendItems(context_, state(), frame.projection * frame.view, cullChunks, frame.eyePosition,
                                pixelsPerUnit, items);
    if (!items.empty())
        renderer.drawItems(frame, items);
}

// --- Terrain texture generation ---

namespace {

// Reads a picture for GenerateTexture; `what` names it in the error.
QImage readGenerationPicture(kl::core::Context& context, const QString& file, const QString& what)
{
    kl::image::LoadedImage loaded = kl::image::loadImageFile(context.resolve(file));
    if (loaded.image.isNull())
        context.fail(loaded.missing ? KLERR_FILE_NOT_FOUND : KLERR_BAD_FILE_FORMAT,
                     QStringLiteral("GenerateTexture: %1 \"%2\": %3").arg(what, file, loaded.error));
    return loaded.image;
}

// Every layer's picture, a file named by several layers read once.
std::vector<kl::terrain::BlendLayer> readBlendLayers(kl::core::Context& context,
                                                     const std::vector<kl::terrain::TextureLayerSpec>& specs)
{
    std::vector<kl::terrain::BlendLayer> layers;
    QHash<QString, QImage> pictures;
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const QString& file = specs[i].texture;
        auto known = pictures.constFind(file);
        if (known == pictures.constEnd())
            known = pictures.insert(file, readGenerationPicture(context, file, QStringLiteral("layer %1").arg(i)));
        layers.push_back(kl::terrain::blendLayer(specs[i], *known));
    }
    return layers;
}

// Saves through the platform's atomic save: the output is never half-written.
void writeWholeFile(kl::core::Context& context, const QString& output, const QByteArray& bytes)
{
    const platform::SaveResult saved = platform::saveFileAtomically(context.resolve(output), bytes);
    if (!saved)
        context.fail(KLERR_FILE_ACCESS, QStringLiteral("GenerateTexture: cannot write \"%1\": %2").arg(output, saved.error));
}

} // namespace

void KLLandscape::ClearTextureLayers()
{
    if (textureLayers_)
        textureLayers_->layers.clear();
}

int KLLandscape::AddTextureLayer(const QString& texture, int altitudeMin, int altitudeMax, float blendPower,
                                 float uScale, float vScale, float slopeLimit)
{
    if (!textureLayers_)
        textureLayers_ = std::make_shared<kl::terrain::TextureLayerList>();
    std::vector<kl::terrain::TextureLayerSpec>& layers = textureLayers_->layers;
    if (layers.size() >= std::size_t(kMaxTextureLayers))
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("AddTextureLayer \"%1\": more than %2 texture layers")
                                               .arg(texture)
                                               .arg(kMaxTextureLayers));
    layers.push_back({texture, altitudeMin, altitudeMax, blendPower, uScale, vScale, slopeLimit});
    return int(layers.size()) - 1;
}

int KLLandscape::GetTextureLayerCount() const
{
    return textureLayers_ ? int(textureLayers_->layers.size()) : 0;
}

void KLLandscape::GenerateTexture(const QString& heightMap, const QString& output, int resolution)
{
    if (GetTextureLayerCount() == 0)
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("GenerateTexture \"%1\": no texture layers").arg(output));
    if (resolution < 1 || resolution > kl::terrain::kMaxTextureResolution)
        context_->fail(KLERR_INVALID_CALL, QStringLiteral("GenerateTexture \"%1\": resolution %2 is not 1 to %3")
                                               .arg(output)
                                               .arg(resolution)
                                               .arg(kl::terrain::kMaxTextureResolution));
    try {
        kl::terrain::BlendInputs inputs;
        inputs.heights = kl::terrain::heightFieldFromImage(
            readGenerationPicture(*context_, heightMap, QStringLiteral("height map")));
        inputs.layers = readBlendLayers(*context_, textureLayers_->layers);
        inputs.resolution = resolution;
        const QByteArray file = kl::terrain::blendedBmpFile(inputs, kl::terrain::generationThreads());
        writeWholeFile(*context_, output, file);
    } catch (const std::bad_alloc&) {
        context_->fail(KLERR_OUT_OF_MEMORY,
                       QStringLiteral("GenerateTexture \"%1\": out of memory at %2 x %2").arg(output).arg(resolution));
    }
}
