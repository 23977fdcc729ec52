// Billboards cut to the visible part of their sprite: which texels a blend
// mode lets show, the rectangle that holds them at each mip level, and
// squares that keep the same texture at every point they still cover.
#include "particles/Billboards.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using kl::gpu::BlendFactor;
using kl::particles::SpriteCoverage;

// 32 x 32: white with alpha 0 everywhere, opaque grey in x 9..20, y 5..26,
// and one black texel of alpha 0 at (2, 2) (all four channels 0 only there
// and outside a white frame, x, y in 0..29).
QImage sprite()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 30; ++x)
            image.setPixel(x, y, qRgba(255, 255, 255, 0));
    for (int y = 5; y <= 26; ++y)
        for (int x = 9; x <= 20; ++x)
            image.setPixel(x, y, qRgba(128, 128, 128, 255));
    image.setPixel(2, 2, qRgba(0, 0, 0, 0));
    return image;
}

// The alpha channel's mip chain as a GPU makes it (each level the mean of
// 2 x 2 texels of the one below), and a bilinear, clamped sample of a level.
struct Chain {
    std::vector<std::vector<float>> levels;
    std::vector<int> sizes;

    explicit Chain(const QImage& image)
    {
        int size = image.width();
        std::vector<float> level(std::size_t(size * size));
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                level[std::size_t(y * size + x)] = float(qAlpha(image.pixel(x, y)));
        levels.push_back(level);
        sizes.push_back(size);
        while (size > 1) {
            const int half = size / 2;
            std::vector<float> next(std::size_t(half * half));
            for (int y = 0; y < half; ++y)
                for (int x = 0; x < half; ++x)
                    next[std::size_t(y * half + x)] =
                        (level[std::size_t(2 * y * size + 2 * x)] + level[std::size_t(2 * y * size + 2 * x + 1)] +
                         level[std::size_t((2 * y + 1) * size + 2 * x)] + level[std::size_t((2 * y + 1) * size + 2 * x + 1)]) /
                        4.0f;
            level = next;
            size = half;
            levels.push_back(level);
            sizes.push_back(size);
        }
    }

    float sample(int k, glm::vec2 uv) const
    {
        const int size = sizes[std::size_t(k)];
        const auto at = [&](int x, int y) {
            x = std::clamp(x, 0, size - 1);
            y = std::clamp(y, 0, size - 1);
            return levels[std::size_t(k)][std::size_t(y * size + x)];
        };
        const float x = uv.x * float(size) - 0.5f, y = uv.y * float(size) - 0.5f;
        const int x0 = int(std::floor(x)), y0 = int(std::floor(y));
        const float fx = x - float(x0), fy = y - float(y0);
        return (at(x0, y0) * (1 - fx) + at(x0 + 1, y0) * fx) * (1 - fy) +
               (at(x0, y0 + 1) * (1 - fx) + at(x0 + 1, y0 + 1) * fx) * fy;
    }
};

} // namespace

TEST(SpriteTrim, BlendModesLeaveTheDestinationAloneOnlyForSomeZeroTexels)
{
    using kl::particles::spriteCoverage;
    EXPECT_EQ(spriteCoverage(BlendFactor::SrcAlpha, BlendFactor::One), SpriteCoverage::NonZeroAlpha);
    EXPECT_EQ(spriteCoverage(BlendFactor::SrcAlpha, BlendFactor::InvSrcAlpha), SpriteCoverage::NonZeroAlpha);
    EXPECT_EQ(spriteCoverage(BlendFactor::BothSrcAlpha, BlendFactor::Zero), SpriteCoverage::NonZeroAlpha);
    // A source added whole shows wherever any channel is not 0.
    EXPECT_EQ(spriteCoverage(BlendFactor::One, BlendFactor::One), SpriteCoverage::NonZeroTexel);
    EXPECT_EQ(spriteCoverage(BlendFactor::SrcAlpha, BlendFactor::InvSrcColour), SpriteCoverage::NonZeroTexel);
    // Destinations scaled by the source, or replaced, change under any texel.
    EXPECT_EQ(spriteCoverage(BlendFactor::Zero, BlendFactor::SrcColour), SpriteCoverage::Everything);
    EXPECT_EQ(spriteCoverage(BlendFactor::DestColour, BlendFactor::Zero), SpriteCoverage::Everything);
    EXPECT_EQ(spriteCoverage(BlendFactor::SrcAlpha, BlendFactor::SrcAlpha), SpriteCoverage::Everything);
    EXPECT_EQ(spriteCoverage(BlendFactor::BothInvSrcAlpha, BlendFactor::One), SpriteCoverage::Everything);
}

TEST(SpriteTrim, FootprintHoldsTheTexelsThatCanShow)
{
    const QImage image = sprite();
    const auto alpha = kl::particles::spriteFootprint(image, SpriteCoverage::NonZeroAlpha);
    EXPECT_FALSE(alpha.empty);
    EXPECT_EQ(alpha.width, 32);
    EXPECT_EQ(std::vector<int>({alpha.x0, alpha.y0, alpha.x1, alpha.y1}), std::vector<int>({9, 5, 20, 26}));
    // White texels of alpha 0 count when the colour is added whatever the alpha.
    const auto texel = kl::particles::spriteFootprint(image, SpriteCoverage::NonZeroTexel);
    EXPECT_EQ(std::vector<int>({texel.x0, texel.y0, texel.x1, texel.y1}), std::vector<int>({0, 0, 29, 29}));
    const auto all = kl::particles::spriteFootprint(image, SpriteCoverage::Everything);
    EXPECT_EQ(std::vector<int>({all.x0, all.y0, all.x1, all.y1}), std::vector<int>({0, 0, 31, 31}));

    QImage clear(8, 8, QImage::Format_ARGB32);
    clear.fill(Qt::transparent);
    EXPECT_TRUE(kl::particles::spriteFootprint(clear, SpriteCoverage::NonZeroAlpha).empty);
    // A sprite with nothing to show is drawn whole rather than not at all.
    const auto rect = kl::particles::visibleRect(kl::particles::spriteFootprint(clear, SpriteCoverage::NonZeroAlpha), 0);
    EXPECT_EQ(rect.min, glm::vec2(0.0f));
    EXPECT_EQ(rect.max, glm::vec2(1.0f));
}

TEST(SpriteTrim, OutsideTheRectangleEveryMipLevelSamplesToZero)
{
    const QImage image = sprite();
    const Chain chain(image);
    const auto footprint = kl::particles::spriteFootprint(image, SpriteCoverage::NonZeroAlpha);
    float lastArea = 0.0f;
    for (int level = 0; level < int(chain.sizes.size()); ++level) {
        const auto rect = kl::particles::visibleRect(footprint, level);
        const glm::vec2 extent = rect.max - rect.min;
        EXPECT_GE(extent.x * extent.y, lastArea) << "coarser levels reach farther, level " << level;
        lastArea = extent.x * extent.y;
        // Level 0 loses the empty margin but keeps half a texel around the footprint.
        if (level == 0) {
            EXPECT_LE(rect.min.x, 8.5f / 32.0f);
            EXPECT_GE(rect.max.x, 21.5f / 32.0f);
            EXPECT_LT(extent.x * extent.y, 0.5f);
        }
        int outside = 0;
        for (int j = 0; j <= 256; ++j)
            for (int i = 0; i <= 256; ++i) {
                const glm::vec2 uv(float(i) / 256.0f, float(j) / 256.0f);
                if (uv.x >= rect.min.x && uv.x <= rect.max.x && uv.y >= rect.min.y && uv.y <= rect.max.y)
                    continue;
                ++outside;
                ASSERT_EQ(chain.sample(level, uv), 0.0f) << "level " << level << " at " << uv.x << ", " << uv.y;
            }
        if (level == 0) {
            EXPECT_GT(outside, 30000);
        }
    }
}

TEST(SpriteTrim, MipLevelFollowsTheTexelsPerPixel)
{
    using kl::particles::spriteMipLevel;
    // 128 texels over 128, 64, 32 and 16 pixels (edge 2 at depth 10, 640 pixels a unit at distance 1).
    EXPECT_EQ(spriteMipLevel(128, 2.0f, 10.0f, 640.0f), 0);
    EXPECT_EQ(spriteMipLevel(128, 1.0f, 10.0f, 640.0f), 1);
    EXPECT_EQ(spriteMipLevel(128, 1.0f, 20.0f, 640.0f), 2);
    EXPECT_EQ(spriteMipLevel(128, 1.0f, 40.0f, 640.0f), 3);
    // Magnified: level 0. Within 0.1 of half-way between levels: the coarser one, to spare.
    EXPECT_EQ(spriteMipLevel(128, 8.0f, 10.0f, 640.0f), 0);
    EXPECT_EQ(spriteMipLevel(128, 2.0f / std::pow(2.0f, 1.45f), 10.0f, 640.0f), 2);
    // Behind the eye or of no size: the coarsest, whose rectangle is the whole sprite.
    EXPECT_GE(spriteMipLevel(128, 1.0f, -5.0f, 640.0f), 20);
    EXPECT_GE(spriteMipLevel(128, 0.0f, 5.0f, 640.0f), 20);
}

TEST(SpriteTrim, TrimmedSquaresKeepTheTextureWhereTheyStillCover)
{
    const glm::mat4 view = glm::lookAtLH(glm::vec3(3, 2, -20), glm::vec3(3, 2, 0), glm::vec3(0, 1, 0));
    kl::particles::Particle particle;
    particle.position = {1, 2, 5};
    particle.life = 10.0f;
    particle.texture = 4;
    const std::vector<kl::particles::Particle> particles{particle};
    kl::particles::BillboardStyle style;
    style.size = 6.0f;

    const auto footprint = kl::particles::spriteFootprint(sprite(), SpriteCoverage::NonZeroAlpha);
    kl::particles::SpriteTrimming trimming;
    trimming.pixelsPerUnit = 500.0f;
    trimming.footprint = [&](std::int32_t texture) { return texture == 4 ? &footprint : nullptr; };

    kl::gpu::MeshGeometry whole, trimmed;
    std::vector<std::int32_t> textures;
    kl::particles::buildBillboards(particles, style, view, whole, textures);
    kl::particles::buildBillboards(particles, style, view, trimmed, textures, &trimming);
    ASSERT_EQ(trimmed.vertices.size(), 4u);

    // 6 units at 25 units: 120 pixels for 32 texels, level 0.
    const auto rect = kl::particles::visibleRect(footprint, 0);
    // The whole square maps uv (0, 0)..(1, 1) onto its corners; every trimmed
    // corner lies where the whole square shows the same uv.
    const glm::vec3 topLeft = whole.vertices[0].position;
    const glm::vec3 acrossU = whole.vertices[1].position - topLeft;   // uv.x from 0 to 1
    const glm::vec3 acrossV = whole.vertices[3].position - topLeft;   // uv.y from 0 to 1
    for (const kl::gpu::Vertex& v : trimmed.vertices) {
        EXPECT_NEAR(glm::distance(v.position, topLeft + v.uv.x * acrossU + v.uv.y * acrossV), 0.0f, 1e-4f);
        EXPECT_TRUE(v.uv.x == rect.min.x || v.uv.x == rect.max.x) << v.uv.x;
        EXPECT_TRUE(v.uv.y == rect.min.y || v.uv.y == rect.max.y) << v.uv.y;
    }
    const float wholeArea = glm::length(acrossU) * glm::length(acrossV);
    const float trimmedArea = glm::distance(trimmed.vertices[0].position, trimmed.vertices[1].position) *
                              glm::distance(trimmed.vertices[1].position, trimmed.vertices[2].position);
    EXPECT_LT(trimmedArea, 0.5f * wholeArea);

    // Squares of textures without a footprint, and upright squares, stay whole.
    std::vector<kl::particles::Particle> other{particle};
    other[0].texture = 5;
    kl::particles::buildBillboards(other, style, view, trimmed, textures, &trimming);
    EXPECT_EQ(trimmed.vertices[0].position, whole.vertices[0].position);
    style.facing = kl::particles::Facing::Upright;
    kl::gpu::MeshGeometry upright, uprightTrimmed;
    kl::particles::buildBillboards(particles, style, view, upright, textures);
    kl::particles::buildBillboards(particles, style, view, uprightTrimmed, textures, &trimming);
    EXPECT_EQ(uprightTrimmed.vertices[2].position, upright.vertices[2].position);
}
