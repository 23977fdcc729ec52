// The shadow bake on the engine, beside the one-sample-at-a-time loop as the
// lightmap was first computed: one ray test per world unit, in order.
#include "core/ShadowBake.h"
#include "ui/ClsPreRendering.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLLandscape.h>
#include <korlith3d/KLMath.h>
#include <korlith3d/KLMesh.h>
#include <korlith3d/KLScene.h>

#include <platform/RuntimeError.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace landlume {
namespace {

QString sideFile(const QString& relative)
{
    return QDir(QCoreApplication::applicationDirPath() + "/../Landlume/" + relative).absolutePath();
}

// The loop step by step: for x, then z, from 0 while <= the extent, a ray test
// of the segment from P - 200 d to P - d; a hit stores the end point and sets
// the pixel (x / stepX, z / stepZ) to the shadow grey.
struct Reference {
    QImage picture;
    std::vector<D3DVECTOR> coordinates;
    int error = 0;
    int hits = 0;
    std::vector<float> sampleX;   // the x of each coordinate's sample
};

// Columns from `firstX` while x < `endX` (all of them by default).
Reference referenceBake(const KLScene& scene, const KLLandscape& land, float landWidth, float landHeight,
                        float texWidth, float texHeight, float alpha, int types, D3DVECTOR direction,
                        float firstX = 0.0f, float endX = 1e30f)
{
    Reference out;
    out.picture = QImage(int(texWidth), int(texHeight), QImage::Format_RGB32);
    out.picture.fill(Qt::white);
    out.coordinates = {D3DVECTOR{}};
    const int stepX = int(std::nearbyint(double(landWidth / texWidth)));
    const int stepZ = int(std::nearbyint(double(landHeight / texHeight)));
    const KLMath math;
    const D3DVECTOR d = math.VNormalize(direction);
    int t = 0;
    for (float x = firstX; x <= landWidth && x < endX; x += 1.0f) {
        for (float z = 0.0f; z <= landHeight; z += 1.0f) {
            const D3DVECTOR p{x, land.GetHeight(x, z), z};
            const D3DVECTOR start = math.VAdd(p, math.VScale(d, -200.0f));
            const D3DVECTOR end = math.VAdd(p, math.VScale(d, -1.0f));
            KLCollisionResult result;
            if (!scene.RayTest(start, end, result, types, 3, 0))
                continue;
            out.coordinates.resize(std::size_t(t) + 1);
            out.coordinates[std::size_t(t)] = end;
            out.sampleX.resize(std::size_t(t) + 1);
            out.sampleX[std::size_t(t)] = x;
            ++t;
            const int v = int(std::nearbyint(double(255.0f - alpha * 255.0f)));
            if (stepX == 0 || stepZ == 0) {
                out.error = 11;
                return out;
            }
            const int column = int(std::nearbyint(double(x / float(stepX))));
            const int row = int(std::nearbyint(double(z / float(stepZ))));
            if (column < out.picture.width() && row < out.picture.height())
                out.picture.setPixel(column, row, qRgb(v, v, v));
        }
    }
    out.hits = t;
    return out;
}

class Bake : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo::exists(sideFile("Textures/Landscape/heightmap.bmp"))) << "side files not built";
        engine = std::make_unique<KLEngine>();
        scene = std::make_unique<KLScene>();
        land = std::make_unique<KLLandscape>();
    }
    void build(int chunks)
    {
        land->SetHeightFactor(1.0f);
        land->GenerateTerrain(sideFile("Textures/Landscape/heightmap.bmp"), 4, chunks, chunks, 0, 0, 0);
    }
    // An object of the example map, standing on the ground.
    void place(const QString& model, float x, float z, float scale, float turn)
    {
        KLMesh mesh = scene->CreateMesh();
        if (model.endsWith(".3ds"))
            mesh.Load3DS(sideFile("Models/" + model), true, true, false, true, true);
        else
            mesh.LoadX(sideFile("Models/" + model), true, true);
        mesh.SetPosition(x, land->GetHeight(x, z), z);
        mesh.SetRotation(0, turn, 0);
        mesh.SetScale(scale, scale, scale);
        meshes.push_back(mesh);
    }
    BakeOutcome fast(BakeSetup setup, QImage& picture, std::vector<D3DVECTOR>& coordinates)
    {
        setup.landWidth = land->GetLandWidth();
        setup.landHeight = land->GetLandHeight();
        setup.direction = KLMath().VNormalize(setup.direction);
        BakeServices services = engineBakeServices(*scene, [this](float x, float z) { return land->GetHeight(x, z); });
        services.keepGoing = [] { return true; };
        services.pumpEvents = [] {};
        services.progress = [](int) {};
        services.repaint = [] {};
        picture = QImage(int(setup.texWidth), int(setup.texHeight), QImage::Format_RGB32);
        coordinates = {D3DVECTOR{}};
        return drawShadowMap(setup, services, picture, coordinates);
    }
    static void expectSame(const QImage& a, const Reference& b, const std::vector<D3DVECTOR>& coordinates)
    {
        ASSERT_EQ(a.size(), b.picture.size());
        EXPECT_EQ(a.sizeInBytes(), b.picture.sizeInBytes());
        EXPECT_EQ(std::memcmp(a.constBits(), b.picture.constBits(), std::size_t(a.sizeInBytes())), 0);
        ASSERT_EQ(coordinates.size(), b.coordinates.size());
        EXPECT_EQ(std::memcmp(coordinates.data(), b.coordinates.data(), coordinates.size() * sizeof(D3DVECTOR)), 0);
    }

    std::unique_ptr<KLEngine> engine;
    std::unique_ptr<KLScene> scene;
    std::unique_ptr<KLLandscape> land;
    std::vector<KLMesh> meshes;
};

#ifndef LANDLUME_LONG_BAKE_TEST
TEST_F(Bake, SmallLandGivesTheBytesOfTheOneSampleLoopForEachShadowKind)
{
    build(2);
    place("house.3ds", 260, 250, 3, 20);
    place("tree.x", 150, 320, 4, 0);
    const D3DVECTOR light{2, -1, 2};
    for (const auto& [landShadows, objectShadows] : {std::pair{true, true}, {true, false}, {false, true}}) {
        BakeSetup setup;
        setup.texWidth = setup.texHeight = 128;
        setup.landShadows = landShadows;
        setup.objectShadows = objectShadows;
        setup.direction = light;
        QImage picture;
        std::vector<D3DVECTOR> coordinates;
        ASSERT_EQ(fast(setup, picture, coordinates).end, BakeEnd::Finished);
        const Reference reference = referenceBake(*scene, *land, 512, 512, 128, 128, 0.4f,
                                                  bakeCollisionType(landShadows, objectShadows), light);
        expectSame(picture, reference, coordinates);
        EXPECT_GT(coordinates.size(), 10u) << landShadows << objectShadows;
    }
}

#endif

// The default land with the example map's objects. The fast bake covers the
// whole land; the one-sample loop, which takes minutes for all of it in a
// checked build, covers the band of columns holding the three objects and
// the shadows they throw, and the two must agree there byte for byte.
#ifdef LANDLUME_LONG_BAKE_TEST
TEST_F(Bake, DefaultLandWithTheExampleObjectsMatchesTheOneSampleLoop)
{
    build(8);
    place("tree.x", 700, 820, 4, 0);
    place("rock.x", 1020, 980, 5, 35);
    place("house.3ds", 1240, 760, 3, 20);
    BakeSetup setup;
    setup.direction = {2, -1, 2};
    QImage picture;
    std::vector<D3DVECTOR> coordinates;
    ASSERT_EQ(fast(setup, picture, coordinates).end, BakeEnd::Finished);
    constexpr float firstX = 640.0f;
    constexpr float endX = 1344.0f;
    const Reference reference = referenceBake(*scene, *land, 2048, 2048, 512, 512, 0.4f, 5, {2, -1, 2}, firstX, endX);
    ASSERT_GT(reference.hits, 100);

    // The fast list's points of the band, in order: a point is its sample
    // moved back one unit along the light, so adding the light gives the x.
    const D3DVECTOR d = KLMath().VNormalize({2, -1, 2});
    std::vector<D3DVECTOR> band;
    for (const D3DVECTOR& point : coordinates) {
        const float x = std::round(point.x + d.x);
        if (x >= firstX && x < endX)
            band.push_back(point);
    }
    ASSERT_EQ(band.size(), std::size_t(reference.hits));
    EXPECT_EQ(std::memcmp(band.data(), reference.coordinates.data(), band.size() * sizeof(D3DVECTOR)), 0);

    // Columns whose every sample (x / 4 rounded to even) lies in the band.
    int differing = 0;
    for (int column = 161; column <= 335; ++column)
        for (int row = 0; row < 512; ++row)
            differing += picture.pixel(column, row) != reference.picture.pixel(column, row) ? 1 : 0;
    EXPECT_EQ(differing, 0);

    // Only white and 153, and the hills throw shadows.
    std::set<QRgb> colours;
    int shadowed = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            colours.insert(picture.pixel(x, y));
            shadowed += picture.pixel(x, y) == qRgb(153, 153, 153) ? 1 : 0;
        }
    EXPECT_EQ(colours, (std::set<QRgb>{qRgb(255, 255, 255), qRgb(153, 153, 153)}));
    EXPECT_GT(shadowed, 512 * 512 / 50);
}
#else

TEST_F(Bake, AlphaZeroDrawsWhiteAndOneBlack)
{
    build(2);
    for (const auto& [alpha, grey] : {std::pair{0.0f, 255}, {1.0f, 0}}) {
        BakeSetup setup;
        setup.texWidth = setup.texHeight = 128;
        setup.alpha = alpha;
        setup.direction = {2, -1, 2};
        QImage picture;
        std::vector<D3DVECTOR> coordinates;
        ASSERT_EQ(fast(setup, picture, coordinates).end, BakeEnd::Finished);
        std::set<QRgb> colours;
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 128; ++x)
                colours.insert(picture.pixel(x, y));
        EXPECT_TRUE(colours.count(qRgb(grey, grey, grey))) << alpha;
        EXPECT_GT(coordinates.size(), 1u);
        if (grey == 0) {
            EXPECT_EQ(colours.size(), 2u);
        }
    }
}

TEST_F(Bake, AHalfUnitStepReportsADivisionByZeroAtTheFirstShadow)
{
    build(2);
    BakeSetup setup;
    setup.texWidth = setup.texHeight = 1024;
    setup.direction = {2, -1, 2};
    QImage picture;
    std::vector<D3DVECTOR> coordinates;
    const BakeOutcome outcome = fast(setup, picture, coordinates);
    EXPECT_EQ(outcome.end, BakeEnd::Failed);
    EXPECT_EQ(outcome.errorNumber, 11);
    EXPECT_EQ(outcome.errorDescription, "Division by zero");
    const Reference reference = referenceBake(*scene, *land, 512, 512, 1024, 1024, 0.4f, 5, {2, -1, 2});
    EXPECT_EQ(reference.error, 11);
    ASSERT_EQ(coordinates.size(), 1u);
    EXPECT_EQ(std::memcmp(&coordinates[0], &reference.coordinates[0], sizeof(D3DVECTOR)), 0);
}
#endif

} // namespace
} // namespace landlume
