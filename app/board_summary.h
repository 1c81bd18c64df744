// What a screen reader is told of the board: the step as the panel shows it, the run's state,
// the number of organisms and the selected organism. Platform-free.
#pragma once

#include <cstdint>

#include "sim/ports.h"
#include "sim/sim.h"

namespace vornick {

struct BoardSummary {
    int32_t step = 0;
    RunStateName state = RunStateName::kRunning;
    int32_t norgs = 0;
    int32_t selected = -1;  // index in the table; -1 for none
    int32_t x = 0, y = 0;   // the selected organism's cell and heading; zero without one
    int32_t dir = 0;
    bool operator==(const BoardSummary&) const = default;
};

BoardSummary board_summary(const Sim& sim);

// A change that is the run walking on by itself: later steps, the selected organism walking
// with them. A screen reader is told of those at a pace speech can follow; of anything else
// (a selection, a move, a new run, a step back, the run halting) at once.
bool walked_on(const BoardSummary& before, const BoardSummary& now);

}  // namespace vornick
