// The segments of Landlume's default lightmap bake: the 8 x 8 land from the
// shipped height map, 2049 x 2049 points P = (x, height, z) for whole x and z
// in 0..2048, each segment from P + 200 L to P + 1 L where L = -normalise(2,
// -1, 2) points towards the light; land only. Timed three ways:
//   naive     march each segment in 1-unit steps against GetHeight, one thread
//             (timed on every fourth x and z, 1/16 of the points, and scaled);
//   one by one  KLScene::RayTest per segment (the min/max hierarchy), one thread;
//   batch     KLScene::RayTestBatch over all segments, all cores; and
//             KLScene::RayTestBatchHits, hit or miss only as the march answers.
#include "korlith3d/KLEngine.h"
#include "korlith3d/KLLandscape.h"
#include "korlith3d/KLScene.h"

#include "Content.h"
#include "../../media/generator/Terrain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cmath>
#include <ctime>
#include <time.h>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

struct Segments {
    std::vector<D3DVECTOR> starts;
    std::vector<D3DVECTOR> ends;
};

D3DVECTOR along(const D3DVECTOR& p, const D3DVECTOR& direction, float distance)
{
    return {p.x + direction.x * distance, p.y + direction.y * distance, p.z + direction.z * distance};
}

Segments bakeSegments(const KLLandscape& land, int side, int every)
{
    const float length = std::sqrt(2.0f * 2.0f + 1.0f + 2.0f * 2.0f);
    const D3DVECTOR towardsLight{-2.0f / length, 1.0f / length, -2.0f / length};
    Segments segments;
    for (int x = 0; x <= side; x += every) {
        for (int z = 0; z <= side; z += every) {
            const D3DVECTOR p{float(x), land.GetHeight(float(x), float(z)), float(z)};
            segments.starts.push_back(along(p, towardsLight, 200.0f));
            segments.ends.push_back(along(p, towardsLight, 1.0f));
        }
    }
    return segments;
}

// The straightforward test: sample the segment every world unit and report
// the first sample at or below the ground.
bool marchHits(const KLLandscape& land, float landWidth, float landHeight, const D3DVECTOR& from, const D3DVECTOR& to)
{
    const float dx = to.x - from.x, dy = to.y - from.y, dz = to.z - from.z;
    const int steps = std::max(1, int(std::ceil(std::sqrt(dx * dx + dy * dy + dz * dz))));
    for (int i = 0; i <= steps; ++i) {
        const float t = float(i) / float(steps);
        const float x = from.x + dx * t, z = from.z + dz * t;
        if (x < 0.0f || z < 0.0f || x > landWidth || z > landHeight)
            continue;
        if (from.y + dy * t <= land.GetHeight(x, z))
            return true;
    }
    return false;
}

double seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

// Processor time of the calling thread, in seconds.
double threadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    QString heightMap = QCoreApplication::applicationDirPath() + "/../Landlume/Textures/Landscape/heightmap.bmp";
    QTemporaryDir generated;
    if (!QFileInfo::exists(heightMap)) {
        heightMap = generated.filePath("heightmap.bmp");
        const auto field = kl::media::makeHeightField(kl::media::kLandHeightMapSize, 1201);
        if (!kl::media::greyHeightMap(field).save(heightMap))
            return 1;
        std::printf("height map: generated as the build ships it (%d x %d)\n", kl::media::kLandHeightMapSize,
                    kl::media::kLandHeightMapSize);
    } else {
        std::printf("height map: %s\n", qPrintable(QFileInfo(heightMap).canonicalFilePath()));
    }

    KLEngine engine;
    KLScene scene;
    KLLandscape land;
    QElapsedTimer timer;
    timer.start();
    land.SetHeightFactor(1.0f);
    land.GenerateTerrain(heightMap, 4, 8, 8, 0, 0, 0);
    std::printf("terrain 8 x 8 chunks, precision 4: built in %.1f ms\n", seconds(timer) * 1e3);

    const Segments all = bakeSegments(land, 2048, 1);
    const Segments sample = bakeSegments(land, 2048, 4);
    const std::size_t count = all.starts.size();
    std::printf("segments: %zu (naive march timed on %zu of them)\n", count, sample.starts.size());

    // Each figure is the best of a few runs: the machine may be shared.
    constexpr int kRuns = 3;
    double naiveSample = 1e30, oneByOne = 1e30, batched = 1e30, batchCpu = 0.0, hitsOnly = 1e30;
    double naiveSampleCpu = 1e30, oneByOneCpu = 1e30;
    std::size_t naiveHits = 0, singleHits = 0;
    std::vector<char> single(count);
    std::vector<KLRayHit> batch;
    std::vector<std::uint8_t> hits;
    for (int run = 0; run < kRuns; ++run) {
        timer.restart();
        double cpu = threadSeconds();
        naiveHits = 0;
        for (std::size_t i = 0; i < sample.starts.size(); ++i)
            naiveHits += marchHits(land, land.GetLandWidth(), land.GetLandHeight(), sample.starts[i], sample.ends[i])
                             ? 1
                             : 0;
        naiveSample = std::min(naiveSample, seconds(timer));
        naiveSampleCpu = std::min(naiveSampleCpu, threadSeconds() - cpu);

        timer.restart();
        cpu = threadSeconds();
        singleHits = 0;
        KLCollisionResult result;
        for (std::size_t i = 0; i < count; ++i) {
            single[i] = scene.RayTest(all.starts[i], all.ends[i], result, KL_COLLIDE_LANDSCAPE, 3, 0) ? 1 : 0;
            singleHits += std::size_t(single[i]);
        }
        oneByOne = std::min(oneByOne, seconds(timer));
        oneByOneCpu = std::min(oneByOneCpu, threadSeconds() - cpu);

        batch.clear();
        timer.restart();
        const std::clock_t cpuStart = std::clock();
        batch = scene.RayTestBatch(all.starts, all.ends, KL_COLLIDE_LANDSCAPE);
        const double elapsed = seconds(timer);
        if (elapsed < batched) {
            batched = elapsed;
            batchCpu = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        }

        timer.restart();
        hits = scene.RayTestBatchHits(all.starts, all.ends, KL_COLLIDE_LANDSCAPE);
        hitsOnly = std::min(hitsOnly, seconds(timer));
    }
    const double naive = naiveSample * double(count) / double(sample.starts.size());
    const double naiveCpu = naiveSampleCpu * double(count) / double(sample.starts.size());
    std::size_t batchHits = 0, disagreements = 0;
    for (std::size_t i = 0; i < count; ++i) {
        batchHits += batch[i].Hit ? 1 : 0;
        disagreements += (batch[i].Hit ? 1 : 0) != single[i] ? 1 : 0;
        disagreements += hits[i] != single[i] ? 1 : 0;
    }

    std::printf("shadowed: naive %.1f %% of its sample, hierarchy %zu (%.1f %%), batch %zu, batch differs on %zu\n",
                100.0 * double(naiveHits) / double(sample.starts.size()), singleHits,
                100.0 * double(singleHits) / double(count), batchHits, disagreements);
    std::printf("best of %d runs:\n", kRuns);
    // Wall-clock figures and ratios; beside them the processor time of the
    // one-thread runs and its ratio, which other work on the machine moves less.
    std::printf("%-34s %10s %12s %10s %8s %10s %10s\n", "", "seconds", "ns/segment", "x naive", "target", "cpu s",
                "x naive");
    std::printf("%-34s %10.3f %12.1f %10.1f %8s %10.3f %10.1f\n", "naive march, 1 thread (scaled)", naive,
                naive / double(count) * 1e9, 1.0, "", naiveCpu, 1.0);
    std::printf("%-34s %10.3f %12.1f %10.1f %8s %10.3f %10.1f\n", "hierarchy one by one, 1 thread", oneByOne,
                oneByOne / double(count) * 1e9, naive / oneByOne, ">= 5", oneByOneCpu, naiveCpu / oneByOneCpu);
    // With the place of every hit (the shadowed segments are walked to it).
    std::printf("%-34s %10.3f %12.1f %10.1f %8s\n",
                qPrintable(QStringLiteral("batch, %1 threads").arg(std::max(1u, std::thread::hardware_concurrency()))),
                batched, batched / double(count) * 1e9, naive / batched, "");
    // Hit or miss only, as the naive march answers and the bake asks.
    std::printf("%-34s %10.3f %12.1f %10.1f %8s\n",
                qPrintable(QStringLiteral("batch, hit or miss only, %1 threads")
                               .arg(std::max(1u, std::thread::hardware_concurrency()))),
                hitsOnly, hitsOnly / double(count) * 1e9, naive / hitsOnly, ">= 20");
    // On a machine shared with other work the threads get less than a core
    // each; the processor time shows how much they had.
    std::printf("batch used %.3f s of processor time in %.3f s (%.2f cores busy)\n", batchCpu, batched,
                batchCpu / batched);
    return disagreements == 0 ? 0 : 1;
}
