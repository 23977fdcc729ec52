// Geometry rewritten every frame goes through the streaming buffer: each frame
// shows the latest vertices, several streamed meshes share one frame, and no
// buffer object is made after the first frame however much streams through.
#include "PixelTestSupport.h"

#include "gpu/GlState.h"

#include <gtest/gtest.h>

using namespace kl::gpu;
using namespace kl::gpu::test;

namespace {

// `across` × `down` quads tiling the rectangle [left, right] × [bottom, top]
// in the z = 0 plane, facing the front camera.
MeshGeometry billboards(ResourceId id, int across, int down, float left, float right, float bottom, float top)
{
    MeshGeometry mesh;
    mesh.id = id;
    mesh.revision = 1;
    mesh.streamed = true;
    const float w = (right - left) / float(across);
    const float h = (top - bottom) / float(down);
    for (int row = 0; row < down; ++row)
        for (int column = 0; column < across; ++column) {
            const auto first = std::uint32_t(mesh.vertices.size());
            const float x = left + float(column) * w;
            const float y = bottom + float(row) * h;
            for (const glm::vec2 corner : {glm::vec2(0, 1), glm::vec2(1, 1), glm::vec2(1, 0), glm::vec2(0, 0)}) {
                Vertex v;
                v.position = {x + corner.x * w, y + corner.y * h, 0};
                v.normal = {0, 0, -1};
                mesh.vertices.push_back(v);
            }
            for (const std::uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u})
                mesh.indices.push_back(first + i);
        }
    return mesh;
}

void shift(MeshGeometry& mesh, float dx)
{
    for (Vertex& v : mesh.vertices)
        v.position.x += dx;
}

DrawItem emissive(const MeshGeometry& mesh, glm::vec3 colour)
{
    DrawItem item;
    item.mesh = &mesh;
    item.material.ambient = item.material.diffuse = glm::vec4(0, 0, 0, 1);
    item.material.emissive = glm::vec4(colour, 1);
    return item;
}

bool near(glm::vec4 got, glm::vec3 expected)
{
    return glm::all(glm::lessThan(glm::abs(glm::vec3(got) - expected), glm::vec3(3.0f / 255.0f)));
}

class StreamedGeometry : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fixture.attached()) << fixture.attachError().toStdString(); }
    RenderFixture fixture;
    FrameState frame = frontCamera(2, QSize(160, 120));
};

} // namespace

TEST_F(StreamedGeometry, EachFrameShowsTheVerticesAsTheyAreNowWithoutANewRevision)
{
    MeshGeometry quad = billboards(50, 1, 1, -1.5f, -0.5f, -0.5f, 0.5f);   // on the left
    const DrawItem item = emissive(quad, {1, 0, 0});
    QImage image = fixture.render(frame, {&item, 1});
    EXPECT_TRUE(near(pixelColour(image, 30, 60), {1, 0, 0}));
    EXPECT_TRUE(near(pixelColour(image, 130, 60), {0, 0, 0}));

    shift(quad, 2.0f);   // to the right; the revision stays as it was
    image = fixture.render(frame, {&item, 1});
    EXPECT_TRUE(near(pixelColour(image, 30, 60), {0, 0, 0}));
    EXPECT_TRUE(near(pixelColour(image, 130, 60), {1, 0, 0}));
}

TEST_F(StreamedGeometry, ThreeEmittersOfAThousandBillboardsMakeNoBuffersAfterTheFirstFrame)
{
    // Three bands, one emitter each, every band tiled by 40 × 25 quads.
    std::vector<MeshGeometry> emitters;
    for (int e = 0; e < 3; ++e)
        emitters.push_back(billboards(ResourceId(60 + e), 40, 25, -1.6f, 1.6f, 0.4f - 0.4f * float(e),
                                      0.8f - 0.4f * float(e)));
    const glm::vec3 colours[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    std::vector<DrawItem> items;
    for (int e = 0; e < 3; ++e)
        items.push_back(emissive(emitters[std::size_t(e)], colours[e]));

    QImage image = fixture.render(frame, items);
    const std::uint64_t buffersAfterFirstFrame = buffersCreated();
    for (int f = 0; f < 1000 / 3 * 3; f += 3) {   // a few hundred frames, every vertex moving
        for (MeshGeometry& mesh : emitters)
            shift(mesh, f % 2 == 0 ? 0.001f : -0.001f);
        image = fixture.render(frame, items);
    }
    EXPECT_EQ(buffersCreated(), buffersAfterFirstFrame);
    // Band centres at y = 0.6, 0.2, -0.2 world units: rows 60 - y·60/1.155.
    for (int e = 0; e < 3; ++e) {
        const int row = 60 - int((0.6f - 0.4f * float(e)) * 60.0f / 1.1547f);
        EXPECT_TRUE(near(pixelColour(image, 80, row), colours[e])) << "emitter " << e;
    }
    EXPECT_TRUE(near(pixelColour(image, 80, 110), {0, 0, 0}));
}

TEST_F(StreamedGeometry, GeometryLargerThanTheBufferGrowsItInPlace)
{
    MeshGeometry small = billboards(71, 1, 1, -1.5f, -1.0f, -0.25f, 0.25f);
    const DrawItem first = emissive(small, {1, 1, 0});
    fixture.render(frame, {&first, 1});
    const std::uint64_t buffers = buffersCreated();

    // 8000 quads: 32 000 vertices, more than the buffer first holds.
    MeshGeometry large = billboards(72, 100, 80, -0.5f, 1.5f, -1.0f, 1.0f);
    const DrawItem items[] = {first, emissive(large, {0, 1, 1})};
    const QImage image = fixture.render(frame, items);
    EXPECT_EQ(buffersCreated(), buffers);
    EXPECT_TRUE(near(pixelColour(image, 14, 60), {1, 1, 0}));
    EXPECT_TRUE(near(pixelColour(image, 120, 60), {0, 1, 1}));
}
