#include "sim/move.h"

#include "sim/kernels/walk.h"

namespace vornick {

namespace {

int32_t wrap(int32_t c) {
    c = c == kGridSize ? 0 : c;
    return c < 0 ? kGridSize - 1 : c;
}

}  // namespace

bool move_orgs_serial(World& w, Generator& gen) {
    int32_t bad = 0;
    Org* orgs = w.orgs.records();
    for (int32_t i = 0, n = w.live_count(); i < n; ++i) {
        Org& o = orgs[i];
        bad |= !valid_heading(o.dir);
        const int32_t d = o.dir;
        o.x = wrap(o.x + (d == kRight) - (d == kLeft));
        o.y = wrap(o.y + (d == kDown) - (d == kUp));
        if (gen.draw() % 10 == 0) o.dir = (d + 1) % 4;
    }
    return bad == 0;
}

bool move_orgs(World& w, Generator& gen) {
    const int32_t n = w.live_count();
    if (n == 0) return true;
    OrgLanes* lanes = w.orgs.lanes_for(n);
    // Only a hand-made table has records without a byte form; it gets the definition itself.
    if (lanes == nullptr) return move_orgs_serial(w, gen);
    const uint32_t s0 = gen.seed;
    kernels::step_lanes(*lanes, n, s0);
    gen.seed = kJump.mul[n] * s0 + kJump.add[n];
    return true;
}

bool move_orgs_steps(World& w, Generator& gen, int64_t steps) {
    const int32_t n = w.live_count();
    if (steps <= 0 || n == 0) return true;
    // The walk works on the lanes, which hold only positions on the grid and valid headings;
    // consecutive batches keep them and never touch the records.
    OrgLanes* const lanes = w.orgs.lanes_for(n);
    if (lanes == nullptr) {
        if (!headings_valid(w)) return false;
        // Positions off the grid wrap only at its edges: the walk's modulo would differ.
        for (int64_t k = 0; k < steps; ++k) move_orgs_serial(w, gen);
        return true;
    }
    kernels::walk_steps(*lanes, n, steps, gen.seed);
    return true;
}

}  // namespace vornick
