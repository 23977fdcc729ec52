#include "gpu/MeshPass.h"

#include "gpu/GlState.h"
#include "gpu/Shaders.h"

#include <glm/gtc/type_ptr.hpp>

#include <cstddef>

namespace kl::gpu {

static_assert(sizeof(Vertex) == 16 * sizeof(float), "Vertex is uploaded as packed floats");

namespace {

constexpr int StageUnits[] = {BaseUnit, BumpUnit, DetailUnit, LightmapUnit};

} // namespace

void MeshPass::create(QOpenGLExtraFunctions& gl)
{
    gl_ = &gl;
    programs_.setFunctions(&gl);
    gl.glGenSamplers(1, &sampler_);
    gl.glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_S, GL_REPEAT);
    gl.glSamplerParameteri(sampler_, GL_TEXTURE_WRAP_T, GL_REPEAT);
    gl.glGenSamplers(1, &clampSampler_);
    gl.glSamplerParameteri(clampSampler_, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.glSamplerParameteri(clampSampler_, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.glGenSamplers(1, &magnifiedSampler_);
    gl.glSamplerParameteri(magnifiedSampler_, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.glSamplerParameteri(magnifiedSampler_, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.glGenSamplers(1, &spriteSampler_);
    gl.glSamplerParameteri(spriteSampler_, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    gl.glSamplerParameteri(spriteSampler_, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    gl.glSamplerParameteri(spriteSampler_, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    gl.glSamplerParameteri(spriteSampler_, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    applyFilter();
}

void MeshPass::free()
{
    if (gl_) {
        gl_->glDeleteSamplers(1, &sampler_);
        gl_->glDeleteSamplers(1, &clampSampler_);
        gl_->glDeleteSamplers(1, &magnifiedSampler_);
        gl_->glDeleteSamplers(1, &spriteSampler_);
        stream_.free(*gl_);
    }
    forget();
}

void MeshPass::forget()
{
    programs_.clear();
    programs_.setFunctions(nullptr);
    bound_ = nullptr;
    sampler_ = 0;
    clampSampler_ = 0;
    magnifiedSampler_ = 0;
    spriteSampler_ = 0;
    baseSampler_ = 0;
    stream_.forget();
    atFarPlane_ = false;
    gl_ = nullptr;
}

void MeshPass::setTextureFilter(TextureFilter filter, bool contextCurrent)
{
    filter_ = filter;
    if (contextCurrent)
        applyFilter();
}

void MeshPass::applyFilter()
{
    if (!gl_ || sampler_ == 0)
        return;
    GLint minFilter = GL_LINEAR_MIPMAP_LINEAR;
    GLint magFilter = GL_LINEAR;
    if (filter_ == TextureFilter::Nearest) {
        minFilter = GL_NEAREST_MIPMAP_NEAREST;
        magFilter = GL_NEAREST;
    } else if (filter_ == TextureFilter::Bilinear) {
        minFilter = GL_LINEAR_MIPMAP_NEAREST;
    }
    for (const GLuint sampler : {sampler_, clampSampler_}) {
        gl_->glSamplerParameteri(sampler, GL_TEXTURE_MIN_FILTER, minFilter);
        gl_->glSamplerParameteri(sampler, GL_TEXTURE_MAG_FILTER, magFilter);
    }
    // Minifying and magnifying alike with the magnifying filter from level 0:
    // what the chosen filter gives wherever a texel covers a pixel or more.
    gl_->glSamplerParameteri(magnifiedSampler_, GL_TEXTURE_MIN_FILTER, magFilter);
    gl_->glSamplerParameteri(magnifiedSampler_, GL_TEXTURE_MAG_FILTER, magFilter);
}

void MeshPass::draw(const FrameState& frame, std::span<const DrawItem> items, GpuResources& resources,
                    QString& error)
{
    if (!gl_ || items.empty())
        return;
    ++drawSerial_;
    bound_ = nullptr;
    const PackedLights lights = packLights(frame);
    for (int unit : StageUnits)
        gl_->glBindSampler(GLuint(unit), sampler_);
    baseSampler_ = sampler_;
    for (const DrawItem& item : items)
        drawItem(frame, lights, item, resources, error);
    setFarPlane(false);
    for (int unit : StageUnits)
        gl_->glBindSampler(GLuint(unit), 0);
    gl_->glBindVertexArray(0);
}

void MeshPass::setFrameUniforms(const MeshUniforms& mu, const FrameState& frame, const PackedLights& p)
{
    const glm::mat4 viewProjection = frame.projection * frame.view;
    gl_->glUniformMatrix4fv(mu.viewProjection, 1, GL_FALSE, glm::value_ptr(viewProjection));
    gl_->glUniformMatrix4fv(mu.view, 1, GL_FALSE, glm::value_ptr(frame.view));
    gl_->glUniform3fv(mu.eye, 1, glm::value_ptr(frame.eyePosition));
    gl_->glUniform4fv(mu.sceneAmbient, 1, glm::value_ptr(frame.ambient));
    if (p.count == 0)
        return;
    gl_->glUniform4fv(mu.lightDiffuse, p.count, glm::value_ptr(p.diffuse[0]));
    gl_->glUniform4fv(mu.lightSpecular, p.count, glm::value_ptr(p.specular[0]));
    gl_->glUniform4fv(mu.lightAmbient, p.count, glm::value_ptr(p.ambient[0]));
    gl_->glUniform3fv(mu.lightPosition, p.count, glm::value_ptr(p.position[0]));
    gl_->glUniform3fv(mu.lightDirection, p.count, glm::value_ptr(p.direction[0]));
    gl_->glUniform3fv(mu.lightAttenuation, p.count, glm::value_ptr(p.attenuation[0]));
    gl_->glUniform4fv(mu.lightSpot, p.count, glm::value_ptr(p.spot[0]));
}

void MeshPass::bindStage(int unit, const TextureData* data, GpuResources& resources)
{
    if (data) {
        gl_->glActiveTexture(GLenum(GL_TEXTURE0 + unit));
        gl_->glBindTexture(GL_TEXTURE_2D, resources.texture(*data));
    }
}

void MeshPass::bindBaseSampler(const DrawItem& item)
{
    GLuint wanted = item.clampToEdge ? clampSampler_ : sampler_;
    if (item.spriteSampling)
        wanted = spriteSampler_;
    else if (item.baseMagnified && item.clampToEdge)
        wanted = magnifiedSampler_;
    if (wanted != baseSampler_) {
        gl_->glBindSampler(GLuint(BaseUnit), wanted);
        baseSampler_ = wanted;
    }
}

void MeshPass::setFarPlane(bool on)
{
    if (on == atFarPlane_)
        return;
    // Every fragment at window depth 1: drawn where the depth buffer still
    // holds its clear value (the depth function is less-or-equal).
    gl_->glDepthRangef(on ? 1.0f : 0.0f, 1.0f);
    atFarPlane_ = on;
}

void MeshPass::drawItem(const FrameState& frame, const PackedLights& lights, const DrawItem& item,
                        GpuResources& resources, QString& error)
{
    if (!item.mesh)
        return;
    const GpuMesh* m = item.mesh->streamed ? stream_.write(*gl_, *item.mesh) : resources.mesh(*item.mesh);
    if (!m)
        return;
    MeshGroup range{m->firstIndex, m->indexCount};
    if (item.group >= 0) {
        if (std::size_t(item.group) >= m->groups.size())
            return;
        range = m->groups[std::size_t(item.group)];
    }
    if (range.indexCount == 0)
        return;

    const unsigned features = meshFeatures(item);
    MeshProgram* program = programs_.program(features, lights, error);
    if (!program)
        return;
    const MeshUniforms& mu = program->uniforms;
    if (bound_ != program) {
        gl_->glUseProgram(program->program->programId());
        bound_ = program;
    }
    if (program->frameSerial != drawSerial_) {
        setFrameUniforms(mu, frame, lights);
        program->frameSerial = drawSerial_;
    }

    gl_->glUniformMatrix4fv(mu.world, 1, GL_FALSE, glm::value_ptr(item.world));
    const glm::mat3 linear(item.world);
    const glm::mat3 normalMatrix =
        std::abs(glm::determinant(linear)) > 1e-12f ? glm::transpose(glm::inverse(linear)) : linear;
    gl_->glUniformMatrix3fv(mu.normalMatrix, 1, GL_FALSE, glm::value_ptr(normalMatrix));

    const MaterialColors& mat = item.material;
    gl_->glUniform4fv(mu.matAmbient, 1, glm::value_ptr(mat.ambient));
    gl_->glUniform4fv(mu.matDiffuse, 1, glm::value_ptr(mat.diffuse));
    gl_->glUniform4fv(mu.matSpecular, 1, glm::value_ptr(mat.specular));
    gl_->glUniform4fv(mu.matEmissive, 1, glm::value_ptr(mat.emissive));
    gl_->glUniform1f(mu.matPower, mat.power);

    bindStage(BaseUnit, item.baseTexture, resources);
    bindBaseSampler(item);
    if (features & shaders::BumpMap) {
        bindStage(BumpUnit, item.bumpTexture, resources);
        const bool known = item.bumpLightIndex >= 0 && item.bumpLightIndex < MaxLights;
        gl_->glUniform1i(mu.bumpLight, known ? lights.slotOf[item.bumpLightIndex] : -1);
        gl_->glUniform1f(mu.bumpStrength, item.bumpStrength);
    }
    bindStage(DetailUnit, item.detailTexture, resources);
    gl_->glUniform1f(mu.detailScale, item.detailScale);
    gl_->glUniform1i(mu.detailOwnUv, item.detailOwnUv ? 1 : 0);
    bindStage(LightmapUnit, item.lightmapTexture, resources);

    setBlend(*gl_, item.blend, item.sourceFactor, item.destinationFactor);
    setDepth(*gl_, item.depthTest, item.depthWrite);
    setFarPlane(item.atFarPlane);
    setCull(*gl_, item.cull);

    gl_->glBindVertexArray(m->vao);
    gl_->glDrawElements(GL_TRIANGLES, GLsizei(range.indexCount), GL_UNSIGNED_INT,
                        reinterpret_cast<void*>(std::size_t(range.firstIndex) * sizeof(std::uint32_t)));
}

} // namespace kl::gpu
