// The frame's draw order: layers, depth sorting of blended items, and when
// a queue takes items of another camera.
#include "gpu/DrawQueue.h"

#include <glm/gtc/matrix_transform.hpp>

#include <gtest/gtest.h>

using namespace kl::gpu;

namespace {

// Items tell themselves apart by their emissive red channel.
DrawItem item(float tag, BlendMode blend, float z, DrawLayer layer = DrawLayer::Automatic)
{
    DrawItem d;
    d.material.emissive.r = tag;
    d.blend = blend;
    d.layer = layer;
    d.world[3] = glm::vec4(0, 0, z, 1);
    return d;
}

std::vector<float> tags(const std::vector<DrawItem>& items)
{
    std::vector<float> result;
    for (const DrawItem& d : items)
        result.push_back(d.material.emissive.r);
    return result;
}

// Eye at the origin looking along +z (left-handed, as the engine's cameras).
const glm::mat4 LookingAlongZ = glm::lookAtLH(glm::vec3(0), glm::vec3(0, 0, 1), glm::vec3(0, 1, 0));

} // namespace

TEST(DrawOrder, SkyThenOpaqueInOrderThenBlendedFarToNearStableOnTies)
{
    std::vector<DrawItem> items = {
        item(1, BlendMode::Alpha, 5),     item(2, BlendMode::Opaque, 1),  item(3, BlendMode::Additive, 9),
        item(4, BlendMode::Opaque, 50),   item(5, BlendMode::Opaque, 20, DrawLayer::Sky),
        item(6, BlendMode::Multiply, 5),  item(7, BlendMode::Alpha, -3),   // behind the eye: nearest
        item(8, BlendMode::Alpha, 2, DrawLayer::Opaque),                   // forced into the opaque layer
    };
    orderForDrawing(items, LookingAlongZ);
    EXPECT_EQ(tags(items), (std::vector<float>{5, 2, 4, 8, 3, 1, 6, 7}));
    EXPECT_FALSE(items[0].depthWrite);   // the sky never writes depth
    EXPECT_TRUE(items[1].depthWrite);
}

TEST(DrawOrder, DepthIsAlongTheViewDirectionAndUsesTheItemsDepthCentre)
{
    // Looking along +x: the z offsets do not matter, x does.
    const glm::mat4 alongX = glm::lookAtLH(glm::vec3(0), glm::vec3(1, 0, 0), glm::vec3(0, 1, 0));
    DrawItem a = item(1, BlendMode::Alpha, 100);
    a.world[3] = glm::vec4(2, 0, 100, 1);
    DrawItem b = item(2, BlendMode::Alpha, 0);
    b.world[3] = glm::vec4(4, 0, 0, 1);
    DrawItem c = item(3, BlendMode::Alpha, 0);
    c.world[3] = glm::vec4(1, 0, 0, 1);
    c.depthCentre = glm::vec3(10, 0, 0);   // its centre is 11 ahead
    EXPECT_FLOAT_EQ(viewDepth(c, alongX), 11.0f);
    std::vector<DrawItem> items = {a, b, c};
    orderForDrawing(items, alongX);
    EXPECT_EQ(tags(items), (std::vector<float>{3, 2, 1}));
}

TEST(DrawOrder, UnsortedSubmissionKeepsBlendedOrderButStillAfterOpaque)
{
    DrawQueue queue;
    FrameState frame;
    frame.view = LookingAlongZ;
    const DrawItem first[] = {item(1, BlendMode::Alpha, 1), item(2, BlendMode::Alpha, 9)};
    const DrawItem second[] = {item(3, BlendMode::Opaque, 4)};
    queue.add(frame, first, false);
    queue.add(frame, second);
    EXPECT_EQ(tags(queue.take()), (std::vector<float>{3, 1, 2}));
    EXPECT_TRUE(queue.empty());

    // A fresh frame sorts again.
    queue.add(frame, first);
    EXPECT_EQ(tags(queue.take()), (std::vector<float>{2, 1}));
}

TEST(DrawOrder, QueueTakesItemsOfOneCameraAndLightsOnly)
{
    DrawQueue queue;
    FrameState frame;
    EXPECT_TRUE(queue.accepts(frame));
    const DrawItem one[] = {item(1, BlendMode::Opaque, 1)};
    queue.add(frame, one);
    EXPECT_TRUE(queue.accepts(frame));
    FrameState moved = frame;
    moved.eyePosition.x = 1;
    EXPECT_FALSE(queue.accepts(moved));
    FrameState relit = frame;
    relit.lights.push_back(LightState{});
    EXPECT_FALSE(queue.accepts(relit));
    queue.clear();
    EXPECT_TRUE(queue.accepts(moved));
}

TEST(DrawOrder, SkyGoesBehindTheOpaqueItemsOnlyWhereDepthTellsThemApart)
{
    const auto queue = [] {
        return std::vector<DrawItem>{item(1, BlendMode::Opaque, 4), item(2, BlendMode::Opaque, 0, DrawLayer::Sky),
                                     item(3, BlendMode::Alpha, 2), item(4, BlendMode::Opaque, 8)};
    };
    // Fresh depth buffer, every opaque item writes depth: sky after them, at
    // the far plane with the test on, still before the blended items.
    std::vector<DrawItem> items = queue();
    orderForDrawing(items, LookingAlongZ, true, true);
    EXPECT_EQ(tags(items), (std::vector<float>{1, 4, 2, 3}));
    EXPECT_TRUE(items[2].atFarPlane);
    EXPECT_TRUE(items[2].depthTest);
    EXPECT_FALSE(items[2].depthWrite);
    EXPECT_FALSE(items[0].atFarPlane);
    EXPECT_FALSE(items[3].atFarPlane);

    // Something already drew into the depth buffer: the sky first, untested.
    items = queue();
    orderForDrawing(items, LookingAlongZ, true, false);
    EXPECT_EQ(tags(items), (std::vector<float>{2, 1, 4, 3}));
    EXPECT_FALSE(items[0].atFarPlane);
    EXPECT_FALSE(items[0].depthTest);

    // An opaque item that leaves no depth (no writes, or no test, which
    // writes nothing either) would be painted over: the sky first again.
    for (const bool test : {false, true}) {
        items = queue();
        items[3].depthTest = test;
        items[3].depthWrite = !test;
        orderForDrawing(items, LookingAlongZ, true, true);
        EXPECT_EQ(tags(items), (std::vector<float>{2, 1, 4, 3})) << test;
        EXPECT_FALSE(items[0].atFarPlane);
    }

    // The queue passes on whether the depth buffer is fresh.
    DrawQueue q;
    FrameState frame;
    frame.view = LookingAlongZ;
    const std::vector<DrawItem> all = queue();
    q.add(frame, all);
    EXPECT_EQ(tags(q.take(true)), (std::vector<float>{1, 4, 2, 3}));
    q.add(frame, all);
    EXPECT_EQ(tags(q.take()), (std::vector<float>{2, 1, 4, 3}));
}
