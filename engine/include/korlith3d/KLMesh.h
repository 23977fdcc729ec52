// A mesh of the scene: an X or 3DS model or built geometry, with position,
// rotation, scale, and per-group texture, material and colour.
//
// KLMesh is a shared handle: copies refer to the same mesh. The mesh belongs to
// the scene that created it and leaves the scene (is no longer drawn or hit by
// ray tests) when the last handle to it is gone.
//
// Preparation the tools use after a load (values as they pass them):
//   Glazery : LoadX(file, true, true) or Load3DS(file, true, true, false, true, true) + Optimize();
//             SetCullMode(1); SetTexture(GetTex("Fabric")); SetMaterial(id);
//             SetRenderOptions(true, 0, true, true); SetPosition(0, 50, 0); SetScale(s)
//   Emberly : Load3DS(file, false, false, false, true, true); SetTexture(id, -1);
//             SetDepthBuffer(true, true); floor also Optimize()
//   Landlume: LoadX(file, true, true) / Load3DS(...); SetLighting(true)
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <QString>

#include <memory>

class KL_API KLMesh {
public:
    KLMesh();   // an empty handle; every operation on it throws KLERR_NOT_INITIALISED
    explicit KLMesh(std::shared_ptr<kl::scene::MeshData> data);

    bool IsNull() const { return !data_; }
    bool operator==(const KLMesh& other) const { return data_ == other.data_; }

    // --- Loading (replaces any geometry the mesh had) ---
    // Relative paths resolve against the engine's search folder, without regard
    // to case. A missing file throws KLERR_FILE_NOT_FOUND, a malformed one
    // KLERR_BAD_FILE_FORMAT; the mesh is then left as it was.
    // loadTextures: textures named by the file are loaded (from the model's folder).
    // loadMaterials: the file's material colours are used; otherwise white.
    void LoadX(const QString& file, bool loadTextures = true, bool loadMaterials = true);
    // 3D Studio model; 3DS stores z up, the loader turns it to the engine's y up.
    // flipFaces: reverse the winding; joinVertices: merge identical vertices;
    // generateNormals: smooth normals replace the file's.
    void Load3DS(const QString& file, bool loadTextures = true, bool loadMaterials = true,
                 bool flipFaces = false, bool joinVertices = true, bool generateNormals = true);
    // Finishing step after a load: merges groups that share texture and material
    // and builds the ray-test hierarchy now rather than at the first test.
    void Optimize();

    // Adds a textured vertical wall: a quad from (x1, bottom, z1) to
    // (x2, bottom + height, z2); the texture repeats tileU times along the wall
    // and tileV times upward. Its front faces the viewer who sees x1 on the left
    // (from (0, 0, -1) for a wall from -x to +x); doubleSided draws and hits both
    // sides; flipFront turns the front to the other side. Returns the new group.
    //   Glazery's backdrop: AddWall(GetTex("Back"), -200, 50, 200, 50, 400, 0, 8, 8, true, false)
    int AddWall(int textureId, float x1, float z1, float x2, float z2, float height, float bottom,
                float tileU, float tileV, bool doubleSided, bool flipFront);

    // --- Placement ---
    void SetPosition(float x, float y, float z);
    D3DVECTOR GetPosition() const;
    // Rotation angles in degrees about x, y and z, applied z, then x, then y
    // (roll, pitch, yaw as in Direct3D); positive turns are clockwise looking
    // along the axis toward the origin, as in a left-handed system.
    void SetRotation(float x, float y, float z);
    D3DVECTOR GetRotation() const;
    // The rotation as a row-major matrix (rows: right, up, forward). Setting it
    // replaces the angles (GetRotation then returns angles equivalent to it).
    D3DMATRIX GetRotationMatrix() const;
    void SetRotationMatrix(const D3DMATRIX& m);
    void SetScale(float s);
    void SetScale(float x, float y, float z);
    D3DVECTOR GetScale() const;
    // The whole transform (scale, rotation, translation) as drawn.
    D3DMATRIX GetWorldMatrix() const;

    void SetName(const QString& name);
    QString GetName() const;

    // --- Surface (group -1 = all groups) ---
    void SetTexture(int textureId, int group = -1);   // 0 = no texture
    void SetMaterial(int materialId, int group = -1); // 0 = the default white material
    // Flat colour: replaces the material's diffuse and ambient (components 0..1).
    void SetColor(float r, float g, float b, float a, int group = -1);
    int GetTexture(int group = 0) const;
    int GetMaterial(int group = 0) const;
    D3DCOLORVALUE GetColor(int group = 0) const;

    void SetVisible(bool visible);
    bool IsVisible() const;

    // Sphere (environment) mapping: the base texture is addressed by the
    // reflected view direction. textureId 0 reflects each group's own texture.
    // allGroups false applies to group 0 only.
    void SetSphereMapping(bool on, int textureId = 0, bool allGroups = true);
    bool GetSphereMapping() const;
    // Bump mapping with a bump texture, lit by the given light (1..8);
    // strength scales the relief. group -1 = all groups.
    void SetBumpMapping(bool on, int bumpTextureId, int lightIndex, int group = -1, float strength = 5.0f);
    bool GetBumpMapping() const;

    // --- Set-up switches ---
    // Culling: 1 none (both sides drawn), 2 back faces (default), 3 front faces.
    void SetCullMode(int mode);
    // lighting: lit by lights and materials (false: flat diffuse colour);
    // blendMode: 0 opaque, 1 alpha, 2 additive, 3 additive by alpha, 4 multiply;
    // depth test and depth write.
    void SetRenderOptions(bool lighting, int blendMode, bool depthTest, bool depthWrite);
    void SetLighting(bool on);
    void SetDepthBuffer(bool test, bool write);
    // Vertex colours of the model replace the material's diffuse colour.
    void SetUseVertexColors(bool on);

    // Draws the mesh now (between KLEngine::Clear and RenderToScreen).
    void Render();

    // --- Geometry queries ---
    int GetVertexCount() const;
    int GetTriangleCount() const;
    int GetGroupCount() const;
    // Model-space bounds (before scale, rotation and position).
    void GetBoundingBox(D3DVECTOR& min, D3DVECTOR& max) const;
    // Ray test against this mesh alone (world space); the segment from `from`
    // to `to`. Hidden meshes still answer.
    bool RayTest(const D3DVECTOR& from, const D3DVECTOR& to, KLCollisionResult& result) const;

    std::shared_ptr<kl::scene::MeshData> data() const { return data_; }

private:
    kl::scene::MeshData& state() const;
    std::shared_ptr<kl::scene::MeshData> data_;
};
