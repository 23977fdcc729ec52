#pragma once
// Turns the material and the test light into engine set-up code for VB,
// Delphi, C# or C++. Numbers always use a point, whatever the locale.

#include "core/MaterialSettings.h"

#include <QString>

namespace glazery {

enum class CodeLanguage { VB, Delphi, CSharp, Cpp };

// Names pasted verbatim into the generated text (edited in the code window).
struct CodeNames {
    QString material{"My_Mat"};               // {M}
    QString materialFactory{"My_matfact"};    // {F}
    QString lightEngine{"My_Light"};          // {L}
    QString lightRecord{"My_D3DLight8"};      // {D}
    bool operator==(const CodeNames&) const = default;
};

// x with four decimals, rounded, at least one integer digit: 1 -> "1.0000",
// -100 -> "-100.0000", 0.5 -> "0.5000".
QString FixStr(float x);
// As FixStr with a trailing "f": 1 -> "1.0000f".
QString FixStrC(float x);

// The whole generated text, no line end after the last line; CR LF line ends,
// LF for C++ (code for the engine's C++ classes: the material looked up with
// the factory's GetMaterialId, the light record filled field by field).
// Colour boxes are written as value / 255; plain numbers as they are. Which
// Position / Direction / Range lines appear depends on light.typeRow.
QString CreateCode(const MaterialTexts& material, const LightTexts& light, const CodeNames& names,
                   CodeLanguage language);

} // namespace glazery
