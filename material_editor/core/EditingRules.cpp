#include "core/EditingRules.h"

#include "core/NumberText.h"

#include <platform/TextRules.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace glazery {

using detail::numericValue;
using detail::toInt16;
using detail::toSingle;

int ClampByte(int value)
{
    return std::clamp(value, 0, 255);
}

int materialBoxValue(const QString& text)
{
    return ClampByte(toInt16(numericValue(text)));
}

float previewComponent(double c)
{
    return (toSingle(c) + 1.0f) / 256.0f;
}

float previewComponent(const QString& text)
{
    return previewComponent(numericValue(text));
}

float codeComponent(double c)
{
    return toSingle(c) / 255.0f;
}

Rgb ColorToRGB(std::int32_t colour)
{
    // The colour's hexadecimal text holds blue, green, red pairs.
    QString hex = QString::number(static_cast<quint32>(colour), 16).toUpper();
    hex = hex.rightJustified(6, u'0');
    const auto pair = [](const QString& digits) { return digits.toInt(nullptr, 16); };
    return {pair(hex.right(2)), pair(hex.mid(2, 2)), pair(hex.left(2))};
}

Rgb swatchColour(const QString& red, const QString& green, const QString& blue)
{
    return {materialBoxValue(red), materialBoxValue(green), materialBoxValue(blue)};
}

Rgb swatchColour(const RgbTexts& texts)
{
    return swatchColour(texts.red, texts.green, texts.blue);
}

Rgb swatchColour(const ColourTexts& texts)
{
    return swatchColour(texts.red, texts.green, texts.blue);
}

DragLimits thetaDragLimits(const QString& phiText)
{
    return {kPhiDrag.min, toInt16(numericValue(phiText) - 1.0), kPhiDrag.smallStep,
            kPhiDrag.largeStep};
}

QString thetaAfterPhiChange(const QString& phiText, const QString& thetaText)
{
    const double phi = numericValue(phiText);
    if (numericValue(thetaText) < phi)
        return thetaText;
    return platform::cstrDouble(phi - 1.0);
}

LightFieldsEnabled lightFieldsEnabled(int typeRow)
{
    switch (typeRow) {
    case kDirectionalRow:
        return {.position = false, .spotAngles = false, .direction = true, .range = false};
    case kPointRow:
        return {.position = true, .spotAngles = false, .direction = false, .range = true};
    case kSpotRow:
        return {.position = true, .spotAngles = true, .direction = true, .range = true};
    default:
        return {};
    }
}

QString directionTextFromSlider(int sliderValue)
{
    return platform::cstrInteger(sliderValue - 5);
}

int directionSliderFromText(const QString& text)
{
    return std::clamp(toInt16(numericValue(text)) + 5, 0, kDirectionSliderMax);
}

float degreesToRadians(float degrees)
{
    return degrees * (std::numbers::pi_v<float> / 180.0f);
}

D3DCOLORVALUE lightColour(const RgbTexts& texts)
{
    return {previewComponent(texts.red), previewComponent(texts.green),
            previewComponent(texts.blue), 1.0f};
}

D3DVECTOR vectorFromTexts(const XyzTexts& texts)
{
    return {toSingle(numericValue(texts.x)), toSingle(numericValue(texts.y)),
            toSingle(numericValue(texts.z))};
}

D3DLIGHT8 initialTestLight()
{
    D3DLIGHT8 light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1, 1, 1, 1};
    light.Specular = {1, 1, 1, 1};
    light.Ambient = {0, 0, 0, 0};
    light.Position = {-100, -100, -100};
    light.Direction = {1, -1, 0};
    light.Range = 1000;
    const LightTexts startTexts;
    light.Theta = degreesToRadians(toSingle(numericValue(startTexts.theta)));
    light.Phi = degreesToRadians(toSingle(numericValue(startTexts.phi)));
    return light;
}

D3DLIGHT8 buildTestLight(const LightTexts& texts)
{
    D3DLIGHT8 light;
    light.Type = lightTypeForRow(texts.typeRow);
    light.Ambient = lightColour(texts.ambient);
    light.Diffuse = lightColour(texts.diffuse);
    light.Specular = lightColour(texts.specular);
    light.Position = vectorFromTexts(texts.position);
    light.Direction = vectorFromTexts(texts.direction);
    light.Range = toSingle(numericValue(texts.range));
    light.Theta = degreesToRadians(toSingle(numericValue(texts.theta)));
    light.Phi = degreesToRadians(toSingle(numericValue(texts.phi)));
    return light;
}

} // namespace glazery
