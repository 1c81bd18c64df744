#include "sim/sim.h"

namespace vornick {

namespace {

double seconds_since(uint64_t now, uint64_t then) {
    return static_cast<double>(now - then) * 1e-9;
}

}  // namespace

void Sim::calcFPS() {
    const uint64_t now = io.clock->now_ns();
    const double elapsed = seconds_since(now, meter.sLastFlush);
    if (elapsed < 1.0) return;
    io.panel->outext4(static_cast<double>(run.iters - meter.last_iters) / elapsed, rate_unit());
    meter.sLastFlush = now;
    meter.last_iters = run.iters;
}

RateUnit Sim::rate_unit() const {
    const bool undrawn =
        pace.speed == kMaxSpeedMode || (pace.limited_FPS == 1 && pace.speed != kSingleStepMode);
    return undrawn ? RateUnit::kStepsPerSecond : RateUnit::kFramesPerSecond;
}

// Opens at most once per cap interval. The caller asks twice per capped redraw; the toggle
// makes the second call open too, so the interval counts from the end of the drawing.
bool Sim::timed_out_60FPS() {
    const uint64_t now = io.clock->now_ns();
    if (seconds_since(now, gate.sLastFlush) >= kCapInterval || gate.wait_redraw == 1) {
        gate.sLastFlush = now;
        gate.wait_redraw ^= 1;
        return true;
    }
    return false;
}

}  // namespace vornick
