#include "sim/world.h"

#include <gtest/gtest.h>

#include <vector>

#include "sim/generator.h"

namespace vornick {
namespace {

int ground_tiles(const World& w) {
    int n = 0;
    for (int32_t c : w.world) n += c == kGroundCode;
    return n;
}

TEST(InitWorld, SeedOneDefaultsGiveTheKnownRun) {
    World w{};
    Generator g;
    init_world(w, g, 4, false);

    ASSERT_EQ(w.norgs, 4);
    const Org expected[] = {{10, 18, 1}, {15, 27, 3}, {22, 27, 0}, {26, 5, 3}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(w.orgs.get(i).x, expected[i].x) << i;
        EXPECT_EQ(w.orgs.get(i).y, expected[i].y) << i;
        EXPECT_EQ(w.orgs.get(i).dir, expected[i].dir) << i;
    }
    EXPECT_EQ(ground_tiles(w), 172);
    std::vector<int> column0;
    for (int y = 0; y < kGridSize; ++y)
        if (w.cell(0, y) == kGroundCode) column0.push_back(y);
    EXPECT_EQ(column0, (std::vector<int>{0, 1, 17, 18, 27}));
    for (int32_t c : w.world) EXPECT_TRUE(c == kGroundCode || c == kEmptyCode);
    EXPECT_EQ(g.seed, 1920580197u);
}

// Draw counts: one for a random count, three per organism, one per cell.
TEST(InitWorld, DrawCountsFollowTheSettings) {
    struct Case {
        int32_t iNumOrgs;
        bool rand;
        int32_t expect_norgs;  // -1: any in 1..iNumOrgs
        int draws;
    };
    const Case cases[] = {
        {0, false, 0, 784},
        {1, true, 1, 1 + 3 + 784},
        {784, false, 784, 3 * 784 + 784},
        {-5, false, 0, 784},                // negative: no organisms
        {5000, false, 784, 3 * 784 + 784},  // never past the table
        {0, true, 0, 1 + 784},              // a zero bound must not divide by zero
        {-3, true, 0, 1 + 784},
    };
    for (const Case& c : cases) {
        World w{};
        Generator g, ref;
        g.seed = ref.seed = 12345;
        init_world(w, g, c.iNumOrgs, c.rand);
        EXPECT_EQ(w.norgs, c.expect_norgs) << c.iNumOrgs << " rand " << c.rand;
        for (int i = 0; i < c.draws; ++i) ref.draw();
        EXPECT_EQ(g.seed, ref.seed) << c.iNumOrgs << " rand " << c.rand;
    }
}

TEST(InitWorld, RandomCountStaysWithinBoundAndShiftsPlacements) {
    World plain{}, counted{};
    Generator a, b;
    init_world(plain, a, 4, false);
    for (uint32_t s = 1; s < 200; ++s) {
        Generator g;
        g.seed = s;
        init_world(counted, g, 4, true);
        ASSERT_GE(counted.norgs, 1);
        ASSERT_LE(counted.norgs, 4);
    }
    b.seed = 1;
    init_world(counted, b, 4, true);
    // The count draw comes first, so the first organism takes the next draws.
    EXPECT_NE(counted.orgs.get(0).x * 100 + counted.orgs.get(0).y,
              plain.orgs.get(0).x * 100 + plain.orgs.get(0).y);
}

TEST(InitWorld, SameSeedSameRun) {
    World a{}, b{};
    Generator ga, gb;
    ga.seed = gb.seed = 0xC0FFEE;
    init_world(a, ga, 300, true);
    init_world(b, gb, 300, true);
    ASSERT_EQ(a.norgs, b.norgs);
    for (int i = 0; i < kCells; ++i) ASSERT_EQ(a.world[i], b.world[i]);
    for (int i = 0; i < a.norgs; ++i) {
        ASSERT_EQ(a.orgs.get(i).x, b.orgs.get(i).x);
        ASSERT_EQ(a.orgs.get(i).y, b.orgs.get(i).y);
        ASSERT_EQ(a.orgs.get(i).dir, b.orgs.get(i).dir);
    }
}

TEST(RandDatOrg, RefusesCellsHoldingTheirOwnSprite) {
    World w{};
    std::fill(std::begin(w.world), std::end(w.world), 0);  // every cell refuses
    Generator g, ref;
    rand_dat_org(w, g, 0);
    for (int i = 0; i < 91 * 2 + 1; ++i) ref.draw();
    EXPECT_EQ(g.seed, ref.seed);  // 91 refused pairs, the last one kept, then the heading
    EXPECT_GE(w.orgs.get(0).x, 0);
    EXPECT_LT(w.orgs.get(0).x, kGridSize);
}

}  // namespace
}  // namespace vornick
