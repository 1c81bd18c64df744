#include "sim/move.h"

#include <cstdint>

namespace vornick {

namespace {

// Below this many organisms the serial chain of draws is already short, and the
// out-of-order core overlaps the moves with it.
constexpr int32_t kParallelFrom = 12;

// dx, dy of a heading without a branch; an invalid heading moves nowhere.
inline int32_t step_dx(int32_t d) { return (d == kRight) - (d == kLeft); }
inline int32_t step_dy(int32_t d) { return (d == kDown) - (d == kUp); }

inline int32_t wrap(int32_t c) {
    c = c == kGridSize ? 0 : c;
    return c < 0 ? kGridSize - 1 : c;
}

// v mod 10 == 0 for a 15-bit v, by the multiply that the compiler can vectorise:
// (v * 52429) >> 19 is v / 10 exactly for every v below 43690.
inline bool turns(uint32_t state) {
    const uint32_t v = (state >> 16) & 0x7fff;
    const uint32_t q = (v * 52429u) >> 19;
    return v == q * 10u;
}

inline void move_one(Org& o, bool turn) {
    const int32_t d = o.dir;
    o.x = wrap(o.x + step_dx(d));
    o.y = wrap(o.y + step_dy(d));
    o.dir = turn ? ((d + 1) & 3) : d;
}

// Each organism's draw comes from the jump table, so no iteration waits on another.
__attribute__((target_clones("avx2", "default"))) int32_t move_parallel(Org* orgs, int32_t n,
                                                                          uint32_t s0) {
    int32_t bad = 0;
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t s = kJump.mul[i + 1] * s0 + kJump.add[i + 1];
        bad |= orgs[i].dir & ~3;
        move_one(orgs[i], turns(s));
    }
    return bad;
}

}  // namespace

bool move_orgs_serial(World& w, Generator& gen) {
    int32_t bad = 0;
    for (int32_t i = 0; i < w.norgs; ++i) {
        Org& o = w.orgs[i];
        bad |= o.dir & ~3;
        const int32_t d = o.dir;
        o.x = wrap(o.x + step_dx(d));
        o.y = wrap(o.y + step_dy(d));
        if (gen.draw() % 10 == 0) o.dir = (d + 1) % 4;
    }
    return bad == 0;
}

bool move_orgs(World& w, Generator& gen) {
    const int32_t n = w.norgs;
    if (n < kParallelFrom) {
        int32_t bad = 0;
        uint32_t s = gen.seed;
        for (int32_t i = 0; i < n; ++i) {
            s = s * kLcgMul + kLcgAdd;
            bad |= w.orgs[i].dir & ~3;
            move_one(w.orgs[i], turns(s));
        }
        gen.seed = s;
        return bad == 0;
    }
    const uint32_t s0 = gen.seed;
    const int32_t bad = move_parallel(w.orgs, n, s0);
    gen.seed = kJump.mul[n] * s0 + kJump.add[n];
    return bad == 0;
}

}  // namespace vornick
