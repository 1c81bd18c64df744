// One organism's tile of steps, worked out from its 64-bit word of turns: the steps it took
// facing each heading and the heading it ends with. Each kernel file compiles its own copy.
#pragma once

#include <cstdint>

#include "sim/kernels/kernels.h"

namespace vornick::kernels {
namespace {

// The heading at step j, relative to the tile's first, is c_j mod 4 for c_j the turns made
// before step j. Its bit 0 is the exclusive prefix parity p of the turns; its bit 1 flips at
// every turn made while p is 1, so it is the exclusive prefix parity of (turns & p).
// `valid` has a bit for each step of the tile; `len` is their number.
template <typename PrefixXor>
__attribute__((always_inline)) inline void walk_one(uint64_t turns, uint64_t valid, uint64_t len,
                                                    uint64_t& dir, uint64_t& counts,
                                                    PrefixXor prefix_xor) {
    turns &= valid;
    const uint64_t p = prefix_xor(turns) << 1;
    const uint64_t q = prefix_xor(turns & p) << 1;
    const uint64_t n1 = static_cast<uint64_t>(__builtin_popcountll(p & ~q & valid));
    const uint64_t n2 = static_cast<uint64_t>(__builtin_popcountll(q & ~p & valid));
    const uint64_t n3 = static_cast<uint64_t>(__builtin_popcountll(q & p & valid));
    const uint64_t n0 = len - n1 - n2 - n3;
    const uint64_t relative = n0 | n1 << 16 | n2 << 32 | n3 << 48;
    // Rotating the fields by the first heading turns relative headings into absolute ones.
    const auto shift = static_cast<unsigned>(16 * dir);
    counts += (relative << shift) | (relative >> ((64u - shift) & 63u));
    dir = (dir + static_cast<uint64_t>(__builtin_popcountll(turns))) & 3;
}

// Each stretch's draws at the start of its first tile, for organism 0: 64 lanes per stretch,
// lane l of a stretch at the step order[l].
inline void first_states(const TileWalk& walk, const int* order, uint32_t* first) {
    for (int l = 0; l < kTileSteps; ++l) {
        first[l] = walk.lane_mul[order[l]] * walk.seed + walk.lane_add[order[l]];
    }
    for (int32_t k = 1; k < walk.stretches; ++k) {
        for (int l = 0; l < kTileSteps; ++l) {
            first[k * kTileSteps + l] =
                walk.stretch_mul * first[(k - 1) * kTileSteps + l] + walk.stretch_add;
        }
    }
}

inline uint64_t low_bits(int32_t len) {
    return len >= 64 ? ~uint64_t{0} : (uint64_t{1} << len) - 1;
}

}  // namespace
}  // namespace vornick::kernels
