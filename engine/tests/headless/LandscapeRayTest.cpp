// Ray tests against the landscape: the hierarchy walk against a brute-force
// march over the shipped height map, the batch form against one-by-one tests,
// scenes of land and meshes, mouse picks.
#include "EngineTestSupport.h"

#include "korlith3d/KLLandscape.h"
#include "korlith3d/KLMesh.h"
#include "korlith3d/KLScene.h"

#include "Content.h"
// The content generator's height maps (by path: the engine's terrain folder
// has a Terrain.h of its own on the include path).
#include "../../../media/generator/Terrain.h"
#include "terrain/TerrainRay.h"

#include <glm/glm.hpp>

#include <cmath>
#include <limits>
#include <random>

using kltest::EngineTest;

namespace {

class LandscapeRayTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        scene = std::make_unique<KLScene>();
        land = std::make_unique<KLLandscape>();
    }
    void TearDown() override
    {
        land.reset();
        scene.reset();
        EngineTest::TearDown();
    }
    // Landlume's default land: the shipped height map on 8 x 8 chunks.
    void buildShippedLand()
    {
        const auto field = kl::media::makeHeightField(kl::media::kLandHeightMapSize, 1201);
        ASSERT_TRUE(kl::media::greyHeightMap(field).save(path("heightmap.bmp")));
        land->GenerateTerrain("heightmap.bmp", 4, 8, 8, 0, 0, 0);
    }
    void buildFlatLand(int grey, int chunks = 1)
    {
        QImage image(9, 9, QImage::Format_Grayscale8);
        image.fill(uint(grey));
        ASSERT_TRUE(image.save(path("flat.bmp")));
        land->GenerateTerrain("flat.bmp", 4, chunks, chunks, 0, 0, 0);
    }
    KLMesh box(const QString& name, float x, float y, float z)
    {
        writeFile("box.x", kltest::exportBox("x", -1, -1, -1, 1, 1, 1));
        KLMesh mesh = scene->CreateMesh(name);
        mesh.LoadX("box.x");
        mesh.SetPosition(x, y, z);
        return mesh;
    }

    std::unique_ptr<KLScene> scene;
    std::unique_ptr<KLLandscape> land;
};

// The reference marches some 10^8 samples: it is compiled optimised, also in
// debug builds, to keep the test short.
#pragma GCC push_options
#pragma GCC optimize("O2")

// The shipped land's surface written out from the picture alone: grid point
// (c, r) at (4c, grey, 4r), each 4-unit cell two triangles split along its
// (low x, low z)-(high x, high z) diagonal; outside the land the nearest edge.
class ReferenceSurface {
public:
    explicit ReferenceSurface(const QImage& picture) : size_(picture.width())
    {
        for (int r = 0; r < size_; ++r)
            for (int c = 0; c < size_; ++c)
                grey_.push_back(double(qGray(picture.pixel(c, r))));
    }
    double extent() const { return 4.0 * (size_ - 1); }
    double height(double x, double z) const
    {
        const double last = double(size_ - 1);
        const double gx = x <= 0.0 ? 0.0 : x >= 4.0 * last ? last : x / 4.0;
        const double gz = z <= 0.0 ? 0.0 : z >= 4.0 * last ? last : z / 4.0;
        const int c = std::min(int(gx), size_ - 2), r = std::min(int(gz), size_ - 2);
        const double fx = gx - c, fz = gz - r;
        const double h00 = at(c, r), h10 = at(c + 1, r), h01 = at(c, r + 1), h11 = at(c + 1, r + 1);
        return fx >= fz ? h00 * (1 - fx) + h10 * (fx - fz) + h11 * fz : h00 * (1 - fz) + h01 * (fz - fx) + h11 * fx;
    }

private:
    double at(int c, int r) const { return grey_[std::size_t(r) * std::size_t(size_) + std::size_t(c)]; }
    int size_;
    std::vector<double> grey_;
};

// What a plain march finds: the first point where the segment's height over
// the surface changes sign, sampled every 1/20 world unit across the land
// and refined by bisection. `grazing` marks segments whose clearance has a
// local minimum within kGrazing of the surface without crossing there:
// between two samples such a segment may touch or not, which no march can
// decide.
struct MarchResult {
    bool hit = false;
    bool grazing = false;
    glm::dvec3 point{0.0};
};

constexpr double kMarchStep = 0.05;
constexpr double kGrazing = 0.05;

MarchResult march(const ReferenceSurface& surface, const glm::dvec3& from, const glm::dvec3& to)
{
    const double dx = to.x - from.x, dy = to.y - from.y, dz = to.z - from.z;
    double t0 = 0.0, t1 = 1.0;
    for (const auto& [start, step] : {std::pair{from.x, dx}, std::pair{from.z, dz}}) {
        if (step == 0.0) {
            if (start < 0.0 || start > surface.extent())
                return {};
            continue;
        }
        double ta = (0.0 - start) / step, tb = (surface.extent() - start) / step;
        if (ta > tb)
            std::swap(ta, tb);
        t0 = std::max(t0, ta);
        t1 = std::min(t1, tb);
    }
    if (!(t1 > t0))
        return {};
    const auto clearance = [&](double t) __attribute__((optimize("O2"))) {
        return from.y + dy * t - surface.height(from.x + dx * t, from.z + dz * t);
    };
    const int steps = std::max(16, int(std::ceil(std::hypot(dx, dz) * (t1 - t0) / kMarchStep)));
    MarchResult result;
    double before = 1e30;   // |clearance| one sample back
    double previousT = t0, previous = clearance(t0);
    for (int i = 1; i <= steps; ++i) {
        const double t = t0 + (t1 - t0) * double(i) / steps;
        const double f = clearance(t);
        if (previous == 0.0 || f == 0.0 || (previous < 0.0) != (f < 0.0)) {
            double lo = previousT, hi = t;
            const bool startBelow = previous < 0.0;
            for (int k = 0; k < 60 && previous != 0.0; ++k) {
                const double mid = 0.5 * (lo + hi);
                ((clearance(mid) < 0.0) == startBelow ? lo : hi) = mid;
            }
            const double th = previous == 0.0 ? previousT : hi;
            result.hit = true;
            result.point = {from.x + dx * th, from.y + dy * th, from.z + dz * th};
            return result;
        }
        if (std::abs(previous) < kGrazing && std::abs(previous) <= before && std::abs(previous) <= std::abs(f))
            result.grazing = true;
        before = std::abs(previous);
        previousT = t;
        previous = f;
    }
    if (std::abs(previous) < kGrazing && std::abs(previous) <= before)
        result.grazing = true;
    return result;
}

#pragma GCC pop_options

// Segments of three kinds over a 2048-unit land: towards a light from points
// on the surface (as a lightmap bake casts them), anywhere in and around the
// land, and short ones close to the ground.
std::pair<glm::vec3, glm::vec3> randomSegment(std::mt19937& random, const KLLandscape& land)
{
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const auto range = [&](float lo, float hi) { return lo + (hi - lo) * unit(random); };
    const auto direction = [&](float minUp) {
        const float angle = range(0.0f, 6.2831853f);
        return glm::normalize(glm::vec3(std::cos(angle), range(minUp, 1.0f), std::sin(angle)));
    };
    const float x = range(-50.0f, 2098.0f), z = range(-50.0f, 2098.0f);
    const glm::vec3 ground(x, land.GetHeight(x, z), z);
    switch (random() % 3) {
    case 0: {
        const glm::vec3 light = direction(0.1f);
        return {ground + light * range(20.0f, 100.0f), ground + light * range(1.0f, 3.0f)};
    }
    case 1: {
        const glm::vec3 start(x, range(-10.0f, 300.0f), z);
        return {start, start + direction(-1.0f) * range(1.0f, 100.0f)};
    }
    default: {
        const glm::vec3 start = ground + glm::vec3(0.0f, range(-5.0f, 10.0f), 0.0f);
        return {start, start + direction(-1.0f) * range(0.5f, 30.0f)};
    }
    }
}

TEST_F(LandscapeRayTest, HierarchyWalkAgreesWithAMarchOnTheShippedHeightMap)
{
    buildShippedLand();
    std::mt19937 random(2024);
    int tested = 0, grazing = 0, hits = 0, mismatches = 0;
    double worst = 0.0;
    const ReferenceSurface surface(QImage(path("heightmap.bmp")));
    while (tested < 100000) {
        const auto [from, to] = randomSegment(random, *land);
        const MarchResult expected = march(surface, from, to);
        if (expected.grazing) {
            ++grazing;
            continue;
        }
        ++tested;
        KLCollisionResult result;
        const bool hit = scene->RayTest({from.x, from.y, from.z}, {to.x, to.y, to.z}, result, KL_COLLIDE_LANDSCAPE);
        if (hit != expected.hit || result.Hit != hit) {
            if (++mismatches <= 5)
                ADD_FAILURE() << "segment (" << from.x << ", " << from.y << ", " << from.z << ") - (" << to.x << ", "
                              << to.y << ", " << to.z << "): march " << expected.hit << ", engine " << hit;
            continue;
        }
        if (!hit)
            continue;
        ++hits;
        EXPECT_EQ(result.Type, KL_COLLIDE_LANDSCAPE);
        const double error = glm::length(glm::dvec3(result.Point.x, result.Point.y, result.Point.z) - expected.point);
        worst = std::max(worst, error);
        EXPECT_NEAR(result.Distance, glm::length(glm::dvec3(result.Point.x, result.Point.y, result.Point.z) -
                                                 glm::dvec3(from)), 1e-2);
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_LT(worst, 0.01);
    // The mix exercises both answers, and few segments are too close to call.
    EXPECT_GT(hits, 10000);
    EXPECT_LT(hits, 90000);
    EXPECT_LT(grazing, tested / 50);
    std::printf("%d segments, %d hits, worst hit distance %.2g, %d grazing ones skipped\n", tested, hits, worst,
                grazing);
}

TEST_F(LandscapeRayTest, BatchAgreesWithOneByOneOnEverySegment)
{
    buildShippedLand();
    KLMesh rock = box("Rock", 1000, land->GetHeight(1000, 1000) + 5, 1000);
    rock.SetScale(30.0f);
    std::mt19937 random(99);
    std::vector<D3DVECTOR> starts, ends;
    for (int i = 0; i < 20000; ++i) {
        const auto [from, to] = randomSegment(random, *land);
        starts.push_back({from.x, from.y, from.z});
        ends.push_back({to.x, to.y, to.z});
    }
    for (const int types : {int(KL_COLLIDE_LANDSCAPE), int(KL_COLLIDE_ALL), int(KL_COLLIDE_MESHES)}) {
        const std::vector<KLRayHit> batch = scene->RayTestBatch(starts, ends, types);
        const std::vector<std::uint8_t> hitsOnly = scene->RayTestBatchHits(starts, ends, types);
        ASSERT_EQ(batch.size(), starts.size());
        ASSERT_EQ(hitsOnly.size(), starts.size());
        int hits = 0, meshHits = 0;
        for (std::size_t i = 0; i < starts.size(); ++i) {
            KLCollisionResult single;
            const bool hit = scene->RayTest(starts[i], ends[i], single, types);
            ASSERT_EQ(batch[i].Hit, hit) << i;
            ASSERT_EQ(hitsOnly[i], hit ? 1 : 0) << i;
            ASSERT_EQ(batch[i].Type, single.Type) << i;
            ASSERT_EQ(batch[i].Point.x, single.Point.x) << i;
            ASSERT_EQ(batch[i].Point.y, single.Point.y) << i;
            ASSERT_EQ(batch[i].Point.z, single.Point.z) << i;
            ASSERT_EQ(batch[i].Distance, single.Distance) << i;
            ASSERT_EQ(batch[i].Group, single.Group) << i;
            ASSERT_EQ(batch[i].Mesh >= 0 ? scene->GetMesh(batch[i].Mesh) : KLMesh(), single.Mesh()) << i;
            hits += hit;
            meshHits += single.Type == KL_COLLIDE_MESHES;
        }
        EXPECT_GT(hits, 0) << types;
        EXPECT_EQ(meshHits > 0, types != KL_COLLIDE_LANDSCAPE) << types;
    }
    EXPECT_KLERROR(scene->RayTestBatch(std::span(starts).first(3), std::span(ends).first(2)), KLERR_INVALID_CALL,
                   "RayTestBatch");
    EXPECT_TRUE(scene->RayTestBatch({}, {}).empty());
    EXPECT_KLERROR(scene->RayTestBatchHits(std::span(starts).first(3), std::span(ends).first(2)), KLERR_INVALID_CALL,
                   "RayTestBatchHits");
    EXPECT_TRUE(scene->RayTestBatchHits({}, {}).empty());
}

TEST_F(LandscapeRayTest, BatchOfABakesParallelSegmentsAgreesWithOneByOne)
{
    // Most of these are settled by the sweep of shared lines, the rest walked;
    // the answers must be the one-by-one ones all the same.
    buildShippedLand();
    KLMesh rock = box("Rock", 700, land->GetHeight(700, 700) + 5, 700);
    rock.SetScale(30.0f);
    const glm::vec3 light = -glm::normalize(glm::vec3(2.0f, -1.0f, 2.0f));
    std::vector<D3DVECTOR> starts, ends;
    for (int x = 0; x <= 2048; x += 8) {
        for (int z = 0; z <= 2048; z += 8) {
            const glm::vec3 p(float(x), land->GetHeight(float(x), float(z)), float(z));
            const glm::vec3 from = p + light * 200.0f, to = p + light;
            starts.push_back({from.x, from.y, from.z});
            ends.push_back({to.x, to.y, to.z});
        }
    }
    for (const int types : {int(KL_COLLIDE_LANDSCAPE), int(KL_COLLIDE_ALL)}) {
        const std::vector<KLRayHit> batch = scene->RayTestBatch(starts, ends, types);
        const std::vector<std::uint8_t> hitsOnly = scene->RayTestBatchHits(starts, ends, types);
        int hits = 0, meshHits = 0;
        for (std::size_t i = 0; i < starts.size(); ++i) {
            KLCollisionResult single;
            const bool hit = scene->RayTest(starts[i], ends[i], single, types);
            ASSERT_EQ(hitsOnly[i], hit ? 1 : 0) << i;
            ASSERT_EQ(batch[i].Hit, hit) << i;
            ASSERT_EQ(batch[i].Type, single.Type) << i;
            ASSERT_EQ(batch[i].Point.x, single.Point.x) << i;
            ASSERT_EQ(batch[i].Point.y, single.Point.y) << i;
            ASSERT_EQ(batch[i].Point.z, single.Point.z) << i;
            ASSERT_EQ(batch[i].Distance, single.Distance) << i;
            hits += hit;
            meshHits += single.Type == KL_COLLIDE_MESHES;
        }
        EXPECT_GT(hits, int(starts.size()) / 20) << types;
        EXPECT_EQ(meshHits > 0, types == KL_COLLIDE_ALL) << types;
    }
}

TEST_F(LandscapeRayTest, NearestOfLandAndMeshesWins)
{
    buildFlatLand(50);   // flat at y = 50 over 256 x 256 units
    const KLMesh above = box("Above", 100, 60, 100);    // y 59..61, above the ground
    const KLMesh buried = box("Buried", 200, 20, 200);  // y 19..21, under it
    KLCollisionResult result;

    ASSERT_TRUE(scene->RayTest({100, 200, 100}, {100, 0, 100}, result, KL_COLLIDE_ALL));
    EXPECT_EQ(result.Type, KL_COLLIDE_MESHES);
    EXPECT_EQ(result.MeshName, "Above");
    EXPECT_NEAR(result.Point.y, 61, 1e-4);

    ASSERT_TRUE(scene->RayTest({100, 200, 100}, {100, 0, 100}, result, KL_COLLIDE_LANDSCAPE));
    EXPECT_EQ(result.Type, KL_COLLIDE_LANDSCAPE);
    EXPECT_TRUE(result.MeshName.isEmpty());
    EXPECT_TRUE(result.Mesh().IsNull());
    EXPECT_NEAR(result.Point.y, 50, 1e-4);
    EXPECT_NEAR(result.Distance, 150, 1e-3);

    ASSERT_TRUE(scene->RayTest({200, 200, 200}, {200, 0, 200}, result, KL_COLLIDE_ALL));
    EXPECT_EQ(result.Type, KL_COLLIDE_LANDSCAPE);
    EXPECT_NEAR(result.Point.y, 50, 1e-4);
    ASSERT_TRUE(scene->RayTest({200, 200, 200}, {200, 0, 200}, result, KL_COLLIDE_MESHES));
    EXPECT_EQ(result.MeshName, "Buried");
    // From below the ground the land is still the nearest surface.
    ASSERT_TRUE(scene->RayTest({200, 20, 230}, {200, 90, 230}, result, KL_COLLIDE_ALL));
    EXPECT_EQ(result.Type, KL_COLLIDE_LANDSCAPE);
    EXPECT_NEAR(result.Point.y, 50, 1e-4);

    // Beside the land and over it without touching: no hit.
    EXPECT_FALSE(scene->RayTest({300, 200, 100}, {300, 0, 100}, result, KL_COLLIDE_LANDSCAPE));
    EXPECT_FALSE(scene->RayTest({0, 51, 0}, {256, 51, 256}, result, KL_COLLIDE_LANDSCAPE));
    EXPECT_FALSE(result.Hit);
    EXPECT_EQ(result.Type, 0);
}

TEST_F(LandscapeRayTest, FarAwayAndNonFiniteSegmentsAreAnswered)
{
    buildFlatLand(50);
    KLCollisionResult result;
    // From very far away, down through the ground at (128, 50, 128).
    ASSERT_TRUE(scene->RayTest({-1e7f, 1000062.8f, 128}, {1e7f, -999937.2f, 128}, result, KL_COLLIDE_LANDSCAPE));
    EXPECT_NEAR(result.Point.y, 50, 1.0);
    EXPECT_NEAR(result.Point.x, 128, 10.0);
    EXPECT_FALSE(scene->RayTest({1e30f, 100, 1e30f}, {-1e30f, 100, -1e30f}, result, KL_COLLIDE_LANDSCAPE));
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(scene->RayTest({nan, 100, 10}, {10, 0, 10}, result, KL_COLLIDE_LANDSCAPE));
    EXPECT_FALSE(scene->RayTest({10, inf, 10}, {10, 0, 10}, result, KL_COLLIDE_LANDSCAPE));
}

TEST_F(LandscapeRayTest, EveryLandscapeWithTerrainCountsUntilReleased)
{
    buildFlatLand(50);
    auto higher = std::make_unique<KLLandscape>();
    higher->SetHeightFactor(2.0f);
    higher->GenerateTerrain("flat.bmp", 4, 1, 1, 0, 0, 0);   // flat at y = 100
    KLCollisionResult result;
    ASSERT_TRUE(scene->RayTest({10, 200, 10}, {10, 0, 10}, result, KL_COLLIDE_LANDSCAPE));
    EXPECT_NEAR(result.Point.y, 100, 1e-4);
    ASSERT_TRUE(scene->RayTest({10, 0, 10}, {10, 200, 10}, result, KL_COLLIDE_LANDSCAPE));
    EXPECT_NEAR(result.Point.y, 50, 1e-4);
    higher.reset();
    ASSERT_TRUE(scene->RayTest({10, 200, 10}, {10, 0, 10}, result, KL_COLLIDE_LANDSCAPE));
    EXPECT_NEAR(result.Point.y, 50, 1e-4);
    land->DestroyTerrain();
    EXPECT_FALSE(scene->RayTest({10, 200, 10}, {10, 0, 10}, result, KL_COLLIDE_LANDSCAPE));
}

TEST_F(LandscapeRayTest, MousePickFindsTheLand)
{
    buildFlatLand(50, 2);
    const KLMesh marker = box("Marker", 256, 51, 256);
    scene->SetCamera(256, 150, 100, 256, 50, 256);
    const KLCollisionResult ground = scene->MousePick(320, 100, KL_COLLIDE_LANDSCAPE);
    ASSERT_TRUE(ground.Hit);
    EXPECT_EQ(ground.Type, KL_COLLIDE_LANDSCAPE);
    EXPECT_NEAR(ground.Point.y, 50, 1e-2);
    EXPECT_NEAR(ground.Point.x, 256, 1.0);   // the pixel's centre is half a pixel right
    EXPECT_GT(ground.Point.z, 256);   // upper half of the view looks farther
    EXPECT_FALSE(scene->MousePick(320, 100).Hit);   // meshes only by default
    const KLCollisionResult centre = scene->MousePick(320, 240, KL_COLLIDE_ALL);
    EXPECT_EQ(centre.Type, KL_COLLIDE_MESHES);
    EXPECT_EQ(centre.MeshName, "Marker");
}

TEST(TerrainHierarchy, EveryNodeHoldsTheRangeOfItsCells)
{
    // 13 x 7 cells: odd sizes leave partial nodes at every level.
    std::mt19937 random(5);
    std::uniform_real_distribution<float> height(-20.0f, 80.0f);
    std::vector<float> values(14 * 8);
    for (float& v : values)
        v = height(random);
    const kl::terrain::TerrainSurface surface(kl::terrain::HeightField(14, 8, values), 2.0f, {0.0f, 0.0f});
    const kl::terrain::MinMaxHierarchy hierarchy(surface);
    ASSERT_EQ(hierarchy.levelCount(), 5);   // 13 -> 7 -> 4 -> 2 -> 1
    EXPECT_EQ(hierarchy.columns(4), 1);
    EXPECT_EQ(hierarchy.rows(4), 1);
    for (int level = 0; level < hierarchy.levelCount(); ++level) {
        const int size = 1 << level;
        for (int row = 0; row < hierarchy.rows(level); ++row) {
            for (int column = 0; column < hierarchy.columns(level); ++column) {
                float lo = 1e9f, hi = -1e9f;
                for (int r = row * size; r <= std::min((row + 1) * size, 7); ++r)
                    for (int c = column * size; c <= std::min((column + 1) * size, 13); ++c) {
                        lo = std::min(lo, surface.vertex(c, r));
                        hi = std::max(hi, surface.vertex(c, r));
                    }
                EXPECT_EQ(hierarchy.node(level, column, row).min, lo) << level << " " << column << " " << row;
                EXPECT_EQ(hierarchy.node(level, column, row).max, hi) << level << " " << column << " " << row;
            }
        }
    }
    // A segment that stays above the highest point is settled at the top.
    EXPECT_FALSE(kl::terrain::intersectSegment(surface, hierarchy, {0, 81, 0}, {26, 90, 14}));
    EXPECT_TRUE(kl::terrain::intersectSegment(surface, hierarchy, {1, 200, 1}, {1, -200, 1}));
}

// A flat field of 256 x 256 cells with one raised grid point: segments that
// descend through every level to reach the one cell that matters.
TEST(TerrainHierarchy, LongSegmentsFindOrMissASinglePeak)
{
    constexpr int kSide = 257, kPeakColumn = 150, kPeakRow = 97;
    constexpr float kPeak = 10.0f;
    std::vector<float> values(std::size_t(kSide) * kSide, 0.0f);
    values[std::size_t(kPeakRow) * kSide + kPeakColumn] = kPeak;
    const kl::terrain::TerrainSurface surface(kl::terrain::HeightField(kSide, kSide, values), 1.0f, {0.0f, 0.0f});
    const kl::terrain::MinMaxHierarchy hierarchy(surface);
    ASSERT_EQ(hierarchy.levelCount(), 9);
    // Along the grid line through the peak, z from row - 100 to row + 50, the
    // ground rises linearly from z = row - 1 to the peak and falls after it.
    const auto alongLine = [&](float y0, float y1) {
        return kl::terrain::intersectSegment(surface, hierarchy, {float(kPeakColumn), y0, float(kPeakRow - 100)},
                                             {float(kPeakColumn), y1, float(kPeakRow + 50)});
    };
    EXPECT_FALSE(alongLine(160.0f, 109.0f));
    EXPECT_FALSE(alongLine(kPeak + 0.5f, kPeak + 0.01f));   // just over the peak and past it
    const float low = kPeak - 1.0f;   // level segment one unit under the peak
    const auto hit = alongLine(low, low);
    ASSERT_TRUE(hit);
    const float z = float(kPeakRow - 100) + *hit * 150.0f;
    EXPECT_NEAR(z, float(kPeakRow) - 1.0f + low / kPeak, 1e-3f);
    // Diagonal segments like a lightmap bake's, ending just under and just
    // over the peak.
    const glm::vec3 peak(kPeakColumn, kPeak, kPeakRow);
    const glm::vec3 towardsLight = -glm::normalize(glm::vec3(2.0f, -1.0f, 2.0f));
    const glm::vec3 under = peak - glm::vec3(0.0f, 0.05f, 0.0f), over = peak + glm::vec3(0.0f, 0.05f, 0.0f);
    const auto hitUnder = kl::terrain::intersectSegment(surface, hierarchy, under + 200.0f * towardsLight, under);
    ASSERT_TRUE(hitUnder);
    // Above the peak's cell the clearance is 7 s - 0.05 at distance s from the end.
    EXPECT_NEAR((1.0f - *hitUnder) * 200.0f, 0.05f / 7.0f, 1e-3f);
    EXPECT_FALSE(kl::terrain::intersectSegment(surface, hierarchy, over + 200.0f * towardsLight, over));
}

} // namespace

namespace {

// Segments towards a light from every side, over a flat field with one raised
// grid point, ending just under and just over the peak: the walk steps each
// way through the nodes (axis-parallel ones along a single row or column).
TEST(TerrainHierarchy, SegmentsFromEverySideFindOrMissAPeak)
{
    constexpr int kSide = 201, kPeakColumn = 100, kPeakRow = 100;
    constexpr float kPeak = 10.0f;
    std::vector<float> values(std::size_t(kSide) * kSide, 0.0f);
    values[std::size_t(kPeakRow) * kSide + kPeakColumn] = kPeak;
    // Spacing 2 and an offset origin: the walk works in grid units.
    const kl::terrain::TerrainSurface surface(kl::terrain::HeightField(kSide, kSide, values), 2.0f, {-100.0f, 40.0f});
    const kl::terrain::MinMaxHierarchy hierarchy(surface);
    const glm::vec3 peak(-100.0f + 2.0f * kPeakColumn, kPeak, 40.0f + 2.0f * kPeakRow);
    int directions = 0;
    for (const float dx : {-2.0f, 0.0f, 2.0f}) {
        for (const float dz : {-2.0f, 0.0f, 2.0f}) {
            if (dx == 0.0f && dz == 0.0f)
                continue;
            ++directions;
            const glm::vec3 towardsLight = glm::normalize(glm::vec3(dx, 1.0f, dz));
            const glm::vec3 under = peak - glm::vec3(0.0f, 0.05f, 0.0f), over = peak + glm::vec3(0.0f, 0.05f, 0.0f);
            const glm::vec3 from = under + 150.0f * towardsLight;
            const auto hit = kl::terrain::intersectSegment(surface, hierarchy, from, under);
            ASSERT_TRUE(hit) << dx << " " << dz;
            const glm::vec3 point = from + (under - from) * *hit;
            EXPECT_LT(glm::length(point - peak), 0.06f) << dx << " " << dz;
            EXPECT_NEAR(point.y, surface.height(point.x, point.z), 1e-3f) << dx << " " << dz;
            EXPECT_FALSE(kl::terrain::intersectSegment(surface, hierarchy, over + 150.0f * towardsLight, over))
                << dx << " " << dz;
            // The same line the other way, from under the peak's side up and
            // out: it leaves the ground where the first one met it.
            const auto back = kl::terrain::intersectSegment(surface, hierarchy, under, from);
            ASSERT_TRUE(back) << dx << " " << dz;
            EXPECT_NEAR(glm::length(under + (from - under) * *back - point), 0.0f, 1e-3f) << dx << " " << dz;
        }
    }
    EXPECT_EQ(directions, 8);
}

// Over a rough field of odd size (partial nodes at every level), segments
// straight down or steeply down in every direction hit where the surface is,
// and ones that stay under the lowest point or over the highest miss.
TEST(TerrainHierarchy, SteepSegmentsHitOnTheSurfaceInEveryDirection)
{
    std::mt19937 random(31);
    std::uniform_real_distribution<float> height(-20.0f, 80.0f), unit(0.0f, 1.0f);
    std::vector<float> values(38 * 30);
    for (float& v : values)
        v = height(random);
    const kl::terrain::TerrainSurface surface(kl::terrain::HeightField(38, 30, values), 2.0f, {5.0f, -7.0f});
    const kl::terrain::MinMaxHierarchy hierarchy(surface);
    int hits = 0;
    for (int i = 0; i < 2000; ++i) {
        const float x = 5.0f + 74.0f * unit(random), z = -7.0f + 58.0f * unit(random);
        // Leaning by up to 3 units either way on each axis, or not at all.
        const float lean = (i % 3 == 0) ? 0.0f : 6.0f * unit(random) - 3.0f;
        const float leanZ = (i % 5 == 0) ? 0.0f : 6.0f * unit(random) - 3.0f;
        const glm::vec3 from(x - lean, 200.0f, z - leanZ), to(x + lean, -200.0f, z + leanZ);
        const auto t = kl::terrain::intersectSegment(surface, hierarchy, from, to);
        if (!t) {
            // Only a segment that may pass beside the grid's edge where it is low enough misses.
            EXPECT_TRUE(x < 8.0f || x > 76.0f || z < -4.0f || z > 48.0f) << i;
            continue;
        }
        ++hits;
        const glm::vec3 point = from + (to - from) * *t;
        EXPECT_NEAR(point.y, surface.height(point.x, point.z), 1e-2f) << i;
        EXPECT_FALSE(kl::terrain::intersectSegment(surface, hierarchy, from + glm::vec3(0, -119.9f, 0),
                                                   to + glm::vec3(0, 280.1f, 0)))
            << i;   // level at y = 80.1, over the highest point
        EXPECT_FALSE(kl::terrain::intersectSegment(surface, hierarchy, from + glm::vec3(0, -220.1f, 0),
                                                   to + glm::vec3(0, 179.9f, 0)))
            << i;   // level at y = -20.1, under the lowest point
    }
    EXPECT_GT(hits, 1900);
}

} // namespace
