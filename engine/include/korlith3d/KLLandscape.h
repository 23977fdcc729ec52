// The landscape: terrain built from a grey height-map picture, in square land
// chunks of 256 x 256 world units, with height and normal queries and the
// textures, material and lightmap it is drawn with.
//
// Landlume's build, in this order (values as it passes them):
//   SetHeightFactor(FactorY);
//   GenerateTerrain(heightmap, 4, Width, Height, 0, 0, 0);
//   SpreadTexture(GetTex("Terrain_Texture"), 0, 0, Width, Height, false);
//   SetMaterial(GetMat("LandMat"), -1, 0);
//   SetDetailTexture(GetTex("Detail_Texture")); SetDetailTiling(5.0f, 5.0f, -1);
//   later SetLightmap(GetTex("LightMap")); per frame Render(true, false);
//   "Apply": DestroyTerrain() and release (the destructor).
//
// The surface. Every terrain is a grid of points `precision` world units apart;
// each grid cell is split into two triangles along its diagonal from the
// (low x, low z) corner to the (high x, high z) corner. Those triangles are the
// one surface of the landscape: the chunk meshes draw them, GetHeight and
// GetNormal answer for them, and scene ray tests (KLScene::RayTest with
// KL_COLLIDE_LANDSCAPE) hit them.
//
// The height map. Any size and any picture format the engine reads (BMP, JPG,
// PNG, GIF, TIF, DDS). An 8-bit grey picture gives its levels; a colour picture
// is read as its brightness (11 R + 16 G + 5 B) / 32. The picture is stretched
// over the whole land: its first pixel lies at the land's corner (x0, z0), its
// last at the far corner (x0 + LandWidth, z0 + LandHeight), pixel columns along
// x, pixel row 0 at the lowest z (no vertical flip); between pixels it is
// interpolated bilinearly. A grid point's height is that grey level (0..255)
// x the height factor + the position's y. When the picture's pixels fall on
// grid points (the shipped 513 x 513 map on 8 x 8 chunks at precision 4, or
// any (n x 256 / precision + 1)-pixel map on n chunks) the heights at the grid
// points are exactly grey x factor.
//
// The lightmap. Lightmap pixel column c covers world x = x0 + c x LandWidth /
// lightmap width, row r covers z = z0 + r x LandHeight / lightmap height, row 0
// at z = z0 (no vertical flip); the whole picture spans the whole land. It
// darkens the lit colour multiplicatively (white leaves it, black makes it
// black).
#pragma once

#include "korlith3d/Export.h"

#include "korlith3d/types.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace kl::core {
class Context;
}
namespace kl::terrain {
struct LandscapeData;
struct TextureLayerList;
}

class KL_API KLLandscape {
public:
    // The landscape joins the engine's landscapes: while it has terrain, scene
    // ray tests with KL_COLLIDE_LANDSCAPE hit it. Throws KLERR_NOT_INITIALISED
    // when no KLEngine exists.
    KLLandscape();
    // Release: the landscape and its terrain leave the engine.
    ~KLLandscape();
    KLLandscape(const KLLandscape&) = delete;
    KLLandscape& operator=(const KLLandscape&) = delete;

    // Scale from grey level to world height, used by the next GenerateTerrain
    // (a terrain that exists keeps its heights). Default 1.0.
    void SetHeightFactor(float factor);
    float GetHeightFactor() const;

    // Builds the terrain from the height map `file` (relative paths resolve
    // against the search folder, without regard to case) over chunksX x chunksZ
    // land chunks, its corner at (x, y, z), replacing any terrain it had.
    //
    // precision: world units between grid points, one of 1, 2, 4, 8, 16, 32,
    // 64, 128, 256, so a chunk is 256 / precision cells wide. Landlume's 4 gives
    // 64 x 64 cells (65 x 65 vertices) per chunk, one grid point every 4 units.
    //
    // Errors, each leaving the terrain the landscape had in place:
    //   KLERR_INVALID_CALL: another precision, or a chunk count <= 0;
    //   KLERR_OUT_OF_MEMORY: the terrain would need more than 4 GiB (checked
    //     before anything is allocated);
    //   KLERR_FILE_NOT_FOUND / KLERR_BAD_FILE_FORMAT: the file is missing, or is
    //     not a picture the engine reads; the description names the file.
    void GenerateTerrain(const QString& file, int precision, int chunksX, int chunksZ, float x = 0.0f,
                         float y = 0.0f, float z = 0.0f);
    // Removes the terrain: no drawing, no ray-test hits, heights 0. The chunk
    // settings (textures, material, detail) go with it; the height factor and
    // the lightmap stay for the next terrain.
    void DestroyTerrain();
    bool HasTerrain() const;

    // --- The terrain's extent (0 without terrain) ---
    int GetChunksX() const;
    int GetChunksZ() const;
    int GetPrecision() const;
    float GetLandWidth() const;    // chunksX x 256
    float GetLandHeight() const;   // chunksZ x 256, along z

    // --- Queries (world units) ---
    // Height of the surface at (x, z). Outside the land: the height of the
    // nearest edge point (the land's edge continued outwards). 0 without terrain.
    float GetHeight(float x, float z) const;
    // Unit normal of the surface triangle under (x, z), pointing DOWN, into the
    // ground (y < 0): (0, -1, 0) on flat land. Its negation is the up
    // direction that Landlume leans placed objects towards. Outside the land:
    // the normal at the nearest edge point. (0, -1, 0) without terrain.
    D3DVECTOR GetNormal(float x, float z) const;

    // --- Chunk settings (need terrain: KLERR_INVALID_CALL otherwise; a new
    // terrain starts without textures, with the default material) ---
    // Colour texture over the rectangle of countX x countZ chunks from chunk
    // (firstX, firstZ); chunks of the rectangle outside the land are skipped.
    // repeatPerChunk false: the texture is stretched once over the whole
    // rectangle (Landlume's call); true: it repeats once on every chunk.
    // Texture row 0 lies at the rectangle's (or chunk's) lowest z.
    // Unknown texture: KLERR_UNKNOWN_ID; a count <= 0: KLERR_INVALID_CALL.
    void SpreadTexture(int textureId, int firstX, int firstZ, int countX, int countZ, bool repeatPerChunk);
    // Material of every chunk (chunkX = -1, chunkZ ignored) or of the chunk at
    // column chunkX, row chunkZ. Unknown material: KLERR_UNKNOWN_ID; a chunk
    // outside the land: KLERR_INVALID_CALL.
    void SetMaterial(int materialId, int chunkX = -1, int chunkZ = 0);
    // Detail texture, laid over the colour texture, on every chunk or one
    // (same chunk rule as SetMaterial).
    void SetDetailTexture(int textureId, int chunkX = -1, int chunkZ = 0);
    // How often the detail texture repeats across one chunk, along x (u) and
    // z (v); default 1 x 1. Same chunk rule as SetMaterial.
    void SetDetailTiling(float tileU, float tileV, int chunkX = -1, int chunkZ = 0);

    // Lightmap texture of the whole land (mapping above); 0 removes it. A new
    // terrain keeps it. Unknown texture: KLERR_UNKNOWN_ID.
    void SetLightmap(int textureId);
    int GetLightmap() const;

    // Draws the terrain in the scene's view with its camera and lights (call
    // between Clear and RenderToScreen): each chunk with its colour texture,
    // its detail texture over it (doubling, as a detail stage does) and the
    // lightmap, lit with the chunk's material, among the frame's opaque items.
    // cullChunks: chunks whose bounds lie wholly outside the view are skipped.
    // wireframe is recorded and ignored: the terrain is always drawn solid.
    // Chunks within 512 units of the eye are drawn with every grid triangle;
    // farther ones with every 2nd, 4th or 8th grid point (one step per doubling
    // of the distance), with skirts below their borders so no gaps show.
    // Landlume: Render(true, false). Without a view: KLERR_NOT_INITIALISED.
    void Render(bool cullChunks = true, bool wireframe = false);

    // --- Terrain texture generation (needs no terrain and no view) ---
    //
    // Layerloom's calls: ClearTextureLayers(); per layer, in list order,
    // AddTextureLayer(path, min, max, power, uScale, vScale, 0.0f);
    // GenerateTexture(heightMap, output, resolution).
    //
    // The blend. The height map (any size, any picture format the engine
    // reads; a colour picture counts as its brightness, as in GenerateTerrain)
    // is stretched over the output, its first and last pixels at the output's
    // outer edges: output column x reads the map at column
    // (x + 1/2) x (map width - 1) / resolution, rows alike, output row 0 over
    // map row 0 (no flip), bilinearly between map pixels. At each output pixel
    // every layer gets a weight:
    //   altitude: 1 well inside [min, max] (min above max: the same range the
    //     other way round), 0 well outside. Each end of the range is an edge of
    //     power x 8 grey levels on either side, across which the weight rises
    //     smoothly (3t^2 - 2t^3) from 0 to 1: at the end itself it is 1/2.
    //     Power 0 (or negative) gives hard edges: 1 inside, 0 outside. At the
    //     defaults 0..255 and 1.5 the edges reach 12 levels beyond the range,
    //     so neighbouring layers cross-fade over 24 levels.
    //   slope (the seventh value): 0 has no effect. A positive value is the
    //     steepest slope the layer covers, a negative one the gentlest (rock on
    //     cliffs), in grey levels per height-map pixel; the weight fades over
    //     +-25% of the limit. The slope is the length of the map's gradient
    //     (central differences over one map pixel).
    // Overlapping layers combine by normalised weights: the colour is the sum
    // of weight x texel over the sum of the weights, so the order of the layers
    // does not matter and a single covering layer shows exactly its texture.
    // Where no layer has weight (a gap between ranges) the layer whose range is
    // nearest shows alone (the first of equals). When no layer has a slope
    // limit the weights are worked out once per 16th of a grey level and the
    // altitude is read to the nearest 16th.
    // U and V scales: how often the layer's picture repeats across the whole
    // output (1: once; 2: twice; fractions show part of it; 0: one colour
    // along that direction, where the picture's last and first texels meet;
    // negative mirrors the direction; not a number counts as 0); read bilinearly (to a
    // 256th of a texel), wrapping at its borders, so a 256-texel picture at
    // scale 2 on a 512 output gives every texel exactly. Layer pictures may be
    // of any size and of every format the texture factory reads.

    // Empties the list of texture layers.
    void ClearTextureLayers();
    // Appends a layer; returns its index in the list (0 for the first). The
    // picture is read by GenerateTexture. More than kMaxTextureLayers layers:
    // KLERR_INVALID_CALL.
    int AddTextureLayer(const QString& texture, int altitudeMin, int altitudeMax, float blendPower,
                        float uScale, float vScale, float slopeLimit = 0.0f);
    int GetTextureLayerCount() const;
    static constexpr int kMaxTextureLayers = 256;
    // Blends the layers over the height map into a 24-bit BMP of resolution x
    // resolution at `output` (relative paths resolve against the search
    // folder), on every core; the same inputs give the same bytes whatever
    // the number of cores. Returns when the file is written. Every picture is
    // read before anything is written, and the file is written whole or not
    // at all: on failure the output path keeps what it held before.
    // Errors (KLError, naming the file):
    //   KLERR_INVALID_CALL: no layers; resolution outside 1..8192;
    //   KLERR_FILE_NOT_FOUND / KLERR_BAD_FILE_FORMAT: the height map or a
    //     layer's picture is missing or not a picture the engine reads;
    //   KLERR_FILE_ACCESS: the output cannot be written;
    //   KLERR_OUT_OF_MEMORY: not enough memory for the output.
    void GenerateTexture(const QString& heightMap, const QString& output, int resolution);

private:
    kl::terrain::LandscapeData& state() const { return *data_; }

    std::shared_ptr<kl::core::Context> context_;
    std::shared_ptr<kl::terrain::LandscapeData> data_;
    // Made on the first AddTextureLayer.
    std::shared_ptr<kl::terrain::TextureLayerList> textureLayers_;
};
