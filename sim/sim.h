// The simulation core: one run's model, its run state, the pacing of its steps, and the
// commands that change them. Single-threaded; the model lives in fixed tables and a step never
// allocates (only the journal grows, by one record an edit). Everything it shows or schedules
// goes out through Ports.
#pragma once

#include <cstdint>
#include <optional>

#include "sim/generator.h"
#include "sim/history/journal.h"
#include "sim/ports.h"
#include "sim/settings.h"
#include "sim/world.h"

namespace vornick {

// Speed menu items; 1..6 are the modes that `speed` can hold.
enum SpeedItem : int16_t {
    kSlowMode = 1,
    kFastMode = 2,
    kTurboMode = 3,
    kMaxSpeedMode = 4,
    kSingleStepMode = 5,
    kVariableMode = 6,
    kSliderItem = 7,
    kCapItem = 9,
};

enum FileItem : int16_t {
    kNewRunItem = 1,
    kStopItem = 2,
    kContinueItem = 3,
    kRestartItem = 4,
    kSaveSeedItem = 5,
    kRunSavedItem = 6,
};

inline constexpr double kCapInterval = 0.016667;  // the 60 fps cap applies below this delay
inline constexpr double kEveryStepCount = 0.001;  // above this delay the count shows each step
inline constexpr double kHaltedInterval = 0.1;    // the timer's pace while a run is halted
inline constexpr double kMaxSpeedInterval = 0.1;  // the timer's pace in the maximum-speed mode
inline constexpr uint64_t kMaxLoopSliceNs = 16'000'000;  // back-to-back steps between yields
inline constexpr int32_t kMaxSpeedCountEvery = 10000;    // at maximum speed the count moves so
inline constexpr int32_t kMaxSpeedMeterEvery = 400;      // and the rate meter is read so

// The steps of the maximum-speed loop's next batch: enough to fill `left_ns` at the pace of the
// `made` steps that took `took_ns`, within 1 and 32 times the slice's `first` batch.
int64_t next_max_speed_batch(int64_t made, uint64_t took_ns, uint64_t left_ns, int64_t first);

// Run states: Running (0,0,0), Halted (1,1,0), Ended (1,0,1) as (stop, cont_enabled, end_sim).
struct RunState {
    int32_t stop = 0;
    int32_t cont_enabled = 0;
    int32_t end_sim = 0;
    int32_t prev_step_stop = 0;
    uint32_t lastSeed = 0;  // the generator state at which the current run started
    int32_t iters = 0;
};

struct Pacing {
    int16_t speed = kSlowMode;
    double delay = 2.0;
    int32_t prev_stop = 0;  // `stop` when the timer was last re-armed by doIdle
    int32_t limit_to_60FPS = 0;
    int32_t limited_FPS = 0;
    bool prnFPS = false;
    int32_t gDone = 0;
};

// The selected organism and the cell at which its frame was last drawn.
struct Selection {
    int32_t selectOrgIndex = -1;
    int32_t prinfo = 0;
    int32_t selcx = 0;
    int32_t selcy = 0;
};

// Where a run ends and where it halts on its way.
struct RunLimits {
    int32_t maxIters = 10000000;
    bool setStopPt = false;
    int32_t stopIters = 2000;
    bool operator==(const RunLimits&) const = default;
};

// A travel through the run's journal under way, made in chunks.
struct Trip {
    enum class Then : uint8_t { kNothing, kTakeLast, kPutBack };
    bool active = false;
    Moment to{};
    Then then = Then::kNothing;
    int64_t steps = 0;  // from where it began to `to`
};

struct RateMeter {
    uint64_t sLastFlush = 0;
    int32_t last_iters = 0;
};

struct FrameGate {
    uint64_t sLastFlush = 0;
    int32_t wait_redraw = 0;
};

class Sim {
  public:
    explicit Sim(Ports ports = Ports::none()) : io(ports) {}

    // Model and settings.
    World model{};
    Generator rng;
    Settings prefs;
    RunState run;
    Pacing pace;
    Selection sel;
    RateMeter meter;
    FrameGate gate;
    Ports io;
    Journal journal;  // the current run's start and edits

    // The current run's end and stop point: the preferences', except in a run opened from a
    // file, which keeps the file's until the preferences' own change.
    RunLimits limits() const {
        if (!own_limits_) return prefs_limits();  // every run but one opened from a file
        return prefs_limits() == displaced_ ? *own_limits_ : prefs_limits();
    }

    // One step (sim_step.cpp).
    void HandleDraw();
    // Up to k steps of a running run at once, exactly as HandleDraw called until the run
    // halts, ends or k steps are made: the same state, the same calls out, in the same order,
    // but at maximum speed the frame erased once, not at every step (sim_batch.cpp). Drawn steps
    // go one at a time. Returns the steps made; 0 when the run is not running.
    int64_t step_batch(int64_t k);
    // Steps from now to where the run halts or ends, at least 1.
    int64_t steps_until_halt() const;

    // Run control (sim_run_control.cpp).
    void new_sim();
    // A new run from a seed the user typed: as a run command, but that seed even when every
    // run is set to replay the saved one.
    void new_sim_from_seed(uint32_t typed);
    void HandleFileChoice(int16_t item);
    void stop_command();
    void continue_command();
    void leave_single_step();
    void single_step();  // one step in the single-step mode, when the run has not ended

    // Pacing and speed modes (sim_pacing.cpp).
    void doIdle();
    void HandleSpeedChoice(int16_t item);
    void HandleSliderDialog();
    void sliderActionFunction(int32_t value);

    // Display pacing (sim_rate_meter.cpp).
    void calcFPS();
    bool timed_out_60FPS();
    RateUnit rate_unit() const;

    // Time travel (history/sim_travel.cpp). A halted or ended run goes to any moment of its
    // journal, exactly as a forward run reaches it, edits made and unmade on the way; the selection
    // stays on its organism. A travel begun by go_to_step, undo_edit or redo_edit is made by
    // calls of travel(), each leaving the run halted (ended at its end) at a consistent step,
    // shown in full, so a window can show progress and stop between them.
    //
    // Whether Step Back and Go to Step can act: the run halted or ended, and for Step Back
    // past step 0.
    bool can_travel() const { return run.stop != 0; }
    bool can_step_back() const { return run.stop != 0 && run.iters > 0; }
    // Exactly one step back, edits stamped with the step undone first, shown at once; nothing
    // at step 0 or while the run is going. Returns whether it moved.
    bool step_back();
    // Begins a travel to step n, 0..maxIters (limited to that), after every edit stamped n or
    // earlier. False while the run is going.
    bool go_to_step(int32_t n);
    // Begins a travel to the moment just before the journal's last edit, which is then taken
    // out and kept for Redo; a going run is stopped first. False when there is no edit.
    bool undo_edit();
    // Begins a travel to the moment of the last undone edit, which is then made again; a going
    // run is stopped first. False when there is none. A new edit ends what Redo can make.
    bool redo_edit();
    // "Drag" or "Move", the edit that Undo or Redo would take; nullptr when none.
    const char* undo_name() const;
    const char* redo_name() const;
    // Goes on with the travel by at most `max_steps` steps; true once none is left. A run
    // that was continued meanwhile ends the travel where it is.
    bool travel(int64_t max_steps);
    void cancel_travel() { trip_.active = false; }
    bool travelling() const { return trip_.active; }
    int64_t travel_steps_left() const;
    int64_t travel_steps_total() const { return trip_.steps; }
    // Steps of a chunk that takes some tens of milliseconds.
    int64_t travel_chunk() const;

    // Edits, recorded in the journal (history/sim_travel.cpp): organism i dropped on (x, y), or
    // moved one cell by an arrow key, the selection kept on its organism. False, changing nothing,
    // when the edit cannot be made: no such organism, a drop onto its own cell, or a full
    // journal. Recording drops the journal's later edits and what Redo would make.
    bool drop_edit(int32_t i, int32_t x, int32_t y, OrgMove& made);
    bool arrow_edit(int32_t i, ArrowKey key, OrgMove& made);

    // Takes a run rebuilt elsewhere, from a run file: its table, generator, step count and
    // journal, with limits of its own. It stands halted (ended at its end), nothing selected,
    // and is shown in full. The preferences do not change.
    void adopt_run(const World& w, const Generator& g, int32_t iters, Journal&& j,
                   const RunLimits& own);

    // Board, step count and selection repainted in full.
    void full_refresh();
    // The step count as the panel shows it: in hundreds while capped below a millisecond.
    int32_t shown_iters() const;

    // Output menu item 1: the rate meter on or off.
    void HandleOutputChoice(int16_t item);

    // The run as the status line shows it.
    RunStatus status() const;

    // Replaces the step timer: first firing after `first_delay`, then every `interval` seconds.
    void rearm(double first_delay, double interval);

  private:
    void start_run(uint32_t from);
    // Tells the status port, when what it shows has changed since it was last told.
    void report_status();
    void set_running();
    void set_halted();
    void set_ended();
    void decide_limited_FPS_halted();
    void redraw_and_count();
    void begin_step();
    void end_checks();
    void max_speed_loop();
    // The selected organism's position in the panel and its frame on the board, where it stands.
    void show_selection();

    RunLimits prefs_limits() const { return {prefs.maxIters, prefs.setStopPt, prefs.stopIters}; }
    // A file's limits give way once the preferences' own change.
    void settle_limits() {
        if (own_limits_ && prefs_limits() != displaced_) own_limits_.reset();
    }
    int64_t steps_to_next_edit() const;
    // Checked after every step, so the common case of no edit due stays inline.
    void make_due_edits() {
        const int32_t a = journal.applied();
        if (a < journal.size() && journal[a].stamp == run.iters) make_edits_now();
    }
    void make_edits_now();
    bool begin_trip(Moment to, Trip::Then then);
    bool record_edit(const Edit& e, OrgMove& made);

    Trip trip_;
    std::optional<RunLimits> own_limits_;  // a file's, while the preferences' are `displaced_`
    RunLimits displaced_{};

    RunStatus reported_{};
    bool status_reported_ = false;
};

}  // namespace vornick
