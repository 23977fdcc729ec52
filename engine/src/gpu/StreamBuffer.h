// The path for geometry rewritten every frame (billboards): one vertex array
// with one vertex and one index buffer, written at a running offset without
// waiting for the GPU (unsynchronised, invalidated ranges). When the space is
// used up the buffers are orphaned — the driver keeps the old storage for draws
// still in flight — and writing starts again at the front; geometry larger
// than the buffers makes them grow. No buffer object is ever made after the
// first, however many frames or meshes stream through.
#pragma once

#include "gpu/GpuResources.h"

namespace kl::gpu {

class StreamBuffer {
public:
    // Writes the mesh's vertices and (made-safe) indices and returns how to draw
    // them: valid until the next write. Null for a mesh without a triangle.
    // Needs the context current.
    const GpuMesh* write(QOpenGLExtraFunctions& gl, const MeshGeometry& data);

    // Deletes the GL objects (context current) or, with forget, drops their names.
    void free(QOpenGLExtraFunctions& gl);
    void forget();

    std::size_t vertexCapacity() const { return vertexCapacity_; }

private:
    void create(QOpenGLExtraFunctions& gl);
    void reserve(QOpenGLExtraFunctions& gl, std::size_t vertices, std::size_t indices);
    void orphan(QOpenGLExtraFunctions& gl);

    GLuint vao_ = 0;
    GLuint vbo_ = 0;
    GLuint ibo_ = 0;
    std::size_t vertexCapacity_ = 0;
    std::size_t indexCapacity_ = 0;
    std::size_t vertexOffset_ = 0;   // next free vertex
    std::size_t indexOffset_ = 0;    // next free index
    GpuMesh written_;
};

} // namespace kl::gpu
