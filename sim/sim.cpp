// What every command of Sim shares: telling the status line what changed, and re-arming the
// one step timer.
#include "sim/sim.h"

namespace vornick {

RunStatus Sim::status() const {
    RunStateName state = RunStateName::kHalted;
    if (run.end_sim != 0) {
        state = RunStateName::kEnded;
    } else if (run.stop == 0) {
        state = RunStateName::kRunning;
    }
    return RunStatus{run.lastSeed, state, pace.speed, model.norgs};
}

void Sim::report_status() {
    const RunStatus now = status();
    if (status_reported_ && now == reported_) return;
    reported_ = now;
    status_reported_ = true;
    io.status->show_status(now);
}

void Sim::rearm(double first_delay, double interval) {
    io.timer->remove();
    io.timer->install(first_delay, interval);
}

}  // namespace vornick
