#include "gpu/Renderer.h"

#include "gpu/GlView.h"
#include "gpu/RenderMath.h"
#include "gpu/Shaders.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QHash>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <QPainter>
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
constexpr int MaxTextCacheEntries = 512;

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
    std::uint32_t indexCount = 0;
    std::vector<MeshGroup> groups;
};

struct MeshUniforms {
    GLint world, normalMatrix, viewProjection, view, eye, sceneAmbient;
    GLint lightCount, lightType, lightDiffuse, lightSpecular, lightAmbient, lightPosition,
        lightDirection, lightAttenuation, lightSpot;
    GLint matAmbient, matDiffuse, matSpecular, matEmissive, matPower;
    GLint lit, useVertexColour, hasBase, sphereMap, hasBump, bumpLight, bumpStrength, hasDetail,
        detailScale, hasLightmap;
};

struct QuadVertex {
    float x, y, u, v, r, g, b, a;
};

// Indices with every triangle that reads past the vertex array made degenerate,
// so group offsets stay valid and nothing is read out of bounds.
std::vector<std::uint32_t> safeIndices(const MeshGeometry& mesh)
{
    std::vector<std::uint32_t> indices = mesh.indices;
    indices.resize(indices.size() - indices.size() % 3);
    const auto count = std::uint32_t(mesh.vertices.size());
    for (std::size_t t = 0; t < indices.size(); t += 3) {
        if (indices[t] >= count || indices[t + 1] >= count || indices[t + 2] >= count)
            indices[t] = indices[t + 1] = indices[t + 2] = 0;
    }
    return indices;
}

std::vector<MeshGroup> safeGroups(const MeshGeometry& mesh, std::uint32_t indexCount)
{
    std::vector<MeshGroup> groups;
    if (mesh.groups.empty()) {
        groups.push_back({0, indexCount});
        return groups;
    }
    for (const MeshGroup& g : mesh.groups) {
        const std::uint32_t first = std::min(g.firstIndex, indexCount);
        const std::uint32_t count = std::min(g.indexCount, indexCount - first);
        groups.push_back({first, count - count % 3});
    }
    return groups;
}

} // namespace

struct Renderer::Impl {
    QPointer<GlView> view;
    QPointer<QOpenGLContext> context;   // context the GL objects below belong to
    QOpenGLExtraFunctions* gl = nullptr;
    QString error;
    QString version;
    QString rendererName;

    std::unique_ptr<QOpenGLShaderProgram> meshProgram;
    std::unique_ptr<QOpenGLShaderProgram> quadProgram;
    MeshUniforms mu{};
    GLint quadViewSize = -1;
    GLint quadHasTexture = -1;
    GLuint quadVao = 0;
    GLuint quadVbo = 0;

    std::unordered_map<ResourceId, GpuTexture> textures;
    std::unordered_map<ResourceId, GpuMesh> meshes;
    std::vector<GLuint> frameTextures;   // uncached (id 0) uploads, freed at the next frame
    std::vector<GpuMesh> frameMeshes;
    QHash<QString, GpuTexture> textCache;

    bool inFrame = false;
    QElapsedTimer presentClock;
    double lastFrameMs = 0.0;

    ~Impl() { destroyView(); }

    // --- context and GL objects ---------------------------------------------------------

    bool probeContext(QString& why)
    {
        QOpenGLContext probe;
        probe.setFormat(GlView::requiredFormat());
        if (!probe.create()) {
            why = QStringLiteral("Could not create an OpenGL context");
            return false;
        }
        const QSurfaceFormat got = probe.format();
        if (got.version() < qMakePair(3, 3)) {
            why = QStringLiteral("OpenGL 3.3 is not available (got %1.%2)")
                      .arg(got.majorVersion())
                      .arg(got.minorVersion());
            return false;
        }
        QOffscreenSurface surface;
        surface.setFormat(got);
        surface.create();
        if (!probe.makeCurrent(&surface)) {
            why = QStringLiteral("Could not make the OpenGL context current");
            return false;
        }
        auto* f = probe.functions();
        version = QString::fromLatin1(reinterpret_cast<const char*>(f->glGetString(GL_VERSION)));
        rendererName = QString::fromLatin1(reinterpret_cast<const char*>(f->glGetString(GL_RENDERER)));
        probe.doneCurrent();
        return true;
    }

    void destroyView()
    {
        if (view) {
            QObject::disconnect(view, nullptr, nullptr, nullptr);
            if (view->isValid()) {
                view->makeCurrent();
                freeGl();
                view->doneCurrent();
            }
            delete view.data();
        }
        forgetGl();
    }

    // GPU objects vanish with their context; drop our names without deleting.
    void forgetGl()
    {
        meshProgram.reset();
        quadProgram.reset();
        textures.clear();
        meshes.clear();
        frameTextures.clear();
        frameMeshes.clear();
        textCache.clear();
        quadVao = quadVbo = 0;
        gl = nullptr;
        context = nullptr;
        inFrame = false;
    }

    void deleteMesh(GpuMesh& m)
    {
        gl->glDeleteVertexArrays(1, &m.vao);
        gl->glDeleteBuffers(1, &m.vbo);
        gl->glDeleteBuffers(1, &m.ibo);
    }

    void freeFrameResources()
    {
        if (!gl)
            return;
        if (!frameTextures.empty())
            gl->glDeleteTextures(GLsizei(frameTextures.size()), frameTextures.data());
        for (GpuMesh& m : frameMeshes)
            deleteMesh(m);
        frameTextures.clear();
        frameMeshes.clear();
    }

    // Deletes every GL object; the context must be current.
    void freeGl()
    {
        if (gl) {
            freeFrameResources();
            for (auto& [id, t] : textures)
                gl->glDeleteTextures(1, &t.name);
            for (auto& [id, m] : meshes)
                deleteMesh(m);
            for (const GpuTexture& t : std::as_const(textCache))
                gl->glDeleteTextures(1, &t.name);
            gl->glDeleteVertexArrays(1, &quadVao);
            gl->glDeleteBuffers(1, &quadVbo);
        }
        forgetGl();
    }

    bool buildProgram(std::unique_ptr<QOpenGLShaderProgram>& program, const char* vs, const char* fs)
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
        if (!buildProgram(meshProgram, shaders::meshVertex, shaders::meshFragment)
            || !buildProgram(quadProgram, shaders::quadVertex, shaders::quadFragment))
            return false;

        const GLuint p = meshProgram->programId();
        auto loc = [&](const char* name) { return gl->glGetUniformLocation(p, name); };
        mu = MeshUniforms{
            loc("uWorld"), loc("uNormalMatrix"), loc("uViewProjection"), loc("uView"), loc("uEye"),
            loc("uSceneAmbient"), loc("uLightCount"), loc("uLightType"), loc("uLightDiffuse"),
            loc("uLightSpecular"), loc("uLightAmbient"), loc("uLightPosition"), loc("uLightDirection"),
            loc("uLightAttenuation"), loc("uLightSpot"), loc("uMatAmbient"), loc("uMatDiffuse"),
            loc("uMatSpecular"), loc("uMatEmissive"), loc("uMatPower"), loc("uLit"),
            loc("uUseVertexColour"), loc("uHasBase"), loc("uSphereMap"), loc("uHasBump"),
            loc("uBumpLight"), loc("uBumpStrength"), loc("uHasDetail"), loc("uDetailScale"),
            loc("uHasLightmap")};
        gl->glUseProgram(p);
        gl->glUniform1i(loc("uBase"), BaseUnit);
        gl->glUniform1i(loc("uBump"), BumpUnit);
        gl->glUniform1i(loc("uDetail"), DetailUnit);
        gl->glUniform1i(loc("uLightmap"), LightmapUnit);

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

    // Makes the view's context current, (re)creating GL objects when the
    // context is new. False when there is no usable context.
    bool makeCurrent()
    {
        if (!view) {
            error = QStringLiteral("No render window");
            return false;
        }
        if (!view->isValid()) {
            // The view gets its context when first shown.
            if (!view->isVisible()) {
                error = QStringLiteral("The render window is not visible");
                return false;
            }
            (void)view->grabFramebuffer();
            if (!view->isValid()) {
                error = QStringLiteral("The OpenGL context was lost");
                return false;
            }
        }
        view->makeCurrent();
        QOpenGLContext* current = QOpenGLContext::currentContext();
        if (!current || !current->isValid()) {
            error = QStringLiteral("The OpenGL context was lost");
            return false;
        }
        if (current != context) {
            forgetGl();
            context = current;
            // The context goes away when the view is destroyed or moved to another
            // window; GPU copies are rebuilt from the CPU data on the next frame.
            QObject::connect(current, &QOpenGLContext::aboutToBeDestroyed, current, [this, current] {
                if (context != current)
                    return;
                if (QOpenGLContext::currentContext() == current)
                    freeGl();
                else
                    forgetGl();
            });
            if (!createGl()) {
                forgetGl();
                return false;
            }
        }
        return true;
    }

    QSize framebufferSize() const
    {
        if (!view)
            return {};
        return view->size() * view->devicePixelRatio();
    }

    void bindTarget()
    {
        gl->glBindFramebuffer(GL_FRAMEBUFFER, view->defaultFramebufferObject());
        const QSize size = framebufferSize();
        gl->glViewport(0, 0, size.width(), size.height());
        // The view is composed as an opaque surface: keep alpha at 1.
        gl->glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    }

    // --- resources ----------------------------------------------------------------------

    GLuint uploadTexture(const QImage& source, bool mipmapped)
    {
        GLint maxSize = 0;
        gl->glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
        const QImage image = textureUploadImage(source, std::min(maxSize, 8192));
        GLuint name = 0;
        gl->glGenTextures(1, &name);
        gl->glBindTexture(GL_TEXTURE_2D, name);
        gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image.width(), image.height(), 0, GL_RGBA,
                         GL_UNSIGNED_BYTE, image.constBits());
        if (mipmapped) {
            gl->glGenerateMipmap(GL_TEXTURE_2D);
            gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
            gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
            gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        } else {
            gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
            gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
            gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        }
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        return name;
    }

    GLuint texture(const TextureData& data)
    {
        auto makeImage = [&] { return data.isBumpMap ? bumpGradientImage(data.image) : data.image; };
        if (data.id == 0) {
            frameTextures.push_back(uploadTexture(makeImage(), true));
            return frameTextures.back();
        }
        auto it = textures.find(data.id);
        if (it != textures.end() && it->second.revision == data.revision)
            return it->second.name;
        if (it != textures.end())
            gl->glDeleteTextures(1, &it->second.name);
        GpuTexture& t = textures[data.id];
        t.name = uploadTexture(makeImage(), true);
        t.revision = data.revision;
        return t.name;
    }

    GpuMesh uploadMesh(const MeshGeometry& data)
    {
        GpuMesh m;
        const std::vector<std::uint32_t> indices = safeIndices(data);
        m.indexCount = std::uint32_t(indices.size());
        m.groups = safeGroups(data, m.indexCount);
        m.revision = data.revision;
        gl->glGenVertexArrays(1, &m.vao);
        gl->glGenBuffers(1, &m.vbo);
        gl->glGenBuffers(1, &m.ibo);
        gl->glBindVertexArray(m.vao);
        gl->glBindBuffer(GL_ARRAY_BUFFER, m.vbo);
        gl->glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(data.vertices.size() * sizeof(Vertex)),
                         data.vertices.data(), GL_STATIC_DRAW);
        gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m.ibo);
        gl->glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(std::uint32_t)),
                         indices.data(), GL_STATIC_DRAW);
        const auto stride = GLsizei(sizeof(Vertex));
        auto attribute = [&](GLuint index, GLint size, std::size_t offset) {
            gl->glEnableVertexAttribArray(index);
            gl->glVertexAttribPointer(index, size, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(offset));
        };
        attribute(0, 3, offsetof(Vertex, position));
        attribute(1, 3, offsetof(Vertex, normal));
        attribute(2, 2, offsetof(Vertex, uv));
        attribute(3, 2, offsetof(Vertex, uv2));
        attribute(4, 4, offsetof(Vertex, colour));
        gl->glBindVertexArray(0);
        return m;
    }

    const GpuMesh* mesh(const MeshGeometry& data)
    {
        if (data.vertices.empty() || data.indices.size() < 3)
            return nullptr;
        if (data.id == 0) {
            frameMeshes.push_back(uploadMesh(data));
            return &frameMeshes.back();
        }
        auto it = meshes.find(data.id);
        if (it != meshes.end() && it->second.revision == data.revision)
            return &it->second;
        if (it != meshes.end())
            deleteMesh(it->second);
        GpuMesh& m = meshes[data.id];
        m = uploadMesh(data);
        return &m;
    }

    void releaseId(ResourceId id)
    {
        if (auto it = textures.find(id); it != textures.end()) {
            gl->glDeleteTextures(1, &it->second.name);
            textures.erase(it);
        }
        if (auto it = meshes.find(id); it != meshes.end()) {
            deleteMesh(it->second);
            meshes.erase(it);
        }
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

    void setFrameUniforms(const FrameState& frame)
    {
        const glm::mat4 viewProjection = frame.projection * frame.view;
        gl->glUniformMatrix4fv(mu.viewProjection, 1, GL_FALSE, glm::value_ptr(viewProjection));
        gl->glUniformMatrix4fv(mu.view, 1, GL_FALSE, glm::value_ptr(frame.view));
        gl->glUniform3fv(mu.eye, 1, glm::value_ptr(frame.eyePosition));
        gl->glUniform4fv(mu.sceneAmbient, 1, glm::value_ptr(frame.ambient));

        int types[MaxLights] = {};
        glm::vec4 diffuse[MaxLights], specular[MaxLights], ambient[MaxLights], spot[MaxLights];
        glm::vec3 position[MaxLights], direction[MaxLights], attenuation[MaxLights];
        int count = 0;
        // Disabled lights are left out; the bump light index refers to the caller's list.
        for (const LightState& l : frame.lights) {
            if (count == MaxLights)
                break;
            types[count] = l.enabled ? int(l.type) : 0;
            diffuse[count] = l.diffuse;
            specular[count] = l.specular;
            ambient[count] = l.enabled ? l.ambient : glm::vec4(0.0f);
            position[count] = l.position;
            const float len = glm::length(l.direction);
            direction[count] = len > 0.0f ? l.direction / len : glm::vec3(0.0f, 0.0f, 1.0f);
            attenuation[count] = effectiveAttenuation(l);
            const float range = l.enabled ? std::max(l.range, 0.0f) : -1.0f;
            spot[count] = glm::vec4(range, std::cos(l.theta * 0.5f), std::cos(l.phi * 0.5f), l.falloff);
            if (!l.enabled) {
                diffuse[count] = specular[count] = glm::vec4(0.0f);
            }
            ++count;
        }
        gl->glUniform1i(mu.lightCount, count);
        if (count == 0)
            return;
        gl->glUniform1iv(mu.lightType, count, types);
        gl->glUniform4fv(mu.lightDiffuse, count, glm::value_ptr(diffuse[0]));
        gl->glUniform4fv(mu.lightSpecular, count, glm::value_ptr(specular[0]));
        gl->glUniform4fv(mu.lightAmbient, count, glm::value_ptr(ambient[0]));
        gl->glUniform3fv(mu.lightPosition, count, glm::value_ptr(position[0]));
        gl->glUniform3fv(mu.lightDirection, count, glm::value_ptr(direction[0]));
        gl->glUniform3fv(mu.lightAttenuation, count, glm::value_ptr(attenuation[0]));
        gl->glUniform4fv(mu.lightSpot, count, glm::value_ptr(spot[0]));
    }

    void bindStage(int unit, const TextureData* data, GLint flag)
    {
        const bool present = data != nullptr;
        gl->glUniform1i(flag, present ? 1 : 0);
        if (present) {
            gl->glActiveTexture(GL_TEXTURE0 + unit);
            gl->glBindTexture(GL_TEXTURE_2D, texture(*data));
        }
    }

    void drawItem(const DrawItem& item)
    {
        if (!item.mesh)
            return;
        const GpuMesh* m = mesh(*item.mesh);
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
        gl->glUniform1i(mu.lit, item.lit ? 1 : 0);
        gl->glUniform1i(mu.useVertexColour, item.useVertexColours && item.mesh->hasVertexColours ? 1 : 0);

        bindStage(BaseUnit, item.baseTexture, mu.hasBase);
        gl->glUniform1i(mu.sphereMap, item.sphereMap ? 1 : 0);
        const TextureData* bump = item.lit ? item.bumpTexture : nullptr;
        bindStage(BumpUnit, bump, mu.hasBump);
        gl->glUniform1i(mu.bumpLight, item.bumpLightIndex);
        gl->glUniform1f(mu.bumpStrength, item.bumpStrength);
        bindStage(DetailUnit, item.detailTexture, mu.hasDetail);
        gl->glUniform1f(mu.detailScale, item.detailScale);
        bindStage(LightmapUnit, item.lightmapTexture, mu.hasLightmap);

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
        const QSize size = framebufferSize();
        const qreal dpr = view->devicePixelRatio();
        gl->glUseProgram(quadProgram->programId());
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

    const GpuTexture* textTexture(const QFont& font, const QString& text)
    {
        const QString key = font.key() + QChar(0x1F) + text;
        if (auto it = textCache.constFind(key); it != textCache.constEnd())
            return &it.value();
        if (textCache.size() >= MaxTextCacheEntries) {
            for (const GpuTexture& t : std::as_const(textCache))
                gl->glDeleteTextures(1, &t.name);
            textCache.clear();
        }
        const QFontMetrics metrics(font);
        const QSize size(std::max(1, metrics.horizontalAdvance(text) + 2), std::max(1, metrics.height()));
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setFont(font);
            painter.setPen(Qt::white);
            painter.drawText(QPoint(0, metrics.ascent()), text);
        }
        GpuTexture t;
        t.name = uploadTexture(image.convertToFormat(QImage::Format_ARGB32), false);
        t.size = size;
        return &*textCache.insert(key, t);
    }

    QImage readFramebuffer()
    {
        const QSize size = framebufferSize();
        if (size.isEmpty())
            return {};
        QImage image(size, QImage::Format_RGBA8888);
        gl->glBindFramebuffer(GL_FRAMEBUFFER, view->defaultFramebufferObject());
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
    impl_->destroyView();
    if (!impl_->probeContext(error)) {
        impl_->error = error;
        return false;
    }
    auto* view = new GlView(pictureBox);   // owned by the picture box
    impl_->view = view;
    view->show();
    error.clear();
    return true;
}

void Renderer::detach() { impl_->destroyView(); }

bool Renderer::isAttached() const { return !impl_->view.isNull(); }

QSize Renderer::viewportSize() const
{
    return impl_->view ? impl_->view->parentWidget()->size() : QSize();
}

bool Renderer::beginFrame(const glm::vec4& clearColour, bool clearDepth)
{
    Impl& d = *impl_;
    d.inFrame = false;
    if (!d.makeCurrent())
        return false;
    d.freeFrameResources();
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
    d.bindTarget();
    const QSize size = d.view->size();
    Quad2D quad;
    quad.position = {glm::vec2(0, 0), glm::vec2(size.width(), 0), glm::vec2(size.width(), size.height()),
                     glm::vec2(0, size.height())};
    quad.blend = BlendMode::Opaque;
    d.drawQuad(quad, d.texture(picture));
}

void Renderer::drawItems(const FrameState& frame, std::span<const DrawItem> items)
{
    Impl& d = *impl_;
    if (!d.inFrame || items.empty() || !d.makeCurrent())
        return;
    d.bindTarget();
    d.gl->glUseProgram(d.meshProgram->programId());
    d.setFrameUniforms(frame);
    for (const DrawItem& item : items)
        d.drawItem(item);
    d.gl->glBindVertexArray(0);
}

void Renderer::drawQuad2D(const Quad2D& quad)
{
    Impl& d = *impl_;
    if (!d.inFrame || !d.makeCurrent())
        return;
    d.bindTarget();
    d.drawQuad(quad, quad.texture ? d.texture(*quad.texture) : 0);
}

void Renderer::drawText(const QFont& font, const QString& text, int x, int y, std::uint32_t argb)
{
    Impl& d = *impl_;
    if (text.isEmpty() || !d.inFrame || !d.makeCurrent())
        return;
    d.bindTarget();
    const GpuTexture* t = d.textTexture(font, text);
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
    if (!d.view) {
        d.error = QStringLiteral("No render window");
        return false;
    }
    if (!hadFrame)
        return d.view->isValid();
    d.gl->glFlush();
    d.view->update();
    if (d.presentClock.isValid())
        d.lastFrameMs = double(d.presentClock.nsecsElapsed()) / 1.0e6;
    d.presentClock.restart();
    return true;
}

double Renderer::lastFrameMilliseconds() const { return impl_->lastFrameMs; }

QImage Renderer::grabFrame()
{
    Impl& d = *impl_;
    if (!d.view || !d.view->isValid() || !d.makeCurrent())
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

void Renderer::release(ResourceId id)
{
    Impl& d = *impl_;
    if (id == 0 || !d.view || !d.view->isValid() || !d.gl)
        return;
    d.view->makeCurrent();
    d.releaseId(id);
}

} // namespace kl::gpu
