// One step of organisms held as the table's own records, x, y and dir interleaved: blocks of
// L organisms gathered into a vector per field and scattered back. Compiled into each kernel file.
#pragma once

#include <cstdint>
#include <utility>

#include "sim/kernels.h"

// The vector helpers below are internal and always inlined into one caller, so the note that
// vector arguments would pass differently across an ABI boundary does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace vornick::kernels {
namespace {

inline int32_t turn_of(uint32_t state) {
    const auto h = static_cast<uint16_t>(((state >> 16) | kTurnTop) * kTurnMul);
    return static_cast<int16_t>(h) < kTurnBelow;
}

inline int32_t wrap(int32_t c) {
    c = c == kGridSize ? 0 : c;
    return c < 0 ? kGridSize - 1 : c;
}

inline int32_t move_one(Org& o, int32_t turn) {
    const int32_t d = o.dir;
    o.x = wrap(o.x + (d == kRight) - (d == kLeft));
    o.y = wrap(o.y + (d == kDown) - (d == kUp));
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

    using hvec __attribute__((vector_size(L * 4))) = uint16_t;

    // The turn test of kernels.h on the top half of each state, whose low half cannot bring
    // the 32-bit lane below the limit's: one 16-bit multiply, no division.
    __attribute__((always_inline)) static vec turns(uvec s) {
        const hvec h = (hvec)(s | 0x80000000u) * kTurnMul;
        return (vec)h < static_cast<int32_t>(uint32_t(uint16_t(kTurnBelow)) << 16);
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
        const vec turn = turns(m * s0 + ad);  // -1 where the organism turns

        // Comparisons give -1 for true, so (d == 1) - (d == 3) is the dx of a heading.
        const vec nx = wrap(x + ((d == int32_t{kLeft}) - (d == int32_t{kRight})));
        const vec ny = wrap(y + ((d == int32_t{kUp}) - (d == int32_t{kDown})));
        const vec nd = (d - turn) & 3;

        a = __builtin_shuffle(__builtin_shuffle(nx, ny, make([](int k) { return scatter1(0, k); })),
                              nd, make([](int k) { return scatter2(0, k); }));
        b = __builtin_shuffle(__builtin_shuffle(nx, ny, make([](int k) { return scatter1(1, k); })),
                              nd, make([](int k) { return scatter2(1, k); }));
        c = __builtin_shuffle(__builtin_shuffle(nx, ny, make([](int k) { return scatter1(2, k); })),
                              nd, make([](int k) { return scatter2(2, k); }));
        __builtin_memcpy(p, &a, sizeof a);
        __builtin_memcpy(p + L, &b, sizeof b);
        __builtin_memcpy(p + 2 * L, &c, sizeof c);
        return d & ~3;
    }
};

// Blocks of L organisms, then one of 4, then one by one.
template <int L>
__attribute__((always_inline)) inline int32_t move_records(Org* orgs, int32_t n, uint32_t s0,
                                                           const uint32_t* mul,
                                                           const uint32_t* add) {
    int32_t i = 0;
    typename Lanes<L>::vec bad_lanes{};
    for (; i + L <= n; i += L) bad_lanes |= Lanes<L>::move_block(orgs + i, mul + i, add + i, s0);
    int32_t bad = 0;
    for (int k = 0; k < L; ++k) bad |= bad_lanes[k];
    if constexpr (L > 4) {
        if (i + 4 <= n) {
            const auto b4 = Lanes<4>::move_block(orgs + i, mul + i, add + i, s0);
            bad |= b4[0] | b4[1] | b4[2] | b4[3];
            i += 4;
        }
    }
    for (; i < n; ++i) bad |= move_one(orgs[i], turn_of(mul[i] * s0 + add[i]));
    return bad;
}

}  // namespace
}  // namespace vornick::kernels
