#include "sim/move.h"

#include <array>
#include <cstdint>
#include <utility>

// The vector helpers below are internal and always inlined into one caller, so the note that
// vector arguments would pass differently across an ABI boundary does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace vornick {

namespace {

// dx, dy of a heading without a branch; an invalid heading moves nowhere.
inline int32_t step_dx(int32_t d) {
    return (d == kRight) - (d == kLeft);
}
inline int32_t step_dy(int32_t d) {
    return (d == kDown) - (d == kUp);
}

inline int32_t wrap(int32_t c) {
    c = c == kGridSize ? 0 : c;
    return c < 0 ? kGridSize - 1 : c;
}

// v mod 10 == 0 for a 15-bit v, by a multiply that vectorises:
// (v * 52429) >> 19 is v / 10 exactly for every v below 43690.
inline int32_t turns(uint32_t state) {
    const uint32_t v = (state >> 16) & 0x7fff;
    const uint32_t q = (v * 52429u) >> 19;
    return v == q * 10u;
}

// The state after `draws` draws comes from the jump table, so no draw waits on another.
inline uint32_t state_after(int32_t draws, uint32_t s0) {
    return kJump.mul[draws] * s0 + kJump.add[draws];
}

inline int32_t move_one(Org& o, int32_t turn) {
    const int32_t d = o.dir;
    o.x = wrap(o.x + step_dx(d));
    o.y = wrap(o.y + step_dy(d));
    o.dir = (d + turn) & 3;
    return d & ~3;
}

// A block of L organisms is 3L consecutive ints (x, y, dir interleaved): three vectors. Two
// constant shuffles gather one field of all L organisms, two more scatter it back.
template <int L>
struct Lanes {
    using vec __attribute__((vector_size(L * 4))) = int32_t;
    using uvec __attribute__((vector_size(L * 4))) = uint32_t;

    template <typename F>
    static constexpr vec make(F f) {
        return [&]<std::size_t... I>(std::index_sequence<I...>) {
            return vec{static_cast<int32_t>(f(static_cast<int>(I)))...};
        }
        (std::make_index_sequence<L>());
    }
    // Gathering field f: first from the first two vectors, then the third.
    static constexpr int gather1(int f, int k) { return 3 * k + f < 2 * L ? 3 * k + f : 0; }
    static constexpr int gather2(int f, int k) { return 3 * k + f < 2 * L ? k : 3 * k + f - L; }
    // Scattering into vector v: x and y first, then dir.
    static constexpr int scatter1(int v, int m) {
        const int j = v * L + m;
        return j % 3 == 0 ? j / 3 : j % 3 == 1 ? L + j / 3 : 0;
    }
    static constexpr int scatter2(int v, int m) {
        const int j = v * L + m;
        return j % 3 == 2 ? L + j / 3 : m;
    }

    __attribute__((always_inline)) static vec wrap(vec c) {
        c = c == kGridSize ? vec{} : c;
        return c < 0 ? vec{} + (kGridSize - 1) : c;
    }

    // Moves the L organisms at `o`; returns the OR of invalid heading bits.
    __attribute__((always_inline)) static vec move_block(Org* o, const uint32_t* mul,
                                                         const uint32_t* add, uint32_t s0) {
        auto* p = reinterpret_cast<int32_t*>(o);
        vec a, b, c;
        __builtin_memcpy(&a, p, sizeof a);
        __builtin_memcpy(&b, p + L, sizeof b);
        __builtin_memcpy(&c, p + 2 * L, sizeof c);
        const vec x =
            __builtin_shuffle(__builtin_shuffle(a, b, make([](int k) { return gather1(0, k); })), c,
                              make([](int k) { return gather2(0, k); }));
        const vec y =
            __builtin_shuffle(__builtin_shuffle(a, b, make([](int k) { return gather1(1, k); })), c,
                              make([](int k) { return gather2(1, k); }));
        const vec d =
            __builtin_shuffle(__builtin_shuffle(a, b, make([](int k) { return gather1(2, k); })), c,
                              make([](int k) { return gather2(2, k); }));

        uvec m, ad;
        __builtin_memcpy(&m, mul, sizeof m);
        __builtin_memcpy(&ad, add, sizeof ad);
        const uvec s = m * s0 + ad;
        const uvec v = (s >> 16) & 0x7fff;
        const uvec q = (v * 52429u) >> 19;
        const vec turn = (vec)(v == q * 10u);  // -1 where the organism turns

        // Comparisons give -1 for true, so (d == 1) - (d == 3) is the dx of a heading.
        const vec nx = wrap(x + ((d == int32_t{kLeft}) - (d == int32_t{kRight})));
        const vec ny = wrap(y + ((d == int32_t{kUp}) - (d == int32_t{kDown})));
        const vec nd = (d - turn) & 3;

        const vec xy0 = __builtin_shuffle(nx, ny, make([](int k) { return scatter1(0, k); }));
        const vec xy1 = __builtin_shuffle(nx, ny, make([](int k) { return scatter1(1, k); }));
        const vec xy2 = __builtin_shuffle(nx, ny, make([](int k) { return scatter1(2, k); }));
        a = __builtin_shuffle(xy0, nd, make([](int k) { return scatter2(0, k); }));
        b = __builtin_shuffle(xy1, nd, make([](int k) { return scatter2(1, k); }));
        c = __builtin_shuffle(xy2, nd, make([](int k) { return scatter2(2, k); }));
        __builtin_memcpy(p, &a, sizeof a);
        __builtin_memcpy(p + L, &b, sizeof b);
        __builtin_memcpy(p + 2 * L, &c, sizeof c);
        return d & ~3;
    }
};

template <int L>
int32_t any_lane(typename Lanes<L>::vec v) {
    int32_t r = 0;
    for (int i = 0; i < L; ++i) r |= v[i];
    return r;
}

// Moves every organism: blocks of 8, then of 4, then one by one. The widest vectors the
// processor has are picked at run time; the default build stays plain x86-64.
__attribute__((target_clones("arch=x86-64-v4", "avx2", "default"))) int32_t move_all(Org* orgs,
                                                                                     int32_t n,
                                                                                     uint32_t s0) {
    const uint32_t* mul = kJump.mul.data() + 1;
    const uint32_t* add = kJump.add.data() + 1;
    int32_t i = 0;
    Lanes<8>::vec bad8{};
    for (; i + 8 <= n; i += 8) bad8 |= Lanes<8>::move_block(orgs + i, mul + i, add + i, s0);
    int32_t bad = any_lane<8>(bad8);
    if (i + 4 <= n) {
        bad |= any_lane<4>(Lanes<4>::move_block(orgs + i, mul + i, add + i, s0));
        i += 4;
    }
    for (; i < n; ++i) bad |= move_one(orgs[i], turns(state_after(i + 1, s0)));
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
    const uint32_t s0 = gen.seed;
    const int32_t bad = move_all(w.orgs, n, s0);
    gen.seed = state_after(n, s0);
    return bad == 0;
}

}  // namespace vornick
