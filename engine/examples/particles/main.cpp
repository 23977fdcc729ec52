// klparticles: plays a preset of the particle editor over its scene.
//
//   klparticles <program folder> [preset] [--seconds <s>] [--camera <x> <y> <z>]
//               [--screenshot <file.png>]
//
// The program folder is one laid out as the particle editor's (presets.ini,
// media/, mesh/). Without --screenshot the scene plays in a window until it is
// closed; with it, the preset runs for the given simulated seconds (default 4)
// in 60 steps a second, one frame is drawn and saved, and the program ends.
#include "demo/DemoScene.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>

namespace {

struct Options {
    QString folder;
    QString preset = QStringLiteral("Fire");
    QString screenshot;
    double seconds = 4.0;
    D3DVECTOR eye{0, 38, -85};
};

bool parse(const QStringList& args, Options& options)
{
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--seconds") && i + 1 < args.size())
            options.seconds = args[++i].toDouble();
        else if (args[i] == QLatin1String("--screenshot") && i + 1 < args.size())
            options.screenshot = args[++i];
        else if (args[i] == QLatin1String("--camera") && i + 3 < args.size())
            options.eye = {args[i + 1].toFloat(), args[i + 2].toFloat(), args[i + 3].toFloat()}, i += 3;
        else if (options.folder.isEmpty())
            options.folder = args[i];
        else
            options.preset = args[i];
    }
    return !options.folder.isEmpty();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Options options;
    if (!parse(app.arguments(), options)) {
        std::fprintf(stderr, "usage: klparticles <program folder> [preset] [--seconds s] [--camera x y z] "
                             "[--screenshot file.png]\n");
        return 2;
    }
    const QString presets = QDir(options.folder).filePath(QStringLiteral("presets.ini"));
    const std::optional<kldemo::EmitterSet> emitters = kldemo::loadPreset(presets, options.preset);
    if (!emitters) {
        std::fprintf(stderr, "klparticles: no preset \"%s\" in %s (there are: %s)\n", qPrintable(options.preset),
                     qPrintable(presets), qPrintable(kldemo::presetNames(presets).join(QStringLiteral(", "))));
        return 1;
    }

    QWidget window;
    window.setWindowTitle(QStringLiteral("klparticles - ") + options.preset);
    window.resize(800, 600);
    window.show();
    QApplication::processEvents();
    try {
        kldemo::DemoScene demo(window, options.folder);
        demo.scene().SetCamera(options.eye.x, options.eye.y, options.eye.z, 0, 28, 0);
        demo.play(*emitters);
        if (!options.screenshot.isEmpty()) {
            for (int step = 0; step < int(options.seconds * 60.0); ++step)
                demo.update(1000.0f / 60.0f);
            demo.render();
            const QString bmp = options.screenshot + QStringLiteral(".bmp");
            demo.engine().SaveScreenshot(bmp);
            const bool saved = QImage(bmp, "BMP").save(options.screenshot);
            QFile::remove(bmp);
            return saved ? 0 : 1;
        }
        while (window.isVisible()) {
            demo.render();
            demo.update();
            demo.camera().Orbit(0, 0, float(demo.engine().GetFrameTime()) * 0.025f, true);
            QApplication::processEvents();
        }
    } catch (const KLError& error) {
        std::fprintf(stderr, "klparticles: %s\n", qPrintable(error.Description()));
        return 1;
    }
    return 0;
}
