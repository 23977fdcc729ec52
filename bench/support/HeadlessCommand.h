// A tool's command-line mode run as a child process with no display, timed
// from start to exit, with the time of its work as the command reports it
// on standard error ("... in 0.412 s"). Header only: shared by the
// benchmarks that set a command beside its window's action.
#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <algorithm>

namespace bench {

// The best of several runs; `ok` until one fails.
struct HeadlessTiming {
    bool ok = true;
    double work = 1e30;    // as the command reports it
    double whole = 1e30;   // start to exit
};

// Runs `program` once and folds its figures into `best`. `reported` is the
// words before the seconds on its standard error ("baked in").
inline void timeHeadless(const QString& program, const QStringList& arguments, const QString& reported,
                         HeadlessTiming& best)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    QProcess command;
    command.setProcessEnvironment(environment);
    QElapsedTimer clock;
    clock.start();
    command.start(program, arguments);
    if (!command.waitForFinished(600000) || command.exitStatus() != QProcess::NormalExit || command.exitCode() != 0) {
        best.ok = false;
        return;
    }
    const double whole = double(clock.nsecsElapsed()) / 1e9;
    const QRegularExpression pattern(QRegularExpression::escape(reported) + QStringLiteral(" ([0-9.]+) s"));
    const QRegularExpressionMatch match = pattern.match(QString::fromLocal8Bit(command.readAllStandardError()));
    if (!match.hasMatch()) {
        best.ok = false;
        return;
    }
    best.whole = std::min(best.whole, whole);
    best.work = std::min(best.work, match.captured(1).toDouble());
}

} // namespace bench
