#pragma once
// One texture layer of the generator: a colour picture laid over the height
// map where its altitude lies in [AltitudeMin, AltitudeMax], with soft edges
// of BlendPower and tiled UScale x VScale times. No field is checked here:
// odd values are stored and handed to the engine as they are.

#include <QString>
#include <QtGlobal>

namespace layerloom {

struct TextureLayer {
    QString TexturePath;
    qint32 AltitudeMin = 0;
    qint32 AltitudeMax = 255;
    float UScale = 1.0f;
    float VScale = 1.0f;
    float BlendPower = 1.5f;

    bool operator==(const TextureLayer&) const = default;
};

// A new layer for `path` with the defaults 0, 255, 1.0, 1.0, 1.5.
inline TextureLayer newLayer(const QString& path)
{
    TextureLayer layer;
    layer.TexturePath = path;
    return layer;
}

} // namespace layerloom
