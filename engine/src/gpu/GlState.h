// Small GL helpers shared by the render passes: fixed texture units, blend,
// depth and cull state, and program building. Every call needs the context current.
#pragma once

#include "gpu/RenderTypes.h"

#include <QByteArray>
#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace kl::gpu {

// Texture units of the mesh stages; quads use the base unit.
inline constexpr int BaseUnit = 0;
inline constexpr int BumpUnit = 1;
inline constexpr int DetailUnit = 2;
inline constexpr int LightmapUnit = 3;

// `source` and `destination` are used with BlendMode::Factors only.
void setBlend(QOpenGLExtraFunctions& gl, BlendMode mode, BlendFactor source = BlendFactor::One,
              BlendFactor destination = BlendFactor::Zero);
void setDepth(QOpenGLExtraFunctions& gl, bool test, bool write);
void setCull(QOpenGLExtraFunctions& gl, CullMode mode);

// glGenBuffers for one buffer, counted: geometry drawn every frame must not
// keep making buffers, and the count shows it.
GLuint createBuffer(QOpenGLExtraFunctions& gl);
// Buffer objects made by createBuffer in this process so far.
std::uint64_t buffersCreated();

// Enables attribute `index` as `size` floats at `offset` bytes into each
// `stride`-byte record of the bound GL_ARRAY_BUFFER.
void floatAttribute(QOpenGLExtraFunctions& gl, GLuint index, GLint size, GLsizei stride, std::size_t offset);
// Attribute pointers of a Vertex array in the bound GL_ARRAY_BUFFER, offset 0.
void setVertexLayout(QOpenGLExtraFunctions& gl);

// Compiles and links; null with the log in `error` on failure.
std::unique_ptr<QOpenGLShaderProgram> buildProgram(const char* vertex, const QByteArray& fragment, QString& error);

} // namespace kl::gpu
