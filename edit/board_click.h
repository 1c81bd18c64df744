// A press on the main window's content: resolved to a board cell and the topmost organism on
// it, and what the press does in the current run state.
#pragma once

#include <cstdint>

#include "sim/board_geometry.h"
#include "sim/history/org_reorder.h"
#include "sim/sim.h"

namespace vornick {

enum class PressAction { kNone, kStop, kContinue, kOrganism };

// What a press at (h, v), in content pixels, does in the current state.
PressAction press_action(const Sim& sim, int32_t h, int32_t v);

}  // namespace vornick
