// Frames per second of the particle editor's scene — the mountains sky box,
// the pole and the floor, three particle systems of 1000 billboards each with
// 128 x 128 DXT5 textures (snow flakes 3 units across spread over 60 x 60
// units, smoke puffs of 6 rising in a column, bubbles of 3 in a ball), seen
// from 85 units as the editor's frame loop draws them at 800 x 600 — beside
// the rate of an empty frame (Clear + RenderToScreen) in the same view,
// measured in the same run, and their ratio; the sky box alone and the scene
// without particles show where the time goes. Then the particle update alone
// (3 x UpdateParticles of 1000 live particles, births included) beside a plain
// loop moving 3000 particles by the same physics, and their ratio.
//   emberly_scene_bench [program folder] [seconds] [camera distance]
#include "demo/DemoScene.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

struct Rate {
    double fps = 0;
    double cpuMs = 0;   // processor time of all threads per frame (the software rasteriser's included)
    long frames = 0;
};

// Frames of `frame` for `seconds`, after 20 to warm up.
template <typename Frame>
Rate measure(double seconds, Frame frame)
{
    for (int i = 0; i < 20; ++i)
        frame();
    QElapsedTimer clock;
    clock.start();
    const std::clock_t cpuStart = std::clock();
    Rate rate;
    while (clock.elapsed() < seconds * 1000.0) {
        frame();
        ++rate.frames;
    }
    rate.fps = double(rate.frames) / (double(clock.nsecsElapsed()) / 1e9);
    rate.cpuMs = double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC / double(rate.frames);
    return rate;
}

// Three emitters kept full: each generator makes more than 1000 per life.
kldemo::EmitterSet fullEmitters()
{
    kldemo::EmitterSet set;
    kldemo::EmitterSettings& snow = set[0];
    snow.TextureID = 1;   // Flake
    snow.Size = 3;
    snow.Life = 6.0f;
    snow.Speed = 0.02f;
    snow.Gravity = 1;
    snow.Bounce = 0.0f;
    snow.Power = 0.2f;
    snow.Style = 0;
    snow.Velocity = {0, -1, 0};
    snow.Motion = 4;
    snow.Distance = {30, 3, 30};
    snow.EmittorSpeed = 250.0f;
    kldemo::EmitterSettings& smoke = set[1];
    smoke.TextureID = 2;   // Smoke
    smoke.Size = 6;
    smoke.Color = {0.3f, 0.3f, 0.3f, 1};
    smoke.Life = 5.0f;
    smoke.Speed = 0.04f;
    smoke.Gravity = 0;
    smoke.Power = 0.4f;
    smoke.Velocity = {1, 0, 0.5f};
    smoke.Motion = 3;
    smoke.Distance = {3, 0, 3};
    smoke.EmittorSpeed = 250.0f;
    kldemo::EmitterSettings& bubbles = set[2];
    bubbles.TextureID = 4;   // Bubble
    bubbles.Size = 3;
    bubbles.Life = 6.0f;
    bubbles.Speed = 0.02f;
    bubbles.Gravity = 0;
    bubbles.Power = 0.4f;
    bubbles.Velocity = {0, 3, 0};
    bubbles.Motion = 5;
    bubbles.Distance = {10, 2, 10};
    bubbles.EmittorSpeed = 250.0f;
    return set;
}

// The plain loop: explicit Euler steps of position, velocity and age, a
// reflection on the ground and the dead swapped out, over 3000 particles.
struct PlainParticle {
    float x, y, z, vx, vy, vz, age, life;
};

double plainUpdateMs(int frames)
{
    std::vector<PlainParticle> particles(3000);
    for (std::size_t i = 0; i < particles.size(); ++i)
        particles[i] = {float(i % 17), 30.0f + float(i % 5), float(i % 13), 0.1f, 0.5f, -0.1f, float(i % 100) * 0.05f, 6.0f};
    const float dt = 1.0f / 60.0f, steps = 0.02f * 400.0f * dt, pull = 0.05f;
    const auto start = std::chrono::steady_clock::now();
    for (int f = 0; f < frames; ++f)
        for (std::size_t i = 0; i < particles.size(); ++i) {
            PlainParticle& p = particles[i];
            p.x += p.vx * steps;
            p.y += p.vy * steps;
            p.z += p.vz * steps;
            p.vy -= pull * steps;
            if (p.y < 0) {
                p.y = -p.y * 0.3f;
                p.vy = -p.vy * 0.3f;
            }
            p.age += dt;
            if (p.age >= p.life)
                p = {float(i % 17), 30.0f, float(i % 13), 0.1f, 0.5f, -0.1f, 0.0f, 6.0f};   // born again
        }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    volatile float sink = particles[7].y;
    (void)sink;
    return ms / frames;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../Emberly"));
    const double seconds = argc > 2 ? std::atof(argv[2]) : 5.0;
    const float distance = argc > 3 ? float(std::atof(argv[3])) : 85.0f;

    QWidget window;
    window.setAttribute(Qt::WA_NativeWindow);
    window.resize(800, 600);
    window.show();
    QApplication::processEvents();
    try {
        kldemo::DemoScene demo(window, folder);
        KLEngine& engine = demo.engine();
        const Rate empty = measure(seconds, [&] {
            engine.Clear();
            engine.RenderToScreen();
            QApplication::processEvents();
        });

        demo.scene().SetCamera(0, 28 + distance * 10.0f / 85.0f, -distance, 0, 28, 0);
        demo.play(fullEmitters());
        for (int step = 0; step < 8 * 60; ++step)   // until every system is full
            demo.update(1000.0f / 60.0f);
        const auto frameOf = [&](auto draw) {
            return [&engine, draw] {
                engine.Clear();
                draw();
                engine.RenderToScreen();
                QApplication::processEvents();
            };
        };
        KLMesh pole = demo.scene().GetMesh(0);
        KLMesh floor = demo.scene().GetMesh(1);
        const Rate skyOnly = measure(seconds / 2, frameOf([&] { demo.atmosphere().RenderSkyBox(); }));
        const Rate noParticles = measure(seconds / 2, frameOf([&] {
            demo.atmosphere().RenderSkyBox();
            pole.Render();
            floor.Render();
        }));
        const Rate scene = measure(seconds, [&] {
            demo.render();
            demo.update();
            demo.camera().Orbit(0, 0, engine.GetFrameTime() * 0.025f, true);
            QApplication::processEvents();
        });
        int alive = 0;
        for (auto& emitter : demo.emitters())
            alive += emitter->system().GetParticleCount();

        // The update alone, in steady state, at 60 updates per simulated second.
        constexpr int UpdateFrames = 2000;
        const auto start = std::chrono::steady_clock::now();
        for (int f = 0; f < UpdateFrames; ++f)
            demo.update(1000.0f / 60.0f);
        const double updateMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / UpdateFrames;
        int aliveAfterUpdates = 0;
        for (auto& emitter : demo.emitters())
            aliveAfterUpdates += emitter->system().GetParticleCount();
        const double plainMs = plainUpdateMs(UpdateFrames);

        std::printf("emberly_scene: 800x600, %s, sky box + pole + floor + 3 systems x 1000 billboards, camera %.0f units away\n",
                    qPrintable(folder), double(distance));
        std::printf("emberly_scene: empty frame (Clear + RenderToScreen): %.1f frames per second (%.3f ms, %.3f ms processor)\n",
                    empty.fps, 1000.0 / empty.fps, empty.cpuMs);
        std::printf("emberly_scene: sky box alone: %.1f frames per second (%.3f ms, %.3f ms processor)\n", skyOnly.fps,
                    1000.0 / skyOnly.fps, skyOnly.cpuMs);
        std::printf("emberly_scene: sky box, pole and floor: %.1f frames per second (%.3f ms, %.3f ms processor)\n",
                    noParticles.fps, 1000.0 / noParticles.fps, noParticles.cpuMs);
        std::printf("emberly_scene: scene: %.1f frames per second (%.3f ms, %.3f ms processor, %ld frames, %d billboards alive)\n",
                    scene.fps, 1000.0 / scene.fps, scene.cpuMs, scene.frames, alive);
        std::printf("emberly_scene: scene / empty frame: %.3f\n", scene.fps / empty.fps);
        std::printf("emberly_scene: particle update, 3 x 1000 particles: %.4f ms per frame (%d alive after)\n", updateMs,
                    aliveAfterUpdates);
        std::printf("emberly_scene: plain loop, 3000 particles: %.4f ms per frame\n", plainMs);
        std::printf("emberly_scene: particle update / plain loop: %.2f\n", updateMs / plainMs);
    } catch (const KLError& error) {
        std::fprintf(stderr, "emberly_scene: %s\n", qPrintable(error.Description()));
        return 1;
    }
    return 0;
}
