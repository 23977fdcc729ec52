#include "gpu/QuadPass.h"

#include "gpu/GlState.h"
#include "gpu/RenderMath.h"
#include "gpu/Shaders.h"

#include <cstddef>

namespace kl::gpu {

namespace {

struct QuadVertex {
    float x, y, u, v, r, g, b, a;
};

} // namespace

bool QuadPass::create(QOpenGLExtraFunctions& gl, QString& error)
{
    program_ = buildProgram(shaders::quadVertex, shaders::quadFragment, error);
    if (!program_)
        return false;
    gl_ = &gl;
    const GLuint q = program_->programId();
    viewSizeLocation_ = gl.glGetUniformLocation(q, "uViewSize");
    hasTextureLocation_ = gl.glGetUniformLocation(q, "uHasTexture");
    gl.glUseProgram(q);
    gl.glUniform1i(gl.glGetUniformLocation(q, "uTexture"), BaseUnit);

    gl.glGenSamplers(1, &stretchSampler_);
    gl.glSamplerParameteri(stretchSampler_, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl.glSamplerParameteri(stretchSampler_, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl.glSamplerParameteri(stretchSampler_, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.glSamplerParameteri(stretchSampler_, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    gl.glGenVertexArrays(1, &vao_);
    vbo_ = createBuffer(gl);
    gl.glBindVertexArray(vao_);
    gl.glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    gl.glBufferData(GL_ARRAY_BUFFER, 4 * sizeof(QuadVertex), nullptr, GL_DYNAMIC_DRAW);
    const auto stride = GLsizei(sizeof(QuadVertex));
    floatAttribute(gl, 0, 2, stride, offsetof(QuadVertex, x));
    floatAttribute(gl, 1, 2, stride, offsetof(QuadVertex, u));
    floatAttribute(gl, 2, 4, stride, offsetof(QuadVertex, r));
    gl.glBindVertexArray(0);
    return true;
}

void QuadPass::free()
{
    if (gl_) {
        gl_->glDeleteVertexArrays(1, &vao_);
        gl_->glDeleteBuffers(1, &vbo_);
        gl_->glDeleteSamplers(1, &stretchSampler_);
    }
    forget();
}

void QuadPass::forget()
{
    program_.reset();
    vao_ = vbo_ = stretchSampler_ = 0;
    gl_ = nullptr;
}

void QuadPass::draw(const Quad2D& quad, GLuint texture, QSizeF viewSize)
{
    if (!gl_)
        return;
    constexpr int stripOrder[4] = {0, 1, 3, 2};
    QuadVertex vertices[4];
    for (int i = 0; i < 4; ++i) {
        const auto c = std::size_t(stripOrder[i]);
        const glm::vec4 colour = unpackArgb(quad.argb[c]);
        vertices[i] = {quad.position[c].x, quad.position[c].y, quad.uv[c].x, quad.uv[c].y,
                       colour.r, colour.g, colour.b, colour.a};
    }
    gl_->glUseProgram(program_->programId());
    gl_->glUniform2f(viewSizeLocation_, float(viewSize.width()), float(viewSize.height()));
    gl_->glUniform1i(hasTextureLocation_, texture != 0 ? 1 : 0);
    if (texture != 0) {
        gl_->glActiveTexture(GL_TEXTURE0 + BaseUnit);
        gl_->glBindTexture(GL_TEXTURE_2D, texture);
    }
    setBlend(*gl_, quad.blend);
    setDepth(*gl_, false, false);
    setCull(*gl_, CullMode::None);
    gl_->glBindVertexArray(vao_);
    gl_->glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    gl_->glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertices), vertices);
    gl_->glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void QuadPass::stretch(GLuint texture, QSizeF viewSize)
{
    if (!gl_)
        return;
    const auto w = float(viewSize.width());
    const auto h = float(viewSize.height());
    Quad2D quad;
    quad.position = {glm::vec2(0, 0), glm::vec2(w, 0), glm::vec2(w, h), glm::vec2(0, h)};
    quad.blend = BlendMode::Opaque;
    gl_->glBindSampler(BaseUnit, stretchSampler_);
    draw(quad, texture, viewSize);
    gl_->glBindSampler(BaseUnit, 0);
}

} // namespace kl::gpu
