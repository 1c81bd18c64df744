#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "every_path.h"
#include "fakes.h"
#include "sim/kernels/kernels.h"
#include "sim/kernels/vector_path.h"
#include "sim/move.h"

namespace vornick {
namespace {

using testing::EveryPath;
using testing::Rig;

std::unique_ptr<World> world_of(int32_t norgs, uint32_t seed, Generator& gen) {
    auto w = std::make_unique<World>();
    gen.seed = seed;
    init_world(*w, gen, norgs, false);
    return w;
}

void expect_same_table(const World& a, const World& b, const std::string& what) {
    ASSERT_EQ(a.norgs, b.norgs) << what;
    for (int32_t i = 0; i < a.norgs; ++i) {
        ASSERT_EQ(a.orgs.get(i).x, b.orgs.get(i).x) << what << " organism " << i;
        ASSERT_EQ(a.orgs.get(i).y, b.orgs.get(i).y) << what << " organism " << i;
        ASSERT_EQ(a.orgs.get(i).dir, b.orgs.get(i).dir) << what << " organism " << i;
    }
}

TEST(TurnTest, TheWordTestAgreesWithTheDivisionForEveryDraw) {
    for (uint32_t v = 0; v < 32768; ++v) {
        const auto h = static_cast<uint16_t>((v | kernels::kTurnTop) * kernels::kTurnMul);
        ASSERT_EQ(static_cast<int16_t>(h) < kernels::kTurnBelow, v % 10 == 0) << v;
    }
}

using MoveSteps = EveryPath;

// Step counts around a tile (64), a stretch's minimum, and a chunk of 64000 steps; where lanes
// are stepped, around their returns onto the grid (every 63 steps, move bytes summed every 7),
// stretches that do not divide the steps, and walkers that fill one block of 32 lanes, part of
// one, or several with stretches spread over them.
TEST_P(MoveSteps, MatchTheSerialDefinition) {
    struct Case {
        int32_t norgs;
        int64_t steps;
    };
    const Case cases[] = {{0, 100},   {1, 1},    {1, 70001},  {2, 5000},   {3, 63},    {3, 2049},
                          {4, 64},    {4, 100},  {4, 4100},   {4, 100007}, {5, 65},    {8, 777},
                          {12, 3001}, {31, 513}, {31, 64001}, {40, 1000},  {784, 1},   {784, 7},
                          {784, 36},  {784, 63}, {784, 100},  {784, 129},  {784, 1000}};
    for (const Case& c : cases) {
        for (uint32_t seed : {1u, 0xDEADBEEFu, 123457u}) {
            Generator fast, serial;
            auto a = world_of(c.norgs, seed, fast);
            auto b = std::make_unique<World>(*a);
            serial = fast;
            ASSERT_TRUE(move_orgs_steps(*a, fast, c.steps));
            for (int64_t k = 0; k < c.steps; ++k) ASSERT_TRUE(move_orgs_serial(*b, serial));
            const std::string what = std::to_string(c.norgs) + " organisms, " +
                                     std::to_string(c.steps) + " steps, seed " +
                                     std::to_string(seed);
            ASSERT_EQ(fast.seed, serial.seed) << what;
            expect_same_table(*a, *b, what);
        }
    }
}

TEST_P(MoveSteps, SingleStepsMatchTheSerialDefinition) {
    for (int32_t n : {0, 1, 3, 4, 5, 8, 15, 16, 17, 31, 32, 33, 63, 64, 65, 783, 784}) {
        Generator fast, serial;
        auto a = world_of(n, 0x5EED0000u + static_cast<uint32_t>(n), fast);
        auto b = std::make_unique<World>(*a);
        serial = fast;
        for (int step = 0; step < 50; ++step) {
            ASSERT_TRUE(move_orgs(*a, fast));
            ASSERT_TRUE(move_orgs_serial(*b, serial));
        }
        ASSERT_EQ(fast.seed, serial.seed) << n;
        expect_same_table(*a, *b, std::to_string(n) + " organisms");
    }
}

// Only a hand-made table holds these: positions off the grid never wrap into it the way a
// modulo would, and a bad heading leaves everything as it was.
TEST_P(MoveSteps, OddTablesAreHandledAsOneByOne) {
    Generator fast, serial;
    auto a = world_of(6, 9, fast);
    a->orgs.edit(2) = Org{40, -3, kRight};
    auto b = std::make_unique<World>(*a);
    serial = fast;
    ASSERT_TRUE(move_orgs_steps(*a, fast, 300));
    for (int k = 0; k < 300; ++k) move_orgs_serial(*b, serial);
    EXPECT_EQ(fast.seed, serial.seed);
    expect_same_table(*a, *b, "off the grid");

    a->orgs.edit(4).dir = 9;
    const World before = *a;
    const uint32_t seed = fast.seed;
    EXPECT_FALSE(move_orgs_steps(*a, fast, 300));
    EXPECT_EQ(fast.seed, seed);
    expect_same_table(*a, before, "bad heading");
}

INSTANTIATE_TEST_SUITE_P(Paths, MoveSteps, testing::kEveryPath, testing::path_test_name);

#if defined(__x86_64__)
// The state one draw before `state`.
uint32_t state_before(uint32_t state) {
    uint32_t inverse = kLcgMul;  // right in the low 3 bits; each round doubles them
    for (int round = 0; round < 4; ++round) inverse *= 2 - kLcgMul * inverse;
    return (state - kLcgAdd) * inverse;
}

// Lanes whose state never changes make the same draw at every step: they walk straight, or turn
// at every step, as long as asked. Straight walks give the longest sums of one move that the
// lanes keep in bytes, each way on each axis, across their returns onto the grid.
TEST(LaneWalk, SameDrawAtEveryStepWalksStraightOrSpins) {
    if (!processor_runs(VectorPath::kAvx2)) GTEST_SKIP() << "no avx2";
    struct Row {
        uint8_t x, y, dir;
        bool turns;
        int64_t steps;
    };
    const Row rows[] = {
        {27, 5, kRight, false, 1000}, {0, 9, kLeft, false, 130}, {3, 0, kUp, false, 63},
        {3, 27, kDown, false, 64},    {0, 0, kUp, false, 7},     {14, 14, kRight, true, 1},
        {14, 14, kUp, true, 7},       {0, 27, kLeft, true, 8},   {27, 0, kDown, true, 1001}};
    for (const Row& r : rows) {
        alignas(32) uint32_t first[kernels::kLaneBlock];
        alignas(32) uint8_t x[kernels::kLaneBlock], y[kernels::kLaneBlock],
            dir[kernels::kLaneBlock];
        // Draw 0 turns, draw 1 does not; every lane the same, so the lane order cannot matter.
        std::fill(std::begin(first), std::end(first), r.turns ? 0u : 1u << 16);
        std::fill(std::begin(x), std::end(x), r.x);
        std::fill(std::begin(y), std::end(y), r.y);
        std::fill(std::begin(dir), std::end(dir), r.dir);
        kernels::walk_lanes_avx2({1, 0, r.steps, kernels::kLaneBlock, first, x, y, dir});

        World w;
        w.norgs = 1;
        w.orgs.edit(0) = Org{r.x, r.y, r.dir};
        for (int64_t k = 0; k < r.steps; ++k) {
            Generator same{state_before(first[0])};
            ASSERT_TRUE(move_orgs_serial(w, same));
        }
        const std::string what = std::to_string(r.steps) + " steps from (" + std::to_string(r.x) +
                                 ", " + std::to_string(r.y) + ")";
        EXPECT_TRUE(x[31] == w.orgs.get(0).x && y[31] == w.orgs.get(0).y &&
                    dir[31] == w.orgs.get(0).dir)
            << what << ": (" << int(x[31]) << ", " << int(y[31]) << ") facing " << int(dir[31]);
    }
}
#endif

// What a run leaves behind and said on the way, for comparing a batch with single steps. The
// frame's erasing is left out: at maximum speed it repeats at one cell, and a batch does it
// once. Of counts written one after another only the last is kept, as only it is ever shown:
// a batch writes just that one.
struct Outcome {
    int32_t iters;
    uint32_t seed;
    RunState run;
    Selection sel;
    std::vector<std::string> log;
    bool stop_enabled, continue_enabled;
};

Outcome outcome_of(const Rig& r) {
    Outcome o{r.sim.run.iters, r.sim.rng.seed, r.sim.run, r.sim.sel, {}, false, false};
    const auto is_count = [](const std::string& line) { return line.rfind("iter ", 0) == 0; };
    for (const std::string& line : r.rec.log) {
        if (line.rfind("unframe", 0) == 0) continue;
        if (is_count(line) && !o.log.empty() && is_count(o.log.back())) o.log.pop_back();
        o.log.push_back(line);
    }
    o.stop_enabled = r.menus.is_enabled(kFileMenu, kStopItem);
    o.continue_enabled = r.menus.is_enabled(kFileMenu, kContinueItem);
    return o;
}

struct BatchCase {
    const char* name;
    int32_t norgs;
    int32_t maxIters;
    int32_t stopIters;  // 0: no stop point
    int32_t start;      // steps made before the batch
    int64_t batch;
    bool selected;
    int32_t limit_to_60FPS;
};

class StepBatch : public ::testing::TestWithParam<BatchCase> {};

void prepare(Rig& r, const BatchCase& c) {
    r.sim.prefs.iNumOrgs = c.norgs;
    r.sim.prefs.maxIters = INT32_MAX;
    r.sim.prefs.setStopPt = c.stopIters != 0;
    r.sim.prefs.stopIters = c.stopIters;
    r.sim.rng.seed = 77;
    r.sim.new_sim();
    r.sim.pace.speed = kMaxSpeedMode;
    r.sim.pace.delay = c.limit_to_60FPS ? 0.001 : kMaxSpeedInterval;
    r.sim.pace.limit_to_60FPS = c.limit_to_60FPS;
    for (int32_t k = 0; k < c.start; ++k) r.sim.HandleDraw();
    r.sim.continue_command();  // past a stop point the warm-up steps reached
    r.sim.prefs.maxIters = c.maxIters;
    if (c.selected && c.norgs > 0) {
        r.sim.sel = {0, 1, r.sim.model.orgs.get(0).x, r.sim.model.orgs.get(0).y};
    }
    r.rec.log.clear();
}

TEST_P(StepBatch, EndsWhereSingleStepsEnd) {
    const BatchCase& c = GetParam();
    auto single = std::make_unique<Rig>();
    auto batched = std::make_unique<Rig>();
    prepare(*single, c);
    prepare(*batched, c);
    for (int64_t k = 0; k < c.batch && single->sim.run.stop == 0; ++k) single->sim.HandleDraw();
    const int64_t made = batched->sim.step_batch(c.batch);

    EXPECT_EQ(made, single->sim.run.iters - c.start);
    const Outcome want = outcome_of(*single), got = outcome_of(*batched);
    EXPECT_EQ(got.iters, want.iters);
    EXPECT_EQ(got.seed, want.seed);
    EXPECT_EQ(got.run.stop, want.run.stop);
    EXPECT_EQ(got.run.cont_enabled, want.run.cont_enabled);
    EXPECT_EQ(got.run.end_sim, want.run.end_sim);
    EXPECT_EQ(got.sel.prinfo, want.sel.prinfo);
    EXPECT_EQ(got.sel.selectOrgIndex, want.sel.selectOrgIndex);
    EXPECT_EQ(got.sel.selcx, want.sel.selcx);
    EXPECT_EQ(got.sel.selcy, want.sel.selcy);
    EXPECT_EQ(got.log, want.log);
    EXPECT_EQ(got.stop_enabled, want.stop_enabled);
    EXPECT_EQ(got.continue_enabled, want.continue_enabled);
    expect_same_table(batched->sim.model, single->sim.model, c.name);
    EXPECT_EQ(batched->rec.count("unframe") > 0, single->rec.count("unframe") > 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StepBatch,
    ::testing::Values(BatchCase{"RunsOnToAShownCount", 4, 10000000, 0, 0, 20000, false, 0},
                      BatchCase{"EndsBeforeTheStopPoint", 3, 500, 0, 0, 499, false, 0},
                      BatchCase{"EndsOnMaxIters", 5, 500, 0, 0, 500, true, 0},
                      BatchCase{"LongerThanMaxIters", 8, 500, 0, 0, 2000, false, 0},
                      BatchCase{"ShortOfTheStopPoint", 31, 5000, 1234, 0, 1233, true, 0},
                      BatchCase{"EndsOnTheStopPoint", 31, 5000, 1234, 0, 1234, true, 0},
                      BatchCase{"PastTheStopPoint", 1, 5000, 1234, 0, 3000, false, 0},
                      BatchCase{"StopPointOnTheEnd", 4, 700, 700, 0, 9999, false, 0},
                      BatchCase{"ContinuedPastTheStopPoint", 4, 30000, 100, 100, 29999, true, 0},
                      BatchCase{"UnderTheCapDropsTheSelection", 4, 90000, 0, 0, 30000, true, 1},
                      BatchCase{"ManyOrganisms", 784, 1000000, 0, 7, 250, true, 0},
                      BatchCase{"NoOrganisms", 0, 1000, 0, 0, 20000, false, 0},
                      BatchCase{"OneStep", 4, 1000, 0, 0, 1, true, 0},
                      BatchCase{"LimitLoweredBelowTheCount", 4, 10, 0, 20, 50, false, 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(StepBatch, NothingWhileHaltedAndOneAtATimeWhenDrawn) {
    Rig r;
    r.sim.new_sim();
    r.sim.stop_command();
    EXPECT_EQ(r.sim.step_batch(100), 0);
    EXPECT_EQ(r.sim.run.iters, 0);
    r.sim.continue_command();
    EXPECT_EQ(r.sim.step_batch(100), 1);  // slow mode: every step is drawn
    EXPECT_EQ(r.sim.run.iters, 1);
}

TEST(StepBatchDeathTest, HeadingOutsideTheFourEndsTheProgram) {
    Rig r;
    r.sim.new_sim();
    r.sim.pace.speed = kMaxSpeedMode;
    r.sim.model.orgs.edit(2).dir = -1;
    EXPECT_EXIT(r.sim.step_batch(5000), ::testing::ExitedWithCode(1), "");
}

TEST(MaximumSpeedLoop, ReadsTheRateMeterAtMultiplesOf400) {
    Rig r;
    r.sim.prefs.maxIters = 1000000;
    r.sim.new_sim();
    r.sim.HandleSpeedChoice(kMaxSpeedMode);
    r.sim.pace.prnFPS = true;
    r.clock.ns = 5'000'000'000;
    r.clock.advance_per_read = 300'000'000;  // a reading is due at every other look
    for (int i = 0; i < 4; ++i) r.sim.doIdle();
    ASSERT_GE(r.rec.rates.size(), 2u);
    EXPECT_GT(r.sim.meter.last_iters, 0);
    EXPECT_EQ(r.sim.meter.last_iters % kMaxSpeedMeterEvery, 0);
}

}  // namespace
}  // namespace vornick
