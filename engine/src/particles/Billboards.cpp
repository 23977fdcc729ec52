#include "particles/Billboards.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kl::particles {
namespace {

struct Axes {
    glm::vec3 right;
    glm::vec3 up;
    glm::vec3 forward;
};

// The camera's axes in world space: the rows of the view matrix's rotation.
Axes cameraAxes(const glm::mat4& view)
{
    const glm::vec3 right(view[0][0], view[1][0], view[2][0]);
    const glm::vec3 up(view[0][1], view[1][1], view[2][1]);
    const glm::vec3 forward(view[0][2], view[1][2], view[2][2]);
    return {right, up, forward};
}

// Upright squares keep world up and turn about it towards the camera; seen
// from straight above or below they face the camera instead.
Axes squareAxes(const glm::mat4& view, Facing facing)
{
    const Axes camera = cameraAxes(view);
    if (facing != Facing::Upright)
        return camera;
    const glm::vec3 worldUp(0.0f, 1.0f, 0.0f);
    const glm::vec3 level(camera.forward.x, 0.0f, camera.forward.z);
    if (glm::dot(level, level) < 1e-8f)
        return camera;
    const glm::vec3 forward = glm::normalize(level);
    return {glm::normalize(glm::cross(worldUp, forward)), worldUp, forward};
}

// Whether a zero source (alpha 0, or every channel 0) adds nothing and keeps
// the destination: 0 never, 1 with alpha 0, 2 only with every channel 0.
int sourceNeeds(gpu::BlendFactor source)
{
    switch (source) {
    case gpu::BlendFactor::Zero: return 1;
    case gpu::BlendFactor::SrcAlpha:
    case gpu::BlendFactor::SrcAlphaSat:
    case gpu::BlendFactor::BothSrcAlpha: return 1;
    default: return 2;   // any factor times a zero texel is zero
    }
}

int destinationNeeds(gpu::BlendFactor destination)
{
    switch (destination) {
    case gpu::BlendFactor::One: return 1;
    case gpu::BlendFactor::InvSrcAlpha: return 1;
    case gpu::BlendFactor::InvSrcColour: return 2;   // 1 - source colour, and 1 - source alpha for alpha
    default: return 0;
    }
}

} // namespace

SpriteCoverage spriteCoverage(gpu::BlendFactor source, gpu::BlendFactor destination)
{
    // As the renderer does, the "both" source factors decide the destination.
    if (source == gpu::BlendFactor::BothSrcAlpha)
        destination = gpu::BlendFactor::InvSrcAlpha;
    else if (source == gpu::BlendFactor::BothInvSrcAlpha)
        destination = gpu::BlendFactor::SrcAlpha;
    const int kept = destinationNeeds(destination);
    if (kept == 0)
        return SpriteCoverage::Everything;
    return std::max(kept, sourceNeeds(source)) == 1 ? SpriteCoverage::NonZeroAlpha : SpriteCoverage::NonZeroTexel;
}

SpriteFootprint spriteFootprint(const QImage& image, SpriteCoverage coverage)
{
    SpriteFootprint footprint;
    footprint.width = std::max(image.width(), 0);
    footprint.height = std::max(image.height(), 0);
    if (coverage == SpriteCoverage::Everything || image.isNull()) {
        footprint.x0 = footprint.y0 = 0;
        footprint.x1 = footprint.width - 1;
        footprint.y1 = footprint.height - 1;
        return footprint;
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    const bool alphaOnly = coverage == SpriteCoverage::NonZeroAlpha;
    footprint.x0 = footprint.width;
    footprint.y0 = footprint.height;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const bool shows = alphaOnly ? qAlpha(row[x]) != 0 : row[x] != 0;
            if (!shows)
                continue;
            footprint.x0 = std::min(footprint.x0, x);
            footprint.x1 = std::max(footprint.x1, x);
            footprint.y0 = std::min(footprint.y0, y);
            footprint.y1 = std::max(footprint.y1, y);
        }
    }
    footprint.empty = footprint.x1 < footprint.x0;
    return footprint;
}

SpriteRect visibleRect(const SpriteFootprint& footprint, int level)
{
    if (footprint.width <= 0 || footprint.height <= 0 || footprint.empty)
        return {};
    level = std::clamp(level, 0, 30);
    // Along one axis of `size` texels: level `level` has size >> level texels
    // (at least 1); the texels holding the footprint's ends, one more on each
    // side for filters reaching past their 2 x 2 block, and the bilinear
    // filter's half texel on top.
    const auto axis = [level](int size, int first, int last) {
        const int texels = std::max(1, size >> level);
        const float scale = float(texels) / float(size);
        const float low = (std::floor(float(first) * scale) - 1.5f) / float(texels);
        const float high = (std::floor(float(last) * scale) + 2.5f) / float(texels);
        return std::pair{std::clamp(low, 0.0f, 1.0f), std::clamp(high, 0.0f, 1.0f)};
    };
    const auto [u0, u1] = axis(footprint.width, footprint.x0, footprint.x1);
    const auto [v0, v1] = axis(footprint.height, footprint.y0, footprint.y1);
    return {{u0, v0}, {u1, v1}};
}

int spriteMipLevel(int textureSize, float edge, float depth, float pixelsPerUnit)
{
    constexpr int Coarsest = 30;
    const float pixels = edge * pixelsPerUnit / depth;
    if (!(pixels > 0.0f) || !std::isfinite(pixels) || textureSize <= 0)
        return Coarsest;
    // Nearest-level sampling: level 0 up to a level of detail of 0.5, then
    // the nearest whole level. The 0.1 covers the rasteriser's approximate log2.
    const float lod = std::log2(float(textureSize) / pixels) + 0.1f;
    if (lod <= 0.5f)
        return 0;
    return std::min(Coarsest, int(std::ceil(lod + 0.5f)) - 1);
}

bool trimsSquares(const BillboardStyle& style, const SpriteTrimming* trimming, const SpriteFootprint* footprint)
{
    // Only squares facing the camera are trimmed: their texels spread evenly
    // over the screen, so the mip level is known from the distance.
    return trimming && trimming->pixelsPerUnit > 0.0f && footprint && style.facing == Facing::Camera;
}

float lifeLeft(const Particle& particle)
{
    if (!(particle.life > 0.0f))
        return 0.0f;
    return std::clamp(1.0f - particle.age / particle.life, 0.0f, 1.0f);
}

glm::vec4 fadedColour(const Particle& particle, Fade fade)
{
    const float left = lifeLeft(particle);
    glm::vec4 colour = particle.colour;
    if (fade == Fade::Alpha)
        colour.a *= left;
    else if (fade == Fade::Colour)
        colour = glm::vec4(glm::vec3(colour) * left, colour.a);
    return colour;
}

glm::vec3 buildBillboards(std::span<const Particle> particles, const BillboardStyle& style, const glm::mat4& view,
                          gpu::MeshGeometry& mesh, std::vector<std::int32_t>& groupTextures,
                          const SpriteTrimming* trimming)
{
    // Particles by texture, each texture's run in birth order (or far to near).
    groupTextures.clear();
    std::vector<std::uint32_t> order(particles.size());
    std::iota(order.begin(), order.end(), 0u);
    std::vector<int> groupOf(particles.size());
    for (std::size_t i = 0; i < particles.size(); ++i) {
        const auto known = std::find(groupTextures.begin(), groupTextures.end(), particles[i].texture);
        groupOf[i] = int(known - groupTextures.begin());
        if (known == groupTextures.end())
            groupTextures.push_back(particles[i].texture);
    }
    const Axes axes = squareAxes(view, style.facing);
    const auto depth = [&](std::uint32_t i) { return glm::dot(particles[i].position, axes.forward); };
    if (groupTextures.size() > 1 || style.farToNear)
        std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
            if (groupOf[a] != groupOf[b])
                return groupOf[a] < groupOf[b];
            return style.farToNear && depth(a) > depth(b);
        });

    mesh.vertices.resize(particles.size() * 4);
    mesh.indices.resize(particles.size() * 6);
    mesh.groups.clear();
    mesh.hasVertexColours = true;
    ++mesh.revision;

    std::vector<const SpriteFootprint*> footprints(groupTextures.size(), nullptr);
    if (trimming && trimming->footprint)
        for (std::size_t g = 0; g < groupTextures.size(); ++g) {
            const SpriteFootprint* footprint = trimming->footprint(groupTextures[g]);
            footprints[g] = trimsSquares(style, trimming, footprint) ? footprint : nullptr;
        }
    const float viewDepthOffset = view[3][2];   // view-space z of the world origin

    const glm::vec3 normal = -axes.forward;
    static constexpr glm::vec2 Corners[4] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};   // (right, up), uv from top-left
    glm::vec3 sum(0.0f);
    int group = -1;   // mesh group g holds the squares of groupTextures[g]
    for (std::size_t slot = 0; slot < order.size(); ++slot) {
        const Particle& particle = particles[order[slot]];
        if (groupOf[order[slot]] != group) {
            group = groupOf[order[slot]];
            mesh.groups.push_back({std::uint32_t(slot * 6), 0});
        }
        mesh.groups.back().indexCount += 6;

        const float half = 0.5f * style.size * (style.shrinkWithAge ? lifeLeft(particle) : 1.0f);
        const glm::vec4 colour = fadedColour(particle, style.fade);
        SpriteRect rect;
        glm::vec2 level(0.0f);   // uv2: (mip level, 1) when the square is trimmed
        if (const SpriteFootprint* footprint = footprints.empty() ? nullptr : footprints[std::size_t(group)]) {
            const float viewZ = depth(order[slot]) + viewDepthOffset;
            const int mip = spriteMipLevel(std::max(footprint->width, footprint->height), 2.0f * half, viewZ,
                                           trimming->pixelsPerUnit);
            rect = visibleRect(*footprint, mip);
            level = {float(mip), 1.0f};
        }
        gpu::Vertex* quad = &mesh.vertices[slot * 4];
        for (int c = 0; c < 4; ++c) {
            gpu::Vertex& v = quad[c];
            // The corner's texture coordinates, and the point of the whole
            // square they belong to (uv (0, 0) at its top-left corner).
            v.uv = glm::vec2(Corners[c].x > 0 ? rect.max.x : rect.min.x, Corners[c].y > 0 ? rect.min.y : rect.max.y);
            const glm::vec2 across(2.0f * v.uv.x - 1.0f, 1.0f - 2.0f * v.uv.y);
            v.position = particle.position + (across.x * axes.right + across.y * axes.up) * half;
            v.normal = normal;
            v.uv2 = level;
            v.colour = colour;
        }
        const auto first = std::uint32_t(slot * 4);
        std::uint32_t* index = &mesh.indices[slot * 6];
        for (const std::uint32_t corner : {0u, 1u, 2u, 0u, 2u, 3u})
            *index++ = first + corner;
        sum += particle.position;
    }
    return particles.empty() ? glm::vec3(0.0f) : sum / float(particles.size());
}

} // namespace kl::particles
