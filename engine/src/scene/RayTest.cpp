#include "scene/RayTest.h"

#include "core/Context.h"
#include "core/ParallelBlocks.h"
#include "scene/MeshData.h"
#include "terrain/SegmentSweep.h"
#include "terrain/Terrain.h"

#include <algorithm>
#include <cmath>

namespace kl::scene {
namespace {

// Whether the segment from + t * direction, t in [0, maxT], meets the box.
bool segmentMeetsBox(const Aabb& box, const glm::vec3& from, const glm::vec3& direction, float maxT)
{
    if (!box.valid())
        return false;
    float near = 0.0f, far = maxT;
    for (int axis = 0; axis < 3; ++axis) {
        if (direction[axis] == 0.0f) {
            if (from[axis] < box.min[axis] || from[axis] > box.max[axis])
                return false;
            continue;
        }
        const float inverse = 1.0f / direction[axis];
        float t0 = (box.min[axis] - from[axis]) * inverse;
        float t1 = (box.max[axis] - from[axis]) * inverse;
        if (t0 > t1)
            std::swap(t0, t1);
        near = std::max(near, t0);
        far = std::min(far, t1);
        if (near > far)
            return false;
    }
    return true;
}

// Whether the box around the segment (finite end points) lies wholly beside
// `box`: then the segment cannot meet it. A test without divisions that
// turns away most segments of a bake before the exact one.
bool boxesApart(const Aabb& box, const glm::vec3& from, const glm::vec3& to)
{
    const glm::vec3 lo = glm::min(from, to), hi = glm::max(from, to);
    if (!std::isfinite(lo.x + lo.y + lo.z + hi.x + hi.y + hi.z))
        return false;
    return hi.x < box.min.x || lo.x > box.max.x || hi.y < box.min.y || lo.y > box.max.y || hi.z < box.min.z ||
           lo.z > box.max.z;
}

RayTargets::PlacedMesh placedMesh(MeshData& mesh)
{
    const MeshData::Placement& placement = mesh.placement();
    return {placement.inverse, placement.worldBounds, placement.invertible, &mesh.hierarchy()};
}

// Nearer hit of the segment on the placed mesh than `nearest`: its parameter and triangle.
bool hitMesh(const RayTargets::PlacedMesh& mesh, const glm::vec3& from, const glm::vec3& to, float nearest,
             RayHit& hit)
{
    if (!mesh.invertible || !mesh.hierarchy)
        return false;   // a mesh scaled to nothing cannot be hit
    if (boxesApart(mesh.worldBounds, from, to))
        return false;
    const glm::vec3 direction = to - from;
    if (!segmentMeetsBox(mesh.worldBounds, from, direction, nearest))
        return false;
    const glm::vec3 localOrigin(mesh.inverse * glm::vec4(from, 1.0f));
    const glm::vec3 localDirection(mesh.inverse * glm::vec4(direction, 0.0f));
    return mesh.hierarchy->intersect(localOrigin, localDirection, nearest, hit);
}

bool hitMesh(MeshData& mesh, const glm::vec3& from, const glm::vec3& to, float nearest, RayHit& hit)
{
    if (mesh.geometry.indices.empty())
        return false;
    return hitMesh(placedMesh(mesh), from, to, nearest, hit);
}

void fillResult(const RayAnswer& answer, const MeshData* mesh, KLCollisionResult& result)
{
    result.Hit = true;
    result.Type = answer.type;
    result.Point = {answer.point.x, answer.point.y, answer.point.z};
    result.Distance = answer.distance;
    if (mesh) {
        result.MeshName = mesh->name;
        result.Group = answer.group;
    }
}

} // namespace

bool rayTestMesh(const std::shared_ptr<MeshData>& mesh, const glm::vec3& from, const glm::vec3& to, float& nearest,
                 KLCollisionResult& result)
{
    RayHit hit;
    if (!mesh || !hitMesh(*mesh, from, to, nearest, hit))
        return false;
    nearest = hit.t;
    const RayAnswer answer{true, KL_COLLIDE_MESHES, from + (to - from) * hit.t, glm::length(to - from) * hit.t,
                           hit.t, 0, mesh->groupOfTriangle(hit.triangle)};
    fillResult(answer, mesh.get(), result);
    result.MeshState = mesh;
    return true;
}

RayTargets gatherRayTargets(core::Context& context, int types)
{
    RayTargets targets;
    gatherRayTargets(context, types, targets);
    return targets;
}

void gatherRayTargets(core::Context& context, int types, RayTargets& targets)
{
    targets.clear();
    if (types & KL_COLLIDE_MESHES) {
        const auto live = context.resources().meshes.live();
        for (std::size_t i = 0; i < live.size(); ++i) {
            if (!live[i]->visible || live[i]->geometry.indices.empty())
                continue;
            targets.placed.push_back(placedMesh(*live[i]));
            targets.meshes.push_back(live[i]);
            targets.meshIndices.push_back(int(i));
        }
    }
    if (types & KL_COLLIDE_LANDSCAPE)
        context.landscape().appendShapes(targets.landscapes);
}

namespace {

// For a batch: what the sweep settled for each landscape's surface (none:
// walk every segment), answers by segment index.
using SweptLands = std::vector<std::optional<terrain::SweptSegments>>;

terrain::SweepAnswer sweptAnswer(const SweptLands* swept, std::size_t landscape, std::size_t segment)
{
    if (!swept || !(*swept)[landscape])
        return terrain::SweepAnswer::Unknown;
    return (*swept)[landscape]->answers[segment];
}

RayAnswer nearestAnswer(const RayTargets& targets, const glm::vec3& from, const glm::vec3& to,
                        const SweptLands* swept, std::size_t segment)
{
    RayAnswer answer;
    float nearest = 1.0f;
    for (std::size_t l = 0; l < targets.landscapes.size(); ++l) {
        if (sweptAnswer(swept, l, segment) == terrain::SweepAnswer::Miss)
            continue;
        const terrain::TerrainShape* shape = targets.landscapes[l].get();
        const auto t = terrain::intersectSegment(shape->surface, shape->hierarchy, from, to);
        if (t && (!answer.hit || *t < nearest)) {
            nearest = *t;
            answer = {true, KL_COLLIDE_LANDSCAPE, {}, 0.0f, *t, -1, -1};
        }
    }
    // Meshes only count up to the nearest hit so far.
    for (std::size_t i = 0; i < targets.meshes.size(); ++i) {
        RayHit hit;
        if (hitMesh(targets.placed[i], from, to, nearest, hit)) {
            nearest = hit.t;
            answer = {true, KL_COLLIDE_MESHES, {}, 0.0f, hit.t, int(i),
                      targets.meshes[i]->groupOfTriangle(hit.triangle)};
        }
    }
    if (answer.hit) {
        answer.point = from + (to - from) * answer.t;
        answer.distance = glm::length(to - from) * answer.t;
    }
    return answer;
}

} // namespace

RayAnswer rayAnswer(const RayTargets& targets, const glm::vec3& from, const glm::vec3& to)
{
    return nearestAnswer(targets, from, to, nullptr, 0);
}

bool rayTestTargets(const RayTargets& targets, const glm::vec3& from, const glm::vec3& to, KLCollisionResult& result)
{
    result = KLCollisionResult{};
    const RayAnswer answer = rayAnswer(targets, from, to);
    if (!answer.hit)
        return false;
    const std::shared_ptr<MeshData>* mesh = answer.target >= 0 ? &targets.meshes[std::size_t(answer.target)] : nullptr;
    fillResult(answer, mesh ? mesh->get() : nullptr, result);
    if (mesh)
        result.MeshState = *mesh;
    return true;
}

namespace {

// Blocks small enough that the cores finish a call within a fraction of a
// millisecond of each other.
constexpr std::size_t kSegmentBlock = 512;

glm::vec3 toGlm(const D3DVECTOR& v)
{
    return {v.x, v.y, v.z};
}

// The sweep of each landscape for a batch (most segments of a bake are
// settled by it; the rest are walked).
SweptLands sweepLands(const RayTargets& targets, const D3DVECTOR* starts, const D3DVECTOR* ends, std::size_t count)
{
    SweptLands swept;
    for (const auto& shape : targets.landscapes)
        swept.push_back(terrain::sweepSegments(shape->surface, starts, ends, count));
    return swept;
}

bool anyHit(const RayTargets& targets, const glm::vec3& from, const glm::vec3& to, const SweptLands* swept,
            std::size_t segment)
{
    for (std::size_t l = 0; l < targets.landscapes.size(); ++l) {
        const terrain::SweepAnswer known = sweptAnswer(swept, l, segment);
        if (known == terrain::SweepAnswer::Hit)
            return true;
        if (known == terrain::SweepAnswer::Miss)
            continue;
        const terrain::TerrainShape& shape = *targets.landscapes[l];
        const float clearUntil = swept && (*swept)[l] ? (*swept)[l]->walkFrom[segment] : 0.0f;
        if (terrain::hitsBeyond(shape.surface, shape.hierarchy, from, to, clearUntil))
            return true;
    }
    for (const RayTargets::PlacedMesh& mesh : targets.placed) {
        RayHit hit;
        if (hitMesh(mesh, from, to, 1.0f, hit))
            return true;
    }
    return false;
}

} // namespace

bool rayHits(const RayTargets& targets, const glm::vec3& from, const glm::vec3& to)
{
    return anyHit(targets, from, to, nullptr, 0);
}

void rayTestBatch(const RayTargets& targets, const D3DVECTOR* starts, const D3DVECTOR* ends, std::size_t count,
                  KLRayHit* results)
{
    const SweptLands swept = sweepLands(targets, starts, ends, count);
    core::forEachInBlocks(count, kSegmentBlock, [&](std::size_t i) {
        const RayAnswer answer = nearestAnswer(targets, toGlm(starts[i]), toGlm(ends[i]), &swept, i);
        KLRayHit& out = results[i];
        out.Hit = answer.hit;
        out.Type = answer.hit ? answer.type : 0;
        out.Point = {answer.point.x, answer.point.y, answer.point.z};
        out.Distance = answer.distance;
        out.Mesh = answer.target >= 0 ? targets.meshIndices[std::size_t(answer.target)] : -1;
        out.Group = answer.group;
    });
}

void rayHitBatch(const RayTargets& targets, const D3DVECTOR* starts, const D3DVECTOR* ends, std::size_t count,
                 std::uint8_t* hits)
{
    const SweptLands swept = sweepLands(targets, starts, ends, count);
    core::forEachInBlocks(count, kSegmentBlock, [&](std::size_t i) {
        hits[i] = anyHit(targets, toGlm(starts[i]), toGlm(ends[i]), &swept, i) ? 1 : 0;
    });
}

} // namespace kl::scene
