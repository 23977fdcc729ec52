#include "core/CodeGenerator.h"

#include "core/EditingRules.h"
#include "core/NumberText.h"

#include <platform/TextRules.h>

namespace glazery {

QString FixStr(float x)
{
    return platform::formatSingle(x, QStringLiteral("0.0000")).replace(u',', u'.');
}

QString FixStrC(float x)
{
    return platform::formatSingle(x, QStringLiteral("0.0000f")).replace(u',', u'.');
}

namespace {

const QString NL = QStringLiteral("\r\n");
const QString Q = QStringLiteral("\"");

// The values one template inserts, formatted for its language.
struct CodeWriter {
    const MaterialTexts& material;
    const LightTexts& light;
    const CodeNames& names;
    bool suffixF = false;   // C# and C++ numbers end in "f"

    // Formatted number of a plain value box.
    QString v(const QString& text) const { return number(detail::toSingle(detail::numericValue(text))); }
    // Formatted colour box: value / 255.
    QString c(const QString& text) const { return number(codeComponent(detail::numericValue(text))); }
    QString four(const ColourTexts& t) const
    {
        return c(t.red) + " , " + c(t.green) + " , " + c(t.blue) + " , " + c(t.alpha);
    }
    QString three(const RgbTexts& t) const { return c(t.red) + " , " + c(t.green) + " , " + c(t.blue); }
    QString xyz(const XyzTexts& t) const { return v(t.x) + " , " + v(t.y) + " , " + v(t.z); }
    QString type() const { return QString::number(lightTypeForRow(light.typeRow)); }
    bool withPosition() const { return light.typeRow != kDirectionalRow; }
    bool withDirection() const { return light.typeRow != kPointRow; }
    bool withRange() const { return light.typeRow != kDirectionalRow; }

    QString number(float x) const { return suffixF ? FixStrC(x) : FixStr(x); }
};

QString vbCode(const CodeWriter& w)
{
    const QString& F = w.names.materialFactory;
    const QString& M = w.names.material;
    const QString& D = w.names.lightRecord;
    const QString& L = w.names.lightEngine;
    const auto colourLine = [&](const char* operation, const ColourTexts& t) {
        return F + "." + operation + " GetMat(" + Q + M + Q + ") , " + w.four(t) + NL;
    };
    QString s = "'Material settings" + NL;
    s += F + ".CreateMaterial " + Q + M + Q + " " + NL;
    s += colourLine("SetAmbient", w.material.ambient);
    s += colourLine("SetDiffuse", w.material.diffuse);
    s += colourLine("SetEmissive", w.material.emissive);
    s += colourLine("SetSpecular", w.material.specular);
    s += F + ".SetPower GetMat(" + Q + M + Q + ") , " + w.v(w.material.power);
    s += NL + NL + NL;
    s += "'Light settings" + NL;
    s += D + ".type = " + w.type() + NL;
    if (w.withPosition())
        s += D + ".Position = vector(" + w.xyz(w.light.position) + ")" + NL;
    if (w.withDirection())
        s += D + ".Direction = vector(" + w.xyz(w.light.direction) + ")" + NL;
    s += D + ".Ambient = DXColor(" + w.three(w.light.ambient) + " , 1)" + NL;
    s += D + ".Diffuse = dxcolor(" + w.three(w.light.diffuse) + " , 1)" + NL;
    s += D + ".Specular = dxcolor(" + w.three(w.light.specular) + " , 1)" + NL;
    if (w.withRange())
        s += D + ".Range = " + w.v(w.light.range) + NL;
    s += D + ".Attenuation0 = 0.5" + NL;
    s += D + ".Attenuation1 = 0" + NL;
    s += D + ".Attenuation2 = 0" + NL;
    s += L + ".CreateLight " + D;
    return s;
}

QString delphiCode(const CodeWriter& w)
{
    const QString& F = w.names.materialFactory;
    const QString& M = w.names.material;
    const QString& D = w.names.lightRecord;
    const QString& L = w.names.lightEngine;
    const auto colourLine = [&](const char* operation, const ColourTexts& t) {
        return F + "." + operation + "(Global.GetMat('" + M + "') , " + w.four(t) + ");" + NL;
    };
    QString s = "//Material settings" + NL;
    s += F + ".CreateMaterial('" + M + "');" + NL;
    s += colourLine("SetAmbient", w.material.ambient);
    s += colourLine("SetDiffuse", w.material.diffuse);
    s += colourLine("SetEmissive", w.material.emissive);
    s += colourLine("SetSpecular", w.material.specular);
    s += F + ".SetPower(Global.GetMat('" + M + "') , " + w.v(w.material.power) + ");";
    s += NL + NL + NL;
    s += "//Light settings" + NL;
    s += D + "._type := " + w.type() + ";" + NL;
    if (w.withPosition())
        s += D + ".Position := global.vector(" + w.xyz(w.light.position) + ");" + NL;
    if (w.withDirection())
        s += D + ".Direction := global.vector(" + w.xyz(w.light.direction) + ");" + NL;
    s += D + ".Ambient := global.dxcolor(" + w.three(w.light.ambient) + " , 1);" + NL;
    s += D + ".Diffuse := global.dxcolor(" + w.three(w.light.diffuse) + " , 1);" + NL;
    s += D + ".Specular := global.dxcolor(" + w.three(w.light.specular) + " , 1);" + NL;
    if (w.withRange())
        s += D + ".Range = " + w.v(w.light.range) + NL;
    s += D + ".Attenuation0 := 0.5;" + NL;
    s += D + ".Attenuation1 := 0;" + NL;
    s += D + ".Attenuation2 := 0;" + NL;
    s += L + ".CreateLight(" + D + ",'name',false);";
    return s;
}

QString csharpCode(const CodeWriter& w)
{
    const QString& F = w.names.materialFactory;
    const QString& M = w.names.material;
    const QString& D = w.names.lightRecord;
    const QString& L = w.names.lightEngine;
    // The diffuse and specular lines carry two blanks after the comma.
    const auto colourLine = [&](const char* operation, const ColourTexts& t, const char* gap) {
        return F + "." + operation + "(Global.GetMat(" + Q + M + Q + ") ," + gap + w.four(t) +
               ");" + NL;
    };
    QString s = "//Material settings" + NL;
    s += F + ".CreateMaterial(" + Q + M + Q + ");" + NL;
    s += colourLine("SetAmbient", w.material.ambient, " ");
    s += colourLine("SetDiffuse", w.material.diffuse, "  ");
    s += colourLine("SetEmissive", w.material.emissive, " ");
    s += colourLine("SetSpecular", w.material.specular, "  ");
    s += F + ".SetPower(Global.GetMat(" + Q + M + Q + ") , " + w.v(w.material.power) + ");";
    s += NL + NL + NL;
    s += "//Light settings" + NL;
    s += D + ".type = " + w.type() + ";" + NL;
    if (w.withPosition())
        s += D + ".Position = global.vector(" + w.xyz(w.light.position) + ");" + NL;
    if (w.withDirection())
        s += D + ".Direction = global.vector(" + w.xyz(w.light.direction) + ");" + NL;
    s += D + ".Ambient := global.dxcolor( " + w.three(w.light.ambient) + " , 1);" + NL;
    s += D + ".Diffuse = global.dxcolor( " + w.three(w.light.diffuse) + " , 1);" + NL;
    s += D + ".Specular = global.dxcolor( " + w.three(w.light.specular) + " , 1);" + NL;
    if (w.withRange())
        s += D + ".Range = " + w.v(w.light.range) + ";" + NL;
    s += D + ".Attenuation0 := 0.5f;" + NL;
    s += D + ".Attenuation1 := 0.0f;" + NL;
    s += D + ".Attenuation2 := 0.0f;" + NL;
    s += L + ".CreateLight(" + D + "," + Q + "name" + Q + ",false);";
    return s;
}

// The engine's light type names, by type number.
QString lightTypeName(int type)
{
    switch (type) {
    case 1:
        return QStringLiteral("D3DLIGHT_POINT");
    case 2:
        return QStringLiteral("D3DLIGHT_SPOT");
    case 3:
        return QStringLiteral("D3DLIGHT_DIRECTIONAL");
    default:
        return QString::number(type);
    }
}

// The material name as the contents of a C++ string literal.
QString cppStringContents(const QString& text)
{
    QString out;
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out;
}

// C++ against the engine's classes: {F} a KLMaterialFactory, {L} a
// KLLightEngine, {D} a D3DLIGHT8 the user declares. LF line ends.
QString cppCode(const CodeWriter& w)
{
    const QString LF = QStringLiteral("\n");
    const QString& F = w.names.materialFactory;
    const QString& D = w.names.lightRecord;
    const QString& L = w.names.lightEngine;
    const QString material = Q + cppStringContents(w.names.material) + Q;
    const auto colourLine = [&](const char* operation, const ColourTexts& t) {
        return F + "." + operation + "(" + F + ".GetMaterialId(" + material + "), " + w.four(t).replace(" , ", ", ") +
               ");" + LF;
    };
    const auto vector = [&](const XyzTexts& t) { return "D3DVECTOR{" + w.xyz(t).replace(" , ", ", ") + "}"; };
    const auto colour = [&](const RgbTexts& t) {
        return "D3DCOLORVALUE{" + w.three(t).replace(" , ", ", ") + ", 1.0f}";
    };
    QString s = "//Material settings" + LF;
    s += F + ".CreateMaterial(" + material + ");" + LF;
    s += colourLine("SetAmbient", w.material.ambient);
    s += colourLine("SetDiffuse", w.material.diffuse);
    s += colourLine("SetEmissive", w.material.emissive);
    s += colourLine("SetSpecular", w.material.specular);
    s += F + ".SetPower(" + F + ".GetMaterialId(" + material + "), " + w.v(w.material.power) + ");";
    s += LF + LF + LF;
    s += "//Light settings" + LF;
    s += D + ".Type = " + lightTypeName(lightTypeForRow(w.light.typeRow)) + ";" + LF;
    if (w.withPosition())
        s += D + ".Position = " + vector(w.light.position) + ";" + LF;
    if (w.withDirection())
        s += D + ".Direction = " + vector(w.light.direction) + ";" + LF;
    s += D + ".Ambient = " + colour(w.light.ambient) + ";" + LF;
    s += D + ".Diffuse = " + colour(w.light.diffuse) + ";" + LF;
    s += D + ".Specular = " + colour(w.light.specular) + ";" + LF;
    if (w.withRange())
        s += D + ".Range = " + w.v(w.light.range) + ";" + LF;
    s += D + ".Attenuation0 = 0.5f;" + LF;
    s += D + ".Attenuation1 = 0.0f;" + LF;
    s += D + ".Attenuation2 = 0.0f;" + LF;
    s += L + ".CreateLight(" + D + ", " + Q + "name" + Q + ", false);";
    return s;
}

} // namespace

QString CreateCode(const MaterialTexts& material, const LightTexts& light, const CodeNames& names,
                   CodeLanguage language)
{
    const CodeWriter writer{material, light, names,
                            language == CodeLanguage::CSharp || language == CodeLanguage::Cpp};
    switch (language) {
    case CodeLanguage::VB:
        return vbCode(writer);
    case CodeLanguage::Delphi:
        return delphiCode(writer);
    case CodeLanguage::CSharp:
        return csharpCode(writer);
    case CodeLanguage::Cpp:
        return cppCode(writer);
    }
    return {};
}

} // namespace glazery
