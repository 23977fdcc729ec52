// Compile in Layerloom's own window on the sample preset at 2048 x 2048,
// timed from the click to the written and shown texture, beside
// layerloom --compile of the same preset at the same size without a display
// (the generation as the command reports it, and the whole command from
// start to exit). The two files are compared byte for byte.
//   layerloom_compile_bench [runs]
#include "ui/FrmMain.h"

#include "../support/HeadlessCommand.h"

#include <platform/Paths.h>
#include <toolkit/EngineStartup.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    toolkit::startLiveViewTool(QStringLiteral("Layerloom"));
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const QString folder = QDir(QCoreApplication::applicationDirPath() + "/../Layerloom").absolutePath();
    platform::setProgramFolder(folder);
    QTemporaryDir out;

    layerloom::FrmMain form(folder);
    if (!form.load(folder + "/samples/sample.llp")) {
        std::fprintf(stderr, "layerloom_compile: start-up failed\n");
        return 1;
    }
    auto* resolution = form.findChild<QComboBox*>("CboResolution");
    auto* final = form.findChild<QLineEdit*>("txtFinal");
    if (!resolution || !final || resolution->findText("2048", Qt::MatchStartsWith) < 0) {
        std::fprintf(stderr, "layerloom_compile: no 2048 entry or output box\n");
        return 1;
    }
    resolution->setCurrentIndex(resolution->findText("2048", Qt::MatchStartsWith));
    const QString windowed = out.filePath("window.bmp");
    final->setText(windowed);
    QCoreApplication::processEvents();

    // The window's Compile and the command take turns, so both meet the
    // machine in the same state.
    const QString commanded = out.filePath("command.bmp");
    double best = 1e30;
    bench::HeadlessTiming command;
    for (int run = 0; run < runs; ++run) {
        QFile::remove(windowed);
        QElapsedTimer clock;
        clock.start();
        form.compile();
        QCoreApplication::processEvents();
        best = std::min(best, double(clock.nsecsElapsed()) / 1e9);
        bench::timeHeadless(folder + "/layerloom",
                            {"--compile", folder + "/samples/sample.llp", "--output", commanded, "--resolution",
                             "2048"},
                            QStringLiteral("generated in"), command);
        if (!command.ok) {
            std::fprintf(stderr, "layerloom_compile: layerloom --compile failed\n");
            return 1;
        }
    }
    const QByteArray windowBytes = bytesOf(windowed);
    if (windowBytes.size() != 54 + 2048 * 2048 * 3) {
        std::fprintf(stderr, "layerloom_compile: Compile wrote no 2048 x 2048 BMP\n");
        return 1;
    }
    const bool same = bytesOf(commanded) == windowBytes;
    std::printf("layerloom_compile: sample preset, 4 layers, 2048 x 2048\n");
    std::printf("layerloom_compile: Compile in the window, click to written and shown texture: %.3f s (best of %d)\n",
                best, runs);
    std::printf("layerloom_compile: layerloom --compile, no display: generation %.3f s, whole command %.3f s "
                "(start, preset, generation, BMP) (best of %d)\n",
                command.work, command.whole, runs);
    std::printf("layerloom_compile: headless generation / Compile in the window: %.2f (must be <= 1)\n",
                command.work / best);
    std::printf("layerloom_compile: the two files identical: %s\n", same ? "yes" : "NO");
    return same ? 0 : 1;
}
