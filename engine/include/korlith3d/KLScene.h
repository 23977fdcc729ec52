// The scene: meshes, camera, lights and scene-wide render settings.
//
// Glazery's set-up and frame calls (values as it passes them):
//   SetCamera(0,50,-30, 0,50,0); SetShadeMode(2); SetFieldOfView(50.0f); SetCullMode(2);
//   SetLighting(true)   (bump mapping "On" calls SetLighting(false), "Off" SetLighting(true))
//   per frame: Update(1.0f); SetDepthMode(2); ... RenderAll(true)
// Emberly: SetShadeMode(2).
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/KLMesh.h"
#include "korlith3d/types.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace kl::core {
class Context;
}

class KL_API KLScene {
public:
    KLScene();
    ~KLScene();

    // A new empty mesh in the scene.
    KLMesh CreateMesh(const QString& name = QString());
    // Meshes currently in the scene, in creation order.
    int GetMeshCount() const;
    KLMesh GetMesh(int index) const;
    KLMesh FindMesh(const QString& name) const;   // empty handle when absent

    // Draws every visible mesh. Blended meshes are drawn after every opaque one
    // rendered in the same frame (terrain included); with `sortTransparent`
    // farthest first by the view depth of their origins, otherwise in creation
    // order.
    void RenderAll(bool sortTransparent = true);

    // --- Camera (the engine's one view camera; KLCamera reaches the same) ---
    void SetCamera(float eyeX, float eyeY, float eyeZ, float atX, float atY, float atZ);
    void SetCameraPosition(float x, float y, float z);
    void SetCameraLookAt(float x, float y, float z);
    D3DVECTOR GetCameraPosition() const;
    D3DVECTOR GetCameraLookAt() const;

    // --- Scene-wide settings ---
    // Clear colour of the view (components 0..1).
    void SetColor(float r, float g, float b);
    D3DCOLORVALUE GetColor() const;
    // Scene ambient light added to every lit mesh (× material ambient); default
    // 0.5 grey, so a material's ambient colour reads clearly.
    void SetAmbientLight(float r, float g, float b);
    D3DCOLORVALUE GetAmbientLight() const;
    // Shading: 1 flat, 2 smooth (recorded; lighting is always evaluated per pixel).
    void SetShadeMode(int mode);
    // Vertical field of view in degrees (default 45).
    void SetFieldOfView(float degrees);
    float GetFieldOfView() const;
    // Near and far planes (default 1 and 10000).
    void SetClipPlanes(float nearPlane, float farPlane);
    // Default culling for meshes that did not choose: 1 none, 2 back faces, 3 front faces.
    void SetCullMode(int mode);
    // Lighting of meshes. Off, meshes without bump mapping show their flat
    // diffuse colour; bump-mapped meshes stay lit (their relief needs the light).
    void SetLighting(bool on);
    bool GetLighting() const;
    // Advances scene time by the last frame's time × timeScale.
    void Update(float timeScale = 1.0f);
    // Depth buffer: 0 off, 1 test only, 2 test and write (default).
    void SetDepthMode(int mode);

    // Text drawn over the finished frame when it is presented (pixels, packed ARGB).
    void DrawText(const QString& text, int x, int y, std::uint32_t argb = 0xFFFFFFFFu);

    // --- Ray tests (the nearest hit wins) ---
    // Segment from `from` to `to`; `types` is a KLCollisionType mask:
    // KL_COLLIDE_MESHES (1) the visible meshes, KL_COLLIDE_LANDSCAPE (4) the
    // terrain of every landscape, KL_COLLIDE_ALL (5) both. result.Type tells
    // which was hit. The terrain is hit where the segment meets its surface,
    // from above or below, within the land's extent. precision and flags are
    // accepted and ignored: every test is exact.
    //   Landlume's lightmap: RayTest(start, end, result, 5 / 4 / 1, 3, 0).
    bool RayTest(const D3DVECTOR& from, const D3DVECTOR& to, KLCollisionResult& result,
                 int types = KL_COLLIDE_MESHES, int precision = 3, int flags = 0) const;
    // Many segments in one call, for long computations such as a lightmap
    // bake: segment i from starts[i] to ends[i], tested on all cores; results
    // in input order, each the hit RayTest reports for that segment (the same
    // values on any number of cores). Sizes that differ: KLERR_INVALID_CALL.
    // Quickest for a bake's segments: 4096 or more, all along one direction,
    // many starting on shared lines of that direction (as from a grid of
    // points towards one light). Most of them are then settled from the
    // land's profile along their line, each profile followed once.
    std::vector<KLRayHit> RayTestBatch(std::span<const D3DVECTOR> starts, std::span<const D3DVECTOR> ends,
                                       int types = KL_COLLIDE_ALL) const;
    // Only whether each segment hits: element i is 1 exactly when
    // RayTestBatch(starts, ends, types)[i].Hit, else 0. Quicker where the
    // place of the hit does not matter (a shadow test): the search ends at
    // the first hit found, and the meshes are not tried once the land is hit.
    //   Landlume's lightmap: RayTestBatchHits(starts, ends, 5 / 4 / 1).
    std::vector<std::uint8_t> RayTestBatchHits(std::span<const D3DVECTOR> starts, std::span<const D3DVECTOR> ends,
                                               int types = KL_COLLIDE_ALL) const;
    // Ray from the camera through the view pixel (x, y), to the far plane.
    KLCollisionResult MousePick(int x, int y, int types = KL_COLLIDE_MESHES, int precision = 1) const;

private:
    std::shared_ptr<kl::core::Context> context_;
};
