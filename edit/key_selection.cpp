#include "edit/key_selection.h"

namespace vornick {

namespace {

// As a click selects: the old frame erased, the new one drawn at the organism's cell, its
// position in the panel. The organism need not be the topmost on its cell.
void select_org(Sim& sim, int32_t i) {
    Selection& sel = sim.sel;
    const Org o = sim.model.orgs.get(i);
    sel.prinfo = 1;
    sim.io.board->erase_frame(sel.selcx, sel.selcy);
    sel.selcx = o.x;
    sel.selcy = o.y;
    sim.io.board->draw_frame(o.x, o.y);
    sel.selectOrgIndex = i;
    sim.io.panel->outext2(o.x, o.y);
    sim.io.board->present();
}

// As a click on the framed cell deselects.
void deselect_org(Sim& sim) {
    Selection& sel = sim.sel;
    if (sel.prinfo == 0) return;
    sel.prinfo = 0;
    sim.io.board->erase_frame(sel.selcx, sel.selcy);
    sim.io.panel->clr_selorg_text();
    sel.selectOrgIndex = -1;
    sim.io.board->present();
}

}  // namespace

void HandleSelectionKey(Sim& sim, const BoardPress& press, SelectionKey key) {
    if (press.in_progress()) return;
    if (key == SelectionKey::kDeselect) {
        deselect_org(sim);
        return;
    }
    const int32_t n = sim.model.norgs;
    if (n <= 0) return;
    const int32_t at = sim.sel.prinfo != 0 ? sim.sel.selectOrgIndex : -1;
    const bool selected = at >= 0 && at < n;
    int32_t i = 0;
    if (key == SelectionKey::kNext) {
        i = selected ? (at + 1) % n : 0;
    } else {
        i = selected ? (at + n - 1) % n : n - 1;
    }
    select_org(sim, i);
}

}  // namespace vornick
