// Draws mesh items: picks each item's program variant, sets the frame's camera
// and lights once per program and draw call, binds the texture stages with the
// chosen filter and sets the item's blend, depth and cull state. Streamed
// geometry goes through the pass's stream buffer, the rest through the
// resources' static copies.
#pragma once

#include "gpu/GpuResources.h"
#include "gpu/MeshPrograms.h"
#include "gpu/RenderTypes.h"
#include "gpu/StreamBuffer.h"

#include <QOpenGLExtraFunctions>
#include <QString>

#include <cstdint>
#include <span>

namespace kl::gpu {

// Every call but forget and setTextureFilter needs the context current.
class MeshPass {
public:
    void create(QOpenGLExtraFunctions& gl);
    // Deletes the GL objects.
    void free();
    // The context is gone with its objects: drop the names.
    void forget();

    // Sampling of mesh textures (all mip-mapped, repeating); applied at once
    // when the GL objects exist and the context is current, and to the
    // objects made later.
    void setTextureFilter(TextureFilter filter, bool contextCurrent);
    TextureFilter textureFilter() const { return filter_; }

    // A failing shader variant leaves its items undrawn and its log in `error`.
    void draw(const FrameState& frame, std::span<const DrawItem> items, GpuResources& resources, QString& error);

private:
    void applyFilter();
    void setFrameUniforms(const MeshUniforms& mu, const FrameState& frame, const PackedLights& lights);
    void bindStage(int unit, const TextureData* data, GpuResources& resources);
    void bindBaseSampler(const DrawItem& item);
    void setFarPlane(bool on);
    void drawItem(const FrameState& frame, const PackedLights& lights, const DrawItem& item,
                  GpuResources& resources, QString& error);

    QOpenGLExtraFunctions* gl_ = nullptr;
    MeshProgramCache programs_;
    const MeshProgram* bound_ = nullptr;
    std::uint64_t drawSerial_ = 0;
    GLuint sampler_ = 0;        // the chosen filter, repeating
    GLuint clampSampler_ = 0;   // the chosen filter, clamped to the edge texels
    GLuint spriteSampler_ = 0;  // bilinear from the nearest mip level, clamped
    GLuint magnifiedSampler_ = 0;   // the chosen filter's magnifying half from level 0, clamped
    bool atFarPlane_ = false;       // depth range squeezed to the far plane
    GLuint baseSampler_ = 0;    // the one bound to the base unit now
    TextureFilter filter_ = TextureFilter::Trilinear;
    StreamBuffer stream_;
};

} // namespace kl::gpu
