// The landscape without a window: terrain from height maps, height and normal
// queries, the chunk meshes handed to a renderer, chunk settings, bad input.
#include "EngineTestSupport.h"

#include "korlith3d/KLLandscape.h"
#include "korlith3d/KLMaterialFactory.h"
#include "korlith3d/KLTextureFactory.h"

#include "core/Context.h"
#include "heightfield/HeightField.h"
#include "terrain/Terrain.h"
#include "terrain/TerrainDrawing.h"

#include <glm/gtc/matrix_transform.hpp>

#include <QElapsedTimer>
#include <QImage>

#include <cmath>
#include <functional>
#include <random>

using kltest::EngineTest;

namespace {

// An 8-bit grey picture with the levels `grey(column, row)`.
template <typename Grey>
QImage greyImage(int width, int height, Grey grey)
{
    QImage image(width, height, QImage::Format_Grayscale8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.scanLine(y)[x] = static_cast<uchar>(grey(x, y));
    return image;
}

class LandscapeTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        land = std::make_unique<KLLandscape>();
    }
    void TearDown() override
    {
        land.reset();
        EngineTest::TearDown();
    }
    void save(const QImage& image, const QString& name, const char* format = "BMP")
    {
        ASSERT_TRUE(image.save(path(name), format));
    }
    // The state behind `land`, as a renderer finds it.
    const kl::terrain::Terrain& terrain() const
    {
        const auto live = kl::core::Context::current()->landscape().live();
        EXPECT_EQ(live.size(), 1u);
        return *live.front()->terrain;
    }
    const kl::terrain::TerrainChunk& chunk(int column, int row) const
    {
        const auto& t = terrain();
        return t.chunks[std::size_t(row * t.layout.chunkColumns + column)];
    }

    std::unique_ptr<KLLandscape> land;
};

int pseudoGrey(int x, int y)
{
    return int((std::uint32_t(x) * 2654435761u ^ std::uint32_t(y) * 40503u) >> 7) % 256;
}

// Height on the two triangles of a grid cell, written out independently of
// the engine: the diagonal runs from the (low x, low z) corner to the (high x,
// high z) corner.
float triangleHeight(float h00, float h10, float h01, float h11, float fx, float fz)
{
    if (fx >= fz)
        return h00 * (1 - fx) + h10 * (fx - fz) + h11 * fz;
    return h00 * (1 - fz) + h01 * (fz - fx) + h11 * fx;
}

TEST_F(LandscapeTest, GridPointsAreGreyTimesFactorAndCellsFollowTheirTriangles)
{
    // 2 x 2 chunks at precision 4: 129 x 129 grid points, one per pixel.
    save(greyImage(129, 129, pseudoGrey), "map.bmp");
    land->SetHeightFactor(1.5f);
    land->GenerateTerrain("map.bmp", 4, 2, 2, 0, 10, 0);
    EXPECT_EQ(land->GetLandWidth(), 512.0f);
    EXPECT_EQ(land->GetLandHeight(), 512.0f);
    EXPECT_EQ(land->GetPrecision(), 4);
    for (int row = 0; row < 129; ++row)
        for (int column = 0; column < 129; ++column)
            ASSERT_EQ(land->GetHeight(float(column) * 4, float(row) * 4), float(pseudoGrey(column, row)) * 1.5f + 10)
                << column << ", " << row;

    std::mt19937 random(3);
    std::uniform_real_distribution<float> where(0.0f, 512.0f);
    for (int i = 0; i < 2000; ++i) {
        const float x = where(random), z = where(random);
        const int c = std::min(int(x / 4), 127), r = std::min(int(z / 4), 127);
        const auto h = [&](int dc, int dr) { return float(pseudoGrey(c + dc, r + dr)) * 1.5f + 10; };
        EXPECT_NEAR(land->GetHeight(x, z), triangleHeight(h(0, 0), h(1, 0), h(0, 1), h(1, 1), x / 4 - c, z / 4 - r),
                    1e-3)
            << x << ", " << z;
    }
}

TEST_F(LandscapeTest, PictureOfAnySizeIsStretchedOverTheLand)
{
    // 100 x 37 pixels over 3 x 1 chunks (768 x 256 units) at precision 8.
    const QImage picture = greyImage(100, 37, [](int x, int y) { return (x * 7 + y * 13) % 256; });
    save(picture, "odd.bmp");
    land->GenerateTerrain("odd.bmp", 8, 3, 1);
    const kl::terrain::HeightField pixels = kl::terrain::heightFieldFromImage(picture);
    // Corners sit on the corner pixels; each grid point on the bilinear stretch.
    EXPECT_EQ(land->GetHeight(0, 0), float(qGray(picture.pixel(0, 0))));
    EXPECT_EQ(land->GetHeight(768, 256), float(qGray(picture.pixel(99, 36))));
    EXPECT_EQ(land->GetHeight(768, 0), float(qGray(picture.pixel(99, 0))));
    for (int row = 0; row <= 32; ++row)
        for (int column = 0; column <= 96; ++column)
            ASSERT_NEAR(land->GetHeight(float(column) * 8, float(row) * 8),
                        pixels.sample(float(column) / 96, float(row) / 32), 1e-3);
}

TEST_F(LandscapeTest, ColourPicturesReadAsBrightnessInBmpAndJpg)
{
    QImage colour(65, 65, QImage::Format_RGB32);
    colour.fill(qRgb(200, 100, 40));
    save(colour, "colour.bmp");
    land->GenerateTerrain("colour.bmp", 4, 1, 1);
    EXPECT_EQ(land->GetHeight(100, 100), float((11 * 200 + 16 * 100 + 5 * 40) / 32));

    save(greyImage(65, 65, [](int, int) { return 90; }), "flat.jpg", "JPG");
    land->GenerateTerrain("FLAT.JPG", 4, 1, 1);   // found without regard to case
    EXPECT_NEAR(land->GetHeight(30, 200), 90.0f, 1.0f);
}

TEST_F(LandscapeTest, OutsideTheLandTheNearestEdgePointAnswers)
{
    save(greyImage(65, 65, [](int x, int y) { return x + 2 * y; }), "map.bmp");
    land->GenerateTerrain("map.bmp", 4, 1, 1, 100, 0, 50);   // land from (100, 50) to (356, 306)
    EXPECT_EQ(land->GetHeight(100, 50), 0.0f);
    EXPECT_EQ(land->GetHeight(-500, -500), 0.0f);
    EXPECT_EQ(land->GetHeight(1000, 2000), float(64 + 128));
    EXPECT_EQ(land->GetHeight(90, 50 + 4 * 10), land->GetHeight(100, 50 + 4 * 10));
    EXPECT_EQ(land->GetHeight(100 + 4 * 7, 400), float(7 + 128));
    const D3DVECTOR inside = land->GetNormal(355, 305), outside = land->GetNormal(900, 900);
    EXPECT_EQ(inside.x, outside.x);
    EXPECT_EQ(inside.y, outside.y);
    EXPECT_EQ(inside.z, outside.z);
}

TEST_F(LandscapeTest, NormalPointsDownAndIsPerpendicularToTheSurface)
{
    save(greyImage(65, 65, [](int, int) { return 77; }), "flat.bmp");
    land->GenerateTerrain("flat.bmp", 4, 1, 1);
    D3DVECTOR n = land->GetNormal(123, 45);
    EXPECT_EQ(n.x, 0.0f);
    EXPECT_EQ(n.y, -1.0f);
    EXPECT_EQ(n.z, 0.0f);

    // Rising 4 units per 4-unit cell along x: a 45 degree ramp.
    save(greyImage(65, 65, [](int x, int) { return 2 * x; }), "ramp.bmp");
    land->SetHeightFactor(2.0f);
    land->GenerateTerrain("ramp.bmp", 4, 1, 1);
    n = land->GetNormal(101, 37);
    EXPECT_NEAR(n.x, std::sqrt(0.5f), 1e-6);
    EXPECT_NEAR(n.y, -std::sqrt(0.5f), 1e-6);
    EXPECT_NEAR(n.z, 0.0f, 1e-6);
    EXPECT_NEAR(std::acos(-n.y) * 180 / M_PI, 45.0, 1e-4);
    // The same ramp along z tilts the normal in z.
    save(greyImage(65, 65, [](int, int y) { return 2 * y; }), "rampz.bmp");
    land->GenerateTerrain("rampz.bmp", 4, 1, 1);
    n = land->GetNormal(12, 200);
    EXPECT_NEAR(n.z, std::sqrt(0.5f), 1e-6);
    EXPECT_NEAR(n.x, 0.0f, 1e-6);

    // On rough ground the normal is that of the triangle under the point: its
    // negation is perpendicular to small steps along that triangle.
    save(greyImage(65, 65, pseudoGrey), "rough.bmp");
    land->SetHeightFactor(1.0f);
    land->GenerateTerrain("rough.bmp", 4, 1, 1);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> inCell(0.1f, 0.9f);
    std::uniform_int_distribution<int> cell(0, 63);
    for (int i = 0; i < 500; ++i) {
        float fx = inCell(random), fz = inCell(random);
        if (std::abs(fx - fz) < 0.05f)
            continue;
        const float x = float(cell(random)) * 4 + fx * 4, z = float(cell(random)) * 4 + fz * 4;
        const D3DVECTOR d = land->GetNormal(x, z);
        const float step = 0.01f;
        const glm::vec3 up(-d.x, -d.y, -d.z);
        const glm::vec3 alongX(step, land->GetHeight(x + step, z) - land->GetHeight(x, z), 0);
        const glm::vec3 alongZ(0, land->GetHeight(x, z + step) - land->GetHeight(x, z), step);
        EXPECT_GT(up.y, 0.0f);
        EXPECT_NEAR(glm::length(up), 1.0f, 1e-5);
        EXPECT_NEAR(glm::dot(up, alongX), 0.0f, 2e-4);
        EXPECT_NEAR(glm::dot(up, alongZ), 0.0f, 2e-4);
    }
}

TEST_F(LandscapeTest, ChunkMeshesAreTheQueriedSurface)
{
    save(greyImage(129, 65, pseudoGrey), "map.bmp");
    land->GenerateTerrain("map.bmp", 4, 2, 1, 10, 5, 20);
    const kl::terrain::Terrain& t = terrain();
    ASSERT_EQ(t.chunks.size(), 2u);
    const kl::terrain::TerrainChunk& right = chunk(1, 0);
    EXPECT_EQ(right.column, 1);
    ASSERT_EQ(right.positions.size(), 65u * 65u);
    ASSERT_EQ(right.indices.size(), 64u * 64u * 6u);
    EXPECT_EQ(right.positions.front(), glm::vec3(10 + 256, float(pseudoGrey(64, 0)) + 5, 20));
    EXPECT_EQ(right.positions.back(), glm::vec3(10 + 512, float(pseudoGrey(128, 64)) + 5, 20 + 256));
    for (const auto& p : right.positions)
        ASSERT_EQ(p.y, land->GetHeight(p.x, p.z));
    // Every drawn triangle lies on the queried surface (the same diagonal)
    // and faces up; so does its shading normal.
    for (std::size_t i = 0; i < right.indices.size(); i += 3) {
        const glm::vec3 a = right.positions[right.indices[i]], b = right.positions[right.indices[i + 1]],
                        c = right.positions[right.indices[i + 2]];
        const glm::vec3 centre = (a + b + c) / 3.0f;
        ASSERT_NEAR(land->GetHeight(centre.x, centre.z), centre.y, 4e-3) << i;
        const glm::vec3 face = glm::cross(b - a, c - a);
        ASSERT_GT(face.y, 0.0f);
        const D3DVECTOR down = land->GetNormal(centre.x, centre.z);
        ASSERT_NEAR(glm::dot(glm::normalize(face), glm::vec3(-down.x, -down.y, -down.z)), 1.0f, 1e-5);
    }
    for (const auto& n : right.normals)
        ASSERT_GT(n.y, 0.0f);
    // The lightmap spans the whole land: u = (x - x0) / LandWidth, v = (z - z0) / LandHeight.
    EXPECT_EQ(chunk(0, 0).lightmapUv.front(), glm::vec2(0, 0));
    EXPECT_EQ(right.lightmapUv.front(), glm::vec2(0.5f, 0));
    EXPECT_EQ(right.lightmapUv.back(), glm::vec2(1, 1));
}

TEST_F(LandscapeTest, TexturesMaterialAndDetailPerChunkOrAll)
{
    save(greyImage(65, 65, [](int, int) { return 0; }), "flat.bmp");
    save(kltest::testPattern(8, 8), "tex.bmp");
    KLTextureFactory textures;
    const int colour = textures.LoadTexture("tex.bmp", "Terrain_Texture");
    const int detail = textures.LoadTexture("tex.bmp", "Detail_Texture");
    KLMaterialFactory materials;
    const int landMat = materials.CreateMaterial("LandMat");
    const int rock = materials.CreateMaterial("Rock");
    land->GenerateTerrain("flat.bmp", 16, 4, 2);

    // Stretched once over chunks (1, 0)..(2, 1); the others keep no texture.
    land->SpreadTexture(colour, 1, 0, 2, 2, false);
    EXPECT_EQ(chunk(0, 0).baseTexture, 0);
    EXPECT_EQ(chunk(3, 1).baseTexture, 0);
    EXPECT_EQ(chunk(1, 1).baseTexture, colour);
    EXPECT_EQ(chunk(1, 0).baseUv.front(), glm::vec2(0, 0));
    EXPECT_EQ(chunk(1, 0).baseUv.back(), glm::vec2(0.5f, 0.5f));
    EXPECT_EQ(chunk(2, 1).baseUv.back(), glm::vec2(1, 1));
    // Repeated on every chunk of the rectangle.
    land->SpreadTexture(colour, 0, 0, 4, 2, true);
    EXPECT_EQ(chunk(3, 1).baseUv.front(), glm::vec2(0, 0));
    EXPECT_EQ(chunk(3, 1).baseUv.back(), glm::vec2(1, 1));

    land->SetMaterial(landMat, -1, 0);
    land->SetMaterial(rock, 2, 1);
    EXPECT_EQ(chunk(0, 0).material, landMat);
    EXPECT_EQ(chunk(2, 1).material, rock);
    EXPECT_EQ(chunk(2, 0).material, landMat);

    land->SetDetailTexture(detail);
    land->SetDetailTiling(5.0f, 5.0f, -1);
    land->SetDetailTiling(2.0f, 3.0f, 3, 0);
    EXPECT_EQ(chunk(1, 1).detailTexture, detail);
    EXPECT_EQ(chunk(1, 1).detailUv.back(), glm::vec2(5, 5));
    EXPECT_EQ(chunk(3, 0).detailUv.back(), glm::vec2(2, 3));

    EXPECT_KLERROR(land->SpreadTexture(99, 0, 0, 1, 1, false), KLERR_UNKNOWN_ID, "99");
    EXPECT_KLERROR(land->SpreadTexture(colour, 0, 0, 0, 1, false), KLERR_INVALID_CALL, "SpreadTexture");
    EXPECT_KLERROR(land->SetMaterial(77), KLERR_UNKNOWN_ID, "77");
    EXPECT_KLERROR(land->SetMaterial(rock, 4, 0), KLERR_INVALID_CALL, "(4, 0)");
    EXPECT_KLERROR(land->SetLightmap(55), KLERR_UNKNOWN_ID, "55");

    land->SetLightmap(detail);
    EXPECT_EQ(land->GetLightmap(), detail);
    land->DestroyTerrain();
    EXPECT_EQ(land->GetLightmap(), detail);
    EXPECT_KLERROR(land->SetMaterial(landMat), KLERR_INVALID_CALL, "no terrain");
}

TEST_F(LandscapeTest, RenderNeedsAViewAndCullingDropsOnlyChunksWhollyOutside)
{
    EXPECT_KLERROR(land->Render(true, false), KLERR_NOT_INITIALISED, "Render");
    // A camera at the origin looking along +z with a 90 degree view.
    const glm::mat4 view = glm::lookAtLH(glm::vec3(0), glm::vec3(0, 0, 1), glm::vec3(0, 1, 0));
    const glm::mat4 viewProjection = glm::perspectiveLH_NO(glm::radians(90.0f), 1.0f, 1.0f, 1000.0f) * view;
    EXPECT_FALSE(kl::terrain::outsideView(viewProjection, {-10, -10, 50}, {10, 10, 60}));      // ahead
    EXPECT_FALSE(kl::terrain::outsideView(viewProjection, {-500, -1, 900}, {500, 1, 2000}));  // straddles the far plane
    EXPECT_TRUE(kl::terrain::outsideView(viewProjection, {-10, -10, -60}, {10, 10, -50}));    // behind
    EXPECT_TRUE(kl::terrain::outsideView(viewProjection, {100, 0, 10}, {200, 5, 20}));        // off to the right
    EXPECT_TRUE(kl::terrain::outsideView(viewProjection, {-10, -10, 1500}, {10, 10, 1600}));  // beyond the far plane
}

TEST(LandscapeDetailLevels, NearChunksAreWholeAndEachDoublingOfTheDistanceIsOneStepCoarser)
{
    EXPECT_EQ(kl::terrain::lodLevel(0, 64), 0);
    EXPECT_EQ(kl::terrain::lodLevel(512, 64), 0);
    EXPECT_EQ(kl::terrain::lodLevel(600, 64), 1);
    EXPECT_EQ(kl::terrain::lodLevel(1500, 64), 2);
    EXPECT_EQ(kl::terrain::lodLevel(1e6f, 64), 3);
    EXPECT_EQ(kl::terrain::lodLevel(1e6f, 2), 1);   // a 2-cell chunk has no coarser grid than every 2nd point
}

namespace {

// A chunk of `cells` x `cells` cells with the given height at grid (i, j).
std::vector<glm::vec3> chunkGrid(int cells, const std::function<float(int, int)>& height)
{
    std::vector<glm::vec3> positions;
    for (int j = 0; j <= cells; ++j)
        for (int i = 0; i <= cells; ++i)
            positions.emplace_back(float(i) * 4.0f, height(i, j), float(j) * 4.0f);
    return positions;
}

} // namespace

TEST(LandscapeDetailLevels, LevelErrorsMeasureHowFarACoarseGridStrays)
{
    // A plane, even a tilted one, is exact at every level.
    const auto ramp = kl::terrain::levelErrors(chunkGrid(16, [](int i, int j) { return 3.0f * float(i) - float(j); }), 16);
    for (const float error : ramp)
        EXPECT_NEAR(error, 0.0f, 1e-4f);
    // One raised point at odd grid coordinates vanishes from every coarser level.
    const auto spike = kl::terrain::levelErrors(chunkGrid(16, [](int i, int j) { return i == 5 && j == 3 ? 7.0f : 0.0f; }), 16);
    EXPECT_EQ(spike[0], 0.0f);
    EXPECT_FLOAT_EQ(spike[1], 7.0f);
    EXPECT_FLOAT_EQ(spike[3], 7.0f);
    // A point kept by level 1 (even coordinates) but not by level 2: level 1
    // spreads it over twice the width (half the bump off at the fine points
    // beside it), level 2 misses it.
    const auto even = kl::terrain::levelErrors(chunkGrid(16, [](int i, int j) { return i == 2 && j == 6 ? 5.0f : 0.0f; }), 16);
    EXPECT_FLOAT_EQ(even[1], 2.5f);
    EXPECT_FLOAT_EQ(even[2], 5.0f);
    // A chunk of 2 cells has only levels 0 and 1: the others repeat level 1.
    const auto small = kl::terrain::levelErrors(chunkGrid(2, [](int i, int j) { return i == 1 && j == 0 ? 2.0f : 0.0f; }), 2);
    EXPECT_FLOAT_EQ(small[1], 2.0f);
    EXPECT_FLOAT_EQ(small[3], small[1]);
}

TEST(LandscapeDetailLevels, ChunksCoarsenWhileTheirErrorStaysUnderTwoPixels)
{
    const kl::terrain::LevelErrors errors{0.0f, 1.0f, 4.0f, 16.0f};
    constexpr float pixelsPerUnit = 500.0f;   // one unit at distance 1 spans 500 pixels
    // 1 unit of error spans 2 pixels at 250 units: level 1 from there on.
    EXPECT_EQ(kl::terrain::lodLevel(200.0f, 64, errors, pixelsPerUnit), 0);
    EXPECT_EQ(kl::terrain::lodLevel(260.0f, 64, errors, pixelsPerUnit), 1);
    EXPECT_EQ(kl::terrain::lodLevel(1100.0f, 64, errors, pixelsPerUnit), 2);
    // Never finer than the distance alone gives, even for a rough chunk.
    const kl::terrain::LevelErrors rough{0.0f, 1e6f, 1e6f, 1e6f};
    EXPECT_EQ(kl::terrain::lodLevel(100.0f, 64, rough, pixelsPerUnit), 0);
    EXPECT_EQ(kl::terrain::lodLevel(1500.0f, 64, rough, pixelsPerUnit), kl::terrain::lodLevel(1500.0f, 64));
    // A flat chunk is drawn coarsest at once; but no coarser than its cells allow.
    const kl::terrain::LevelErrors flat{};
    EXPECT_EQ(kl::terrain::lodLevel(10.0f, 64, flat, pixelsPerUnit), 3);
    EXPECT_EQ(kl::terrain::lodLevel(10.0f, 2, flat, pixelsPerUnit), 1);
    // Without a view size, the distance rule alone.
    EXPECT_EQ(kl::terrain::lodLevel(10.0f, 64, flat, 0.0f), 0);
}

TEST_F(LandscapeTest, BadInputRaisesAndKeepsThePreviousTerrain)
{
    save(greyImage(65, 65, [](int x, int) { return x; }), "good.bmp");
    land->GenerateTerrain("good.bmp", 4, 1, 1);
    const float before = land->GetHeight(40, 40);
    ASSERT_EQ(before, 10.0f);

    EXPECT_KLERROR(land->GenerateTerrain("missing.bmp", 4, 2, 2), KLERR_FILE_NOT_FOUND, "missing.bmp");
    writeFile("broken.bmp", "BM this is no picture");
    EXPECT_KLERROR(land->GenerateTerrain("broken.bmp", 4, 2, 2), KLERR_BAD_FILE_FORMAT, "broken.bmp");
    EXPECT_KLERROR(land->GenerateTerrain("good.bmp", 4, 0, 1), KLERR_INVALID_CALL, "chunk count");
    EXPECT_KLERROR(land->GenerateTerrain("good.bmp", 4, 3, -2), KLERR_INVALID_CALL, "chunk count");
    EXPECT_KLERROR(land->GenerateTerrain("good.bmp", 3, 1, 1), KLERR_INVALID_CALL, "precision 3");
    EXPECT_KLERROR(land->GenerateTerrain("good.bmp", 512, 1, 1), KLERR_INVALID_CALL, "precision 512");
    // Far too many vertices: refused at once, nothing allocated.
    QElapsedTimer timer;
    timer.start();
    EXPECT_KLERROR(land->GenerateTerrain("good.bmp", 4, 100000, 100000), KLERR_OUT_OF_MEMORY, "MiB");
    EXPECT_KLERROR(land->GenerateTerrain("good.bmp", 1, 2147483647, 2147483647), KLERR_OUT_OF_MEMORY, "MiB");
    EXPECT_KLERROR(land->GenerateTerrain("good.bmp", 256, 32768, 32768), KLERR_OUT_OF_MEMORY, "MiB");
    EXPECT_LT(timer.elapsed(), 1000);

    EXPECT_TRUE(land->HasTerrain());
    EXPECT_EQ(land->GetChunksX(), 1);
    EXPECT_EQ(land->GetHeight(40, 40), before);
}

TEST_F(LandscapeTest, WithoutTerrainHeightsAreZeroAndTheNormalPointsDown)
{
    EXPECT_FALSE(land->HasTerrain());
    EXPECT_EQ(land->GetHeight(10, 10), 0.0f);
    EXPECT_EQ(land->GetNormal(10, 10).y, -1.0f);
    save(greyImage(65, 65, [](int, int) { return 50; }), "map.bmp");
    land->GenerateTerrain("map.bmp", 4, 1, 1);
    EXPECT_EQ(land->GetHeight(10, 10), 50.0f);
    land->DestroyTerrain();
    EXPECT_EQ(land->GetHeight(10, 10), 0.0f);
    EXPECT_EQ(land->GetLandWidth(), 0.0f);
}

TEST(LandscapeMemory, EstimateGrowsWithTheGridAndNeverOverflows)
{
    kl::terrain::TerrainLayout layout;
    layout.precision = 4;
    layout.chunkColumns = layout.chunkRows = 8;
    const std::uint64_t shipped = kl::terrain::terrainBytes(layout);
    // 64 chunks of 65 x 65 vertices are at least their positions.
    EXPECT_GT(shipped, 64u * 65u * 65u * 12u);
    EXPECT_LT(shipped, 64u << 20);
    layout.precision = 1;
    EXPECT_GT(kl::terrain::terrainBytes(layout), 15 * shipped);
    layout.chunkColumns = layout.chunkRows = 2147483647;
    EXPECT_GT(kl::terrain::terrainBytes(layout), kl::terrain::kMaxTerrainBytes);
}

} // namespace
