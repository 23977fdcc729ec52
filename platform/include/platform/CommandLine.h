#pragma once
// The tools' command lines: plain arguments (a file to open) and options
// "--name value" or "--name=value". Each tool says which options it takes and
// which of them carry a value. The exit codes of a command-line run are
// shared: 0 done, 1 the work failed (one line says what), 2 the command line
// itself was wrong.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

namespace platform {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct OptionSpec {
    QString name;   // without the leading "--"
    bool takesValue = false;
};

struct CommandLine {
    QStringList plain;              // arguments that are not options, in order
    QMap<QString, QString> values;  // option name -> value ("" for options without one)
    QString error;                  // why the line is malformed; empty when it is not

    bool has(const QString& name) const { return values.contains(name); }
    QString value(const QString& name) const { return values.value(name); }
};

// Parses `arguments` (without the program name). "-h" stands for "--help";
// after "--" everything is plain. An unknown option, an option given twice,
// a missing value or a value given to an option that takes none is an error.
CommandLine parseCommandLine(const QStringList& arguments, const QList<OptionSpec>& options);

// True when any of `arguments` is one of the options `names` (either form):
// used before any application object exists, to choose a run without a display.
bool mentionsOption(const QStringList& arguments, const QStringList& names);

// The program's arguments as given, without its name and before any
// application object has removed its own.
QStringList rawArguments(int argc, char** argv);

} // namespace platform
