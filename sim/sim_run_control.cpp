#include <algorithm>

#include "sim/sim.h"

namespace vornick {

void Sim::set_running() {
    run.stop = 0;
    run.cont_enabled = 0;
    run.end_sim = 0;
    io.menus->set_enabled(kFileMenu, kStopItem, true);
    io.menus->set_enabled(kFileMenu, kContinueItem, false);
    report_status();
}

void Sim::set_halted() {
    run.stop = 1;
    run.cont_enabled = 1;
    run.end_sim = 0;
    io.menus->set_enabled(kFileMenu, kStopItem, false);
    io.menus->set_enabled(kFileMenu, kContinueItem, true);
    report_status();
}

void Sim::set_ended() {
    run.stop = 1;
    run.cont_enabled = 0;
    run.end_sim = 1;
    io.menus->set_enabled(kFileMenu, kStopItem, false);
    io.menus->set_enabled(kFileMenu, kContinueItem, false);
    report_status();
}

void Sim::new_sim() {
    start_run(prefs.rerunSavedSim ? prefs.savedSeed : rng.seed);
}

// Replaying the saved seed is for the run commands; a typed seed is the one the user asked
// for, and a run of any other seed would be shown under the wrong number.
void Sim::new_sim_from_seed(uint32_t typed) {
    start_run(typed);
}

void Sim::start_run(uint32_t from) {
    run.iters = 0;
    meter.last_iters = 0;
    run.prev_step_stop = 1;
    rng.seed = from;
    run.lastSeed = rng.seed;
    init_world(model, rng, prefs.iNumOrgs, prefs.randINumOrgs);
    journal.begin(
        {run.lastSeed, std::clamp(prefs.iNumOrgs, kMinNumOrgs, kMaxNumOrgs), prefs.randINumOrgs});
    trip_.active = false;
    own_limits_.reset();

    sel.prinfo = 0;
    sel.selectOrgIndex = -1;

    // A negative limit (only a hand-edited store holds one) is as over as a limit of 0.
    if (prefs.maxIters <= 0) {
        set_ended();
    } else if ((prefs.setStopPt && prefs.stopIters == 0) || pace.speed == kSingleStepMode) {
        set_halted();
    } else {
        set_running();
    }

    io.panel->clr_selorg_text();
    redraw_and_count();
    report_status();
}

void Sim::HandleFileChoice(int16_t item) {
    switch (item) {
        case kNewRunItem:
            rng.seed = run.lastSeed + 1;
            new_sim();
            break;
        case kStopItem:
            stop_command();
            break;
        case kContinueItem:
            continue_command();
            break;
        case kRestartItem:
            rng.seed = run.lastSeed;
            new_sim();
            break;
        case kSaveSeedItem:
            prefs.savedSeed = run.lastSeed;
            io.store->write_saved_seed(prefs.savedSeed);
            break;
        case kRunSavedItem:
            rng.seed = prefs.savedSeed;
            new_sim();
            break;
        default:
            break;
    }
}

void Sim::stop_command() {
    if (run.stop != 0) return;
    run.stop = 1;
    run.cont_enabled = 1;
    io.menus->set_enabled(kFileMenu, kStopItem, false);
    io.menus->set_enabled(kFileMenu, kContinueItem, true);
    report_status();
    if (pace.speed == kMaxSpeedMode || pace.limited_FPS == 1) redraw_and_count();
}

void Sim::continue_command() {
    if (run.stop != 1 || run.cont_enabled != 1) return;
    if (pace.speed == kSingleStepMode && run.end_sim == 0) {
        HandleDraw();
        run.stop = 1;
        return;
    }
    run.stop = 0;
    run.cont_enabled = 0;
    io.menus->set_enabled(kFileMenu, kContinueItem, false);
    io.menus->set_enabled(kFileMenu, kStopItem, true);
    report_status();
}

void Sim::single_step() {
    if (run.end_sim != 0) return;
    if (run.cont_enabled == 0) {
        run.cont_enabled = 1;
        io.menus->set_enabled(kFileMenu, kContinueItem, true);
        io.menus->set_enabled(kFileMenu, kStopItem, false);
    }
    HandleDraw();
    run.stop = 1;
    report_status();
}

void Sim::leave_single_step() {
    // A run that ended while stepping stays ended; resuming it would step past maxIters.
    if (run.end_sim != 0) return;
    run.stop = run.prev_step_stop;
    if (run.stop == 0) {
        run.cont_enabled = 0;
        io.menus->set_enabled(kFileMenu, kStopItem, true);
        io.menus->set_enabled(kFileMenu, kContinueItem, false);
    }
    // Its callers change the speed as well and report both at once.
}

}  // namespace vornick
