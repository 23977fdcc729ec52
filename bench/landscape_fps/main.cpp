// Frame rate of Landlume's default view: the 8 x 8 land from the shipped height
// map with its colour and detail maps, lit by a directional light, with a
// shadow lightmap baked by batch ray tests, at 800 x 600 — beside the rate of an
// empty frame (Clear + RenderToScreen) of the same size in the same run.
//   landscape_fps_bench [seconds] [screenshot.bmp] [view width]
#include "Content.h"
#include "Terrain.h"

#include <korlith3d/KLEngine.h>
#include <korlith3d/KLLandscape.h>
#include <korlith3d/KLLightEngine.h>
#include <korlith3d/KLMaterialFactory.h>
#include <korlith3d/KLScene.h>
#include <korlith3d/KLTextureFactory.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

struct Rate {
    double fps = 0.0;
    double cpuMs = 0.0;   // processor time of all threads per frame, the software rasteriser's included
};

// Frames per second of Clear, `draw`, RenderToScreen over `seconds`, after ten warm-up frames.
Rate frameRate(KLEngine& engine, double seconds, const std::function<void()>& draw)
{
    QElapsedTimer clock;
    std::clock_t cpuStart = 0;
    long frames = 0;
    while (true) {
        if (frames == 10) {
            clock.start();
            cpuStart = std::clock();
        }
        QApplication::processEvents();
        engine.Clear();
        draw();
        engine.RenderToScreen();
        ++frames;
        if (clock.isValid() && clock.elapsed() >= seconds * 1000.0)
            break;
    }
    const double counted = double(frames - 10);
    return {counted / (double(clock.nsecsElapsed()) / 1e9),
            double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC / counted};
}

// Shadow lightmap of the land: white where the light reaches a point, dark
// where the land stands between it and the light. Column c covers x = c x
// width / size, row r covers z = r x depth / size.
QImage bakeShadows(const KLScene& scene, const KLLandscape& land, int size, D3DVECTOR towardsLight)
{
    std::vector<D3DVECTOR> starts, ends;
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c) {
            const float x = (float(c) + 0.5f) * land.GetLandWidth() / float(size);
            const float z = (float(r) + 0.5f) * land.GetLandHeight() / float(size);
            const D3DVECTOR p{x, land.GetHeight(x, z), z};
            ends.push_back({p.x + towardsLight.x, p.y + towardsLight.y, p.z + towardsLight.z});
            starts.push_back({p.x + 200 * towardsLight.x, p.y + 200 * towardsLight.y, p.z + 200 * towardsLight.z});
        }
    const std::vector<KLRayHit> hits = scene.RayTestBatch(starts, ends, KL_COLLIDE_LANDSCAPE);
    QImage lightmap(size, size, QImage::Format_RGB32);
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            lightmap.setPixel(c, r, hits[std::size_t(r * size + c)].Hit ? qRgb(90, 90, 100) : qRgb(255, 255, 255));
    return lightmap;
}

QString sideFile(const QString& name)
{
    return QCoreApplication::applicationDirPath() + "/../Landlume/Textures/Landscape/" + name;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    const QString screenshot = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();

    QTemporaryDir generated;
    QString heightMap = sideFile("heightmap.bmp");
    if (!QFileInfo::exists(heightMap)) {
        heightMap = generated.filePath("heightmap.bmp");
        const auto field = kl::media::makeHeightField(kl::media::kLandHeightMapSize, 1201);
        if (!kl::media::greyHeightMap(field).save(heightMap))
            return 1;
    }

    QWidget window;
    const int width = argc > 3 ? std::atoi(argv[3]) : 800;
    window.resize(width, width * 3 / 4);
    window.show();
    QApplication::processEvents();
    KLEngine engine;
    if (!engine.Init3DWindowedMode(std::uintptr_t(window.winId()), true)) {
        std::fprintf(stderr, "landscape_fps: no view\n");
        return 1;
    }
    engine.SetTextureFilter(1);
    KLTextureFactory textures;
    KLMaterialFactory materials;
    KLLightEngine lights;
    KLScene scene;
    KLLandscape land;

    land.SetHeightFactor(1.0f);
    land.GenerateTerrain(heightMap, 4, 8, 8, 0, 0, 0);
    const bool shipped = QFileInfo::exists(sideFile("colormap.bmp"));
    if (shipped) {
        land.SpreadTexture(textures.LoadTexture(sideFile("colormap.bmp"), "Terrain_Texture"), 0, 0, 8, 8, false);
        land.SetDetailTexture(textures.LoadTexture(sideFile("detailmap.bmp"), "Detail_Texture"));
        land.SetDetailTiling(5.0f, 5.0f, -1);
    }
    const int material = materials.CreateMaterial("LandMat");
    materials.SetAmbient(material, 1, 1, 1, 1);
    materials.SetDiffuse(material, 1, 1, 1, 1);
    materials.SetSpecular(material, 0, 0, 0, 1);
    materials.SetEmissive(material, 0, 0, 0, 1);
    land.SetMaterial(material, -1, 0);

    D3DLIGHT8 sun;
    sun.Type = D3DLIGHT_DIRECTIONAL;
    sun.Diffuse = {0.9f, 0.85f, 0.75f, 1};
    sun.Direction = {2, -1, 2};
    lights.CreateLight(sun, "Sun");
    scene.SetAmbientLight(0.3f, 0.3f, 0.35f);
    const float n = std::sqrt(9.0f);
    QElapsedTimer bake;
    bake.start();
    land.SetLightmap(textures.CreateTextureFromImage(bakeShadows(scene, land, 512, {-2 / n, 1 / n, -2 / n}), "LightMap"));
    const double bakeMs = double(bake.nsecsElapsed()) / 1e6;

    const float eyeX = 300, eyeZ = 300;
    scene.SetCamera(eyeX, land.GetHeight(eyeX, eyeZ) + 120, eyeZ, 1024, 40, 1024);
    scene.SetColor(0.55f, 0.7f, 0.9f);

    const Rate empty = frameRate(engine, seconds, [] {});
    const Rate landscape = frameRate(engine, seconds, [&] { land.Render(true, false); });
    if (!screenshot.isEmpty())
        engine.SaveScreenshot(screenshot);
    std::printf("landscape_fps: 8 x 8 chunks at precision 4 (%s textures), %dx%d, lightmap 512 x 512 baked in %.0f ms\n",
                shipped ? "shipped" : "no", width, width * 3 / 4, bakeMs);
    // Beside each rate the processor time per frame, which other work on a
    // shared machine moves less than the rate.
    std::printf("landscape_fps: empty frame (Clear + RenderToScreen): %.1f frames per second (%.2f ms processor)\n",
                empty.fps, empty.cpuMs);
    std::printf("landscape_fps: landscape: %.1f frames per second (%.2f ms processor)\n", landscape.fps,
                landscape.cpuMs);
    std::printf("landscape_fps: landscape / empty frame: %.3f (target: at least 30 frames per second)\n",
                landscape.fps / empty.fps);
    return 0;
}
