// The shadow coordinates text file: one line "x,y,z" per shadowed point in
// shortest single-precision text, CR LF after each.
#pragma once

#include <korlith3d/types.h>

#include <QByteArray>
#include <QString>

#include <vector>

namespace landlume {

QByteArray shadowCoordinatesText(const std::vector<D3DVECTOR>& points);

enum class CoordinatesSaved { Nothing, Saved, Failed };
// Writes the file (atomically) when the list holds more than one point;
// with one point or none nothing is written.
CoordinatesSaved saveShadowCoordinates(const std::vector<D3DVECTOR>& points, const QString& path);

} // namespace landlume
