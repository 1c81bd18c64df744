#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "app/step_timer.h"

namespace vornick {
namespace {

using SteadyClock = StepSchedule::SteadyClock;
using std::chrono::microseconds;
using std::chrono::milliseconds;
using std::chrono::seconds;

const SteadyClock::time_point kT0 = SteadyClock::time_point(seconds(1000));

// Drives a schedule the way the event loop does: a pass every `pass`, at most one firing per
// pass, and the loop sleeping whenever the schedule allows it. Returns the firings in `span`.
int firings_in(StepSchedule& schedule, SteadyClock::time_point& now, SteadyClock::duration span,
               SteadyClock::duration pass) {
    const SteadyClock::time_point end = now + span;
    int count = 0;
    while (now < end) {
        if (schedule.take_due(now)) ++count;
        const int wait = schedule.wait_ms(now);
        now += wait == 0 ? pass : milliseconds(wait) + pass;
    }
    return count;
}

TEST(StepSchedule, NothingIsDueBeforeTheFirstDeadline) {
    StepSchedule schedule;
    schedule.start(kT0, 0.25, 0.01);
    EXPECT_FALSE(schedule.take_due(kT0));
    EXPECT_FALSE(schedule.take_due(kT0 + milliseconds(249)));
    EXPECT_EQ(schedule.wait_ms(kT0), 250);
    EXPECT_TRUE(schedule.take_due(kT0 + milliseconds(250)));
    EXPECT_FALSE(schedule.take_due(kT0 + milliseconds(250)));
    EXPECT_TRUE(schedule.take_due(kT0 + milliseconds(260)));
}

TEST(StepSchedule, WaitsAreRoundedUpAndSubMillisecondOnesArePolled) {
    StepSchedule schedule;
    schedule.start(kT0, 0.0123, 0.0123);
    EXPECT_EQ(schedule.wait_ms(kT0), 13);
    EXPECT_EQ(schedule.wait_ms(kT0 + milliseconds(12)), 0);
    schedule.start(kT0, 0.0005, 0.0005);
    EXPECT_EQ(schedule.wait_ms(kT0), 0);
}

// The loop's pass takes 30 us here; each interval must keep its own rate, not a rounded one.
TEST(StepSchedule, KeepsTheRateOfEveryInterval) {
    for (const double interval : {0.0005, 0.00125, 0.002, 0.0123, 1.0}) {
        SCOPED_TRACE(interval);
        StepSchedule schedule;
        SteadyClock::time_point now = kT0;
        schedule.start(now, 0.0, interval);
        firings_in(schedule, now, seconds(1), microseconds(30));
        const int count = firings_in(schedule, now, seconds(10), microseconds(30));
        EXPECT_NEAR(count, 10.0 / interval, 1.0);
    }
}

TEST(StepSchedule, AMicrosecondIntervalFiresAtEveryPass) {
    StepSchedule schedule;
    SteadyClock::time_point now = kT0;
    schedule.start(now, 0.0, 1e-6);
    EXPECT_EQ(firings_in(schedule, now, seconds(2), microseconds(40)), 50'000);
}

TEST(StepSchedule, ShortDelaysAreCaughtUpAndLongStallsAreNot) {
    StepSchedule schedule;
    SteadyClock::time_point now = kT0;
    schedule.start(now, 0.0, 0.01);
    firings_in(schedule, now, milliseconds(100), microseconds(30));

    // A slow repaint: the four firings it held up come at once, then the pace goes on.
    now += milliseconds(35);
    EXPECT_EQ(firings_in(schedule, now, milliseconds(100), microseconds(30)), 14);

    now += seconds(2);  // a stall: one firing, then the interval's own pace
    EXPECT_EQ(firings_in(schedule, now, milliseconds(5), microseconds(30)), 1);
    EXPECT_EQ(firings_in(schedule, now, milliseconds(100), microseconds(30)), 10);
}

TEST(StepSchedule, HugeAndInvalidSpansNeitherOverflowNorStall) {
    StepSchedule schedule;
    schedule.start(kT0, 10000.0, 10000.0);
    EXPECT_FALSE(schedule.take_due(kT0 + seconds(9999)));
    EXPECT_EQ(schedule.wait_ms(kT0), StepSchedule::kMaxWaitMs);
    EXPECT_TRUE(schedule.take_due(kT0 + seconds(10000)));

    schedule.start(kT0, 1e300, HUGE_VAL);
    EXPECT_FALSE(schedule.take_due(kT0 + seconds(1'000'000)));
    EXPECT_GT(schedule.wait_ms(kT0), 0);

    schedule.start(kT0, std::nan(""), -1.0);  // due now, and at every pass after
    EXPECT_TRUE(schedule.take_due(kT0));
    EXPECT_TRUE(schedule.take_due(kT0));
}

}  // namespace
}  // namespace vornick
