// The program-wide settings record and its defaults, and the frame-rate count.
#pragma once

#include "core/Camera.h"

#include <korlith3d/types.h>

#include <QString>
#include <QtGlobal>

#include <vector>

namespace landlume {

// Defaults of the landscape, lightmap and light settings.
inline constexpr qint32 kDefaultChunks = 8;
inline constexpr float kDefaultFactorY = 1.0f;
inline constexpr float kDefaultLightmapSize = 512.0f;
inline constexpr float kDefaultAlpha = 0.4f;
inline const D3DVECTOR kDefaultLightDirection{2.0f, -1.0f, 2.0f};
// One land chunk is this many world units square.
inline constexpr qint32 kChunkSize = 256;

struct SceneSettings {
    QString heightmap;
    qint32 width = kDefaultChunks;
    qint32 height = kDefaultChunks;
    float factorY = kDefaultFactorY;
    float landWidth = 0.0f;
    float landHeight = 0.0f;
    D3DVECTOR landCentre;
    float texWidth = kDefaultLightmapSize;
    float texHeight = kDefaultLightmapSize;
    float alpha = kDefaultAlpha;
    QString lightmap;
    D3DVECTOR lightDirection = kDefaultLightDirection;
    bool landShadows = true;
    bool objectShadows = true;
    bool running = true;
    bool generating = false;
    bool cameraActive = false;
    CameraState camera;
    qint32 frameCounter = 0;
    qint32 framesPerSecond = 0;
    qint32 lastFpsTick = 0;
    float objectCount = 0.0f;
    float selectedObject = 0.0f;
    // Shadowed points of the last lightmap run; starts as one zero point.
    std::vector<D3DVECTOR> shadowCoordinates{D3DVECTOR{}};
};

// The heightmap at start-up, and the one "New scene" names (capital H; the
// engine finds the file without regard to case).
QString startHeightmap(const QString& programFolder);
QString resetHeightmap(const QString& programFolder);

// The start-up record (the camera at its start values, pitch and yaw 0).
SceneSettings defaultSettings(const QString& programFolder);

// "New scene": camera position, target and height back to their defaults
// (pitch and yaw kept), the landscape, lightmap and light settings to their
// defaults, no objects, nothing generating, camera off. The lightmap path,
// the selection index and the shadow coordinates are kept.
void resetSettings(SceneSettings& settings, const QString& programFolder);

// One frame of the frame-rate count at tick `nowMs`: once at least 1000 ms
// have passed since the last count, the frames of that period become the
// shown rate; then this frame is counted.
void updateFps(SceneSettings& settings, qint32 nowMs);

// World extent of a land of `chunksX` x `chunksZ` chunks.
float landExtent(qint32 chunks);

} // namespace landlume
