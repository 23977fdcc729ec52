// "Generate lightmap" in Landlume's own frame window on the default scene
// (8 x 8 land, 512 x 512 lightmap, land and object shadows, the tree, rock
// and house of the example map), timed from the click to the finished
// picture; beside it, in the same run, the one-sample-at-a-time loop: one
// engine ray test per world unit and, at every shadowed sample, a turn of the
// window's events, the pixel and a repaint of the picture. The slow loop is
// timed on one column in eight and scaled up.
//   landlume_bake_bench [runs]
// Between the window's runs, landlume --bake of the same map without a display.
// LANDLUME_SLOW_EVERY=n times the slow loop on one column in n instead;
// LANDLUME_ONE_BATCH=1 also times one engine batch of all 2049 x 2049
// segments (full answers and hit or miss only), the floor of any bake through
// the batch ray test.
#include "../support/HeadlessCommand.h"
#include "ui/ClsPreRendering.h"
#include "ui/MDIMain.h"

#include <korlith3d/KLMath.h>
#include <korlith3d/KLScene.h>

#include <platform/Interaction.h>
#include <platform/Ui.h>
#include <toolkit/EngineStartup.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProgressBar>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

// The loop as first written, over the columns x = first, first + every, ...;
// returns the shadowed samples and fills `coordinates` with their end points.
std::size_t oneSampleLoop(landlume::MDIMain& frame, int every, std::vector<D3DVECTOR>& coordinates)
{
    landlume::MdEngine& engine = frame.engine();
    const landlume::SceneSettings& s = engine.settings();
    landlume::LightmapPicture* picture = frame.lightmapWindow()->picture();
    const KLMath math;
    const D3DVECTOR d = engine.lightRecord().Direction;
    const int stepX = int(std::nearbyint(double(s.landWidth / s.texWidth)));
    const int stepZ = int(std::nearbyint(double(s.landHeight / s.texHeight)));
    const int v = int(std::nearbyint(double(255.0f - s.alpha * 255.0f)));
    picture->clearPicture();
    std::size_t hits = 0;
    for (float x = 0.0f; x <= s.landWidth; x += float(every)) {
        frame.progress()->setValue(int(x));
        for (float z = 0.0f; z <= s.landHeight; z += 1.0f) {
            const D3DVECTOR p{x, engine.heightAt(x, z), z};
            const D3DVECTOR start = math.VAdd(p, math.VScale(d, -200.0f));
            const D3DVECTOR end = math.VAdd(p, math.VScale(d, -1.0f));
            KLCollisionResult result;
            if (!engine.scene().RayTest(start, end, result, KL_COLLIDE_ALL, 3, 0))
                continue;
            coordinates.push_back(end);
            ++hits;
            platform::doEvents();
            const int column = int(std::nearbyint(double(x / float(stepX))));
            const int row = int(std::nearbyint(double(z / float(stepZ))));
            if (column < picture->image().width() && row < picture->image().height())
                picture->image().setPixel(column, row, qRgb(v, v, v));
            picture->refresh();
        }
    }
    return hits;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    toolkit::startLiveViewTool(QStringLiteral("Landlume"));
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const QString folder = QDir(QCoreApplication::applicationDirPath() + "/../Landlume").absolutePath();

    landlume::MDIMain frame(folder);
    if (!frame.load(false)) {
        std::fprintf(stderr, "landlume_bake: start-up failed\n");
        return 1;
    }
    frame.mapFiles().openMapFile(folder + "/Maps/example.ldm");
    if (frame.engine().objectCount() != 3) {
        std::fprintf(stderr, "landlume_bake: the example map did not place its three objects\n");
        return 1;
    }
    for (int i = 0; i < 5; ++i)
        frame.frame();
    // The objects as they come to rest, which is the scene --bake computes.
    frame.engine().settleAlignedObjects();

    double best = 1e30;
    double bestCpu = 1e30;
    bench::HeadlessTiming headless;
    QTemporaryDir commandOutput;
    std::vector<D3DVECTOR> fast;
    QImage fastPicture;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        clock.start();
        const std::clock_t cpu = std::clock();
        frame.lightmap().generateLightmap();
        best = std::min(best, double(clock.nsecsElapsed()) / 1e9);
        bestCpu = std::min(bestCpu, double(std::clock() - cpu) / CLOCKS_PER_SEC);
        if (frame.lightmap().lastBake().end != landlume::BakeEnd::Finished) {
            std::fprintf(stderr, "landlume_bake: the bake did not finish\n");
            return 1;
        }
        // The command between the window's runs, so both meet the machine in
        // the same state.
        bench::timeHeadless(folder + "/landlume",
                            {"--bake", folder + "/Maps/example.ldm", "--lightmap",
                             commandOutput.filePath("lightmap.bmp")},
                            QStringLiteral("baked in"), headless);
    }
    // Diagnostics: one engine batch of all 2049 x 2049 segments, the floor of
    // any bake through the batch ray test.
    if (std::getenv("LANDLUME_ONE_BATCH")) {
        landlume::MdEngine& engine = frame.engine();
        const D3DVECTOR direction = engine.lightRecord().Direction;
        std::vector<D3DVECTOR> starts, ends;
        for (int x = 0; x <= 2048; ++x)
            for (int z = 0; z <= 2048; ++z) {
                D3DVECTOR a, b;
                landlume::bakeSegment(float(x), engine.heightAt(float(x), float(z)), float(z), direction, a, b);
                starts.push_back(a);
                ends.push_back(b);
            }
        for (int types : {4, 5}) {
            QElapsedTimer w;
            w.start();
            const auto hits = engine.scene().RayTestBatch(starts, ends, types);
            const double full = double(w.nsecsElapsed()) / 1e9;
            w.restart();
            const auto hitsOnly = engine.scene().RayTestBatchHits(starts, ends, types);
            std::printf("one batch of all segments, types %d: %.3f s, hit or miss only %.3f s\n", types, full,
                        double(w.nsecsElapsed()) / 1e9);
        }
    }
    fast = frame.engine().settings().shadowCoordinates;
    fastPicture = frame.lightmapWindow()->picture()->image();

    const int kEvery = std::getenv("LANDLUME_SLOW_EVERY") ? std::atoi(std::getenv("LANDLUME_SLOW_EVERY")) : 8;
    std::vector<D3DVECTOR> slow;
    QElapsedTimer clock;
    clock.start();
    const std::clock_t slowCpuStart = std::clock();
    const std::size_t slowHits = oneSampleLoop(frame, kEvery, slow);
    const double slowSampled = double(clock.nsecsElapsed()) / 1e9;
    const double slowScaled = slowSampled * 2049.0 / double((2048 / kEvery) + 1);
    const double slowCpu = double(std::clock() - slowCpuStart) / CLOCKS_PER_SEC * 2049.0 / double((2048 / kEvery) + 1);

    // The sampled columns' points, in order, as the fast bake found them.
    const float dx = frame.engine().lightRecord().Direction.x;
    std::vector<D3DVECTOR> fastSampled;
    for (const D3DVECTOR& point : fast) {
        const int x = int(std::nearbyint(point.x + dx));
        if (x % kEvery == 0)
            fastSampled.push_back(point);
    }
    const bool same = fastSampled.size() == slow.size() &&
                      std::memcmp(fastSampled.data(), slow.data(), slow.size() * sizeof(D3DVECTOR)) == 0;

    std::printf("landlume_bake: default scene, 8 x 8 land, lightmap 512 x 512, land and object shadows, 3 objects\n");
    std::printf("landlume_bake: shadowed samples %zu of %d\n", fast.size(), 2049 * 2049);
    std::printf("landlume_bake: Generate lightmap (batch ray tests), click to finished picture: %.3f s (best of %d, "
                "target <= 0.5 s)\n",
                best, runs);
    std::printf("landlume_bake: one-sample loop (ray test, events, pixel and repaint per shadow), 1 column in %d: "
                "%.2f s, scaled to the whole land: %.1f s\n",
                kEvery, slowSampled, slowScaled);
    std::printf("landlume_bake: one-sample loop / Generate lightmap: %.1f x (target >= 20)\n", slowScaled / best);
    // Processor time of all threads, which other work on a shared machine moves less.
    std::printf("landlume_bake: processor time, Generate lightmap %.2f s, one-sample loop (scaled) %.1f s: %.1f x\n",
                bestCpu, slowCpu, slowCpu / bestCpu);
    std::printf("landlume_bake: points of the sampled columns identical: %s (%zu)\n", same ? "yes" : "NO", slowHits);
    if (headless.ok) {
        std::printf("landlume_bake: landlume --bake of the example map, no display: bake %.3f s, whole command %.3f s "
                    "(start, map, bake, BMP) (best of %d)\n",
                    headless.work, headless.whole, runs);
        std::printf("landlume_bake: headless bake / Generate lightmap in the window: %.2f (must be <= 1)\n",
                    headless.work / best);
    } else {
        std::printf("landlume_bake: landlume --bake failed\n");
    }
    frame.engine().settings().running = false;
    frame.shutdown();
    return same ? 0 : 1;
}
