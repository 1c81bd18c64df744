#include "sim/history/move_back.h"

#include <algorithm>
#include <utility>

#include "sim/kernels/walk.h"
#include "sim/move.h"

namespace vornick {

namespace {

bool invertible(const World& w, int32_t n) {
    bool ok = true;
    for (int32_t i = 0; i < n; ++i) {
        const Org o = w.orgs.get(i);
        ok &= valid_heading(o.dir) && on_grid(o.x, o.y);
    }
    return ok;
}

}  // namespace

// Works on the byte lanes, as a step forward does, so that stepping back and forth converts
// nothing. A record without a byte form is one that no step leaves.
bool unmove_orgs(World& w, Generator& gen) {
    const int32_t n = w.live_count();
    if (n == 0) return true;
    OrgLanes* const lanes = w.orgs.lanes_for(n);
    if (lanes == nullptr) return false;
    gen.seed = jump_back({kJump.mul[n], kJump.add[n]}).apply(gen.seed);
    kernels::unstep_lanes(*lanes, n, gen.seed);
    return true;
}

// The draws of the steps depend only on the generator's state before them, which a jump back
// gives. Walking organisms that start at (0, 0) facing up through those draws gives each one's
// turns and its offset as seen from its first heading; the first heading is then the last one
// less the turns, and the first cell the last one less the offset turned by that heading.
bool unmove_orgs_steps(World& w, Generator& gen, int64_t steps) {
    const int32_t n = w.live_count();
    if (steps <= 0) return true;
    if (!invertible(w, n)) return false;
    const uint64_t draws = static_cast<uint64_t>(steps) * static_cast<uint64_t>(n);
    const uint32_t start = jump_back(jump_of(draws)).apply(gen.seed);
    if (n > 0) {
        World rel;
        rel.norgs = n;
        Org* const from = rel.orgs.records();
        std::fill(from, from + n, Org{0, 0, kUp});
        Generator walk{start};
        if (!move_orgs_steps(rel, walk, steps)) return false;
        Org* const orgs = w.orgs.records();
        const Org* const walked = std::as_const(rel.orgs).records();
        for (int32_t i = 0; i < n; ++i) {
            Org& o = orgs[i];
            const Org& r = walked[i];
            const int32_t first = (o.dir - r.dir) & 3;
            const Offset d = turned_offset(first, r.x, r.y);
            // Both offsets lie within -27..27, so two grid sizes keep the difference positive.
            o.x = (o.x - d.x + 2 * kGridSize) % kGridSize;
            o.y = (o.y - d.y + 2 * kGridSize) % kGridSize;
            o.dir = first;
        }
    }
    gen.seed = start;
    return true;
}

}  // namespace vornick
