#include "edit/arrow_keys.h"

#include <cstdlib>

namespace vornick {

void MoveOrgByArrowKeys(Sim& sim, int32_t code) {
    ArrowKey key = ArrowKey::kLeft;
    switch (code) {
        case kLeftArrowCharCode:
            key = ArrowKey::kLeft;
            break;
        case kRightArrowCharCode:
            key = ArrowKey::kRight;
            break;
        case kUpArrowCharCode:
            key = ArrowKey::kUp;
            break;
        case kDownArrowCharCode:
            key = ArrowKey::kDown;
            break;
        default:
            std::exit(1);
    }
    Selection& sel = sim.sel;
    OrgMove m{};
    if (!sim.arrow_edit(sel.selectOrgIndex, key, m)) return;  // only a full journal refuses
    sel.selectOrgIndex = m.to;
    const Org o = sim.model.orgs.get(m.to);
    sel.selcx = o.x;
    sel.selcy = o.y;
    sim.io.board->redraw_scr(sim.model);
    sim.io.board->draw_frame(o.x, o.y);
    sim.io.panel->outext2(o.x, o.y);
    sim.io.board->present();
}

void HandleArrowKey(Sim& sim, const BoardPress& press, int32_t code) {
    if (press.in_progress() || !is_arrow_code(code)) return;
    const int32_t i = sim.sel.selectOrgIndex;
    if (i < 0 || i >= sim.model.norgs) return;
    MoveOrgByArrowKeys(sim, code);
}

}  // namespace vornick
