// A height map picture made into a terrain, as GenerateTerrain does: the
// first three bytes choose the layout (a coarse grid, one or two chunks each
// way, the height factor), the rest is the picture file.
#include "FuzzSupport.h"

#include "heightfield/HeightField.h"
#include "image/ImageLoader.h"
#include "terrain/Terrain.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    kl::terrain::TerrainLayout layout;
    layout.precision = 256 >> (data[0] & 3);   // 1 to 8 cells a chunk keeps a run fast
    layout.chunkColumns = 1 + (data[1] & 1);
    layout.chunkRows = 1 + ((data[1] >> 1) & 1);
    layout.heightFactor = float(int(data[2]) - 128) / 16.0f;
    const auto loaded = kl::image::decodeImage(fuzz::bytesOf(data + 3, size - 3), QStringLiteral("fuzz"));
    if (loaded.image.isNull())
        return 0;
    const kl::terrain::HeightField heights = kl::terrain::heightFieldFromImage(loaded.image);
    if (heights.width() != loaded.image.width() || heights.height() != loaded.image.height())
        fuzz::fail("the height field does not match the picture");
    const kl::terrain::Terrain terrain = kl::terrain::buildTerrain(heights, layout);
    if (terrain.chunks.size() != std::size_t(layout.chunkColumns * layout.chunkRows))
        fuzz::fail("a terrain has not one chunk per grid place");
    const kl::terrain::HeightField grid = kl::terrain::gridHeights(heights, layout);
    for (const float h : grid.values())
        if (!std::isfinite(h) || std::abs(h) > 255.0f * 8.0f + 1.0f)
            fuzz::fail("a terrain height is outside the height map's range");
    return 0;
}
