// Records shared by the engine objects: the DirectX 8 layouts the tools hand
// over, the collision result and the engine's error type.
#pragma once

#include "korlith3d/Export.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>

// --- DirectX 8 record layouts (byte-compatible with the published headers) ---

struct D3DVECTOR {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

struct D3DCOLORVALUE {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

// Row-major 4x4 matrix; row-vector convention as in Direct3D (v' = v * M), so
// rows 1-3 of a rotation matrix are the object's right, up and forward axes and
// row 4 holds a translation.
struct D3DMATRIX {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
};

// Light types as in D3DLIGHTTYPE.
enum D3DLIGHTTYPE : std::int32_t {
    D3DLIGHT_POINT = 1,
    D3DLIGHT_SPOT = 2,
    D3DLIGHT_DIRECTIONAL = 3,
};

// Theta and Phi are the inner and outer cone angles of a spot light, in radians.
struct D3DLIGHT8 {
    std::int32_t Type = D3DLIGHT_DIRECTIONAL;
    D3DCOLORVALUE Diffuse;
    D3DCOLORVALUE Specular;
    D3DCOLORVALUE Ambient;
    D3DVECTOR Position;
    D3DVECTOR Direction;
    float Range = 0.0f;
    float Falloff = 0.0f;
    float Attenuation0 = 0.0f;
    float Attenuation1 = 0.0f;
    float Attenuation2 = 0.0f;
    float Theta = 0.0f;
    float Phi = 0.0f;
};

static_assert(sizeof(D3DVECTOR) == 12);
static_assert(sizeof(D3DCOLORVALUE) == 16);
static_assert(sizeof(D3DMATRIX) == 64);
static_assert(sizeof(D3DLIGHT8) == 104);
static_assert(offsetof(D3DLIGHT8, Diffuse) == 4);
static_assert(offsetof(D3DLIGHT8, Specular) == 20);
static_assert(offsetof(D3DLIGHT8, Ambient) == 36);
static_assert(offsetof(D3DLIGHT8, Position) == 52);
static_assert(offsetof(D3DLIGHT8, Direction) == 64);
static_assert(offsetof(D3DLIGHT8, Range) == 76);
static_assert(offsetof(D3DLIGHT8, Falloff) == 80);
static_assert(offsetof(D3DLIGHT8, Attenuation0) == 84);
static_assert(offsetof(D3DLIGHT8, Theta) == 96);
static_assert(offsetof(D3DLIGHT8, Phi) == 100);

// --- Collision types for ray tests and picks (bits, may be combined) ---
enum KLCollisionType : int {
    KL_COLLIDE_MESHES = 1,
    KL_COLLIDE_LANDSCAPE = 4,
    KL_COLLIDE_ALL = 5,   // meshes and landscape
};

class KLMesh;
namespace kl::scene {
struct MeshData;
}

// Result of a ray test or mouse pick: the nearest hit, a visible mesh or the
// landscape's terrain.
struct KL_API KLCollisionResult {
    bool Hit = false;
    // What was hit: KL_COLLIDE_MESHES or KL_COLLIDE_LANDSCAPE (0 when nothing).
    int Type = 0;
    D3DVECTOR Point;          // world-space point of the hit
    float Distance = 0.0f;    // from the ray's start to Point
    QString MeshName;         // name of the mesh hit (empty for none and for the land)
    int Group = -1;           // group (subset) of the mesh hit
    // The mesh hit; a kept result does not keep a released mesh alive.
    std::weak_ptr<kl::scene::MeshData> MeshState;

    // The mesh hit as an engine object (an empty KLMesh when nothing was hit
    // or the mesh has been released since).
    KLMesh Mesh() const;
};

// One answer of a batch ray test (KLScene::RayTestBatch): the same hit a
// single RayTest reports, as plain values.
struct KLRayHit {
    bool Hit = false;
    int Type = 0;             // KL_COLLIDE_MESHES or KL_COLLIDE_LANDSCAPE (0 when nothing)
    D3DVECTOR Point;          // world-space point of the hit
    float Distance = 0.0f;    // from the segment's start to Point
    int Mesh = -1;            // the mesh hit, as KLScene::GetMesh(Mesh) at the time of the call; -1 otherwise
    int Group = -1;           // group of the mesh hit
};

// --- Errors ---

// Error numbers carried by KLError (the usual run-time error numbers where one fits).
enum KLErrorNumber : int {
    KLERR_INVALID_CALL = 5,        // argument out of range, call in the wrong state
    KLERR_OUT_OF_MEMORY = 7,       // the request would need more memory than the engine allows
    KLERR_UNKNOWN_ID = 9,          // no texture/material/light/font with that id or name
    KLERR_FILE_NOT_FOUND = 53,     // missing file
    KLERR_FILE_ACCESS = 75,        // file exists but cannot be read or written
    KLERR_NOT_INITIALISED = 91,    // engine not created, or rendering before Init3DWindowedMode
    KLERR_BAD_FILE_FORMAT = 321,   // malformed image or model
    KLERR_DEVICE_LOST = 1000,      // the GL context was lost
};

// Every failing engine operation throws KLError; the description names the
// file, id or name involved. The same text is written to the debug log.
class KL_API KLError : public std::runtime_error {
public:
    KLError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    // Defined in the library, so its type information lives there once.
    ~KLError() override;

    int Number() const { return number_; }
    const QString& Description() const { return description_; }

private:
    int number_;
    QString description_;
};
