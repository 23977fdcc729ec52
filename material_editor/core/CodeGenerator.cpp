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
    bool csharp = false;

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

    QString number(float x) const { return csharp ? FixStrC(x) : FixStr(x); }
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

} // namespace

QString CreateCode(const MaterialTexts& material, const LightTexts& light, const CodeNames& names,
                   CodeLanguage language)
{
    const CodeWriter writer{material, light, names, language == CodeLanguage::CSharp};
    switch (language) {
    case CodeLanguage::VB:
        return vbCode(writer);
    case CodeLanguage::Delphi:
        return delphiCode(writer);
    case CodeLanguage::CSharp:
        return csharpCode(writer);
    }
    return {};
}

} // namespace glazery
