// Measures Glazery's start-up (window built, engine started, scene, textures,
// the nine preview meshes and the default material loaded) up to the first
// presented frame, without the splash; then the render loop's frame rate with
// the preview at 800 x 600 pixels, beside the rate of an empty frame (engine
// Clear and RenderToScreen only) in a window of the same size, measured in the
// same run: absolute rates differ between machines, the ratio much less.
#include "ui/Form1.h"

#include <korlith3d/KLEngine.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <cstdio>
#include <optional>

#include <platform/Paths.h>

namespace {

constexpr QSize kPreviewSize(800, 600);
constexpr qint64 kMeasureMs = 5000;

struct Rate {
    int frames = 0;
    double seconds = 0;
    double fps() const { return seconds > 0 ? frames / seconds : 0; }
};

// Frames of `frame` for about five seconds, after a few to warm up.
template <class Frame>
Rate measure(Frame frame)
{
    for (int i = 0; i < 30; ++i)
        frame();
    Rate rate;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kMeasureMs && frame())
        ++rate.frames;
    rate.seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    return rate;
}

// The engine set up as Glazery sets it up, drawing nothing but the clear, in
// its own native window of the preview's size. Nothing when the engine
// cannot render there.
std::optional<Rate> emptyFrameRate(const QString& folder)
{
    QWidget window;
    window.setAttribute(Qt::WA_NativeWindow);
    window.resize(kPreviewSize);
    window.show();
    QApplication::processEvents();
    KLEngine engine;
    engine.PreInit(-1, -1, 0);
    engine.SetDebugFile(platform::joinPath(folder, "debugfile.txt"));
    engine.SetTextureFilter(1);
    engine.SetVerticalSync(true);
    if (!engine.Init3DWindowedMode(static_cast<std::uintptr_t>(window.winId()), true))
        return std::nullopt;
    return measure([&] {
        QApplication::processEvents();
        engine.Clear(false);
        engine.RenderToScreen();
        return true;
    });
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : platform::joinPath(QCoreApplication::applicationDirPath(), "../Glazery");

    QElapsedTimer clock;
    clock.start();
    glazery::Form1 form(folder);
    const double builtMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (!form.load(false)) {
        std::fprintf(stderr, "Glazery could not start in %s\n", qPrintable(folder));
        return 1;
    }
    const double loadedMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (!form.runFrame()) {
        std::fprintf(stderr, "the first frame ended the loop\n");
        return 1;
    }
    const double startupMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;

    // Grow the window until the preview is 800 x 600.
    auto* picture = form.findChild<QWidget*>("Picture1");
    for (int attempt = 0; attempt < 5 && picture->size() != kPreviewSize; ++attempt) {
        form.resize(form.width() + kPreviewSize.width() - picture->width(),
                    form.height() + kPreviewSize.height() - picture->height());
        QApplication::processEvents();
    }
    const QSize measuredSize = picture->size();
    const Rate loop = measure([&] { return form.runFrame(); });
    form.shutdown();
    // One engine per process: the empty frame's engine starts once Glazery's is released.
    const std::optional<Rate> empty = emptyFrameRate(folder);

    std::printf("glazery start-up to first frame: %.1f ms (window built %.1f, start-up sequence %.1f, "
                "first frame %.1f)\n",
                startupMs, builtMs, loadedMs - builtMs, startupMs - loadedMs);
    std::printf("glazery render loop at %dx%d: %.1f fps (%d frames in %.2f s)\n", measuredSize.width(),
                measuredSize.height(), loop.fps(), loop.frames, loop.seconds);
    if (!empty) {
        std::fprintf(stderr, "the empty frame could not be measured: no window to render into\n");
        return 1;
    }
    std::printf("empty frame (Clear + RenderToScreen) at %dx%d: %.1f fps (%d frames in %.2f s)\n",
                kPreviewSize.width(), kPreviewSize.height(), empty->fps(), empty->frames, empty->seconds);
    std::printf("glazery render loop / empty frame: %.3f\n", empty->fps() > 0 ? loop.fps() / empty->fps() : 0.0);
    return 0;
}
