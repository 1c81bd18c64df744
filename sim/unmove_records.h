// One step back over the table's own records, compiled into each kernel file for its
// instruction set. A block of L organisms is 3L ints (x, y, dir interleaved): three vectors,
// from which constant shuffles gather each field, and into which they scatter it back.
#pragma once

#include <cstdint>
#include <utility>

#include "sim/kernels.h"
#include "sim/world.h"

// The vector helpers below are internal and always inlined into one caller, so the note that
// vector arguments would pass differently across an ABI boundary does not apply.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace vornick::kernels {
namespace {

template <int L>
struct BackLanes {
    using vec __attribute__((vector_size(L * 4))) = int32_t;
    using uvec __attribute__((vector_size(L * 4))) = uint32_t;
    using hvec __attribute__((vector_size(L * 4))) = uint16_t;

    template <typename F>
    static constexpr vec make(F f) {
        return [&]<std::size_t... I>(std::index_sequence<I...>) {
            return vec{static_cast<int32_t>(f(static_cast<int>(I)))...};
        }
        (std::make_index_sequence<L>());
    }
    // -1 where the state's draw is a multiple of 10: the turn test of kernels.h on each lane's
    // top half, whose low half cannot bring the 32-bit lane below the limit's.
    __attribute__((always_inline)) static vec turns(uvec s) {
        const hvec h = (hvec)(s | 0x80000000u) * kTurnMul;
        return (vec)h < static_cast<int32_t>(uint32_t(uint16_t(kTurnBelow)) << 16);
    }

    // Gathering field f of the block's organisms: from the first two vectors, then the third.
    static constexpr int from_ab(int f, int k) { return 3 * k + f < 2 * L ? 3 * k + f : 0; }
    static constexpr int then_c(int f, int k) { return 3 * k + f < 2 * L ? k : 3 * k + f - L; }
    // Scattering into vector v: x and y first, then the heading.
    static constexpr int from_xy(int v, int m) {
        const int j = v * L + m;
        return j % 3 == 0 ? j / 3 : j % 3 == 1 ? L + j / 3 : 0;
    }
    static constexpr int then_d(int v, int m) {
        const int j = v * L + m;
        return j % 3 == 2 ? L + j / 3 : m;
    }

    template <int F>
    __attribute__((always_inline)) static vec gather(vec a, vec b, vec c) {
        return __builtin_shuffle(__builtin_shuffle(a, b, make([](int k) { return from_ab(F, k); })),
                                 c, make([](int k) { return then_c(F, k); }));
    }
    template <int V>
    __attribute__((always_inline)) static vec scatter(vec x, vec y, vec d) {
        return __builtin_shuffle(__builtin_shuffle(x, y, make([](int m) { return from_xy(V, m); })),
                                 d, make([](int m) { return then_d(V, m); }));
    }

    __attribute__((always_inline)) static vec back_block(Org* o, const uint32_t* mul,
                                                         const uint32_t* add, uint32_t s0) {
        auto* p = reinterpret_cast<int32_t*>(o);
        vec a, b, c;
        __builtin_memcpy(&a, p, sizeof a);
        __builtin_memcpy(&b, p + L, sizeof b);
        __builtin_memcpy(&c, p + 2 * L, sizeof c);
        const vec x = gather<0>(a, b, c);
        const vec y = gather<1>(a, b, c);
        const vec d = gather<2>(a, b, c);
        uvec m, ad;
        __builtin_memcpy(&m, mul, sizeof m);
        __builtin_memcpy(&ad, add, sizeof ad);
        const vec nd = (d + turns(m * s0 + ad)) & 3;  // the heading it moved with
        // Comparisons give -1 for true: (d == 1) - (d == 3) is the dx of heading d.
        vec nx = x - ((nd == int32_t{kLeft}) - (nd == int32_t{kRight}));
        vec ny = y - ((nd == int32_t{kUp}) - (nd == int32_t{kDown}));
        nx = nx < 0 ? vec{} + (kGridSize - 1) : nx == kGridSize ? vec{} : nx;
        ny = ny < 0 ? vec{} + (kGridSize - 1) : ny == kGridSize ? vec{} : ny;
        a = scatter<0>(nx, ny, nd);
        b = scatter<1>(nx, ny, nd);
        c = scatter<2>(nx, ny, nd);
        __builtin_memcpy(p, &a, sizeof a);
        __builtin_memcpy(p + L, &b, sizeof b);
        __builtin_memcpy(p + 2 * L, &c, sizeof c);
        return (d & ~3) | (vec)((uvec)x >= kGridSize) | (vec)((uvec)y >= kGridSize);
    }
};

inline int32_t back_one(Org& o, uint32_t state) {
    const int32_t bad = (o.dir & ~3) | (static_cast<uint32_t>(o.x) >= kGridSize) |
                        (static_cast<uint32_t>(o.y) >= kGridSize);
    const auto h = static_cast<uint16_t>(((state >> 16) | kTurnTop) * kTurnMul);
    const int32_t d = (o.dir - (static_cast<int16_t>(h) < kTurnBelow)) & 3;
    const int32_t x = o.x - ((d == kRight) - (d == kLeft));
    const int32_t y = o.y - ((d == kDown) - (d == kUp));
    o.x = x < 0 ? kGridSize - 1 : x == kGridSize ? 0 : x;
    o.y = y < 0 ? kGridSize - 1 : y == kGridSize ? 0 : y;
    o.dir = d;
    return bad;
}

// Blocks of L organisms, then one of 4, then one by one. Returns nonzero when a record was out
// of range, which no step leaves; the table is then no longer a moment of the run.
template <int L>
__attribute__((always_inline)) inline int32_t unmove_records(Org* orgs, int32_t n, uint32_t s0,
                                                             const uint32_t* mul,
                                                             const uint32_t* add) {
    typename BackLanes<L>::vec bad_lanes{};
    int32_t i = 0;
    for (; i + L <= n; i += L) {
        bad_lanes |= BackLanes<L>::back_block(orgs + i, mul + i, add + i, s0);
    }
    int32_t bad = 0;
    for (int k = 0; k < L; ++k) bad |= bad_lanes[k];
    if constexpr (L > 4) {
        if (i + 4 <= n) {
            const auto b4 = BackLanes<4>::back_block(orgs + i, mul + i, add + i, s0);
            bad |= b4[0] | b4[1] | b4[2] | b4[3];
            i += 4;
        }
    }
    for (; i < n; ++i) bad |= back_one(orgs[i], mul[i] * s0 + add[i]);
    return bad;
}

}  // namespace
}  // namespace vornick::kernels
