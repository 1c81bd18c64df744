#include "render/board_log.h"

namespace vornick {

namespace {

bool is_cell_op(const BoardOp& op) {
    return op.kind == BoardOp::kFill || op.kind == BoardOp::kQuad;
}

// The cells a frame's lines may light, counted generously: the eight around its own. Where
// that leaves the grid the lines may reach the white margin, which no cell covers.
template <typename F>
bool for_reach(const BoardOp& op, F&& cell) {
    bool inside = true;
    for (int dx = -1; dx <= 1; ++dx) {
        for (int dy = -1; dy <= 1; ++dy) {
            const int x = op.x + dx, y = op.y + dy;
            if (!BoardLog::on_grid(x, y)) {
                inside = false;
                continue;
            }
            cell(x * kGridSize + y);
        }
    }
    return inside;
}

}  // namespace

void BoardLog::fill(int32_t x, int32_t y) {
    ops_[count_++] = BoardOp{BoardOp::kFill, static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                             state_.sprite, state_.tc_bottom};
}

void BoardLog::quad(int32_t x, int32_t y, uint8_t sprite) {
    ops_[count_++] =
        BoardOp{BoardOp::kQuad, static_cast<uint8_t>(x), static_cast<uint8_t>(y), sprite, true};
    state_ = TexState{sprite, true};
}

void BoardLog::frame(int32_t x, int32_t y, bool erase) {
    frame_colour_ = erase ? kErased : kDrawn;
    ops_[count_++] = BoardOp{erase ? BoardOp::kUnframe : BoardOp::kFrame, static_cast<uint8_t>(x),
                             static_cast<uint8_t>(y), 0, false};
}

void BoardLog::redraw() {
    count_ = 0;
    ring_ = true;
}

// Walks back from the last operation: a cell operation is hidden by a later one on its cell;
// a frame by a later frame at its cell, or by later cell operations on every cell it can reach
// when it cannot reach the margin.
void BoardLog::take(Plan& plan) {
    bool covered[kCells] = {};
    bool framed_later[kCells] = {};
    bool near_frame[kCells] = {};
    bool live[kCapacity];
    for (int i = count_ - 1; i >= 0; --i) {
        const BoardOp& op = ops_[i];
        const int cell = op.x * kGridSize + op.y;
        if (is_cell_op(op)) {
            live[i] = !covered[cell];
            covered[cell] = true;
            continue;
        }
        bool hidden = true;
        const bool inside = for_reach(op, [&](int c) { hidden &= covered[c]; });
        live[i] = !framed_later[cell] && !(inside && hidden);
        framed_later[cell] = true;
        if (live[i]) for_reach(op, [&](int c) { near_frame[c] = true; });
    }
    plan.count = 0;
    for (int i = 0; i < count_; ++i) {
        const BoardOp& op = ops_[i];
        if (live[i] && is_cell_op(op) && !near_frame[op.x * kGridSize + op.y]) {
            plan.op[plan.count++] = &op;
        }
    }
    plan.free_count = plan.count;
    for (int i = 0; i < count_; ++i) {
        const BoardOp& op = ops_[i];
        if (live[i] && !(is_cell_op(op) && !near_frame[op.x * kGridSize + op.y])) {
            plan.op[plan.count++] = &op;
        }
    }
    plan.ring = ring_;
    count_ = 0;
    ring_ = false;
    frame_colour_ = kNoFrame;
}

}  // namespace vornick
