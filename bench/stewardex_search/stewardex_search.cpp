// Times a whole-computer search as the search window runs it (one walk for
// both names, the window's status and events at every folder), beside
// `find <drives> -xdev -name libkorlith3d.so` over the same drives, both warm
// (a first, untimed run of each fills the cache). Also shown: the walk alone
// without the window, and one walk per name as the search is described.
// Each figure is the median of five runs; the ratio is search / find.
#include "ui/Form2.h"

#include "core/FolderSearch.h"
#include "core/SearchRows.h"

#include <platform/FileSystem.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Runs = 5;

template <class Run>
double medianSeconds(Run run)
{
    run();   // warm the cache
    std::vector<double> seconds;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        run();
        seconds.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e9);
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[Runs / 2];
}

int findRun(const QStringList& roots)
{
    QProcess find;
    find.setProcessChannelMode(QProcess::SeparateChannels);
    find.start(QStringLiteral("find"), roots + QStringList{"-xdev", "-name", QString::fromLatin1(stewardex::EngineFileName)});
    find.waitForFinished(-1);
    return static_cast<int>(find.readAllStandardOutput().count('\n'));
}

std::size_t walk(const QStringList& roots, const QStringList& names)
{
    std::size_t found = 0;
    stewardex::FolderSearch search(names, [](const QString&) { return true; },
                                   [&found](const stewardex::FoundFile&) { ++found; });
    search.run(roots);
    return found;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList roots = stewardex::searchRoots(platform::driveList());
    const QString engine = QString::fromLatin1(stewardex::EngineFileName);
    const QString utility = QString::fromLatin1(stewardex::UtilityFileName);
    std::printf("Drives searched: %s\n", qPrintable(roots.join(u' ')));

    int findRows = 0;
    const double find = medianSeconds([&] { findRun(roots); });
    findRows = findRun(roots);

    stewardex::Form2 window(roots, {});
    window.show();
    QApplication::processEvents();
    auto* list = window.findChild<QTreeWidget*>(QStringLiteral("LstResults"));
    const double windowSearch = medianSeconds([&] { window.startSearch(); });
    const int windowRows = list ? list->topLevelItemCount() : 0;

    std::size_t oneWalkRows = 0;
    const double oneWalk = medianSeconds([&] { oneWalkRows = walk(roots, {engine, utility}); });
    const double walkPerName = medianSeconds([&] { walk(roots, {engine}); walk(roots, {utility}); });

    std::printf("find -xdev -name %s:          %8.3f s  (%d files)\n", qPrintable(engine), find, findRows);
    std::printf("search window, both names:           %8.3f s  (%d rows)   ratio %.2f\n", windowSearch, windowRows,
                windowSearch / find);
    std::printf("walk alone, both names in one walk:  %8.3f s  (%zu rows)   ratio %.2f\n", oneWalk, oneWalkRows,
                oneWalk / find);
    std::printf("walk alone, one walk per name:       %8.3f s             ratio %.2f\n", walkPerName,
                walkPerName / find);
    return 0;
}
