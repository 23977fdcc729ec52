// The engine's debug log: one text file, one line per entry, flushed at once so
// the log survives a crash of the host program.
#pragma once

#include <QFile>
#include <QString>

namespace kl::core {

class DebugLog {
public:
    // Opens (truncates) the file; false when it cannot be created.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return file_.isOpen(); }
    QString path() const { return file_.fileName(); }
    void write(const QString& line);

private:
    QFile file_;
};

} // namespace kl::core
