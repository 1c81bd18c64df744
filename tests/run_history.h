// Test helpers for runs with edits: a run's whole state as comparable text, a run driven
// forward with random edits on the way, and the forward definition written out step by step.
#pragma once

#include <algorithm>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "fakes.h"
#include "sim/history/org_reorder.h"
#include "sim/move.h"

namespace vornick::testing {

// A run of `norgs` organisms from `seed` going at maximum speed, far from its end.
inline std::unique_ptr<Rig> rig_with(int32_t norgs, uint32_t seed, bool random_count = false) {
    auto r = std::make_unique<Rig>();
    r->sim.prefs.iNumOrgs = norgs;
    r->sim.prefs.randINumOrgs = random_count;
    r->sim.prefs.maxIters = 1000000;
    r->sim.pace.speed = kMaxSpeedMode;
    r->sim.pace.delay = kMaxSpeedInterval;
    r->sim.rng.seed = seed;
    r->sim.new_sim();
    return r;
}

inline std::string table_text(const World& w, uint32_t seed) {
    std::ostringstream t;
    t << "seed " << seed << " table";
    for (int32_t i = 0; i < w.norgs; ++i) {
        t << " " << w.orgs.get(i).x << "," << w.orgs.get(i).y << "," << w.orgs.get(i).dir;
    }
    return t.str();
}

// Everything a moment fixes, and what the user sees of it: table, generator, step count, run
// state, selection and journal position.
inline std::string state_text(const Sim& s) {
    std::ostringstream t;
    t << "iters " << s.run.iters << " state " << s.run.stop << s.run.cont_enabled << s.run.end_sim
      << " sel " << s.sel.selectOrgIndex << "/" << s.sel.prinfo << " edits " << s.journal.applied()
      << "/" << s.journal.size() << " " << table_text(s.model, s.rng.seed);
    return t.str();
}

// Runs forward at maximum speed to step `to`, continuing past stop points.
inline void run_to(Sim& sim, int32_t to) {
    while (sim.run.iters < to && sim.run.end_sim == 0) {
        if (sim.run.stop != 0) sim.continue_command();
        sim.step_batch(to - sim.run.iters);
    }
    sim.stop_command();
}

// Selects a random organism, as a press does, and returns its index; -1 when there is none.
inline int32_t select_random(Sim& sim, std::mt19937& rnd) {
    if (sim.model.norgs == 0) return -1;
    const int32_t i = std::uniform_int_distribution<int32_t>(0, sim.model.norgs - 1)(rnd);
    sim.sel.selectOrgIndex = i;
    sim.sel.prinfo = 1;
    return i;
}

// A random drag or arrow move of organism i.
inline bool random_edit(Sim& sim, std::mt19937& rnd, int32_t i) {
    OrgMove m{};
    if (rnd() % 2 == 0) {
        std::uniform_int_distribution<int32_t> cell(0, kGridSize - 1);
        const int32_t x = cell(rnd);
        return sim.drop_edit(i, x, cell(rnd), m);
    }
    return sim.arrow_edit(i, static_cast<ArrowKey>(rnd() % 4), m);
}

// A run of the rig taken to step n with `edits` random edits at random steps, often several
// at one step, then halted; the selection left on a random organism or on none.
inline void run_with_edits(Sim& sim, std::mt19937& rnd, int32_t n, int edits) {
    std::vector<int32_t> stamps(static_cast<std::size_t>(edits));
    for (int32_t& s : stamps) s = std::uniform_int_distribution<int32_t>(0, n)(rnd);
    std::sort(stamps.begin(), stamps.end());
    for (int32_t s : stamps) {
        run_to(sim, s);
        if (const int32_t i = select_random(sim, rnd); i >= 0) random_edit(sim, rnd, i);
    }
    run_to(sim, n);
    if (rnd() % 3 == 0 || select_random(sim, rnd) < 0) {
        sim.sel.selectOrgIndex = -1;
        sim.sel.prinfo = 0;
    }
}

// The forward definition: generation, then one draw after another, each edit made with the
// table's own reordering once its step is done.
inline void replay_serially(const Journal& j, int32_t to, World& w, Generator& gen) {
    gen.seed = j.start.seed;
    init_world(w, gen, j.start.iNumOrgs, j.start.randINumOrgs);
    int32_t next = 0;
    for (int32_t step = 0;; ++step) {
        for (; next < j.size() && j[next].stamp == step; ++next) {
            const Edit& e = j[next];
            if (e.kind == EditKind::kDrag) {
                drop_org(w, e.index, e.x, e.y);
            } else {
                const int32_t dx[] = {-1, 1, 0, 0}, dy[] = {0, 0, -1, 1};
                arrow_move_org(w, e.index, dx[static_cast<int>(e.arrow)],
                               dy[static_cast<int>(e.arrow)]);
            }
        }
        if (step == to) return;
        move_orgs_serial(w, gen);
    }
}

}  // namespace vornick::testing
