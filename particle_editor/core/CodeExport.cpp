#include "core/CodeExport.h"

#include <platform/TextRules.h>

namespace emberly {

namespace {

const QString CR = QStringLiteral("\r");

QString f(float value)
{
    return platform::singleText(value);
}

// Replaces the placeholders one emitter's text uses.
class Fill {
public:
    Fill(const QString& name, const ExportNames& names, const ParticleSettings& p, const EmitterSettings& e)
    {
        pairs_ = {{"{Name}", name},
                  {"{PosX}", names.posX},
                  {"{PosY}", names.posY},
                  {"{PosZ}", names.posZ},
                  {"{Total}", QString::number(p.Total)},
                  {"{Size}", QString::number(p.Size)},
                  {"{Gravity}", QString::number(e.Gravity)},
                  {"{Life}", f(p.Life)},
                  {"{Speed}", f(p.Speed)},
                  {"{Bounce}", f(e.Bounce)},
                  {"{EmittorSpeed}", f(e.EmittorSpeed)},
                  {"{Power}", f(e.Power)},
                  {"{MotionSpeed}", f(e.MotionSpeed)},
                  {"{DX}", f(e.Distance.x)},
                  {"{DY}", f(e.Distance.y)},
                  {"{DZ}", f(e.Distance.z)},
                  {"{VX2}", f(p.Velocity.x + 2.0f)},
                  {"{VY4}", f(p.Velocity.y + 4.0f)},
                  {"{VYm4}", f(p.Velocity.y - 4.0f)},
                  {"{VZ2}", f(p.Velocity.z + 2.0f)},
                  {"{VX}", f(p.Velocity.x)},
                  {"{VY}", f(p.Velocity.y)},
                  {"{VZ}", f(p.Velocity.z)},
                  {"{R1}", f(p.Color.r * 255.0f + 1.0f)},
                  {"{G1}", f(p.Color.g * 255.0f + 1.0f)},
                  {"{B1}", f(p.Color.b * 255.0f + 1.0f)},
                  {"{R}", f(p.Color.r)},
                  {"{G}", f(p.Color.g)},
                  {"{B}", f(p.Color.b)},
                  {"{A}", f(p.Color.a)}};
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
        if (codetype == kCodeDelphi) {
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
