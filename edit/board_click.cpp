#include "edit/board_click.h"

namespace vornick {

PressAction press_action(const Sim& sim, int32_t h, int32_t v) {
    if (!on_board(h, v)) return PressAction::kNone;
    if (sim.pace.speed == kMaxSpeedMode && sim.run.stop == 0) return PressAction::kStop;
    if (topmost_org(sim.model, cell_of(h), cell_of(v)) >= 0) return PressAction::kOrganism;
    if (sim.run.stop == 0) return PressAction::kStop;
    if (sim.run.cont_enabled == 1) return PressAction::kContinue;
    return PressAction::kNone;
}

}  // namespace vornick
