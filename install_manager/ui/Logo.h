// The manager's logo: "logo.png" from the program folder, scaled to the
// height and set on white; drawn in code (the names on a dark gradient) when
// the file is missing.
#pragma once

#include <QPixmap>
#include <QString>

namespace stewardex {

QPixmap logoPicture(const QString& programFolder, int width, int height);

} // namespace stewardex
