// The selection by keyboard: Tab and Shift+Tab walk it through the organism table, wrapping,
// and Escape drops it. What it shows, and what happens to it afterwards, is what a click's
// selection shows and undergoes; it never stops or continues the run.
#pragma once

#include "edit/board_press.h"
#include "sim/sim.h"

namespace vornick {

enum class SelectionKey { kNext, kPrevious, kDeselect };

// Next: the organism after the selected one, or organism 0 when none is selected. Previous:
// the one before it, or the last organism. Nothing happens without organisms, nor while a press
// on the board is being handled: the organism in the hand stays the selected one.
void HandleSelectionKey(Sim& sim, const BoardPress& press, SelectionKey key);

}  // namespace vornick
