// The arrow keys move the selected organism one cell across the wrapped board, on a running or
// a halted run alike, leaving it the topmost organism on its new cell.
#pragma once

#include <cstdint>

#include "edit/board_press.h"
#include "sim/sim.h"

namespace vornick {

// Character codes of the arrow keys.
enum ArrowCode : int32_t {
    kLeftArrowCharCode = 28,
    kRightArrowCharCode = 29,
    kUpArrowCharCode = 30,
    kDownArrowCharCode = 31,
};

inline bool is_arrow_code(int32_t code) {
    return code >= kLeftArrowCharCode && code <= kDownArrowCharCode;
}

// Moves the selected organism, which must exist, and shows it at its new cell. Any other code
// is a fault of the caller and ends the process with status 1.
void MoveOrgByArrowKeys(Sim& sim, int32_t code);

// A key pressed without the command key: an arrow moves the selected organism; without a
// selection, or while a press on the board is being handled, nothing happens.
void HandleArrowKey(Sim& sim, const BoardPress& press, int32_t code);

}  // namespace vornick
