// Frames per second of Emberly's running editor — the main window's frame
// loop (render, emitter and particle update, camera, events) with the three
// emitters enabled, the view 800 x 600 — beside an empty frame (Clear +
// RenderToScreen + events) in the same view, measured in the same run, and
// the ratio. Measured twice: with the emitters as they start (5 particles a
// second living 2 s) and with each emitter at the sliders' top rate and life
// (50 a second living 10 s, about 500 alive each).
//   emberly_editor_bench [program folder] [seconds] [--shots <folder>]
#include "ui/EmberlyScene.h"
#include "ui/frmMain.h"

#include <korlith3d/KLEngine.h>

#include <platform/Registry.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>

#include <cstdio>
#include <functional>

namespace {

struct Rate {
    double fps = 0;
    long frames = 0;
};

Rate measure(double seconds, const std::function<void()>& frame)
{
    for (int i = 0; i < 20; ++i)
        frame();
    QElapsedTimer clock;
    clock.start();
    Rate rate;
    while (clock.elapsed() < seconds * 1000.0) {
        frame();
        ++rate.frames;
    }
    rate.fps = double(rate.frames) / (double(clock.nsecsElapsed()) / 1e9);
    return rate;
}

// Grows the window until the 3D view is 800 x 600.
void sizeView(emberly::frmMain& form)
{
    QWidget* view = form.findChild<QWidget*>(QStringLiteral("Picture1"));
    for (int i = 0; i < 5; ++i) {
        form.resize(form.width() + 800 - view->width(), form.height() + 600 - view->height());
        QApplication::processEvents();
    }
}

int alive(emberly::frmMain& form)
{
    int count = 0;
    for (int i = 0; i < 3; ++i)
        count += form.factory(i).Particle()->GetParticleCount();
    return count;
}

void play(emberly::frmMain& form, double seconds)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < seconds * 1000.0)
        form.runFrame();
}

void shot(emberly::frmMain& form, const QString& file)
{
    const QString bmp = file + QStringLiteral(".bmp");
    form.scene().engine()->SaveScreenshot(bmp);
    QImage(bmp, "BMP").save(file);
    QFile::remove(bmp);
    std::printf("emberly_editor: saved %s\n", qPrintable(file));
}

void setSlider(emberly::frmMain& form, const char* name, int value)
{
    form.findChild<QSlider*>(QString::fromLatin1(name))->setValue(value);
}

// The default emitter, then each velocity style on emitter 0 alone.
void takeShots(emberly::frmMain& form, const QString& folder)
{
    QDir().mkpath(folder);
    play(form, 4.0);
    shot(form, folder + QStringLiteral("/default.png"));
    const char* const names[] = {"beam", "spray", "burst", "implode"};
    for (int style = 0; style < 4; ++style) {
        form.menuReset();
        form.findChild<QToolButton*>(QStringLiteral("OptStyle_%1").arg(style))->setChecked(true);
        setSlider(form, "sldEmitSpeed", 50);
        setSlider(form, "sldPartLife", 30);
        setSlider(form, "sldPartPower", 20);
        setSlider(form, "sldGravity", style == 2 ? 0 : 1);
        if (style == 0)
            form.findChild<QLineEdit*>(QStringLiteral("txtRotY"))->setText(QStringLiteral("3"));
        if (style == 3) {   // the emitter roams a sphere; particles fly back to its centre
            form.findChild<QComboBox*>(QStringLiteral("cmbMotion"))->setCurrentIndex(5);
            for (const char* axis : {"sldMotionX", "sldMotionY", "sldMotionZ"})
                setSlider(form, axis, 20);
            setSlider(form, "sldGravity", 0);
            setSlider(form, "sldPartPower", 10);
        }
        play(form, 4.0);
        shot(form, folder + QStringLiteral("/") + QString::fromLatin1(names[style]) + QStringLiteral(".png"));
        form.findChild<QLineEdit*>(QStringLiteral("txtRotY"))->setText(QStringLiteral("0"));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QStringList args = app.arguments();
    QString shots;
    if (const int at = args.indexOf(QStringLiteral("--shots")); at > 0 && at + 1 < args.size()) {
        shots = args[at + 1];
        args.remove(at, 2);
    }
    const QString folder = args.size() > 1 ? args[1]
                                           : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../Emberly"));
    const double seconds = args.size() > 2 ? args[2].toDouble() : 5.0;

    // A registry store of its own, so the bench never touches the user's.
    QTemporaryDir registry;
    qputenv("KORLITH3D_REGISTRY_DIR", registry.path().toUtf8());
    platform::writeRegistryString(platform::Hive::LocalMachine, QStringLiteral("SOFTWARE\\Microsoft\\DirectX"),
                                  QStringLiteral("Version"), QStringLiteral("4.09.00.0904"));

    emberly::frmMain form(QDir(folder).absolutePath());
    form.setActiveQuery([] { return true; });
    if (!form.load(false)) {
        std::fprintf(stderr, "emberly_editor: the editor could not start in %s\n", qPrintable(folder));
        return 1;
    }
    sizeView(form);
    if (!shots.isEmpty()) {
        takeShots(form, shots);
        return 0;
    }
    form.setEmitterEnabled(1, true);
    form.setEmitterEnabled(2, true);
    KLEngine& engine = *form.scene().engine();
    const Rate empty = measure(seconds, [&] {
        engine.Clear();
        engine.RenderToScreen();
        QApplication::processEvents();
    });
    play(form, 3.0);
    const int startAlive = alive(form);
    const Rate started = measure(seconds, [&] { form.runFrame(); });

    // Every emitter at the top rate and life.
    for (int i = 0; i < 3; ++i) {
        form.selectEmitter(i);
        setSlider(form, "sldEmitSpeed", 50);
        setSlider(form, "sldPartLife", 100);
        form.updateEmettor(i);
    }
    play(form, 11.0);
    const int fullAlive = alive(form);
    const Rate full = measure(seconds, [&] { form.runFrame(); });

    std::printf("emberly_editor: 800x%d view, %s, frame loop of the main window with 3 emitters enabled\n",
                engine.GetViewportHeight(), qPrintable(folder));
    std::printf("emberly_editor: empty frame (Clear + RenderToScreen + events): %.1f frames per second\n", empty.fps);
    std::printf("emberly_editor: editor as started: %.1f frames per second (%d particles alive)\n", started.fps,
                startAlive);
    std::printf("emberly_editor: editor as started / empty frame: %.3f\n", started.fps / empty.fps);
    std::printf("emberly_editor: editor at top rate and life: %.1f frames per second (%d particles alive)\n", full.fps,
                fullAlive);
    std::printf("emberly_editor: editor at top rate and life / empty frame: %.3f\n", full.fps / empty.fps);
    form.shutdown();
    return 0;
}
