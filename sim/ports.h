// What the simulation core asks of the outside world. The application implements these with
// Qt and OpenGL; tests implement them with recording fakes. Every default does nothing, so a
// headless user (the trace tool, a benchmark) plugs in only what it needs.
#pragma once

#include <cstdint>

#include "sim/settings.h"
#include "sim/world.h"

namespace vornick {

// Drawing points of a step and of the run commands. Every operation except the frame and cell
// operations makes its change visible ("presents") itself.
class BoardView {
  public:
    virtual ~BoardView() = default;
    virtual void redraw_scr(const World&) {}  // whole board, presents
    virtual void erase_cell(int32_t /*x*/, int32_t /*y*/, int32_t /*code*/) {}  // before a move
    virtual void draw_org(const Org&) {}                                        // after all moves
    virtual void draw_frame(int32_t /*x*/, int32_t /*y*/) {}   // selection frame, black
    virtual void erase_frame(int32_t /*x*/, int32_t /*y*/) {}  // frame in the board green
    // A sprite centred on (h, v) in content pixels, not snapped to a cell: the organism under
    // the pointer while it is dragged.
    virtual void draw_sprite_at(int32_t /*h*/, int32_t /*v*/, int32_t /*sprite*/) {}
    virtual void present() {}
};

enum class RateUnit { kFramesPerSecond, kStepsPerSecond };

class PanelView {
  public:
    virtual ~PanelView() = default;
    virtual void outext(int32_t /*shown_iters*/) {}        // "iter = %d"
    virtual void outext2(int32_t /*x*/, int32_t /*y*/) {}  // selected organism's cell
    virtual void clr_selorg_text() {}
    // The cell under a dragged organism, and its clearing when the drag ends.
    virtual void outext3(int32_t /*x*/, int32_t /*y*/, int32_t /*mode*/) {}
    virtual void clr_cursor_text() {}
    virtual void outext4(double /*rate*/, RateUnit) {}  // rate meter
    virtual void clr_FPS_text() {}
};

// Menu ids of the menu bar; an item is addressed by (menu, item number from 1).
enum MenuId : int16_t { kAppleMenu = 128, kFileMenu = 129, kSpeedMenu = 130, kOutputMenu = 131 };

class MenuStates {
  public:
    virtual ~MenuStates() = default;
    virtual void set_enabled(MenuId, int16_t /*item*/, bool) {}
    virtual void set_checked(MenuId, int16_t /*item*/, bool) {}
};

// The one repeating step timer. Intervals are in seconds and may be far below a millisecond.
class StepTimer {
  public:
    virtual ~StepTimer() = default;
    virtual void remove() {}
    virtual void install(double /*first_delay*/, double /*interval*/) {}
    // One extra firing as soon as the event loop has handled what is pending; lets a long run of
    // steps hand control back without losing pace.
    virtual void fire_again_soon() {}
};

class SliderWindow {
  public:
    virtual ~SliderWindow() = default;
    // Shows the window (made on first use with the given position); false when it can't be made.
    virtual bool open(int16_t /*value*/, const char* /*text*/) { return false; }
    virtual void set_text(const char* /*text*/) {}
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual uint64_t now_ns() { return 0; }       // monotonic
    virtual int64_t wall_seconds() { return 0; }  // calendar time
};

class MouseButton {
  public:
    virtual ~MouseButton() = default;
    virtual bool is_down() { return false; }
};

class SeedStore {
  public:
    virtual ~SeedStore() = default;
    virtual void write_saved_seed(uint32_t) {}  // the one key, made persistent at once
    virtual void save_all(const Settings&) {}   // every key, made persistent at once
};

// What the status line shows of the run. Reported only when one of these changes, never per
// step, so showing it costs nothing however fast the steps go.
enum class RunStateName : uint8_t { kRunning, kHalted, kEnded };

struct RunStatus {
    uint32_t seed;  // `lastSeed`
    RunStateName state;
    int16_t speed;  // the Speed menu item of the mode, 1 to 6
    int32_t norgs;
    bool operator==(const RunStatus&) const = default;
};

class StatusView {
  public:
    virtual ~StatusView() = default;
    virtual void show_status(const RunStatus&) {}
    // A shared instance that shows nothing.
    static StatusView* nowhere();
};

struct Ports {
    BoardView* board;
    PanelView* panel;
    MenuStates* menus;
    StepTimer* timer;
    SliderWindow* slider;
    Clock* clock;
    MouseButton* mouse;
    SeedStore* store;
    StatusView* status = StatusView::nowhere();

    // Every port set to a shared do-nothing instance.
    static Ports none();
};

}  // namespace vornick
