#include "core/SceneSettings.h"

#include <platform/Paths.h>

namespace landlume {

QString startHeightmap(const QString& programFolder)
{
    return platform::joinPath(programFolder, QStringLiteral("Textures/Landscape/heightmap.bmp"));
}

QString resetHeightmap(const QString& programFolder)
{
    return platform::joinPath(programFolder, QStringLiteral("Textures/Landscape/Heightmap.bmp"));
}

SceneSettings defaultSettings(const QString& programFolder)
{
    SceneSettings settings;
    settings.heightmap = startHeightmap(programFolder);
    return settings;
}

void resetSettings(SceneSettings& settings, const QString& programFolder)
{
    settings.camera.position = D3DVECTOR{};
    settings.camera.lookAt = kStartLookAt;
    settings.camera.height = kStartCameraHeight;
    settings.heightmap = resetHeightmap(programFolder);
    settings.width = kDefaultChunks;
    settings.height = kDefaultChunks;
    settings.factorY = kDefaultFactorY;
    settings.texWidth = kDefaultLightmapSize;
    settings.texHeight = kDefaultLightmapSize;
    settings.lightDirection = kDefaultLightDirection;
    settings.landShadows = true;
    settings.objectShadows = true;
    settings.alpha = kDefaultAlpha;
    settings.objectCount = 0.0f;
    settings.generating = false;
    settings.cameraActive = false;
}

void updateFps(SceneSettings& settings, qint32 nowMs)
{
    // Difference in 32-bit ticks, so a wrapping tick count still counts.
    const qint64 elapsed = qint64(nowMs) - qint64(settings.lastFpsTick);
    if (elapsed >= 1000 || elapsed < -1000000) {
        settings.framesPerSecond = settings.frameCounter;
        settings.frameCounter = 0;
        settings.lastFpsTick = nowMs;
    }
    ++settings.frameCounter;
}

float landExtent(qint32 chunks)
{
    return float(qint64(chunks) * kChunkSize);
}

} // namespace landlume
