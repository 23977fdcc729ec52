#include "gpu/Renderer.h"

#include "gpu/GlWindow.h"
#include "gpu/GpuResources.h"
#include "gpu/RenderMath.h"
#include "gpu/Shaders.h"

#include <QElapsedTimer>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QOpenGLShaderProgram>
#include <QPointer>

#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cstddef>
#include <unordered_map>
#include <vector>

namespace kl::gpu {

static_assert(sizeof(Vertex) == 14 * sizeof(float), "Vertex is uploaded as packed floats");

namespace {

constexpr int BaseUnit = 0;
constexpr int BumpUnit = 1;
constexpr int DetailUnit = 2;
constexpr int LightmapUnit = 3;

struct MeshUniforms {
    GLint world, normalMatrix, viewProjection, view, eye, sceneAmbient;
    GLint lightDiffuse, lightSpecular, lightAmbient, lightPosition,
        lightDirection, lightAttenuation, lightSpot;
    GLint matAmbient, matDiffuse, matSpecular, matEmissive, matPower;
    GLint bumpLight, bumpStrength, detailScale;
};

struct MeshProgram {
    std::unique_ptr<QOpenGLShaderProgram> program;
    MeshUniforms uniforms{};
    std::uint64_t frameSerial = 0;   // drawItems call whose frame uniforms it holds
};

// The enabled lights of a frame, packed for the shader.
struct PackedLights {
    int count = 0;
    int types[MaxLights] = {};
    int slotOf[MaxLights] = {};   // caller's light index -> packed slot, -1 when off
    glm::vec4 diffuse[MaxLights], specular[MaxLights], ambient[MaxLights], spot[MaxLights];
    glm::vec3 position[MaxLights], direction[MaxLights], attenuation[MaxLights];
    std::uint32_t key = 0;   // count and types, part of the program key
};

PackedLights packLights(const FrameState& frame)
{
    PackedLights p;
    std::fill(std::begin(p.slotOf), std::end(p.slotOf), -1);
    const int n = int(std::min<std::size_t>(frame.lights.size(), MaxLights));
    for (int i = 0; i < n; ++i) {
        const LightState& l = frame.lights[std::size_t(i)];
        if (!l.enabled)
            continue;
        const int c = p.count++;
        p.slotOf[i] = c;
        p.types[c] = int(l.type);
        p.diffuse[c] = l.diffuse;
        p.specular[c] = l.specular;
        p.ambient[c] = l.ambient;
        p.position[c] = l.position;
        const float len = glm::length(l.direction);
        p.direction[c] = len > 0.0f ? l.direction / len : glm::vec3(0.0f, 0.0f, 1.0f);
        p.attenuation[c] = effectiveAttenuation(l);
        p.spot[c] = glm::vec4(std::max(l.range, 0.0f), std::cos(l.theta * 0.5f), std::cos(l.phi * 0.5f),
                              l.falloff);
        p.key |= std::uint32_t(p.types[c] & 3) << (4 + 2 * c);
    }
    p.key |= std::uint32_t(p.count);
    return p;
}

struct QuadVertex {
    float x, y, u, v, r, g, b, a;
};

} // namespace

struct Renderer::Impl {
    QPointer<GlWindow> window;   // owned (through its container) by the picture box
    std::unique_ptr<QOpenGLContext> context;
    std::unique_ptr<QOpenGLFramebufferObject> frame;   // the frame being drawn / last presented
    // The background picture already stretched to the view, copied in each frame.
    std::unique_ptr<QOpenGLFramebufferObject> background;
    ResourceId backgroundId = 0;
    std::uint32_t backgroundRevision = 0;
    QOpenGLExtraFunctions* gl = nullptr;
    QString error;
    QString version;
    QString rendererName;

    std::unordered_map<std::uint64_t, MeshProgram> meshPrograms;   // by features and lights
    const MeshProgram* boundMesh = nullptr;
    std::uint64_t frameSerial = 0;
    std::unique_ptr<QOpenGLShaderProgram> quadProgram;
    GLuint stretchSampler = 0;   // plain bilinear, for pictures stretched over the view
    GLuint meshSampler = 0;      // the chosen filter, repeating, for mesh textures
    TextureFilter filter = TextureFilter::Trilinear;
    GLint quadViewSize = -1;
    GLint quadHasTexture = -1;
    GLuint quadVao = 0;
    GLuint quadVbo = 0;

    GpuResources resources;

    bool inFrame = false;
    QElapsedTimer presentClock;
    double lastFrameMs = 0.0;

    ~Impl() { destroyView(); }

    // --- context and GL objects ---------------------------------------------------------

    // Creates the context and the GL objects; false with `error` set on failure.
    bool createContext()
    {
        forgetGl();
        context = std::make_unique<QOpenGLContext>();
        context->setFormat(GlWindow::requiredFormat());
        if (!context->create()) {
            error = QStringLiteral("Could not create an OpenGL context");
            context.reset();
            return false;
        }
        const QSurfaceFormat got = context->format();
        if (got.version() < qMakePair(3, 3) || got.profile() != QSurfaceFormat::CoreProfile) {
            error = QStringLiteral("OpenGL 3.3 core is not available (got %1.%2)")
                        .arg(got.majorVersion())
                        .arg(got.minorVersion());
            context.reset();
            return false;
        }
        window->create();
        if (!context->makeCurrent(window)) {
            error = QStringLiteral("Could not make the OpenGL context current");
            context.reset();
            return false;
        }
        auto* f = context->functions();
        version = QString::fromLatin1(reinterpret_cast<const char*>(f->glGetString(GL_VERSION)));
        rendererName = QString::fromLatin1(reinterpret_cast<const char*>(f->glGetString(GL_RENDERER)));
        if (!createGl()) {
            freeGl();
            context.reset();
            return false;
        }
        return true;
    }

    void destroyView()
    {
        if (context && context->isValid()) {
            // The picture box (and with it the window) may already be gone.
            QOffscreenSurface fallback;
            bool current = window && context->makeCurrent(window);
            if (!current) {
                fallback.setFormat(context->format());
                fallback.create();
                current = context->makeCurrent(&fallback);
            }
            if (current) {
                freeGl();
                context->doneCurrent();
            }
        }
        forgetGl();
        context.reset();
        if (window) {
            QObject::disconnect(window, nullptr, nullptr, nullptr);
            delete window->container();   // deletes the window too
        }
        window = nullptr;
    }

    // GPU objects vanish with their context; drop our names without deleting.
    void forgetGl()
    {
        meshPrograms.clear();
        boundMesh = nullptr;
        quadProgram.reset();
        stretchSampler = meshSampler = 0;
        resources.forget();
        quadVao = quadVbo = 0;
        frame.reset();
        background.reset();
        backgroundId = 0;
        gl = nullptr;
        inFrame = false;
    }

    // Deletes every GL object; the context must be current.
    void freeGl()
    {
        if (gl) {
            resources.freeAll();
            gl->glDeleteVertexArrays(1, &quadVao);
            gl->glDeleteBuffers(1, &quadVbo);
            gl->glDeleteSamplers(1, &stretchSampler);
            gl->glDeleteSamplers(1, &meshSampler);
            frame.reset();
            background.reset();
        }
        forgetGl();
    }

    bool buildProgram(std::unique_ptr<QOpenGLShaderProgram>& program, const char* vs, const QByteArray& fs)
    {
        program = std::make_unique<QOpenGLShaderProgram>();
        if (!program->addShaderFromSourceCode(QOpenGLShader::Vertex, vs)
            || !program->addShaderFromSourceCode(QOpenGLShader::Fragment, fs) || !program->link()) {
            error = QStringLiteral("Shader build failed: ") + program->log();
            program.reset();
            return false;
        }
        return true;
    }

    bool createGl()
    {
        gl = context->extraFunctions();
        resources.setFunctions(gl);
        if (!buildProgram(quadProgram, shaders::quadVertex, shaders::quadFragment))
            return false;
        gl->glGenSamplers(1, &stretchSampler);
        gl->glSamplerParameteri(stretchSampler, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        gl->glSamplerParameteri(stretchSampler, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        gl->glSamplerParameteri(stretchSampler, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        gl->glSamplerParameteri(stretchSampler, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        gl->glGenSamplers(1, &meshSampler);
        gl->glSamplerParameteri(meshSampler, GL_TEXTURE_WRAP_S, GL_REPEAT);
        gl->glSamplerParameteri(meshSampler, GL_TEXTURE_WRAP_T, GL_REPEAT);
        applyFilter();

        const GLuint q = quadProgram->programId();
        quadViewSize = gl->glGetUniformLocation(q, "uViewSize");
        quadHasTexture = gl->glGetUniformLocation(q, "uHasTexture");
        gl->glUseProgram(q);
        gl->glUniform1i(gl->glGetUniformLocation(q, "uTexture"), BaseUnit);

        gl->glGenVertexArrays(1, &quadVao);
        gl->glGenBuffers(1, &quadVbo);
        gl->glBindVertexArray(quadVao);
        gl->glBindBuffer(GL_ARRAY_BUFFER, quadVbo);
        gl->glBufferData(GL_ARRAY_BUFFER, 4 * sizeof(QuadVertex), nullptr, GL_DYNAMIC_DRAW);
        const auto stride = GLsizei(sizeof(QuadVertex));
        gl->glEnableVertexAttribArray(0);
        gl->glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(QuadVertex, x)));
        gl->glEnableVertexAttribArray(1);
        gl->glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(QuadVertex, u)));
        gl->glEnableVertexAttribArray(2);
        gl->glVertexAttribPointer(2, 4, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offsetof(QuadVertex, r)));
        gl->glBindVertexArray(0);
        return true;
    }

    void applyFilter()
    {
        if (!gl || meshSampler == 0)
            return;
        GLint minFilter = GL_LINEAR_MIPMAP_LINEAR;
        GLint magFilter = GL_LINEAR;
        if (filter == TextureFilter::Nearest) {
            minFilter = GL_NEAREST_MIPMAP_NEAREST;
            magFilter = GL_NEAREST;
        } else if (filter == TextureFilter::Bilinear) {
            minFilter = GL_LINEAR_MIPMAP_NEAREST;
        }
        gl->glSamplerParameteri(meshSampler, GL_TEXTURE_MIN_FILTER, minFilter);
        gl->glSamplerParameteri(meshSampler, GL_TEXTURE_MAG_FILTER, magFilter);
    }

    // The program for one combination of stages, built on first use.
    MeshProgram* meshProgram(unsigned features, const PackedLights& lights)
    {
        const bool lit = features & shaders::Lit;
        const std::uint64_t key = std::uint64_t(features) | (lit ? std::uint64_t(lights.key) << 8 : 0);
        if (auto it = meshPrograms.find(key); it != meshPrograms.end())
            return it->second.program ? &it->second : nullptr;
        MeshProgram& m = meshPrograms[key];
        const std::span<const int> types(lights.types, lit ? std::size_t(lights.count) : 0);
        if (!buildProgram(m.program, shaders::meshVertex, shaders::meshFragmentSource(features, types)))
            return nullptr;
        const GLuint p = m.program->programId();
        auto loc = [&](const char* name) { return gl->glGetUniformLocation(p, name); };
        m.uniforms = MeshUniforms{
            loc("uWorld"), loc("uNormalMatrix"), loc("uViewProjection"), loc("uView"), loc("uEye"),
            loc("uSceneAmbient"), loc("uLightDiffuse"),
            loc("uLightSpecular"), loc("uLightAmbient"), loc("uLightPosition"), loc("uLightDirection"),
            loc("uLightAttenuation"), loc("uLightSpot"), loc("uMatAmbient"), loc("uMatDiffuse"),
            loc("uMatSpecular"), loc("uMatEmissive"), loc("uMatPower"),
            loc("uBumpLight"), loc("uBumpStrength"), loc("uDetailScale")};
        gl->glUseProgram(p);
        gl->glUniform1i(loc("uBase"), BaseUnit);
        gl->glUniform1i(loc("uBump"), BumpUnit);
        gl->glUniform1i(loc("uDetail"), DetailUnit);
        gl->glUniform1i(loc("uLightmap"), LightmapUnit);
        boundMesh = nullptr;
        return &m;
    }

    // Makes the context current, creating it (and the GL objects) when it is
    // missing or was lost. False when there is no usable context.
    bool makeCurrent()
    {
        if (!window) {
            error = QStringLiteral("No render window");
            return false;
        }
        if (!context || !context->isValid()) {
            if (context)
                error = QStringLiteral("The OpenGL context was lost");
            if (!createContext())
                return false;
        }
        if (!context->makeCurrent(window)) {
            error = QStringLiteral("Could not make the OpenGL context current");
            return false;
        }
        return true;
    }

    QSize framebufferSize() const
    {
        if (!window)
            return {};
        return window->container()->size() * window->devicePixelRatio();
    }

    // The offscreen frame matches the view size; it keeps the last frame for
    // screenshots and for showing again when the window is uncovered.
    bool ensureFrameBuffer()
    {
        const QSize size = framebufferSize().expandedTo(QSize(1, 1));
        if (frame && frame->size() == size)
            return true;
        frame = std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::Depth);
        if (!frame->isValid()) {
            frame.reset();
            error = QStringLiteral("Could not create the frame buffer");
            return false;
        }
        return true;
    }

    void bindTarget()
    {
        gl->glBindFramebuffer(GL_FRAMEBUFFER, frame->handle());
        gl->glViewport(0, 0, frame->width(), frame->height());
        // The frame is shown as an opaque surface: keep alpha at 1.
        gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    }

    // Copies the frame to the window and swaps.
    void showFrame()
    {
        if (!frame || !window || !window->isExposed())
            return;
        const QSize size = framebufferSize();
        gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        gl->glBindFramebuffer(GL_READ_FRAMEBUFFER, frame->handle());
        gl->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, context->defaultFramebufferObject());
        gl->glBlitFramebuffer(0, 0, frame->width(), frame->height(), 0, 0, size.width(), size.height(),
                              GL_COLOR_BUFFER_BIT, GL_NEAREST);
        context->swapBuffers(window);
    }

        // --- state --------------------------------------------------------------------------

    void setBlend(BlendMode mode)
    {
        if (mode == BlendMode::Opaque) {
            gl->glDisable(GL_BLEND);
            return;
        }
        gl->glEnable(GL_BLEND);
        switch (mode) {
        case BlendMode::Alpha: gl->glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA); break;
        case BlendMode::Additive: gl->glBlendFunc(GL_ONE, GL_ONE); break;
        case BlendMode::AdditiveAlpha: gl->glBlendFunc(GL_SRC_ALPHA, GL_ONE); break;
        case BlendMode::Multiply: gl->glBlendFunc(GL_DST_COLOR, GL_ZERO); break;
        case BlendMode::Opaque: break;
        }
    }

    void setCull(CullMode mode)
    {
        if (mode == CullMode::None) {
            gl->glDisable(GL_CULL_FACE);
            return;
        }
        // Screen winding is the same as in Direct3D because the projection is
        // built the same way; GL calls counter-clockwise "front".
        gl->glEnable(GL_CULL_FACE);
        gl->glFrontFace(GL_CCW);
        gl->glCullFace(mode == CullMode::CounterClockwise ? GL_FRONT : GL_BACK);
    }

    void setDepth(bool test, bool write)
    {
        if (test) {
            gl->glEnable(GL_DEPTH_TEST);
            gl->glDepthFunc(GL_LEQUAL);
        } else {
            gl->glDisable(GL_DEPTH_TEST);
        }
        gl->glDepthMask(write ? GL_TRUE : GL_FALSE);
    }

    // --- drawing ------------------------------------------------------------------------

    void setFrameUniforms(const MeshUniforms& mu, const FrameState& frame, const PackedLights& p)
    {
        const glm::mat4 viewProjection = frame.projection * frame.view;
        gl->glUniformMatrix4fv(mu.viewProjection, 1, GL_FALSE, glm::value_ptr(viewProjection));
        gl->glUniformMatrix4fv(mu.view, 1, GL_FALSE, glm::value_ptr(frame.view));
        gl->glUniform3fv(mu.eye, 1, glm::value_ptr(frame.eyePosition));
        gl->glUniform4fv(mu.sceneAmbient, 1, glm::value_ptr(frame.ambient));
        if (p.count == 0)
            return;
        gl->glUniform4fv(mu.lightDiffuse, p.count, glm::value_ptr(p.diffuse[0]));
        gl->glUniform4fv(mu.lightSpecular, p.count, glm::value_ptr(p.specular[0]));
        gl->glUniform4fv(mu.lightAmbient, p.count, glm::value_ptr(p.ambient[0]));
        gl->glUniform3fv(mu.lightPosition, p.count, glm::value_ptr(p.position[0]));
        gl->glUniform3fv(mu.lightDirection, p.count, glm::value_ptr(p.direction[0]));
        gl->glUniform3fv(mu.lightAttenuation, p.count, glm::value_ptr(p.attenuation[0]));
        gl->glUniform4fv(mu.lightSpot, p.count, glm::value_ptr(p.spot[0]));
    }

    void bindStage(int unit, const TextureData* data)
    {
        if (data) {
            gl->glActiveTexture(GL_TEXTURE0 + unit);
            gl->glBindTexture(GL_TEXTURE_2D, resources.texture(*data));
        }
    }

    static unsigned featuresOf(const DrawItem& item)
    {
        unsigned f = 0;
        if (item.lit) {
            f |= shaders::Lit;
            const glm::vec3 specular(item.material.specular);
            if (item.material.power > 0.0f && (specular.r > 0.0f || specular.g > 0.0f || specular.b > 0.0f))
                f |= shaders::Specular;
        }
        if (item.baseTexture) {
            f |= shaders::BaseTexture;
            if (item.sphereMap)
                f |= shaders::SphereMap;
        }
        if (item.lit && item.bumpTexture)
            f |= shaders::BumpMap;
        if (item.useVertexColours && item.mesh->hasVertexColours)
            f |= shaders::VertexColour;
        if (item.detailTexture)
            f |= shaders::DetailTexture;
        if (item.lightmapTexture)
            f |= shaders::Lightmap;
        return f;
    }

    void drawItem(const FrameState& frameState, const PackedLights& lights, const DrawItem& item)
    {
        if (!item.mesh)
            return;
        const GpuMesh* m = resources.mesh(*item.mesh);
        if (!m)
            return;
        MeshGroup range{0, m->indexCount};
        if (item.group >= 0) {
            if (std::size_t(item.group) >= m->groups.size())
                return;
            range = m->groups[std::size_t(item.group)];
        }
        if (range.indexCount == 0)
            return;

        const unsigned features = featuresOf(item);
        MeshProgram* program = meshProgram(features, lights);
        if (!program)
            return;
        const MeshUniforms& mu = program->uniforms;
        if (boundMesh != program) {
            gl->glUseProgram(program->program->programId());
            boundMesh = program;
        }
        if (program->frameSerial != frameSerial) {
            setFrameUniforms(mu, frameState, lights);
            program->frameSerial = frameSerial;
        }

        gl->glUniformMatrix4fv(mu.world, 1, GL_FALSE, glm::value_ptr(item.world));
        const glm::mat3 linear(item.world);
        const glm::mat3 normalMatrix =
            std::abs(glm::determinant(linear)) > 1e-12f ? glm::transpose(glm::inverse(linear)) : linear;
        gl->glUniformMatrix3fv(mu.normalMatrix, 1, GL_FALSE, glm::value_ptr(normalMatrix));

        const MaterialColors& mat = item.material;
        gl->glUniform4fv(mu.matAmbient, 1, glm::value_ptr(mat.ambient));
        gl->glUniform4fv(mu.matDiffuse, 1, glm::value_ptr(mat.diffuse));
        gl->glUniform4fv(mu.matSpecular, 1, glm::value_ptr(mat.specular));
        gl->glUniform4fv(mu.matEmissive, 1, glm::value_ptr(mat.emissive));
        gl->glUniform1f(mu.matPower, mat.power);

        bindStage(BaseUnit, item.baseTexture);
        if (features & shaders::BumpMap) {
            bindStage(BumpUnit, item.bumpTexture);
            const bool known = item.bumpLightIndex >= 0 && item.bumpLightIndex < MaxLights;
            gl->glUniform1i(mu.bumpLight, known ? lights.slotOf[item.bumpLightIndex] : -1);
            gl->glUniform1f(mu.bumpStrength, item.bumpStrength);
        }
        bindStage(DetailUnit, item.detailTexture);
        gl->glUniform1f(mu.detailScale, item.detailScale);
        bindStage(LightmapUnit, item.lightmapTexture);

        setBlend(item.blend);
        setDepth(item.depthTest, item.depthWrite);
        setCull(item.cull);

        gl->glBindVertexArray(m->vao);
        gl->glDrawElements(GL_TRIANGLES, GLsizei(range.indexCount), GL_UNSIGNED_INT,
                           reinterpret_cast<void*>(std::size_t(range.firstIndex) * sizeof(std::uint32_t)));
    }

    void drawQuad(const Quad2D& quad, GLuint textureName)
    {
        constexpr int stripOrder[4] = {0, 1, 3, 2};
        QuadVertex vertices[4];
        for (int i = 0; i < 4; ++i) {
            const int c = stripOrder[i];
            const glm::vec4 colour = unpackArgb(quad.argb[std::size_t(c)]);
            vertices[i] = {quad.position[std::size_t(c)].x, quad.position[std::size_t(c)].y,
                           quad.uv[std::size_t(c)].x, quad.uv[std::size_t(c)].y,
                           colour.r, colour.g, colour.b, colour.a};
        }
        const QSize size = frame->size();
        const qreal dpr = window->devicePixelRatio();
        gl->glUseProgram(quadProgram->programId());
        boundMesh = nullptr;
        gl->glUniform2f(quadViewSize, float(size.width() / dpr), float(size.height() / dpr));
        gl->glUniform1i(quadHasTexture, textureName != 0 ? 1 : 0);
        if (textureName != 0) {
            gl->glActiveTexture(GL_TEXTURE0 + BaseUnit);
            gl->glBindTexture(GL_TEXTURE_2D, textureName);
        }
        setBlend(quad.blend);
        setDepth(false, false);
        setCull(CullMode::None);
        gl->glBindVertexArray(quadVao);
        gl->glBindBuffer(GL_ARRAY_BUFFER, quadVbo);
        gl->glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof(vertices), vertices);
        gl->glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    }

    // Stretches the picture over the bound target (opaque, no depth).
    void stretchPicture(const TextureData& picture)
    {
        const QSize size = window->container()->size();
        Quad2D quad;
        quad.position = {glm::vec2(0, 0), glm::vec2(size.width(), 0), glm::vec2(size.width(), size.height()),
                         glm::vec2(0, size.height())};
        quad.blend = BlendMode::Opaque;
        // Magnified or mildly shrunk over the whole view: bilinear is enough and
        // much cheaper than trilinear on software GL.
        gl->glBindSampler(BaseUnit, stretchSampler);
        drawQuad(quad, resources.texture(picture));
        gl->glBindSampler(BaseUnit, 0);
    }

    // The picture is stretched once per picture, revision and view size; each
    // frame then only copies it, which costs a fraction of drawing it.
    void drawBackground(const TextureData& picture)
    {
        if (picture.id == 0) {
            bindTarget();
            stretchPicture(picture);
            return;
        }
        const bool stale = !background || background->size() != frame->size() || backgroundId != picture.id
                           || backgroundRevision != picture.revision;
        if (stale) {
            background = std::make_unique<QOpenGLFramebufferObject>(frame->size());
            if (!background->isValid()) {
                background.reset();
                backgroundId = 0;
                bindTarget();
                stretchPicture(picture);
                return;
            }
            gl->glBindFramebuffer(GL_FRAMEBUFFER, background->handle());
            gl->glViewport(0, 0, background->width(), background->height());
            gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
            gl->glClearColor(0, 0, 0, 1);
            gl->glClear(GL_COLOR_BUFFER_BIT);
            gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
            stretchPicture(picture);
            backgroundId = picture.id;
            backgroundRevision = picture.revision;
        }
        // A full colour mask lets the copy be a plain memory copy.
        gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        gl->glBindFramebuffer(GL_READ_FRAMEBUFFER, background->handle());
        gl->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, frame->handle());
        gl->glBlitFramebuffer(0, 0, background->width(), background->height(), 0, 0, frame->width(),
                              frame->height(), GL_COLOR_BUFFER_BIT, GL_NEAREST);
        bindTarget();
    }

    QImage readFramebuffer()
    {
        if (!frame)
            return {};
        const QSize size = frame->size();
        QImage image(size, QImage::Format_RGBA8888);
        gl->glBindFramebuffer(GL_FRAMEBUFFER, frame->handle());
        gl->glPixelStorei(GL_PACK_ALIGNMENT, 4);
        gl->glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
        return image.mirrored().convertToFormat(QImage::Format_RGB32);
    }
};

Renderer::Renderer() : impl_(std::make_unique<Impl>()) {}
Renderer::~Renderer() = default;

bool Renderer::attach(WId pictureBox, QString& error)
{
    QWidget* widget = QWidget::find(pictureBox);
    if (!widget) {
        error = QStringLiteral("No window with handle %1").arg(pictureBox);
        impl_->error = error;
        return false;
    }
    return attach(widget, error);
}

bool Renderer::attach(QWidget* pictureBox, QString& error)
{
    if (!pictureBox) {
        error = QStringLiteral("No window to render into");
        impl_->error = error;
        return false;
    }
    Impl& d = *impl_;
    d.destroyView();
    auto* window = new GlWindow(pictureBox);   // owned through its container by the picture box
    d.window = window;
    window->container()->show();
    if (!d.createContext()) {
        error = d.error;
        d.destroyView();
        return false;
    }
    // Uncovered or resized: show the last frame again.
    QObject::connect(window, &GlWindow::exposed, window, [&d] {
        if (d.frame && !d.inFrame && d.makeCurrent())
            d.showFrame();
    });
    error.clear();
    return true;
}

void Renderer::detach() { impl_->destroyView(); }

bool Renderer::isAttached() const { return !impl_->window.isNull(); }

QSize Renderer::viewportSize() const
{
    const Impl& d = *impl_;
    return d.window && d.window->pictureBox() ? d.window->pictureBox()->size() : QSize();
}

bool Renderer::beginFrame(const glm::vec4& clearColour, bool clearDepth)
{
    Impl& d = *impl_;
    d.inFrame = false;
    if (!d.makeCurrent() || !d.ensureFrameBuffer())
        return false;
    d.resources.endFrame();
    d.bindTarget();
    d.gl->glClearColor(clearColour.r, clearColour.g, clearColour.b, 1.0f);
    d.gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    GLbitfield mask = GL_COLOR_BUFFER_BIT;
    if (clearDepth) {
        d.gl->glDepthMask(GL_TRUE);
        d.gl->glClearDepthf(1.0f);
        mask |= GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT;
    }
    d.gl->glClear(mask);
    d.gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    d.inFrame = true;
    return true;
}

void Renderer::drawBackground(const TextureData& picture)
{
    Impl& d = *impl_;
    if (!d.inFrame || !d.makeCurrent())
        return;
    d.drawBackground(picture);
}

void Renderer::drawItems(const FrameState& frame, std::span<const DrawItem> items)
{
    Impl& d = *impl_;
    if (!d.inFrame || items.empty() || !d.makeCurrent())
        return;
    d.bindTarget();
    ++d.frameSerial;
    d.boundMesh = nullptr;
    const PackedLights lights = packLights(frame);
    for (int unit : {BaseUnit, BumpUnit, DetailUnit, LightmapUnit})
        d.gl->glBindSampler(GLuint(unit), d.meshSampler);
    for (const DrawItem& item : items)
        d.drawItem(frame, lights, item);
    for (int unit : {BaseUnit, BumpUnit, DetailUnit, LightmapUnit})
        d.gl->glBindSampler(GLuint(unit), 0);
    d.gl->glBindVertexArray(0);
}

void Renderer::drawQuad2D(const Quad2D& quad)
{
    Impl& d = *impl_;
    if (!d.inFrame || !d.makeCurrent())
        return;
    d.bindTarget();
    d.drawQuad(quad, quad.texture ? d.resources.texture(*quad.texture) : 0);
}

void Renderer::drawText(const QFont& font, const QString& text, int x, int y, std::uint32_t argb)
{
    Impl& d = *impl_;
    if (text.isEmpty() || !d.inFrame || !d.makeCurrent())
        return;
    d.bindTarget();
    const GpuTexture* t = d.resources.text(font, text);
    Quad2D quad;
    const auto w = float(t->size.width());
    const auto h = float(t->size.height());
    const glm::vec2 origin{float(x), float(y)};
    quad.position = {origin, origin + glm::vec2(w, 0), origin + glm::vec2(w, h), origin + glm::vec2(0, h)};
    quad.argb = {argb, argb, argb, argb};
    quad.blend = BlendMode::Alpha;
    d.drawQuad(quad, t->name);
}

bool Renderer::present()
{
    Impl& d = *impl_;
    const bool hadFrame = d.inFrame;
    d.inFrame = false;
    if (!d.window || !d.context) {
        d.error = QStringLiteral("No render window");
        return false;
    }
    if (!hadFrame)
        return d.context->isValid();
    if (!d.makeCurrent())
        return false;
    d.showFrame();
    if (d.presentClock.isValid())
        d.lastFrameMs = double(d.presentClock.nsecsElapsed()) / 1.0e6;
    d.presentClock.restart();
    return true;
}

double Renderer::lastFrameMilliseconds() const { return impl_->lastFrameMs; }

QImage Renderer::grabFrame()
{
    Impl& d = *impl_;
    if (!d.frame || !d.makeCurrent())
        return {};
    return d.readFramebuffer();
}

bool Renderer::saveScreenshot(const QString& path, QString& error)
{
    const QImage frame = grabFrame();
    if (frame.isNull()) {
        error = QStringLiteral("No frame to save: %1").arg(impl_->error);
        return false;
    }
    if (!frame.save(path, "BMP")) {
        error = QStringLiteral("Could not write the screenshot to %1").arg(path);
        return false;
    }
    return true;
}

QString Renderer::glVersion() const { return impl_->version; }
QString Renderer::glRenderer() const { return impl_->rendererName; }
QString Renderer::lastError() const { return impl_->error; }

void Renderer::setTextureFilter(TextureFilter filter)
{
    Impl& d = *impl_;
    d.filter = filter;
    if (d.context && d.context->isValid() && d.makeCurrent())
        d.applyFilter();
}

void Renderer::release(ResourceId id)
{
    Impl& d = *impl_;
    if (id == 0 || !d.gl || !d.makeCurrent())
        return;
    if (id == d.backgroundId)
        d.backgroundId = 0;
    d.resources.release(id);
}

} // namespace kl::gpu
