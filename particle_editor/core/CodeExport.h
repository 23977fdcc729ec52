// The engine code that recreates the enabled emitters in a user's program, in
// VB, Delphi or C++: a set-up block, the NewParticle event code and the render
// loop lines per emitter. VB and Delphi lines end with a single CR; C++ lines
// with LF, as a C++ source file on Linux has them.
#pragma once

#include "core/EmitterRecords.h"

#include <QString>

#include <array>
#include <functional>

namespace emberly {

enum CodeType : int { kCodeVB = 0, kCodeDelphi = 1, kCodeCpp = 2 };
inline constexpr int kCodeTypeCount = 3;

// The line end of a language's text: CR, or LF for C++.
inline QChar lineEnd(int codetype)
{
    return codetype == kCodeCpp ? QChar(u'\n') : QChar(u'\r');
}

// What the export window's boxes hold.
struct ExportNames {
    std::array<QString, kEmitterCount> systems{QStringLiteral("My_Particle1"), QStringLiteral("My_Particle2"),
                                               QStringLiteral("My_Particle3")};
    std::array<QString, kEmitterCount> textures{QStringLiteral("My_Texture1"), QStringLiteral("My_Texture2"),
                                                QStringLiteral("My_Texture3")};
    QString posX = QStringLiteral("0"), posY = QStringLiteral("0"), posZ = QStringLiteral("0");
};

struct ExportTexts {
    QString setup;
    QString event;
    QString render;   // every update line, then every render line
};

// The engine constant of an alpha mode; empty for any other value.
QString alphaConstant(int alphaMode);

// One emitter's three parts. In C++ the set-up calls the system's methods
// with KLGlobals helpers, the event is a SetNewParticleHandler lambda doing
// what the VB event does (velocity, motion, colour; random draws from
// std::rand), and floats are written so they read back exactly.
QString setupBlock(int codetype, const QString& name, const QString& texture, const ExportNames& names,
                   const ParticleSettings& p, const EmitterSettings& e, int alphaMode);
QString eventBlock(int codetype, const QString& name, const ExportNames& names, const ParticleSettings& p,
                   const EmitterSettings& e);
QString velocityPart(int codetype, const QString& name, const ExportNames& names, const ParticleSettings& p,
                     const EmitterSettings& e);
// VB only (Delphi has no motion part; C++ writes it inside the event).
QString motionPart(const QString& name, const ExportNames& names, const EmitterSettings& e);
QString colourPart(int codetype, const ParticleSettings& p);

// For each enabled emitter in turn: raises its Total to its live particle
// count + 100 (the record changes), then appends its parts.
ExportTexts codeMake(int codetype, const ExportNames& names, EmitterRecords& records,
                     const std::array<bool, kEmitterCount>& enabled, const std::function<int(int)>& liveCount,
                     int alphaMode);

} // namespace emberly
