#pragma once
// A test seam in the atomic save: makes saves fail at a chosen step, so tests
// can show that a failed save keeps the previous document and is reported.
// Set in-process with ScopedSaveFault, or for a whole program through the
// environment: KORLITH3D_SAVE_FAULT=open|write|flush|rename|crash.

#include <QString>

namespace platform {

enum class SaveFault {
    None,
    Open,     // the temporary file cannot be created
    Write,    // the write stops half-way (as on a full disk)
    Flush,    // everything is written but flushing it fails
    Rename,   // the temporary file cannot replace the document
    Crash,    // the process dies after the write, before the rename
};

// The fault in force: the scoped one, else the environment's, else None.
SaveFault activeSaveFault();

// Saves fail at `fault` while the object lives; with `passing` > 0 the first
// `passing` saves succeed and the ones after fail (the n-th save of a
// document written in several steps).
class ScopedSaveFault {
public:
    explicit ScopedSaveFault(SaveFault fault, int passing = 0);
    ~ScopedSaveFault();
    ScopedSaveFault(const ScopedSaveFault&) = delete;
    ScopedSaveFault& operator=(const ScopedSaveFault&) = delete;

private:
    SaveFault previous_;
    int previousPassing_;
};

// The exit status of a save that died through SaveFault::Crash.
inline constexpr int kSaveCrashExitCode = 86;

} // namespace platform
