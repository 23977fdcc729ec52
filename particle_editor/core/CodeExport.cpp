#include "core/CodeExport.h"

#include <platform/TextRules.h>

#include <charconv>
#include <cmath>

namespace emberly {

namespace {

const QString CR = QStringLiteral("\r");
const QString LF = QStringLiteral("\n");

QString f(float value)
{
    return platform::singleText(value);
}

// Which number text a template takes.
using NumberText = QString (*)(float);

// Replaces the placeholders one emitter's text uses.
class Fill {
public:
    Fill(const QString& name, const ExportNames& names, const ParticleSettings& p, const EmitterSettings& e,
         NumberText text = f)
    {
        pairs_ = {{"{Name}", name},
                  {"{PosX}", names.posX},
                  {"{PosY}", names.posY},
                  {"{PosZ}", names.posZ},
                  {"{Total}", QString::number(p.Total)},
                  {"{Size}", QString::number(p.Size)},
                  {"{Gravity}", QString::number(e.Gravity)},
                  {"{Life}", text(p.Life)},
                  {"{Speed}", text(p.Speed)},
                  {"{Bounce}", text(e.Bounce)},
                  {"{EmittorSpeed}", text(e.EmittorSpeed)},
                  {"{Power}", text(e.Power)},
                  {"{MotionSpeed}", text(e.MotionSpeed)},
                  {"{DX}", text(e.Distance.x)},
                  {"{DY}", text(e.Distance.y)},
                  {"{DZ}", text(e.Distance.z)},
                  {"{VX2}", text(p.Velocity.x + 2.0f)},
                  {"{VY4}", text(p.Velocity.y + 4.0f)},
                  {"{VYm4}", text(p.Velocity.y - 4.0f)},
                  {"{VZ2}", text(p.Velocity.z + 2.0f)},
                  {"{VX}", text(p.Velocity.x)},
                  {"{VY}", text(p.Velocity.y)},
                  {"{VZ}", text(p.Velocity.z)},
                  {"{R1}", text(p.Color.r * 255.0f + 1.0f)},
                  {"{G1}", text(p.Color.g * 255.0f + 1.0f)},
                  {"{B1}", text(p.Color.b * 255.0f + 1.0f)},
                  {"{R}", text(p.Color.r)},
                  {"{G}", text(p.Color.g)},
                  {"{B}", text(p.Color.b)},
                  {"{A}", text(p.Color.a)}};
    }
    void add(const char* key, const QString& value) { pairs_.push_back({key, value}); }

    // One pass over the template, so a value that looks like a placeholder
    // (a name typed as "{Size}") stays as typed.
    QString operator()(const QString& text) const
    {
        QString out;
        int i = 0;
        while (i < text.size()) {
            bool replaced = false;
            if (text[i] == u'{')
                for (const auto& [key, value] : pairs_)
                    if (text.mid(i, int(qstrlen(key))) == QLatin1String(key)) {
                        out += value;
                        i += int(qstrlen(key));
                        replaced = true;
                        break;
                    }
            if (!replaced)
                out += text[i++];
        }
        return out;
    }

private:
    std::vector<std::pair<const char*, QString>> pairs_;
};

QString lines(std::initializer_list<const char*> rows, bool lastCR = true)
{
    QString out;
    int n = 0;
    for (const char* row : rows) {
        out += QString::fromLatin1(row);
        if (++n < int(rows.size()) || lastCR)
            out += CR;
    }
    return out;
}

// C++ text: LF line ends, each row of `rows` one line.
QString cppLines(std::initializer_list<const char*> rows)
{
    QString out;
    for (const char* row : rows)
        out += QString::fromLatin1(row) + LF;
    return out;
}

// A float as a C++ literal that reads back as the same float: the shortest
// round-trip digits with an "f" suffix (2 -> "2.0f", 0.03 -> "0.03f").
QString cppFloat(float value)
{
    if (std::isnan(value))
        return QStringLiteral("std::numeric_limits<float>::quiet_NaN()");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("std::numeric_limits<float>::infinity()")
                         : QStringLiteral("-std::numeric_limits<float>::infinity()");
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    QString text = QString::fromLatin1(digits, int(result.ptr - digits));
    if (!text.contains(u'.') && !text.contains(u'e'))
        text += QStringLiteral(".0");
    return text + u'f';
}

// A name typed in the window as the contents of a C++ string literal.
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

QString cppSetup(const QString& name, const QString& texture, const ExportNames& names, const ParticleSettings& p,
                 const EmitterSettings& e, int alphaMode)
{
    Fill fill(name, names, p, e, cppFloat);
    fill.add("{Texture}", cppStringContents(texture));
    fill.add("{Alpha}", alphaConstant(alphaMode));
    QString text = cppLines({"// {Name}",
                             "{Name}.CreateBillboardSystem({Total}, 0, 3, KLGlobals().Vector3({PosX}, {PosY}, {PosZ}), "
                             "0, KLGlobals().GetTex(\"{Texture}\"));",
                             "{Name}.ParticleSize({Size});"});
    // Without a fading mode the editor sets none either; the engine keeps its default.
    if (!alphaConstant(alphaMode).isEmpty())
        text += cppLines({"{Name}.SetAlphaBlendingMode({Alpha}, D3DBLEND_SRCALPHA, D3DBLEND_ONE);"});
    text += cppLines({"{Name}.SetGravity({Gravity}, {Bounce});", "{Name}.SetGeneratorSpeed({EmittorSpeed});",
                      "{Name}.SetParticleSpeed({Speed});", ""});
    return fill(text);
}

QString cppVelocity(const Fill& fill, int style)
{
    const char* const tail[] = {"    tmpVel = Math.VScale(Math.VNormalize(tmpVel), {Power});", "    VelocX = tmpVel.x;",
                                "    VelocY = tmpVel.y;", "    VelocZ = tmpVel.z;"};
    QString text;
    switch (style) {
    case 0:
        text = cppLines({"    D3DVECTOR tmpVel = Global.Vector3({VX}, {VY}, {VZ});"});
        break;
    case 1:
    case 2:
        text = cppLines({"    D3DVECTOR tmpVel;", "    tmpVel.x = Rnd() * {VX2} - 1;",
                         style == 1 ? "    tmpVel.y = Rnd() * {VY4} + 2;" : "    tmpVel.y = Rnd() * {VYm4} + 2;",
                         "    tmpVel.z = Rnd() * {VZ2} - 1;"});
        break;
    case 3:
        text = cppLines({"    D3DVECTOR tmpVel = Math.VAdd(Math.VSubtract(Global.Vector3({PosX}, {PosY}, {PosZ}), "
                         "{Name}.GetEmittorPosition()), Global.Vector3({VX}, {VY}, {VZ}));"});
        break;
    default:
        return {};
    }
    for (const char* row : tail)
        text += QString::fromLatin1(row) + LF;
    return fill(text);
}

QString cppMotion(const Fill& fill, int motion)
{
    QString text;
    switch (motion) {
    case 0:
        text = cppLines({"    {Name}.MoveEmittor(Global.Vector3({PosX}, {PosY}, {PosZ}));"});
        break;
    case 1:
    case 2:
    case 3:
    case 6: {
        const char* angle =
            motion == 1   ? "    const int tmpPos = int(std::llrint(KLEngine::TickCount() * {MotionSpeed}) % 360);"
            : motion == 2 ? "    const int tmpPos = int(std::llrint(-(KLEngine::TickCount() * {MotionSpeed})) % 360);"
                          : "    const int tmpPos = int(std::nearbyint(Rnd() * 360));";
        const char* zLine = motion == 6 ? "    vNewPosition.z = std::sin(Math.Deg2Rad(tmpPos)) * {DZ} + {PosZ};"
                                        : "    vNewPosition.z = std::cos(Math.Deg2Rad(tmpPos)) * {DZ} + {PosZ};";
        text = cppLines({angle, "    D3DVECTOR vNewPosition;",
                         "    vNewPosition.x = std::sin(Math.Deg2Rad(tmpPos)) * {DX} + {PosX};",
                         "    vNewPosition.y = std::sin(Math.Deg2Rad(tmpPos)) * {DY} + {PosY};", zLine,
                         "    {Name}.MoveEmittor(vNewPosition);"});
        break;
    }
    case 4:
        text = cppLines({"    D3DVECTOR vNewPosition;",
                         "    vNewPosition.x = std::sin(Math.Deg2Rad(Rnd() * 360)) * {DX} + {PosX};",
                         "    vNewPosition.y = std::sin(Math.Deg2Rad(Rnd() * 360)) * {DY} + {PosY};",
                         "    vNewPosition.z = std::cos(Math.Deg2Rad(Rnd() * 360)) * {DZ} + {PosZ};",
                         "    {Name}.MoveEmittor(vNewPosition);"});
        break;
    case 5:
        text = cppLines({"    const float tmpAngle1 = Math.Deg2Rad(Rnd() * 360);",
                         "    const float tmpAngle2 = Math.Deg2Rad(Rnd() * 360);", "    D3DVECTOR vNewPosition;",
                         "    vNewPosition.x = {DX} * std::cos(tmpAngle1) * std::cos(tmpAngle2) + {PosX};",
                         "    vNewPosition.y = {DY} * std::sin(tmpAngle2) + {PosY};",
                         "    vNewPosition.z = {DZ} * std::sin(tmpAngle1) * std::cos(tmpAngle2) + {PosZ};",
                         "    {Name}.MoveEmittor(vNewPosition);"});
        break;
    default:
        return {};
    }
    return fill(text);
}

QString cppColour(const ParticleSettings& p)
{
    const Fill fill({}, {}, p, {}, cppFloat);
    if (p.ColorRnd == 1.0f)
        return fill(cppLines({"    ColorR = std::floor({R1} * Rnd()) / 255;", "    ColorG = std::floor({G1} * Rnd()) / 255;",
                              "    ColorB = std::floor({B1} * Rnd()) / 255;", "    ColorA = std::floor(256 * Rnd()) / 255;"}));
    return fill(cppLines({"    ColorR = {R};", "    ColorG = {G};", "    ColorB = {B};", "    ColorA = {A};"}));
}

// The NewParticle handler as a lambda: life, velocity, the emitter's next
// position and the colour, in that order (the random draws follow it). The
// helpers are declared only when the body uses them, so the pasted code
// compiles without unused-variable warnings.
QString cppEvent(const QString& name, const ExportNames& names, const ParticleSettings& p, const EmitterSettings& e)
{
    const Fill fill(name, names, p, e, cppFloat);
    const QString velocity = cppVelocity(fill, e.Style);
    const QString motion = cppMotion(fill, e.Motion);
    QString body = fill(QStringLiteral("    LifeTime = {Life};\n"));
    for (const QString& part : {velocity, motion})
        if (!part.isEmpty())
            body += part + LF;
    body += cppColour(p);

    QString helpers;
    if (body.contains(QLatin1String("Math.")))
        helpers += QStringLiteral("    const KLMath Math{};\n");
    if (body.contains(QLatin1String("Global.")))
        helpers += QStringLiteral("    const KLGlobals Global{};\n");
    if (body.contains(QLatin1String("Rnd()")))
        helpers += QStringLiteral("    // A uniform draw in [0, 1) from std::rand (seed it with std::srand).\n"
                                  "    const auto Rnd = [] { return float(std::rand() % 16777216) / 16777216.0f; };\n");
    return fill(QStringLiteral(
               "// Event code for {Name}\n"
               "{Name}.SetNewParticleHandler([&](float& VelocX, float& VelocY, float& VelocZ, float& ColorR,\n"
               "        float& ColorG, float& ColorB, float& ColorA, float& LifeTime, std::int32_t& /*TextureIndex*/) {\n")) +
           helpers + body + QStringLiteral("});\n\n");
}

} // namespace

QString alphaConstant(int alphaMode)
{
    switch (alphaMode) {
    case 1:
        return QStringLiteral("KL_CHANGE_ALPHA");
    case 2:
        return QStringLiteral("KL_CHANGE_COLOR");
    case 3:
        return QStringLiteral("KL_CHANGE_NO");
    default:
        return {};
    }
}

QString setupBlock(int codetype, const QString& name, const QString& texture, const ExportNames& names,
                   const ParticleSettings& p, const EmitterSettings& e, int alphaMode)
{
    if (codetype == kCodeCpp)
        return cppSetup(name, texture, names, p, e, alphaMode);
    Fill fill(name, names, p, e);
    fill.add("{Texture}", texture);
    fill.add("{Alpha}", alphaConstant(alphaMode));
    if (codetype == kCodeDelphi)
        return fill(lines({"   With {Name} do",
                           "   begin",
                           "       CreateBillboardSystem({Total},0,3,Global.Vector3({PosX},{PosY},{PosZ}),0,"
                           "Global.GetTex(\"{Texture}\"));",
                           "       ParticleSize := {Size};",
                           "       SetAlphaBlendingMode({Alpha},D3DBLEND_SRCALPHA,D3DBLEND_ONE);",
                           "       SetGravity({Gravity},{Bounce});",
                           "       SetGeneratorSpeed({EmittorSpeed});",
                           "       SetParticleSpeed({Speed});",
                           "   end;"}));
    return fill(lines({"   With {Name}",
                       "       .CreateBillboardSystem {Total}, 0, 3, Vector3({PosX},{PosY},{PosZ}), 0, "
                       "GetTex(\"{Texture}\")",
                       "       .ParticleSize = {Size}",
                       "       .SetAlphaBlendingMode {Alpha}, D3DBLEND_SRCALPHA, D3DBLEND_ONE",
                       "       .SetGravity {Gravity}, {Bounce}",
                       "       .SetGeneratorSpeed {EmittorSpeed}",
                       "       .SetParticleSpeed {Speed}",
                       "   End With"}));
}

QString velocityPart(int codetype, const QString& name, const ExportNames& names, const ParticleSettings& p,
                     const EmitterSettings& e)
{
    if (codetype == kCodeCpp)
        return cppVelocity(Fill(name, names, p, e, cppFloat), e.Style);
    const Fill fill(name, names, p, e);
    const bool delphi = codetype == kCodeDelphi;
    QString text;
    switch (e.Style) {
    case 0:
        text = delphi ? lines({"    Dim tmpVel as D3DVECTOR;",
                               "    tmpVel := VScale(VNormalize(Vector3({VX},{VY},{VZ})), {Power});",
                               "    VelocX := tmpVel.x;", "    VelocY := tmpVel.y;", "    VelocZ := tmpVel.z;"},
                              false)
                      : lines({"    Dim tmpVel as D3DVECTOR",
                               "    tmpVel = VScale(VNormalize(Vector3({VX},{VY},{VZ})), {Power})",
                               "    VelocX = tmpVel.x", "    VelocY = tmpVel.y", "    VelocZ = tmpVel.z"},
                              false);
        break;
    case 1:
    case 2:
        text = delphi ? lines({"    Dim tmpVel as D3DVECTOR;", "    tmpVel.x := random * {VX2} - 1;",
                               "    tmpVel.y := random * {VY4} + 2;", "    tmpVel.z := random * {VZ2} - 1;",
                               "    tmpVel := VScale(VNormalize(tmpVel), {Power});", "    VelocX := tmpVel.x;",
                               "    VelocY := tmpVel.y;", "    VelocZ := tmpVel.z;"},
                              false)
                      : lines({"    Dim tmpVel as D3DVECTOR", "    tmpVel.x = Rnd * {VX2} - 1",
                               "    tmpVel.y = Rnd * {VY4} + 2", "    tmpVel.z = Rnd * {VZ2} - 1",
                               "    tmpVel = VScale(VNormalize(tmpVel), {Power})", "    VelocX = tmpVel.x",
                               "    VelocY = tmpVel.y", "    VelocZ = tmpVel.z"},
                              false);
        if (e.Style == 2)
            text.replace(QStringLiteral("{VY4}"), QStringLiteral("{VYm4}"));
        break;
    case 3:
        text = delphi ? lines({"    Dim tmpVel as D3DVECTOR;",
                               "    tmpVel := VAdd(VSubtract(Vector3({PosX},{PosY},{PosZ}), "
                               "{Name}.GetEmittorPosition), Vector({VX},{VY},{VZ}));",
                               "    tmpVel := VScale(VNormalize(tmpVel), {Power});", "    VelocX := tmpVel.x;",
                               "    VelocY := tmpVel.y;", "    VelocZ := tmpVel.z;"},
                              false)
                      : lines({"    Dim tmpVel as D3DVECTOR",
                               "    tmpVel = VAdd(VSubtract(Vector3({PosX},{PosY},{PosZ}), "
                               "{Name}.GetEmittorPosition), Vector({VX},{VY},{VZ}))",
                               "    tmpVel = VScale(VNormalize(tmpVel), {Power})", "    VelocX = tmpVel.x",
                               "    VelocY = tmpVel.y", "    VelocZ = tmpVel.z"},
                              false);
        break;
    default:
        return {};
    }
    return fill(text);
}

QString motionPart(const QString& name, const ExportNames& names, const EmitterSettings& e)
{
    const Fill fill(name, names, {}, e);
    QString text;
    switch (e.Motion) {
    case 0:
        text = QStringLiteral("    {Name}.MoveEmittor Vector3({PosX},{PosY},{PosZ})");
        break;
    case 1:
    case 2:
    case 3:
    case 6: {
        const char* third = e.Motion == 1   ? "    tmpPos = (KL.TickCount * {MotionSpeed}) Mod 360"
                            : e.Motion == 2 ? "    tmpPos = -(KL.TickCount * {MotionSpeed}) Mod 360"
                                            : "    tmpPos = Rnd * 360";
        const char* zLine = e.Motion == 6 ? "    vNewPosition.z = Sin(Deg2Rad(tmpPos)) * {DZ} + {PosZ}"
                                          : "    vNewPosition.z = Cos(Deg2Rad(tmpPos)) * {DZ} + {PosZ}";
        text = lines({"    Dim tmpPos As Integer", "    Dim vNewPosition As D3DVECTOR", third,
                      "    vNewPosition.x = Sin(Deg2Rad(tmpPos)) * {DX} + {PosX}",
                      "    vNewPosition.y = Sin(Deg2Rad(tmpPos)) * {DY} + {PosY}", zLine,
                      "    {Name}.MoveEmittor vNewPosition"},
                     false);
        break;
    }
    case 4:
        text = lines({"    Dim vNewPosition As D3DVECTOR",
                      "    vNewPosition.x = Sin(Deg2Rad(Rnd * 360)) * {DX} + {PosX}",
                      "    vNewPosition.y = Sin(Deg2Rad(Rnd * 360)) * {DY} + {PosY}",
                      "    vNewPosition.z = Cos(Deg2Rad(Rnd * 360)) * {DZ} + {PosZ}",
                      "    {Name}.MoveEmittor vNewPosition"},
                     false);
        break;
    case 5:
        text = lines({"    Dim vNewPosition As D3DVECTOR", "    Dim tmpAngle1 As Single, tmpAngle2 As Single",
                      "    tmpAngle1 = Deg2Rad(Rnd * 360)", "    tmpAngle2 = Deg2Rad(Rnd * 360)",
                      "    vNewPosition.x = {DX} * Cos(tmpAngle1) * Cos(tmpAngle2) + {PosX}",
                      "    vNewPosition.y = {DY} * Sin(tmpAngle2) + {PosY}",
                      "    vNewPosition.z = {DZ} * Sin(tmpAngle1) * Cos(tmpAngle2) + {PosZ}",
                      "    {Name}.MoveEmittor vNewPosition"},
                     false);
        break;
    default:
        return {};
    }
    return fill(text);
}

QString colourPart(int codetype, const ParticleSettings& p)
{
    if (codetype == kCodeCpp)
        return cppColour(p);
    const Fill fill({}, {}, p, {});
    const bool delphi = codetype == kCodeDelphi;
    if (p.ColorRnd == 1.0f)
        return fill(delphi ? lines({"    ColorR := Int({R1} * Rnd) / 255;", "    ColorG := Int({G1} * Rnd) / 255;",
                                    "    ColorB := Int({B1} * Rnd) / 255;", "    ColorA := Int(256 * Rnd) / 255;", ""})
                           : lines({"    ColorR = Int({R1} * Rnd) / 255", "    ColorG = Int({G1} * Rnd) / 255",
                                    "    ColorB = Int({B1} * Rnd) / 255", "    ColorA = Int(256 * Rnd) / 255", ""}));
    return fill(delphi ? lines({"    ColorR := {R};", "    ColorG := {G};", "    ColorB := {B};", "    ColorA := {A};", ""})
                       : lines({"    ColorR = {R}", "    ColorG = {G}", "    ColorB = {B}", "    ColorA = {A}", ""}));
}

QString eventBlock(int codetype, const QString& name, const ExportNames& names, const ParticleSettings& p,
                   const EmitterSettings& e)
{
    if (codetype == kCodeCpp)
        return cppEvent(name, names, p, e);
    const Fill fill(name, names, p, e);
    const QString velocity = velocityPart(codetype, name, names, p, e);
    if (codetype == kCodeDelphi)
        return fill(QStringLiteral("//Event Code for {Name} :\r    LifeTime := {Life};\r")) + velocity + CR +
               colourPart(codetype, p);
    return fill(QStringLiteral("'Event Code for {Name} :\r    LifeTime = {Life}\r")) + velocity + CR + CR +
           motionPart(name, names, e) + CR + CR + colourPart(codetype, p);
}

ExportTexts codeMake(int codetype, const ExportNames& names, EmitterRecords& records,
                     const std::array<bool, kEmitterCount>& enabled, const std::function<int(int)>& liveCount,
                     int alphaMode)
{
    ExportTexts texts;
    QString updates, renders;
    for (int i = 0; i < kEmitterCount; ++i) {
        const auto u = std::size_t(i);
        if (!enabled[u])
            continue;
        ParticleSettings& p = records.particles[u];
        const EmitterSettings& e = records.emitters[u];
        p.Total = qint16(std::min(liveCount(i) + 100, 32767));
        const QString& name = names.systems[u];
        texts.setup += setupBlock(codetype, name, names.textures[u], names, p, e, alphaMode);
        texts.event += eventBlock(codetype, name, names, p, e);
        if (codetype == kCodeCpp) {
            updates += QStringLiteral("    ") + name +
                       QStringLiteral(".UpdateParticles(KL_UPDATE_BOUNCE_ON_Y0_PLANE | KL_UPDATE_GENERATOR);") + LF;
            renders += QStringLiteral("    ") + name + QStringLiteral(".RenderParticles();") + LF;
        } else if (codetype == kCodeDelphi) {
            updates += QStringLiteral("    ") + name +
                       QStringLiteral(".UpdateParticles(KL_UPDATE_BOUNCE_ON_Y0_PLANE Or KL_UPDATE_GENERATOR);") + CR;
            renders += QStringLiteral("    ") + name + QStringLiteral(".RenderParticles;") + CR;
        } else {
            updates += QStringLiteral("    ") + name +
                       QStringLiteral(".UpdateParticles KL_UPDATE_BOUNCE_ON_Y0_PLANE Or KL_UPDATE_GENERATOR") + CR;
            renders += QStringLiteral("    ") + name + QStringLiteral(".RenderParticles") + CR;
        }
    }
    texts.render = updates + renders;
    return texts;
}

} // namespace emberly
