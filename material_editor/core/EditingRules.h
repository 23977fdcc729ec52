#pragma once
// Rules of the material and light editing controls: clamping, colour
// conversions, drag-to-adjust, spot angle coupling, field enabling by light
// type and the preview light (the engine's D3DLIGHT8 record) built from the
// boxes.

#include "core/MaterialSettings.h"

#include <korlith3d/types.h>

#include <toolkit/DragAdjust.h>

#include <QString>

#include <cstdint>

namespace glazery {

// ---- material boxes -------------------------------------------------------

// Below 0 gives 0, above 255 gives 255.
int ClampByte(int value);

// Value of a material box after it loses focus: numeric value of the text,
// rounded (halves to even), clamped to 0..255. Numbers beyond the 16-bit
// range clamp too ("99999" -> 255).
int materialBoxValue(const QString& text);

// Colour component sent to the engine for the preview: (c + 1) / 256, so 255
// gives 1.0 and 0 gives 0.00390625. `text` is read by its numeric value.
float previewComponent(double c);
float previewComponent(const QString& text);

// Colour component written into generated code: c / 255.
float codeComponent(double c);

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

// Splits a colour value 0x00BBGGRR (as colour dialogs return it).
Rgb ColorToRGB(std::int32_t colour);

// Swatch colour of three boxes: their numeric values clamped to 0..255.
Rgb swatchColour(const QString& red, const QString& green, const QString& blue);
Rgb swatchColour(const RgbTexts& texts);
Rgb swatchColour(const ColourTexts& texts);

// ---- drag-to-adjust -------------------------------------------------------

// The drag rule itself is the toolkit's; these are the limits of each field.
using toolkit::DragLimits;

inline constexpr DragLimits kColourDrag{0, 255, 1.0f, 5.0f};      // material and light colours
inline constexpr DragLimits kPositionDrag{-999, 999, 1.0f, 10.0f}; // pX pY pZ
inline constexpr DragLimits kDirectionDrag{-5, 5, 1.0f, 1.0f};     // tX tY tZ
inline constexpr DragLimits kRangeDrag{0, 5000, 10.0f, 30.0f};     // lRange
inline constexpr DragLimits kPhiDrag{1, 180, 1.0f, 5.0f};          // tPhi

// tTheta: 1 .. (tPhi - 1).
DragLimits thetaDragLimits(const QString& phiText);

// After tPhi changed: when tTheta is not below tPhi, tTheta becomes tPhi - 1.
// Returns the (possibly new) theta text.
QString thetaAfterPhiChange(const QString& phiText, const QString& thetaText);

// ---- light panel ----------------------------------------------------------

struct LightFieldsEnabled {
    bool position = false;   // pX pY pZ
    bool spotAngles = false; // tTheta tPhi
    bool direction = false;  // tX tY tZ
    bool range = false;      // lRange
    bool operator==(const LightFieldsEnabled&) const = default;
};

// Directional: direction only; Point: position and range; Spot: everything.
// A row outside 0..2 enables nothing.
LightFieldsEnabled lightFieldsEnabled(int typeRow);

// Direction sliders vsX..vsZ (0..10): box text = slider value - 5.
inline constexpr int kDirectionSliderMax = 10;
QString directionTextFromSlider(int sliderValue);
// Slider position for a box text, clamped to 0..10.
int directionSliderFromText(const QString& text);

// Degrees to radians, single precision.
float degreesToRadians(float degrees);

// A light colour trio as sent to the engine: ((r+1)/256, (g+1)/256, (b+1)/256, 1).
D3DCOLORVALUE lightColour(const RgbTexts& texts);

// Vector of three boxes read by their numeric values.
D3DVECTOR vectorFromTexts(const XyzTexts& texts);

// The light at start-up: directional, diffuse and specular white, ambient 0,
// position (-100, -100, -100), direction (1, -1, 0), range 1000, theta and phi
// from the start texts 80 and 90 degrees.
D3DLIGHT8 initialTestLight();

// The light rebuilt from the boxes: type from the row, colours (c+1)/256 with
// alpha 1, position, direction, range, theta and phi in radians; falloff and
// attenuations 0.
D3DLIGHT8 buildTestLight(const LightTexts& texts);

} // namespace glazery
