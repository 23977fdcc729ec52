#include "gpu/GlState.h"

#include <atomic>
#include <cstddef>

namespace kl::gpu {

namespace {

std::atomic<std::uint64_t> buffersMade{0};

} // namespace

GLuint createBuffer(QOpenGLExtraFunctions& gl)
{
    GLuint name = 0;
    gl.glGenBuffers(1, &name);
    buffersMade.fetch_add(1, std::memory_order_relaxed);
    return name;
}

std::uint64_t buffersCreated()
{
    return buffersMade.load(std::memory_order_relaxed);
}

void floatAttribute(QOpenGLExtraFunctions& gl, GLuint index, GLint size, GLsizei stride, std::size_t offset)
{
    gl.glEnableVertexAttribArray(index);
    gl.glVertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offset));
}

void setVertexLayout(QOpenGLExtraFunctions& gl)
{
    const auto stride = GLsizei(sizeof(Vertex));
    floatAttribute(gl, 0, 3, stride, offsetof(Vertex, position));
    floatAttribute(gl, 1, 3, stride, offsetof(Vertex, normal));
    floatAttribute(gl, 2, 2, stride, offsetof(Vertex, uv));
    floatAttribute(gl, 3, 2, stride, offsetof(Vertex, uv2));
    floatAttribute(gl, 4, 4, stride, offsetof(Vertex, colour));
    floatAttribute(gl, 5, 2, stride, offsetof(Vertex, detailUv));
}

namespace {

GLenum glFactor(BlendFactor factor)
{
    switch (factor) {
    case BlendFactor::Zero: return GL_ZERO;
    case BlendFactor::One: return GL_ONE;
    case BlendFactor::SrcColour: return GL_SRC_COLOR;
    case BlendFactor::InvSrcColour: return GL_ONE_MINUS_SRC_COLOR;
    case BlendFactor::SrcAlpha: return GL_SRC_ALPHA;
    case BlendFactor::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    case BlendFactor::DestAlpha: return GL_DST_ALPHA;
    case BlendFactor::InvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
    case BlendFactor::DestColour: return GL_DST_COLOR;
    case BlendFactor::InvDestColour: return GL_ONE_MINUS_DST_COLOR;
    case BlendFactor::SrcAlphaSat: return GL_SRC_ALPHA_SATURATE;
    case BlendFactor::BothSrcAlpha: return GL_SRC_ALPHA;
    case BlendFactor::BothInvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
    }
    return GL_ONE;
}

void setFactors(QOpenGLExtraFunctions& gl, BlendFactor source, BlendFactor destination)
{
    // As in Direct3D, the "both" factors given as the source decide the
    // destination factor too.
    if (source == BlendFactor::BothSrcAlpha)
        destination = BlendFactor::InvSrcAlpha;
    else if (source == BlendFactor::BothInvSrcAlpha)
        destination = BlendFactor::SrcAlpha;
    gl.glBlendFunc(glFactor(source), glFactor(destination));
}

} // namespace

void setBlend(QOpenGLExtraFunctions& gl, BlendMode mode, BlendFactor source, BlendFactor destination)
{
    if (mode == BlendMode::Opaque) {
        gl.glDisable(GL_BLEND);
        return;
    }
    gl.glEnable(GL_BLEND);
    switch (mode) {
    case BlendMode::Alpha: gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
    case BlendMode::Additive: gl.glBlendFunc(GL_ONE, GL_ONE); break;
    case BlendMode::AdditiveAlpha: gl.glBlendFunc(GL_SRC_ALPHA, GL_ONE); break;
    case BlendMode::Multiply: gl.glBlendFunc(GL_DST_COLOR, GL_ZERO); break;
    case BlendMode::Factors: setFactors(gl, source, destination); break;
    case BlendMode::Opaque: break;
    }
}

void setCull(QOpenGLExtraFunctions& gl, CullMode mode)
{
    if (mode == CullMode::None) {
        gl.glDisable(GL_CULL_FACE);
        return;
    }
    // Screen winding is the same as in Direct3D because the projection is
    // built the same way; GL calls counter-clockwise "front".
    gl.glEnable(GL_CULL_FACE);
    gl.glFrontFace(GL_CCW);
    gl.glCullFace(mode == CullMode::CounterClockwise ? GL_FRONT : GL_BACK);
}

void setDepth(QOpenGLExtraFunctions& gl, bool test, bool write)
{
    if (test) {
        gl.glEnable(GL_DEPTH_TEST);
        gl.glDepthFunc(GL_LEQUAL);
    } else {
        gl.glDisable(GL_DEPTH_TEST);
    }
    gl.glDepthMask(write ? GL_TRUE : GL_FALSE);
}

std::unique_ptr<QOpenGLShaderProgram> buildProgram(const char* vertex, const QByteArray& fragment, QString& error)
{
    auto program = std::make_unique<QOpenGLShaderProgram>();
    if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, vertex)
        || !program->addShaderFromSourceCode(QOpenGLShader::Fragment, fragment) || !program->link()) {
        error = QStringLiteral("Shader build failed: ") + program->log();
        return nullptr;
    }
    return program;
}

} // namespace kl::gpu
