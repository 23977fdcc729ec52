#include "core/Resolutions.h"

#include "core/LeadingNumber.h"

#include <cmath>

namespace layerloom {

QStringList resolutionEntries()
{
    return {
        QStringLiteral("32 x 32 (Very Fast - Very Poor Quality)"),
        QStringLiteral("64 x 64 (Fast - Poor Quality)"),
        QStringLiteral("128 x 128 (Fast - Good On Small Terrain)"),
        QStringLiteral("256 x 256 (Standard - For Low Level Cards)"),
        QStringLiteral("512 x 512 (Quite Slow - Good Quality)"),
        QStringLiteral("1024 x 1024 (Slow - Very Good)"),
        QStringLiteral("2048 x 2048 (5 mins - For Very Recent Cards)"),
    };
}

int entryResolution(const QString& entryText)
{
    return leadingInt32(entryText).value_or(0);
}

QString previewFileName(double secondsSinceMidnight)
{
    return QStringLiteral("temp%1.bmp").arg(qint64(std::nearbyint(secondsSinceMidnight)));
}

} // namespace layerloom
