#include <algorithm>

#include "sim/kernels/worker_pool.h"
#include "sim/sim.h"
#include "sim/slider_mapping.h"

namespace vornick {

namespace {

// Organism-steps in a short batch of the back-to-back loop on one core, about half a
// millisecond whatever the count: the one that times the pace at the start of a slice, and
// those that finish it, so that a slice ends close to its time. Shared among cores, a batch
// grows to last as long.
constexpr int64_t kMaxLoopBatchOrgSteps = int64_t{1} << 24;

}  // namespace

void Sim::decide_limited_FPS_halted() {
    pace.limited_FPS = (pace.limit_to_60FPS != 0 && pace.delay < kCapInterval) ? 1 : 0;
}

void Sim::doIdle() {
    if (run.stop != pace.prev_stop) {
        if (run.stop == 1) {
            rearm(0, kHaltedInterval);
        } else {
            rearm(pace.delay, pace.delay);
        }
        pace.prev_stop = run.stop;
    }
    if (pace.prnFPS) calcFPS();
    if (run.stop == 0 && pace.speed == kMaxSpeedMode) max_speed_loop();
    if (run.stop == 0 && pace.speed != kMaxSpeedMode) HandleDraw();
}

// Steps back to back until the run halts or the button is pressed. Every slice hands control
// back to the event loop so that the window repaints and menus, keys and Quit still work, then
// resumes at once. With the rate meter on, batches end on the steps at which it is read, so a
// reading comes at the same count as step by step, at most one batch later.
//
// The first batch of a slice is short and times the pace; the next is sized to fill what is
// left of the slice. Shared among cores, every batch costs a handover and a wait for the
// slowest piece, which a few dozen short batches a slice would pay a few dozen times. The
// button is only seen between slices, when the event loop has run, so fewer batches lose
// nothing there.
void Sim::max_speed_loop() {
    const uint64_t start = io.clock->now_ns();
    const int64_t first =
        std::max<int64_t>(kMaxLoopBatchOrgSteps * batch_cores() / std::max(model.norgs, 1), 1);
    int64_t batch = first;
    uint64_t before = start;
    for (;;) {
        if (run.stop != 0 || pace.speed != kMaxSpeedMode || pace.gDone != 0) return;
        if (io.mouse->is_down()) return;
        int64_t k = batch;
        if (pace.prnFPS) {
            const int64_t to_reading = kMaxSpeedMeterEvery - run.iters % kMaxSpeedMeterEvery;
            k = k <= to_reading ? to_reading : k - (run.iters + k) % kMaxSpeedMeterEvery;
        }
        const int64_t made = step_batch(k);
        if (pace.prnFPS && run.iters % kMaxSpeedMeterEvery == 0) calcFPS();
        if (run.stop != 0) return;
        const uint64_t now = io.clock->now_ns();
        if (now - start >= kMaxLoopSliceNs) {
            io.timer->fire_again_soon();
            return;
        }
        batch = next_max_speed_batch(made, now - before, kMaxLoopSliceNs - (now - start), first);
        before = now;
    }
}

// Steps that would last most of `left_ns` at the pace of the batch just made, leaving the rest
// to batches of the first size, so that a pace misjudged a little does not make the slice
// late. Never fewer than the first batch (a batch cut short, or a clock that did not move, says
// nothing of the pace) nor so many that a pace misjudged a lot could hold the button off long.
int64_t next_max_speed_batch(int64_t made, uint64_t took_ns, uint64_t left_ns, int64_t first) {
    constexpr int64_t kMaxGrowth = 32;
    constexpr double kFilled = 0.875;
    if (made * 2 < first || took_ns == 0) return first;
    const double fill = kFilled * static_cast<double>(made) * static_cast<double>(left_ns) /
                        static_cast<double>(took_ns);
    const double most = static_cast<double>(first) * kMaxGrowth;
    return fill <= static_cast<double>(first) ? first : static_cast<int64_t>(std::min(fill, most));
}

void Sim::HandleSpeedChoice(int16_t item) {
    // Only the menu's own items act; a mode outside 1..6 would leave the program in none.
    if (item < kSlowMode || item > kCapItem || item == 8) return;
    const int16_t old = pace.speed;
    if (item != old) {
        switch (item) {
            case kSlowMode:
                pace.delay = prefs.Slow;
                break;
            case kFastMode:
                pace.delay = prefs.Fast;
                break;
            case kTurboMode:
                pace.delay = prefs.Turbo;
                break;
            case kMaxSpeedMode:
                pace.delay = kMaxSpeedInterval;
                break;
            case kVariableMode:
                pace.delay = prefs.Variable;
                break;
            default:
                break;
        }
        if (old == kSingleStepMode && item != kCapItem) leave_single_step();

        if (item == kCapItem) {
            pace.limit_to_60FPS = pace.limit_to_60FPS == 0 ? 1 : 0;
            io.menus->set_checked(kSpeedMenu, kCapItem, pace.limit_to_60FPS != 0);
        } else if (item == kSliderItem) {
            HandleSliderDialog();
        } else if (item == kSingleStepMode) {
            run.prev_step_stop = run.stop;
        }

        // A halted run makes no step that would decide the cap.
        if (run.stop == 1) decide_limited_FPS_halted();
        if (item == kSliderItem || item == kCapItem) {
            report_status();  // leaving the single-step mode may have set the run going
            return;
        }

        if (run.stop == 0) rearm(0, pace.delay);
        pace.speed = item;
        // At maximum speed and under the cap the board was not drawn step by step.
        if ((old == kMaxSpeedMode || pace.limited_FPS == 1) && run.stop == 0) full_refresh();
        io.menus->set_checked(kSpeedMenu, item, true);
        io.menus->set_checked(kSpeedMenu, old, false);
    }
    if (item == kSingleStepMode) single_step();
    report_status();
}

void Sim::HandleSliderDialog() {
    char text[32];
    format_interval(text, sizeof text, prefs.Variable);
    if (!io.slider->open(prefs.sliderVal, text)) return;
    pace.delay = prefs.Variable;
    if (pace.speed != kVariableMode) {
        io.menus->set_checked(kSpeedMenu, kVariableMode, true);
        io.menus->set_checked(kSpeedMenu, pace.speed, false);
        pace.speed = kVariableMode;
        if (run.stop == 0) rearm(0, pace.delay);
        report_status();
    }
}

void Sim::sliderActionFunction(int32_t value) {
    prefs.sliderVal = static_cast<int16_t>(value);
    pace.delay = slider_delay(value);
    if (run.stop == 0) rearm(pace.delay * 0.5, pace.delay);
    if (run.stop == 1) decide_limited_FPS_halted();
    char text[32];
    format_interval(text, sizeof text, pace.delay);
    io.slider->set_text(text);
    prefs.Variable = pace.delay;
    if (pace.speed != kVariableMode) {
        io.menus->set_checked(kSpeedMenu, kVariableMode, true);
        io.menus->set_checked(kSpeedMenu, pace.speed, false);
        if (pace.speed == kSingleStepMode) leave_single_step();
        pace.speed = kVariableMode;
        report_status();
    }
}

void Sim::HandleOutputChoice(int16_t item) {
    if (item != 1) return;
    pace.prnFPS = !pace.prnFPS;
    io.menus->set_checked(kOutputMenu, 1, pace.prnFPS);
    if (!pace.prnFPS) io.panel->clr_FPS_text();
}

}  // namespace vornick
