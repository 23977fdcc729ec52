#pragma once
// Starting other programs, the shell "open" of documents and web addresses,
// and the system clocks the tools read.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace platform {

// Splits a command line the way Windows programs read theirs: blanks
// separate arguments, double quotes group (and are removed), a backslash run
// before a quote halves and may escape the quote, "" inside quotes is a quote.
QStringList splitCommandLine(const QString& commandLine);

// The program file a command names: a path is resolved (resolvePath);
// a bare name is looked up in the program folder first, then on PATH; a
// missing ".exe" suffix is tolerated ("regsvr32.exe" finds "regsvr32").
// Empty when nothing is found.
QString findProgram(const QString& name);

// Starts the command line as a separate process without waiting (VB Shell).
// Returns its process id, or nullopt when the program cannot be started.
std::optional<qint64> startCommandLine(const QString& commandLine, const QString& workingFolder = {});

// Opens a document with its associated program, or a web address
// ("http://...", "https://...", "mailto:...") with the browser. Document paths
// are resolved (resolvePath). False when nothing could open it.
bool shellOpen(const QString& documentOrAddress);

// Milliseconds since an arbitrary start, steady, wrapping at 2^32 (GetTickCount).
quint32 tickCount();
// Seconds since midnight with fractions (VB Timer).
double secondsSinceMidnight();
inline double timer() { return secondsSinceMidnight(); }

} // namespace platform
