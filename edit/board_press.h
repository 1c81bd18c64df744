// One mouse press on the main window, from the press to its end, fed event by event by the
// window: it stops or continues the run, selects, deselects, or drags an organism to a cell.
#pragma once

#include <cstdint>

#include "sim/sim.h"

namespace vornick {

class BoardPress {
  public:
    explicit BoardPress(Sim& sim) : sim_(sim) {}

    // A press at (h, v) in content pixels. The drag begins once the pointer has moved this far
    // from the press point, counted as |dh| + |dv| in the same pixels. A press while another
    // is being handled is ignored.
    void HandleInContent(int32_t h, int32_t v, double drag_distance);
    void mouse_moved(int32_t h, int32_t v);
    void mouse_released(int32_t h, int32_t v);
    // The press ends without its release reaching the window: handled as the pointer leaving
    // the board, so nothing moves and nothing stays drawn under the pointer.
    void abort();

    // From a press on an organism until its handling ends; no step is made meanwhile.
    bool in_progress() const { return phase_ != Phase::kIdle; }
    bool dragging() const { return phase_ == Phase::kDragging; }

  private:
    enum class Phase { kIdle, kWaiting, kDragging };

    void select(int32_t x, int32_t y);
    bool moved_enough(int32_t h, int32_t v) const;
    void begin_drag();
    void drag_pass(int32_t h, int32_t v, bool released);
    void drop(bool released);
    void finish();

    Sim& sim_;
    Phase phase_ = Phase::kIdle;
    int32_t press_h_ = 0, press_v_ = 0;
    double drag_distance_ = 0;
    bool may_deselect_ = false;
    int32_t heading_ = 0;
    int32_t cursor_x_ = 0, cursor_y_ = 0;
};

// The step timer's callback: the usual idle work, except while a press is being handled.
void step_timer_fired(Sim& sim, const BoardPress& press);

}  // namespace vornick
