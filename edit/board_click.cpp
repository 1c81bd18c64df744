#include "edit/board_click.h"

namespace vornick {

namespace {

constexpr int32_t kBoardMin = 10;
constexpr int32_t kBoardMax = 290;
constexpr int32_t kCellSize = 10;

}  // namespace

int32_t topmost_org(const World& w, int32_t x, int32_t y) {
    for (int32_t i = w.norgs - 1; i >= 0; --i) {
        if (w.orgs[i].x == x && w.orgs[i].y == y) return i;
    }
    return -1;
}

PressAction press_action(const Sim& sim, int32_t h, int32_t v) {
    if (h < kBoardMin || v < kBoardMin || h > kBoardMax || v > kBoardMax) return PressAction::kNone;
    if (sim.pace.speed == kMaxSpeedMode && sim.run.stop == 0) return PressAction::kStop;
    const int32_t x = (h - kBoardMin) / kCellSize;
    const int32_t y = (v - kBoardMin) / kCellSize;
    if (topmost_org(sim.model, x, y) >= 0) return PressAction::kOrganism;
    if (sim.run.stop == 0) return PressAction::kStop;
    if (sim.run.cont_enabled == 1) return PressAction::kContinue;
    return PressAction::kNone;
}

void HandleInContent(Sim& sim, int32_t h, int32_t v) {
    switch (press_action(sim, h, v)) {
        case PressAction::kStop:
            sim.stop_command();
            break;
        case PressAction::kContinue:
            sim.continue_command();
            break;
        case PressAction::kOrganism:
        case PressAction::kNone:
            break;
    }
    sim.io.board->present();
}

}  // namespace vornick
