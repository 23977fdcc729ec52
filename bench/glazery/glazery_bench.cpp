// Measures Glazery's start-up (window built, engine started, scene, textures,
// the nine preview meshes and the default material loaded) up to the first
// presented frame, without the splash; then the render loop's frame rate with
// the preview at 800 x 600 pixels.
#include "ui/Form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <cstdio>

#include <platform/Paths.h>

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
    for (int attempt = 0; attempt < 5 && picture->size() != QSize(800, 600); ++attempt) {
        form.resize(form.width() + 800 - picture->width(), form.height() + 600 - picture->height());
        QApplication::processEvents();
    }
    for (int i = 0; i < 30; ++i)
        form.runFrame();

    int frames = 0;
    clock.restart();
    while (clock.elapsed() < 5000 && form.runFrame())
        ++frames;
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;

    std::printf("glazery start-up to first frame: %.1f ms (window built %.1f, start-up sequence %.1f, "
                "first frame %.1f)\n",
                startupMs, builtMs, loadedMs - builtMs, startupMs - loadedMs);
    std::printf("glazery render loop at %dx%d: %.1f fps (%d frames in %.2f s)\n", picture->width(),
                picture->height(), frames / seconds, frames, seconds);
    form.shutdown();
    return 0;
}
