#include "sim/move_back.h"

#include <algorithm>

#include "sim/move.h"

namespace vornick {

namespace {

int32_t live_count(const World& w) {
    return std::clamp(w.norgs, int32_t{0}, kMaxOrgs);
}

bool invertible(const World& w, int32_t n) {
    bool ok = true;
    for (int32_t i = 0; i < n; ++i) {
        const Org& o = w.orgs[i];
        ok &= static_cast<uint32_t>(o.dir) < 4 && static_cast<uint32_t>(o.x) < kGridSize &&
              static_cast<uint32_t>(o.y) < kGridSize;
    }
    return ok;
}

int32_t wrap_back(int32_t c) {
    c += c < 0 ? kGridSize : 0;
    return c >= kGridSize ? c - kGridSize : c;
}

// (x, y) turned by `quarters` quarter turns the way organisms turn: up, left, down, right.
void turn_offset(int32_t& x, int32_t& y, int32_t quarters) {
    for (int32_t q = 0; q < quarters; ++q) {
        const int32_t was_x = x;
        x = y;
        y = (kGridSize - was_x) % kGridSize;
    }
}

}  // namespace

bool unmove_orgs(World& w, Generator& gen) {
    const int32_t n = live_count(w);
    if (!invertible(w, n)) return false;
    const uint32_t s0 = jump_back({kJump.mul[n], kJump.add[n]}).apply(gen.seed);
    // Each organism's undoing depends on its own draw alone, so index order serves as well as
    // the reverse, and lets the compiler work on several organisms at once.
    for (int32_t i = 0; i < n; ++i) {
        Org& o = w.orgs[i];
        const uint32_t s = kJump.mul[i + 1] * s0 + kJump.add[i + 1];
        const int32_t turned = ((s >> 16) & 0x7fff) % 10 == 0;
        const int32_t d = (o.dir - turned) & 3;  // the heading it moved with
        o.dir = d;
        o.x = wrap_back(o.x - ((d == kRight) - (d == kLeft)));
        o.y = wrap_back(o.y - ((d == kDown) - (d == kUp)));
    }
    gen.seed = s0;
    return true;
}

// The draws of the steps depend only on the generator's state before them, which a jump back
// gives. Walking organisms that start at (0, 0) facing up through those draws gives each one's
// turns and its offset as seen from its first heading; the first heading is then the last one
// less the turns, and the first cell the last one less the offset turned by that heading.
bool unmove_orgs_steps(World& w, Generator& gen, int64_t steps) {
    const int32_t n = live_count(w);
    if (steps <= 0) return true;
    if (!invertible(w, n)) return false;
    const uint64_t draws = static_cast<uint64_t>(steps) * static_cast<uint64_t>(n);
    const uint32_t start = jump_back(jump_of(draws)).apply(gen.seed);
    if (n > 0) {
        World rel;
        rel.norgs = n;
        std::fill(rel.orgs, rel.orgs + n, Org{0, 0, kUp});
        Generator walk{start};
        if (!move_orgs_steps(rel, walk, steps)) return false;
        for (int32_t i = 0; i < n; ++i) {
            Org& o = w.orgs[i];
            const int32_t first = (o.dir - rel.orgs[i].dir) & 3;
            int32_t dx = rel.orgs[i].x, dy = rel.orgs[i].y;
            turn_offset(dx, dy, first);
            o.x = wrap_back(o.x - dx);
            o.y = wrap_back(o.y - dy);
            o.dir = first;
        }
    }
    gen.seed = start;
    return true;
}

}  // namespace vornick
