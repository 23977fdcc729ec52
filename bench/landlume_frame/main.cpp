// Frame rate of Landlume's default scene (the 8 x 8 land, the light marker and
// the frame-rate text) in the program's own frame window with its 3D view at
// 800 x 600, beside an empty frame (Clear + RenderToScreen) of the same view
// in the same run; and the start-up time from creating the frame window to the
// end of the first frame.
//   landlume_frame_bench [seconds]
#include "ui/MDIMain.h"

#include <korlith3d/KLEngine.h>

#include <platform/Ui.h>
#include <toolkit/EngineStartup.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMdiSubWindow>

#include <cstdio>
#include <functional>

namespace {

double frameRate(double seconds, const std::function<void()>& frame)
{
    for (int i = 0; i < 10; ++i)
        frame();
    QElapsedTimer clock;
    clock.start();
    long frames = 0;
    while (clock.elapsed() < seconds * 1000.0) {
        frame();
        ++frames;
    }
    return double(frames) / (double(clock.nsecsElapsed()) / 1e9);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    toolkit::startLiveViewTool(QStringLiteral("Landlume"));
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5.0;
    const QString folder = QDir(QCoreApplication::applicationDirPath() + "/../Landlume").absolutePath();

    QElapsedTimer startUp;
    startUp.start();
    landlume::MDIMain frame(folder);
    frame.resize(1700, 1000);
    if (!frame.load(false)) {
        std::fprintf(stderr, "landlume_frame: start-up failed\n");
        return 1;
    }
    frame.frame();
    const double startMs = double(startUp.nsecsElapsed()) / 1e6;

    // The 3D view at 800 x 600: the child window grows by what is missing.
    QWidget* view = frame.mainView();
    QMdiSubWindow* child = qobject_cast<QMdiSubWindow*>(view->parentWidget());
    child->resize(child->size() + (QSize(800, 600) - view->size()));
    for (int i = 0; i < 20; ++i)
        frame.frame();

    KLEngine& engine = *frame.engine().engine();
    const double empty = frameRate(seconds, [&] {
        engine.Clear(false);
        platform::doEvents();
        engine.RenderToScreen();
    });
    const double scene = frameRate(seconds, [&] { frame.frame(); });
    std::printf("landlume_frame: 3D view %d x %d, 8 x 8 land, light marker, frame-rate text\n", view->width(),
                view->height());
    std::printf("landlume_frame: start-up to the end of the first frame: %.0f ms\n", startMs);
    std::printf("landlume_frame: empty frame (Clear + events + RenderToScreen): %.1f frames per second\n", empty);
    std::printf("landlume_frame: default scene: %.1f frames per second (target >= 30)\n", scene);
    std::printf("landlume_frame: default scene / empty frame: %.3f\n", scene / empty);
    frame.engine().settings().running = false;
    frame.shutdown();
    return scene >= 30.0 ? 0 : 2;
}
