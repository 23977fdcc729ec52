// Screen-space quads: 2D quads, text and the stretched background picture,
// drawn with one program from pixel positions (origin top-left of the view).
#pragma once

#include "gpu/RenderTypes.h"

#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <QSizeF>
#include <QString>

#include <memory>

namespace kl::gpu {

// Every call needs the context current.
class QuadPass {
public:
    // False with `error` set when the program does not build.
    bool create(QOpenGLExtraFunctions& gl, QString& error);
    void free();
    void forget();

    // `viewSize` is the target's size in the quad's pixels (device-independent);
    // texture 0 draws the vertex colours alone. No depth test, no culling.
    void draw(const Quad2D& quad, GLuint texture, QSizeF viewSize);
    // The texture over the whole target, opaque, sampled bilinearly (enough for
    // a magnified or mildly shrunk picture, and much cheaper than trilinear on
    // software GL).
    void stretch(GLuint texture, QSizeF viewSize);

private:
    QOpenGLExtraFunctions* gl_ = nullptr;
    std::unique_ptr<QOpenGLShaderProgram> program_;
    GLint viewSizeLocation_ = -1;
    GLint hasTextureLocation_ = -1;
    GLuint vao_ = 0;
    GLuint vbo_ = 0;
    GLuint stretchSampler_ = 0;
};

} // namespace kl::gpu
