#include "particles/Billboards.h"

#include <algorithm>
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

} // namespace

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
                          gpu::MeshGeometry& mesh, std::vector<std::int32_t>& groupTextures)
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
        gpu::Vertex* quad = &mesh.vertices[slot * 4];
        for (int c = 0; c < 4; ++c) {
            gpu::Vertex& v = quad[c];
            v.position = particle.position + (Corners[c].x * axes.right + Corners[c].y * axes.up) * half;
            v.normal = normal;
            v.uv = glm::vec2(Corners[c].x > 0 ? 1.0f : 0.0f, Corners[c].y > 0 ? 0.0f : 1.0f);
            v.uv2 = v.uv;
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
