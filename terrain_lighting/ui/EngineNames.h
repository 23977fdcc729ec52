// Engine names of the textures and the material the program creates, shared
// by the wrappers that create them and those that use them.
#pragma once

#include <QString>

namespace landlume {

inline const QString kTerrainTexture = QStringLiteral("Terrain_Texture");
inline const QString kDetailTexture = QStringLiteral("Detail_Texture");
inline const QString kBumpTexture = QStringLiteral("Bump_Texture");
inline const QString kLightmapTexture = QStringLiteral("LightMap");
inline const QString kLandMaterial = QStringLiteral("LandMat");

} // namespace landlume
