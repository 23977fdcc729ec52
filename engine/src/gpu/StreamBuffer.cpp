#include "gpu/StreamBuffer.h"

#include "gpu/GlState.h"

#include <algorithm>
#include <cstring>

namespace kl::gpu {

namespace {

constexpr std::size_t FirstVertexCapacity = 16 * 1024;   // 4096 billboards
constexpr std::size_t FirstIndexCapacity = 24 * 1024;

// Copies `bytes` to [offset, offset + size) of the bound buffer `target`
// without waiting for draws that read other parts of it.
void writeRange(QOpenGLExtraFunctions& gl, GLenum target, std::size_t offset, std::size_t size, const void* bytes)
{
    void* mapped = gl.glMapBufferRange(target, GLintptr(offset), GLsizeiptr(size),
                                       GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (mapped) {
        std::memcpy(mapped, bytes, size);
        if (gl.glUnmapBuffer(target) == GL_TRUE)
            return;
    }
    gl.glBufferSubData(target, GLintptr(offset), GLsizeiptr(size), bytes);   // mapping failed or was lost
}

} // namespace

void StreamBuffer::create(QOpenGLExtraFunctions& gl)
{
    gl.glGenVertexArrays(1, &vao_);
    vbo_ = createBuffer(gl);
    ibo_ = createBuffer(gl);
    gl.glBindVertexArray(vao_);
    gl.glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    gl.glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    vertexCapacity_ = FirstVertexCapacity;
    indexCapacity_ = FirstIndexCapacity;
    orphan(gl);
    setVertexLayout(gl);
}

void StreamBuffer::orphan(QOpenGLExtraFunctions& gl)
{
    gl.glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexCapacity_ * sizeof(Vertex)), nullptr, GL_STREAM_DRAW);
    gl.glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indexCapacity_ * sizeof(std::uint32_t)), nullptr,
                    GL_STREAM_DRAW);
    vertexOffset_ = 0;
    indexOffset_ = 0;
}

void StreamBuffer::reserve(QOpenGLExtraFunctions& gl, std::size_t vertices, std::size_t indices)
{
    if (vertices > vertexCapacity_ || indices > indexCapacity_) {
        vertexCapacity_ = std::max(vertices, vertexCapacity_ * 2);
        indexCapacity_ = std::max(indices, indexCapacity_ * 2);
        orphan(gl);
    } else if (vertexOffset_ + vertices > vertexCapacity_ || indexOffset_ + indices > indexCapacity_) {
        orphan(gl);
    }
}

const GpuMesh* StreamBuffer::write(QOpenGLExtraFunctions& gl, const MeshGeometry& data)
{
    if (data.vertices.empty() || data.indices.size() < 3)
        return nullptr;
    std::vector<std::uint32_t> indices = safeIndices(data);
    if (vao_ == 0)
        create(gl);
    gl.glBindVertexArray(vao_);
    gl.glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    reserve(gl, data.vertices.size(), indices.size());

    // Indices point into the whole buffer, so they move with the vertices' offset.
    const auto base = std::uint32_t(vertexOffset_);
    for (std::uint32_t& index : indices)
        index += base;
    writeRange(gl, GL_ARRAY_BUFFER, vertexOffset_ * sizeof(Vertex), data.vertices.size() * sizeof(Vertex),
               data.vertices.data());
    writeRange(gl, GL_ELEMENT_ARRAY_BUFFER, indexOffset_ * sizeof(std::uint32_t),
               indices.size() * sizeof(std::uint32_t), indices.data());
    gl.glBindVertexArray(0);

    written_.vao = vao_;
    written_.vbo = vbo_;
    written_.ibo = ibo_;
    written_.revision = data.revision;
    written_.indexCount = std::uint32_t(indices.size());
    written_.groups = safeGroups(data, written_.indexCount);
    written_.firstIndex = std::uint32_t(indexOffset_);
    for (MeshGroup& group : written_.groups)
        group.firstIndex += written_.firstIndex;
    vertexOffset_ += data.vertices.size();
    indexOffset_ += indices.size();
    return &written_;
}

void StreamBuffer::free(QOpenGLExtraFunctions& gl)
{
    if (vao_ != 0) {
        gl.glDeleteVertexArrays(1, &vao_);
        gl.glDeleteBuffers(1, &vbo_);
        gl.glDeleteBuffers(1, &ibo_);
    }
    forget();
}

void StreamBuffer::forget()
{
    vao_ = vbo_ = ibo_ = 0;
    vertexCapacity_ = indexCapacity_ = vertexOffset_ = indexOffset_ = 0;
    written_ = GpuMesh{};
}

} // namespace kl::gpu
