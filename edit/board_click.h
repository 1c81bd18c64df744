// A press on the main window's content: resolved to a board cell and the topmost organism on
// it, and what the press does in the current run state.
#pragma once

#include <cstdint>

#include "sim/history/org_reorder.h"
#include "sim/sim.h"

namespace vornick {

// The board's extent in content pixels, both axes; cell c covers 10 + 10c to 20 + 10c.
inline constexpr int32_t kBoardMin = 10;
inline constexpr int32_t kBoardMax = 290;
inline constexpr int32_t kCellSize = 10;

inline bool on_board(int32_t h, int32_t v) {
    return h >= kBoardMin && v >= kBoardMin && h <= kBoardMax && v <= kBoardMax;
}
// 290 itself is on the board but yields 28, a cell outside the grid.
inline int32_t cell_of(int32_t pixel) {
    return (pixel - kBoardMin) / kCellSize;
}

enum class PressAction { kNone, kStop, kContinue, kOrganism };

// What a press at (h, v), in content pixels, does in the current state.
PressAction press_action(const Sim& sim, int32_t h, int32_t v);

}  // namespace vornick
