#include <algorithm>
#include <cstdlib>

#include "sim/move.h"
#include "sim/sim.h"

namespace vornick {

int64_t Sim::steps_until_halt() const {
    const int64_t iters = run.iters;
    const RunLimits lim = limits();
    int64_t halt = std::max<int64_t>(1, int64_t{lim.maxIters} - iters);
    if (lim.setStopPt && lim.stopIters > iters) {
        halt = std::min<int64_t>(halt, int64_t{lim.stopIters} - iters);
    }
    return halt;
}

// At maximum speed a step draws nothing but the frame's erasing (the same cell each time, as
// the frame does not follow the organism there) and the count at every 10000th step; the first
// step alone may change the cap and the selection. So after the first step's start the moves
// of all k steps can be made at once, and the counts written after them in their order.
int64_t Sim::step_batch(int64_t k) {
    if (k <= 0 || run.stop != 0) return 0;
    const int64_t steps =
        pace.speed == kMaxSpeedMode ? std::min({k, steps_until_halt(), steps_to_next_edit()}) : 1;
    if (steps == 1) {
        HandleDraw();
        return 1;
    }
    const int64_t from = run.iters;
    begin_step();
    if (!move_orgs_steps(model, rng, steps)) std::exit(1);
    // steps_until_halt keeps this within maxIters.
    run.iters = static_cast<int32_t>(from + steps);
    // The count moves on screen every so many steps, but nothing is shown before the batch is
    // over: of the counts it passed, only the last could be seen. Writing each of them would
    // cost a few percent of the pace at a few organisms, where a batch passes millions.
    const int64_t last_shown = run.iters / kMaxSpeedCountEvery * kMaxSpeedCountEvery;
    if (last_shown > from) io.panel->outext(static_cast<int32_t>(last_shown));
    end_checks();
    make_due_edits();
    return steps;
}

}  // namespace vornick
