#include "edit/arrow_keys.h"

#include <cstdlib>

#include "sim/org_reorder.h"

namespace vornick {

void MoveOrgByArrowKeys(Sim& sim, int32_t code) {
    int32_t dx = 0, dy = 0;
    switch (code) {
        case kLeftArrowCharCode:
            dx = -1;
            break;
        case kRightArrowCharCode:
            dx = 1;
            break;
        case kUpArrowCharCode:
            dy = -1;
            break;
        case kDownArrowCharCode:
            dy = 1;
            break;
        default:
            std::exit(1);
    }
    Selection& sel = sim.sel;
    const OrgMove m = arrow_move_org(sim.model, sel.selectOrgIndex, dx, dy);
    sel.selectOrgIndex = m.to;
    const Org& o = sim.model.orgs[m.to];
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
