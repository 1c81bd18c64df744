#include <algorithm>
#include <climits>
#include <cstdlib>

#include "sim/history/timeline.h"
#include "sim/kernels/worker_pool.h"
#include "sim/sim.h"

namespace vornick {

namespace {

// Organism-steps of one travel chunk on one core: a few milliseconds through the batch kernels.
// Shared among cores, a chunk grows to last as long.
constexpr int64_t kChunkOrgSteps = int64_t{1} << 26;

}  // namespace

int64_t Sim::steps_to_next_edit() const {
    const int32_t a = journal.applied();
    if (a >= journal.size() || journal[a].stamp <= run.iters) return INT64_MAX;
    return int64_t{journal[a].stamp} - run.iters;
}

// A run taken back and then continued makes its later edits again as it reaches them.
void Sim::make_edits_now() {
    const Timeline t{model, rng, run.iters, journal, &sel.selectOrgIndex};
    while (journal.applied() < journal.size() && journal[journal.applied()].stamp == run.iters) {
        if (!make_edit(t)) {
            journal.drop_later();  // not in a journal the program made or a file passed
            break;
        }
    }
    if (pace.speed != kMaxSpeedMode && pace.limited_FPS == 0) full_refresh();
}

bool Sim::record_edit(const Edit& e, OrgMove& made) {
    if (!journal.has_room() || !edit_fits(model, e)) return false;
    trip_.active = false;
    journal.record(e);
    make_edit(Timeline{model, rng, run.iters, journal, &sel.selectOrgIndex});
    made = journal[journal.applied() - 1].made;
    return true;
}

bool Sim::drop_edit(int32_t i, int32_t x, int32_t y, OrgMove& made) {
    Edit e;
    e.stamp = run.iters;
    e.kind = EditKind::kDrag;
    e.index = i;
    e.x = x;
    e.y = y;
    return record_edit(e, made);
}

bool Sim::arrow_edit(int32_t i, ArrowKey key, OrgMove& made) {
    Edit e;
    e.stamp = run.iters;
    e.kind = EditKind::kArrow;
    e.index = i;
    e.arrow = key;
    return record_edit(e, made);
}

bool Sim::begin_trip(Moment to, Trip::Then then) {
    trip_.active = true;
    trip_.to = to;
    trip_.then = then;
    trip_.steps = std::abs(int64_t{to.iters} - run.iters);
    return true;
}

bool Sim::step_back() {
    if (!can_step_back()) return false;
    begin_trip({run.iters - 1, journal.made_by(run.iters - 1)}, Trip::Then::kNothing);
    travel(1);
    return true;
}

bool Sim::go_to_step(int32_t n) {
    if (!can_travel()) return false;
    n = std::clamp(n, 0, std::max(limits().maxIters, 0));
    return begin_trip({n, journal.made_by(n)}, Trip::Then::kNothing);
}

bool Sim::undo_edit() {
    const Edit* e = journal.last();
    if (!e) return false;
    stop_command();
    return begin_trip({e->stamp, journal.size() - 1}, Trip::Then::kTakeLast);
}

bool Sim::redo_edit() {
    const Edit* e = journal.next_redo();
    if (!e) return false;
    stop_command();
    return begin_trip({e->stamp, journal.size()}, Trip::Then::kPutBack);
}

const char* Sim::undo_name() const {
    return journal.last() ? edit_name(*journal.last()) : nullptr;
}

const char* Sim::redo_name() const {
    return journal.next_redo() ? edit_name(*journal.next_redo()) : nullptr;
}

int64_t Sim::travel_steps_left() const {
    return trip_.active ? std::abs(int64_t{trip_.to.iters} - run.iters) : 0;
}

int64_t Sim::travel_chunk() const {
    return std::max<int64_t>(kChunkOrgSteps * batch_cores() / std::max(model.norgs, 1), 1);
}

bool Sim::travel(int64_t max_steps) {
    if (!trip_.active) return true;
    if (run.stop == 0) {
        trip_.active = false;
        return true;
    }
    settle_limits();
    const int32_t from = run.iters;
    const Timeline t{model, rng, run.iters, journal, &sel.selectOrgIndex};
    int64_t budget = std::max<int64_t>(max_steps, 0);
    const TravelEnd end = travel_toward(t, trip_.to, budget);
    // Like a step on a heading that no step leaves, a table that no step leaves ends the
    // program rather than go on from a run that never was.
    if (end == TravelEnd::kStuck) std::exit(1);
    if (end != TravelEnd::kBudgetSpent) trip_.active = false;
    if (end == TravelEnd::kArrived) {
        if (trip_.then == Trip::Then::kTakeLast) journal.take_last();
        if (trip_.then == Trip::Then::kPutBack) {
            journal.put_back();
            make_edit(t);
        }
    }
    // A step back leaves no run ended; a step forward ends it at its end, as stepping would.
    if (run.iters < from) set_halted();
    if (run.iters > from && run.iters >= limits().maxIters) set_ended();
    meter.last_iters = run.iters;
    full_refresh();
    return !trip_.active;
}

void Sim::adopt_run(const World& w, const Generator& g, int32_t iters, Journal&& j,
                    const RunLimits& own) {
    trip_.active = false;
    model = w;
    rng = g;
    run.iters = iters;
    run.lastSeed = j.start.seed;
    run.prev_step_stop = 1;
    journal = std::move(j);
    own_limits_ = own;
    displaced_ = prefs_limits();
    meter.last_iters = iters;
    sel.prinfo = 0;
    sel.selectOrgIndex = -1;
    if (own.maxIters <= 0 || iters >= own.maxIters) {
        set_ended();
    } else {
        set_halted();
    }
    io.panel->clr_selorg_text();
    redraw_and_count();
}

}  // namespace vornick
