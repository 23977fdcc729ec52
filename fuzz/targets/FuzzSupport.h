// What the fuzz targets share: a Qt application object, a scratch folder in
// memory for readers that take a path, and quiet Qt messages.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace fuzz {

QByteArray bytesOf(const std::uint8_t* data, std::size_t size);

// A folder of this process, removed at exit (in /dev/shm when there is one).
QString scratchFolder();
// Replaces scratch file `name` with the bytes and returns its path.
QString writeScratchFile(const QString& name, const QByteArray& bytes);

// Stops the run with a message: a reader broke a promise the fuzzer checks
// (a round trip that changed the data, a result both valid and failed).
[[noreturn]] void fail(const char* what);

} // namespace fuzz
