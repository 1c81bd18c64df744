#include "app/board_summary.h"

namespace vornick {

BoardSummary board_summary(const Sim& sim) {
    BoardSummary s;
    s.step = sim.shown_iters();
    s.state = sim.status().state;
    s.norgs = sim.model.norgs;
    const int32_t i = sim.sel.selectOrgIndex;
    if (sim.sel.prinfo != 0 && i >= 0 && i < sim.model.norgs) {
        s.selected = i;
        const Org o = sim.model.orgs.get(i);
        s.x = o.x;
        s.y = o.y;
        s.dir = o.dir;
    }
    return s;
}

bool walked_on(const BoardSummary& before, const BoardSummary& now) {
    return now.step > before.step && now.state == before.state && now.norgs == before.norgs &&
           now.selected == before.selected;
}

}  // namespace vornick
