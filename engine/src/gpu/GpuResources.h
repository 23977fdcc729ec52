// GPU copies of the CPU-side textures and meshes, and of drawn text, for one
// GL context. Copies are keyed by resource id and made again when the
// revision changes; id 0 is uploaded for the current frame only.
#pragma once

#include "gpu/RenderTypes.h"

#include <QFont>
#include <QHash>
#include <QOpenGLExtraFunctions>
#include <QSize>
#include <QString>

#include <unordered_map>
#include <vector>

namespace kl::gpu {

struct GpuTexture {
    GLuint name = 0;
    std::uint32_t revision = 0;
    QSize size;
};

struct GpuMesh {
    GLuint vao = 0;
    GLuint vbo = 0;
    GLuint ibo = 0;
    std::uint32_t revision = 0;
    std::uint32_t firstIndex = 0;    // where the mesh's indices start in the index buffer
    std::uint32_t indexCount = 0;
    std::vector<MeshGroup> groups;   // clamped to the index count, offset by firstIndex
};

// Indices with every triangle that reads past the vertex array made
// degenerate (so group offsets stay valid), and a trailing partial triangle cut.
std::vector<std::uint32_t> safeIndices(const MeshGeometry& mesh);
// The mesh's groups clamped to indexCount; one group of everything when it has none.
std::vector<MeshGroup> safeGroups(const MeshGeometry& mesh, std::uint32_t indexCount);

// Every call needs the context current.
class GpuResources {
public:
    // The functions of a new context; the previous context's objects must have
    // been freed or forgotten.
    void setFunctions(QOpenGLExtraFunctions* gl) { gl_ = gl; }

    // Mip-mapped, trilinear, repeating texture (bump textures as their gradient).
    GLuint texture(const TextureData& data);
    // Null for a mesh without a triangle.
    const GpuMesh* mesh(const MeshGeometry& data);
    // White text on transparent, for tinting by vertex colour; size in pixels.
    const GpuTexture* text(const QFont& font, const QString& text);

    void release(ResourceId id);
    // Frees the uploads made for this frame only.
    void endFrame();
    // Deletes every GL object.
    void freeAll();
    // The context is gone with its objects: drop the names.
    void forget();

private:
    GLuint upload(const QImage& source, bool mipmapped);
    GpuMesh upload(const MeshGeometry& data);
    void remove(GpuMesh& m);

    QOpenGLExtraFunctions* gl_ = nullptr;
    std::unordered_map<ResourceId, GpuTexture> textures_;
    std::unordered_map<ResourceId, GpuMesh> meshes_;
    std::vector<GLuint> frameTextures_;
    std::vector<GpuMesh> frameMeshes_;
    QHash<QString, GpuTexture> text_;
};

} // namespace kl::gpu
