// A press on the main window's content: resolved to a board cell and the topmost organism on
// it, then acting as stop or continue where the press is not an edit of an organism.
#pragma once

#include <cstdint>

#include "sim/sim.h"

namespace vornick {

// Highest live index standing on (x, y), or -1. Cells outside the grid hold nobody.
int32_t topmost_org(const World& w, int32_t x, int32_t y);

enum class PressAction { kNone, kStop, kContinue, kOrganism };

// What a press at (h, v), in content pixels, does in the current state.
PressAction press_action(const Sim& sim, int32_t h, int32_t v);

// Carries out the press; presses on organisms are left to the organism editor.
void HandleInContent(Sim& sim, int32_t h, int32_t v);

}  // namespace vornick
