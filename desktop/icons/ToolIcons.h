#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <vector>

namespace kl::desktop {

// The tools' desktop icons, drawn at any size from paths and the sample
// artwork (no fonts), so they look the same on every machine. Each is a
// rounded tile in the tool's colour with its emblem: a lit sphere (Glazery),
// a flare (Emberly), lit hills under a sun (Landlume), bands of the terrain
// layers (Layerloom), the installation manager's cube (Stewardex).

// Tool names as the icons are named: korlith3d-<tool>.
const QStringList& iconTools();

// The hicolor sizes installed, in pixels.
const std::vector<int>& iconSizes();

// The icon of a tool at size x size pixels; a null image for an unknown tool
// or a size outside 8..1024.
QImage toolIcon(const QString& tool, int size);

// Writes <root>/<size>x<size>/apps/korlith3d-<tool>.png for every tool and
// size. On failure returns false and names the file in error.
bool writeIcons(const QString& root, QString& error);

} // namespace kl::desktop
