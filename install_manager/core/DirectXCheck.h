// The DirectX verdict: the installed version read from the registry store,
// shown as its second and third parts, and whether it is at least 8.1.
#pragma once

#include <QString>

#include <optional>

namespace stewardex {

inline constexpr const char* DirectXKey = "SOFTWARE\\Microsoft\\DirectX";
inline constexpr const char* SuitableSuffix = " (OK FINE!)";
inline constexpr const char* UnsuitableSuffix = " (NOT GOOD FOR KL3D!)";
inline constexpr const char* BadDirectXText = "BAD DIRECTX";

struct DirectXVerdict {
    QString shown;     // "09.00 (OK FINE!)"
    bool suitable = false;
};

// The "Version" value: a string as stored, a 32-bit value as upper-case hex,
// else the platform's answer (a value when OpenGL 3.3 is available); empty
// when there is none.
QString readDirectXValue();

// "4.09.00.0904" -> "09.00 (OK FINE!)", suitable. nullopt when the value has
// fewer than three "."-separated parts (the check then ends where it is).
std::optional<DirectXVerdict> judgeDirectXVersion(const QString& value);

} // namespace stewardex
