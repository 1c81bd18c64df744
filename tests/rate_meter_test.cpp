#include <gtest/gtest.h>

#include "fakes.h"

namespace vornick {
namespace {

using testing::Rig;

TEST(RateMeter, ReadsOncePerSecondAtLeast) {
    Rig r;
    r.clock.ns = 500'000'000;
    r.sim.calcFPS();  // half a second after the clock's origin: nothing yet
    EXPECT_TRUE(r.rec.rates.empty());

    r.clock.ns = 2'000'000'000;
    r.sim.run.iters = 100;
    r.sim.calcFPS();
    ASSERT_EQ(r.rec.rates.size(), 1u);
    EXPECT_DOUBLE_EQ(r.rec.rates[0].first, 50.0);  // from the origin, as the first reading is
    EXPECT_EQ(r.sim.meter.last_iters, 100);

    r.clock.ns = 6'000'000'000;
    r.sim.run.iters = 900;
    r.sim.calcFPS();
    EXPECT_DOUBLE_EQ(r.rec.rates[1].first, 200.0);
}

TEST(RateMeter, UnitSaysWhetherStepsWereDrawn) {
    struct Case {
        int16_t speed;
        int32_t limited;
        RateUnit unit;
    };
    const Case cases[] = {
        {kSlowMode, 0, RateUnit::kFramesPerSecond},
        {kMaxSpeedMode, 0, RateUnit::kStepsPerSecond},
        {kTurboMode, 1, RateUnit::kStepsPerSecond},
        {kSingleStepMode, 1, RateUnit::kFramesPerSecond},
        {kMaxSpeedMode, 1, RateUnit::kStepsPerSecond},
    };
    for (const Case& c : cases) {
        Rig r;
        r.sim.pace.speed = c.speed;
        r.sim.pace.limited_FPS = c.limited;
        EXPECT_EQ(r.sim.rate_unit(), c.unit) << c.speed << "/" << c.limited;
    }
}

TEST(FrameGate, OpensEverySixtiethAndTwicePerRedraw) {
    Rig r;
    r.clock.ns = 10'000'000;  // 10 ms after the origin: shut
    EXPECT_FALSE(r.sim.timed_out_60FPS());
    r.clock.ns = 16'667'000;
    EXPECT_TRUE(r.sim.timed_out_60FPS());
    EXPECT_TRUE(r.sim.timed_out_60FPS());  // the second call of a redraw always opens
    EXPECT_EQ(r.sim.gate.wait_redraw, 0);
    r.clock.ns += 16'000'000;
    EXPECT_FALSE(r.sim.timed_out_60FPS());
    r.clock.ns += 1'000'000;
    EXPECT_TRUE(r.sim.timed_out_60FPS());
}

}  // namespace
}  // namespace vornick
