// The sweep of parallel segments: every segment it settles is answered as
// the walk answers it, over the shipped land and a land of cliffs, for
// directions along an axis, along the cells' diagonals and askew, cast down
// towards the ground or up from it; batches it cannot help are left alone.
#include "Content.h"
#include "../../../media/generator/Terrain.h"
#include "terrain/SegmentSweep.h"
#include "terrain/Terrain.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <random>

namespace {

using kl::terrain::SweepAnswer;

kl::terrain::Terrain shippedLand()
{
    const QImage grey = kl::media::greyHeightMap(kl::media::makeHeightField(kl::media::kLandHeightMapSize, 1201));
    std::vector<float> heights;
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            heights.push_back(float(qGray(grey.pixel(x, y))));
    kl::terrain::TerrainLayout layout;
    layout.chunkColumns = 8;
    layout.chunkRows = 8;
    return kl::terrain::buildTerrain(kl::terrain::HeightField(grey.width(), grey.height(), heights), layout);
}

// One chunk of random heights 0..255 at every grid point: slopes up to 64
// per unit, the worst case for the sweep's bounds.
kl::terrain::Terrain cliffs()
{
    std::mt19937 random(7);
    std::vector<float> heights(65 * 65);
    for (float& h : heights)
        h = float(random() % 256);
    kl::terrain::TerrainLayout layout;
    layout.position = {-100.0f, -20.0f, 50.0f};
    return kl::terrain::buildTerrain(kl::terrain::HeightField(65, 65, heights), layout);
}

struct Segments {
    std::vector<D3DVECTOR> starts, ends;
};

// A bake's segments: from every `step`-th point of the surface (and a
// border around the land) towards `light`, from `far` units out to 1 unit
// out; `upwards` swaps the ends.
Segments bakeSegments(const kl::terrain::TerrainSurface& surface, glm::vec3 light, float step, bool upwards,
                      float far = 200.0f)
{
    light = glm::normalize(light);
    Segments s;
    const glm::vec2 lo = surface.origin() - glm::vec2(10.0f), hi = surface.origin() + surface.extent() + 10.0f;
    for (float x = lo.x; x <= hi.x; x += step) {
        for (float z = lo.y; z <= hi.y; z += step) {
            const glm::vec3 p(x, surface.height(x, z), z);
            glm::vec3 from = p + light * far, to = p + light;
            if (upwards)
                std::swap(from, to);
            s.starts.push_back({from.x, from.y, from.z});
            s.ends.push_back({to.x, to.y, to.z});
        }
    }
    return s;
}

struct Tally {
    std::size_t settled = 0, hits = 0, wrong = 0;
    std::size_t shortened = 0;   // doubtful ones walked only past their clear stretch
};

Tally compare(const kl::terrain::Terrain& land, const Segments& s)
{
    const auto answers = kl::terrain::sweepSegments(land.shape->surface, s.starts.data(), s.ends.data(), s.starts.size());
    if (!answers) {
        ADD_FAILURE() << "the sweep declined a bake's segments";
        return {};
    }
    Tally tally;
    for (std::size_t i = 0; i < s.starts.size(); ++i) {
        const glm::vec3 from(s.starts[i].x, s.starts[i].y, s.starts[i].z), to(s.ends[i].x, s.ends[i].y, s.ends[i].z);
        const bool walked = kl::terrain::intersectSegment(land.shape->surface, land.shape->hierarchy, from, to).has_value();
        tally.hits += walked;
        const SweepAnswer answer = answers->answers[i];
        if (answer == SweepAnswer::Unknown) {
            const float clearUntil = answers->walkFrom[i];
            tally.shortened += clearUntil > 0.0f;
            if (kl::terrain::hitsBeyond(land.shape->surface, land.shape->hierarchy, from, to, clearUntil) != walked &&
                ++tally.wrong <= 5)
                ADD_FAILURE() << "segment " << i << " walked from " << clearUntil << " answers otherwise";
            continue;
        }
        ++tally.settled;
        if ((answer == SweepAnswer::Hit) != walked && ++tally.wrong <= 5)
            ADD_FAILURE() << "segment " << i << " (" << from.x << ", " << from.y << ", " << from.z << ") - (" << to.x
                          << ", " << to.y << ", " << to.z << "): sweep " << int(answer) << ", walk " << walked;
    }
    return tally;
}

TEST(SegmentSweep, EverySettledSegmentIsAnsweredAsTheWalkAnswersIt)
{
    const kl::terrain::Terrain land = shippedLand();
    const struct {
        glm::vec3 light;
        bool upwards;
    } cases[] = {
        {{-2.0f, 1.0f, -2.0f}, false},   // the bake's default light: along the cells' diagonals
        {{-2.0f, 1.0f, -2.0f}, true},
        {{1.0f, 0.3f, 0.0f}, false},     // along an axis
        {{0.3f, 0.8f, -1.0f}, false},    // steep and askew
        {{-1.0f, 0.05f, 0.4f}, true},    // low over the land
    };
    for (const auto& c : cases) {
        const Segments segments = bakeSegments(land.shape->surface, c.light, 5.0f, c.upwards);
        const Tally tally = compare(land, segments);
        const std::size_t count = segments.starts.size();
        EXPECT_EQ(tally.wrong, 0u) << c.light.x << ", " << c.light.y << ", " << c.light.z;
        // It does the work: most segments settled, hits among them.
        EXPECT_GT(tally.settled, count * 8 / 10) << c.light.x << ", " << c.light.y << ", " << c.light.z;
        EXPECT_GT(tally.hits, count / 100);
        if (!c.upwards) {   // cast down: some doubtful ones are walked only near the ground
            EXPECT_GT(tally.shortened, 0u);
        }
        EXPECT_LT(tally.hits, count * 9 / 10);
    }
}

TEST(SegmentSweep, CliffsAndSegmentsOffTheirLineAreStillAnsweredRight)
{
    const kl::terrain::Terrain land = cliffs();
    for (const glm::vec3 light : {glm::vec3(-2.0f, 1.0f, -2.0f), glm::vec3(0.2f, 3.0f, 1.0f), glm::vec3(1.0f, 0.1f, 0.0f)}) {
        Segments s = bakeSegments(land.shape->surface, light, 1.0f, false, 60.0f);
        const Tally onLines = compare(land, s);
        EXPECT_EQ(onLines.wrong, 0u);
        EXPECT_GT(onLines.settled, s.starts.size() / 2);
        // Each segment moved a little across and along: the lines blur, and
        // the directions differ in the last bits.
        std::mt19937 random(3);
        std::uniform_real_distribution<float> nudge(-0.004f, 0.004f);
        for (std::size_t i = 0; i < s.starts.size(); ++i) {
            const float dx = nudge(random), dz = nudge(random);
            s.starts[i].x += dx;
            s.starts[i].z += dz;
            s.ends[i].x += dx;
            s.ends[i].z += dz;
        }
        const Tally offLines = compare(land, s);
        EXPECT_EQ(offLines.wrong, 0u);
        EXPECT_GT(offLines.settled, s.starts.size() / 4);
    }
}

TEST(SegmentSweep, BatchesItCannotHelpAreLeftToTheWalk)
{
    const kl::terrain::Terrain land = shippedLand();
    const kl::terrain::TerrainSurface& surface = land.shape->surface;
    Segments s = bakeSegments(surface, {-2.0f, 1.0f, -2.0f}, 16.0f, false);
    ASSERT_GT(s.starts.size(), 4096u);
    EXPECT_TRUE(kl::terrain::sweepSegments(surface, s.starts.data(), s.ends.data(), s.starts.size()));
    EXPECT_FALSE(kl::terrain::sweepSegments(surface, s.starts.data(), s.ends.data(), 4095));   // too few
    Segments turned = s;
    for (std::size_t i = turned.ends.size() / 2; i < turned.ends.size(); ++i)
        turned.ends[i].y += 50.0f;   // the second half points elsewhere
    EXPECT_FALSE(kl::terrain::sweepSegments(surface, turned.starts.data(), turned.ends.data(), turned.starts.size()));
    // Parallel, but each on a line of its own.
    std::mt19937 random(5);
    std::uniform_real_distribution<float> place(0.0f, 2048.0f);
    Segments scattered;
    for (int i = 0; i < 5000; ++i) {
        const glm::vec3 p(place(random), 0.0f, place(random));
        scattered.starts.push_back({p.x, 300.0f, p.z});
        scattered.ends.push_back({p.x + 100.0f, 250.0f, p.z + 100.0f});
    }
    EXPECT_FALSE(kl::terrain::sweepSegments(surface, scattered.starts.data(), scattered.ends.data(),
                                            scattered.starts.size()));
}

} // namespace
