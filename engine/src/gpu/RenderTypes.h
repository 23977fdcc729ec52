// Plain CPU-side data the renderer consumes. The scene objects own this data
// and hand it over by reference each frame; the renderer keeps GPU copies keyed
// by id and uploads again when the revision changes.
#pragma once

#include <QImage>

#include <glm/glm.hpp>

#include <array>
#include <cstdint>
#include <vector>

namespace kl::gpu {

// Identifies a texture or mesh for the GPU cache. Ids must be unique across
// textures and meshes of one renderer and are never reused; 0 means "do not cache"
// (uploaded for this frame only).
using ResourceId = std::uint64_t;

struct TextureData {
    ResourceId id = 0;
    std::uint32_t revision = 0;   // bump after changing the image
    QImage image;                 // any format; converted to ARGB32 on upload
    // A bump texture: its luminance is a height field whose gradient perturbs
    // the surface normal (the colour itself is not drawn).
    bool isBumpMap = false;
};

struct Vertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f, 1.0f, 0.0f};
    glm::vec2 uv{0.0f};           // base texture, top-left origin (D3D convention)
    glm::vec2 uv2{0.0f};          // second set (lightmap); copy of uv when absent
    glm::vec4 colour{1.0f};       // RGBA 0..1, used when MeshGeometry::hasVertexColours
    glm::vec2 detailUv{0.0f};     // detail texture, used when DrawItem::detailOwnUv (terrain)
};

// A run of indices drawn with one material (a subset of an X or 3DS model).
struct MeshGroup {
    std::uint32_t firstIndex = 0;
    std::uint32_t indexCount = 0;
};

// Triangle list. Indices must be < vertices.size(); out-of-range triangles are
// dropped at upload rather than read out of bounds.
struct MeshGeometry {
    ResourceId id = 0;
    std::uint32_t revision = 0;
    std::vector<Vertex> vertices;
    std::vector<std::uint32_t> indices;
    std::vector<MeshGroup> groups;   // empty: one group with every index
    bool hasVertexColours = false;
    // Rewritten (nearly) every frame, as billboards are: sent through the shared
    // streaming buffer at each draw instead of a static GPU copy per revision.
    bool streamed = false;
};

// D3DMATERIAL8 colours; all RGBA 0..1.
struct MaterialColors {
    glm::vec4 ambient{1.0f};
    glm::vec4 diffuse{1.0f};
    glm::vec4 specular{0.0f};
    glm::vec4 emissive{0.0f};
    float power = 0.0f;
};

// D3DLIGHTTYPE values.
enum class LightType : std::int32_t { Point = 1, Spot = 2, Directional = 3 };

// The D3DLIGHT8 fields. Positions and directions are in world space (left-handed,
// as the caller's matrices). Theta and phi are full cone angles in radians.
struct LightState {
    LightType type = LightType::Directional;
    glm::vec4 diffuse{1.0f};
    glm::vec4 specular{1.0f};
    glm::vec4 ambient{0.0f};
    glm::vec3 position{0.0f};
    glm::vec3 direction{0.0f, 0.0f, 1.0f};
    float range = 1000.0f;
    float falloff = 1.0f;
    float attenuation0 = 1.0f;
    float attenuation1 = 0.0f;
    float attenuation2 = 0.0f;
    float theta = 0.0f;
    float phi = 0.0f;
    bool enabled = true;

    bool operator==(const LightState&) const = default;
};

inline constexpr int MaxLights = 8;

// How a drawn colour is combined with what is already in the frame.
enum class BlendMode {
    Opaque,         // replaces; alpha ignored
    Alpha,          // src·a + dst·(1−a)
    Additive,       // src + dst
    AdditiveAlpha,  // src·a + dst
    Multiply,       // src·dst
    Factors,        // src·DrawItem::sourceFactor + dst·DrawItem::destinationFactor
};

// Direct3D 8 blend factors, numbered as D3DBLEND. BothSrcAlpha and
// BothInvSrcAlpha set both factors from the source one (as a source factor
// they override the destination factor).
enum class BlendFactor : int {
    Zero = 1,
    One = 2,
    SrcColour = 3,
    InvSrcColour = 4,
    SrcAlpha = 5,
    InvSrcAlpha = 6,
    DestAlpha = 7,
    InvDestAlpha = 8,
    DestColour = 9,
    InvDestColour = 10,
    SrcAlphaSat = 11,
    BothSrcAlpha = 12,
    BothInvSrcAlpha = 13,
};

// Mesh texture sampling: nearest texel, bilinear within the nearest mip level,
// or trilinear (bilinear blended between two levels).
enum class TextureFilter { Nearest = 0, Bilinear = 1, Trilinear = 2 };

enum class CullMode {
    None,
    Clockwise,          // drop triangles clockwise on screen
    CounterClockwise,   // drop triangles counter-clockwise on screen (D3D default)
};

// Where an item falls in the frame's draw order (see DrawQueue): the sky first,
// never writing depth; then opaque meshes and terrain; then blended items far to
// near. Automatic takes Opaque or Blended from the item's blend mode.
enum class DrawLayer { Automatic, Sky, Opaque, Blended };

// One mesh (or one group of it) to draw this frame.
struct DrawItem {
    const MeshGeometry* mesh = nullptr;     // required; items without a mesh are skipped
    int group = -1;                         // index into mesh->groups, -1 = whole mesh
    glm::mat4 world{1.0f};                  // column-vector convention (see FrameState)
    MaterialColors material;

    const TextureData* baseTexture = nullptr;  // modulates the lit colour
    bool sphereMap = false;                    // base texture addressed by the reflected view vector

    const TextureData* bumpTexture = nullptr;  // isBumpMap texture; perturbs the normal
    int bumpLightIndex = 0;                    // light the bump relief is lit by (index in FrameState::lights)
    float bumpStrength = 1.0f;                 // height scale of the relief

    // Stages drawn after the base texture: detail (modulate ×2, tiled by
    // detailScale) and lightmap (modulate, second uv set).
    const TextureData* detailTexture = nullptr;
    float detailScale = 1.0f;
    bool detailOwnUv = false;   // detail addressed by Vertex::detailUv instead of uv x detailScale
    const TextureData* lightmapTexture = nullptr;

    bool lit = true;               // false: colour = diffuse colour (times the textures), no lights
    bool useVertexColours = false; // vertex colour replaces the material's diffuse colour
    BlendMode blend = BlendMode::Opaque;
    BlendFactor sourceFactor = BlendFactor::One;        // with BlendMode::Factors
    BlendFactor destinationFactor = BlendFactor::Zero;  // with BlendMode::Factors
    bool depthTest = true;
    bool depthWrite = true;
    CullMode cull = CullMode::None;
    // The base texture is sampled clamped to its edge texels instead of
    // repeating, so faces that meet (a sky box) show no seam from the far edge.
    bool clampToEdge = false;
    // Particle sprites: the base texture is sampled bilinear from the nearest
    // mip level and clamped, whatever the mesh filter — small, short-lived
    // squares look the same and cost a third less to fill than trilinear.
    bool spriteSampling = false;
    // Sprites whose vertices carry the mip level to read (uv2.x, a whole
    // number; buildBillboards puts it there for trimmed squares): read at
    // that level, the per-pixel level choice skipped (a quarter of the fill).
    bool spriteLevelInVertices = false;
    // The base texture is never shown smaller than its own texels (a sky box
    // face filling the view): sampled from its full-size level alone with the
    // magnifying filter, which looks the same and skips the per-pixel mip
    // level choice.
    bool baseMagnified = false;
    // Drawn at the far plane (window depth 1) with the depth test on: set by
    // the draw order on a sky drawn after the opaque scene, so it is shaded
    // only where nothing covers it.
    bool atFarPlane = false;

    DrawLayer layer = DrawLayer::Automatic;
    // Point, in the item's own coordinates, whose view depth orders blended items.
    glm::vec3 depthCentre{0.0f};
};

// Per-frame camera and lights.
//
// Matrices follow GLM's column-vector convention: clip = projection · view · world · p.
// Build view and projection as Direct3D does (glm::lookAtLH, glm::perspectiveLH_NO) so
// world-space numbers mean the same as in D3D. A row-major D3DMATRIX has the same
// sixteen floats in memory as the glm::mat4 of the same transform, so a plain copy
// converts one into the other.
struct FrameState {
    glm::mat4 view{1.0f};
    glm::mat4 projection{1.0f};
    glm::vec3 eyePosition{0.0f};
    glm::vec4 ambient{0.0f};              // scene ambient (D3DRS_AMBIENT)
    std::vector<LightState> lights;       // at most MaxLights used; index = light index

    bool operator==(const FrameState&) const = default;
};

// A screen-space quad; corners are top-left, top-right, bottom-right, bottom-left.
struct Quad2D {
    std::array<glm::vec2, 4> position{};   // pixels, origin top-left of the view
    std::array<glm::vec2, 4> uv{glm::vec2(0, 0), glm::vec2(1, 0), glm::vec2(1, 1), glm::vec2(0, 1)};
    std::array<std::uint32_t, 4> argb{0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu, 0xFFFFFFFFu};
    const TextureData* texture = nullptr;  // null: vertex colours only
    BlendMode blend = BlendMode::Alpha;
};

} // namespace kl::gpu
