// Loads X and 3DS models through Assimp into engine geometry. The file is read
// whole with a size cap and parsed from memory; every Assimp failure becomes an
// error message.
#pragma once

#include "gpu/RenderTypes.h"

#include <QString>

#include <vector>

namespace kl::model {

inline constexpr qint64 MaxModelFileBytes = 128LL * 1024 * 1024;
inline constexpr size_t MaxModelVertices = 16u * 1024 * 1024;
// Three per triangle: a model of more triangles is refused before it is copied.
inline constexpr size_t MaxModelIndices = 3u * 16 * 1024 * 1024;

enum class ModelKind { DirectX, Studio3ds };

struct LoadOptions {
    bool flipFaces = false;
    bool joinVertices = true;
    bool generateNormals = false;   // replace the file's normals by smooth ones
    // A model beyond these is refused (tests lower them).
    size_t maxVertices = MaxModelVertices;
    size_t maxIndices = MaxModelIndices;
};

struct LoadedGroup {
    gpu::MaterialColors colors;   // the file's material
    QString textureFile;          // diffuse texture named by the file (relative to it), may be empty
};

struct LoadedModel {
    gpu::MeshGeometry geometry;   // id and revision left to the caller
    std::vector<LoadedGroup> groups;
    QString error;
    bool missing = false;
    bool ok() const { return error.isEmpty(); }
};

// Geometry is returned in the engine's left-handed, y-up space.
LoadedModel loadModelFile(const QString& path, ModelKind kind, const LoadOptions& options);
LoadedModel loadModelData(const QByteArray& bytes, ModelKind kind, const LoadOptions& options, const QString& what);

} // namespace kl::model
