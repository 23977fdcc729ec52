// Landlume's command line: no arguments or one map file opens the window (with
// that map loaded); "--bake MAP --lightmap OUT.bmp [--coordinates OUT.txt]"
// computes the lightmap without a window; "--help" prints the usage.
#pragma once

#include <QString>
#include <QStringList>

namespace landlume {

struct BakeRequest {
    QString map;
    QString lightmap;
    QString coordinates;   // empty: no coordinate file
};

struct LandlumeLaunch {
    enum class Kind { Window, Bake, Help, UsageError };
    Kind kind = Kind::Window;
    QString mapToOpen;   // Window: the map given, if any
    BakeRequest bake;
    QString error;       // UsageError: what was wrong
};

// The options that make a run without a display.
QStringList landlumeCommandOptions();
LandlumeLaunch parseLandlumeArguments(const QStringList& arguments);
QString landlumeUsage();

} // namespace landlume
