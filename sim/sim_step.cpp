#include <climits>
#include <cstdlib>

#include "sim/move.h"
#include "sim/sim.h"

namespace vornick {

void Sim::begin_step() {
    // The end test below keeps iters within maxIters; saturating is the last line of defence
    // against an overflow whatever the settings were.
    if (run.iters < INT32_MAX) ++run.iters;
    settle_limits();

    if (pace.limit_to_60FPS != 0 && pace.delay < kCapInterval) {
        pace.limited_FPS = 1;
    } else {
        // Leaving the cap: the board was not kept up to date while it was in force.
        if (pace.limited_FPS == 1) io.board->redraw_scr(model);
        pace.limited_FPS = 0;
    }

    if (sel.prinfo == 1) {
        io.board->erase_frame(sel.selcx, sel.selcy);
        if (pace.limited_FPS == 1) {
            sel.prinfo = 0;
            io.panel->clr_selorg_text();
            sel.selectOrgIndex = -1;
        }
    }
}

void Sim::HandleDraw() {
    begin_step();

    const bool max_speed = pace.speed == kMaxSpeedMode;
    const bool drawn = !max_speed && pace.limited_FPS == 0;

    // Erasing every old cell before any organism moves paints the same as erasing each just
    // before its own move, since moving draws nothing.
    // The step reads organisms with get(), which leaves the table as the move left it.
    if (drawn) {
        for (int32_t i = 0; i < model.norgs; ++i) {
            const Org o = model.orgs.get(i);
            io.board->erase_cell(o.x, o.y, model.cell(o.x, o.y));
        }
    }
    if (!move_orgs(model, rng)) std::exit(1);

    if (drawn) {
        for (int32_t i = 0; i < model.norgs; ++i) io.board->draw_org(model.orgs.get(i));
    }

    if (max_speed) {
        if (run.iters % kMaxSpeedCountEvery == 0) io.panel->outext(shown_iters());
    } else {
        if (sel.prinfo == 1) show_selection();
        if (pace.limited_FPS == 0) {
            if (pace.delay > kEveryStepCount || run.iters % 100 == 0) {
                io.panel->outext(shown_iters());
            }
            io.board->present();
        } else if (timed_out_60FPS()) {
            io.board->redraw_scr(model);
            io.panel->outext(shown_iters());
            timed_out_60FPS();  // restarts the gate's interval after the drawing
        }
    }

    end_checks();
    make_due_edits();
}

void Sim::end_checks() {
    const RunLimits lim = limits();
    bool halted_here = false;
    if (run.iters >= lim.maxIters) {
        set_ended();
        halted_here = true;
    } else if (lim.setStopPt && run.iters == lim.stopIters) {
        set_halted();
        halted_here = true;
    }
    if (halted_here && (pace.speed == kMaxSpeedMode || pace.limited_FPS == 1)) redraw_and_count();
}

int32_t Sim::shown_iters() const {
    if (pace.speed != kMaxSpeedMode && pace.limited_FPS != 0 && pace.delay < kEveryStepCount) {
        return run.iters / 100 * 100;
    }
    return run.iters;
}

void Sim::redraw_and_count() {
    io.board->redraw_scr(model);
    io.panel->outext(shown_iters());
}

void Sim::full_refresh() {
    redraw_and_count();
    if (sel.prinfo == 1) show_selection();
}

void Sim::show_selection() {
    // Read in place: a write access would take the table off its byte copy.
    const Org o = model.orgs.get(sel.selectOrgIndex);
    io.panel->outext2(o.x, o.y);
    sel.selcx = o.x;
    sel.selcy = o.y;
    io.board->draw_frame(sel.selcx, sel.selcy);
}

}  // namespace vornick
