#include "edit/board_press.h"

#include <algorithm>
#include <cstdlib>

#include "edit/board_click.h"

namespace vornick {

namespace {

// The dragged sprite reaches 5 pixels each way from its centre and must stay on the board.
constexpr int32_t kSpriteCentreMin = 15;
constexpr int32_t kSpriteCentreMax = 285;
constexpr int32_t kCursorTextMode = 2;  // blue

}  // namespace

void BoardPress::HandleInContent(int32_t h, int32_t v, double drag_distance) {
    if (phase_ != Phase::kIdle) return;
    switch (press_action(sim_, h, v)) {
        case PressAction::kStop:
            sim_.stop_command();
            break;
        case PressAction::kContinue:
            sim_.continue_command();
            break;
        case PressAction::kOrganism:
            press_h_ = h;
            press_v_ = v;
            drag_distance_ = drag_distance;
            select(cell_of(h), cell_of(v));
            phase_ = Phase::kWaiting;
            return;  // the press is over only once its button is released
        case PressAction::kNone:
            break;
    }
    sim_.io.board->present();
}

void BoardPress::select(int32_t x, int32_t y) {
    Selection& sel = sim_.sel;
    may_deselect_ = sel.prinfo != 0 && x == sel.selcx && y == sel.selcy;
    if (may_deselect_) return;  // decided by the release: deselect, or drag the same organism
    sel.prinfo = 1;
    sim_.io.board->erase_frame(sel.selcx, sel.selcy);
    sel.selcx = x;
    sel.selcy = y;
    sim_.io.board->draw_frame(x, y);
    sel.selectOrgIndex = topmost_org(sim_.model, x, y);
    const Org o = sim_.model.orgs.get(sel.selectOrgIndex);
    sim_.io.panel->outext2(o.x, o.y);
    sim_.io.board->present();
}

bool BoardPress::moved_enough(int32_t h, int32_t v) const {
    const int32_t moved = std::abs(h - press_h_) + std::abs(v - press_v_);
    return moved > 0 && moved >= drag_distance_;
}

void BoardPress::mouse_moved(int32_t h, int32_t v) {
    if (phase_ == Phase::kWaiting && moved_enough(h, v)) begin_drag();
    if (phase_ == Phase::kDragging) drag_pass(h, v, false);
}

void BoardPress::mouse_released(int32_t h, int32_t v) {
    if (phase_ == Phase::kWaiting && moved_enough(h, v)) begin_drag();
    if (phase_ == Phase::kDragging) {
        drag_pass(h, v, true);
        return;
    }
    if (phase_ != Phase::kWaiting) return;
    Selection& sel = sim_.sel;
    // A new run meanwhile has dropped the selection and drawn a fresh board.
    if (may_deselect_ && sel.prinfo != 0) {
        sel.prinfo = 0;
        sim_.io.board->erase_frame(sel.selcx, sel.selcy);
        sim_.io.panel->clr_selorg_text();
        sel.selectOrgIndex = -1;
    }
    finish();
}

void BoardPress::abort() {
    if (phase_ == Phase::kIdle) return;
    if (phase_ == Phase::kWaiting) begin_drag();
    drag_pass(-1, -1, false);
}

void BoardPress::begin_drag() {
    phase_ = Phase::kDragging;
    const int32_t i = sim_.sel.selectOrgIndex;
    heading_ = i >= 0 ? sim_.model.orgs.get(i).dir : 0;
}

void BoardPress::drag_pass(int32_t h, int32_t v, bool released) {
    if (!on_board(h, v)) {
        drop(false);
        return;
    }
    h = std::clamp(h, kSpriteCentreMin, kSpriteCentreMax);
    v = std::clamp(v, kSpriteCentreMin, kSpriteCentreMax);
    sim_.io.board->redraw_scr(sim_.model);
    cursor_x_ = cell_of(h);
    cursor_y_ = cell_of(v);
    const Selection& sel = sim_.sel;
    if (sel.selectOrgIndex == -1) {
        drop(true);
        return;
    }
    sim_.io.board->draw_frame(sel.selcx, sel.selcy);
    sim_.io.board->draw_sprite_at(h, v, heading_);
    sim_.io.board->present();
    sim_.io.panel->outext3(cursor_x_, cursor_y_, kCursorTextMode);
    if (released) drop(true);
}

void BoardPress::drop(bool released) {
    sim_.io.panel->clr_cursor_text();
    Selection& sel = sim_.sel;
    if (sel.selectOrgIndex != -1) {
        OrgMove m{};
        // The journal turns down a drop onto the organism's own cell (where a stale frame may
        // stand elsewhere), which would reorder the table without moving anything.
        if (released && (cursor_x_ != sel.selcx || cursor_y_ != sel.selcy) &&
            sim_.drop_edit(sel.selectOrgIndex, cursor_x_, cursor_y_, m)) {
            sel.selectOrgIndex = m.to;
            sim_.io.panel->clr_selorg_text();
            sim_.io.panel->outext2(cursor_x_, cursor_y_);
            sel.selcx = cursor_x_;
            sel.selcy = cursor_y_;
        }
        sim_.io.board->redraw_scr(sim_.model);
        const Org o = sim_.model.orgs.get(sel.selectOrgIndex);
        sim_.io.board->draw_frame(o.x, o.y);
        sim_.io.board->present();
    }
    finish();
}

void BoardPress::finish() {
    phase_ = Phase::kIdle;
    sim_.io.board->present();
}

void step_timer_fired(Sim& sim, const BoardPress& press) {
    if (!press.in_progress()) sim.doIdle();
}

}  // namespace vornick
