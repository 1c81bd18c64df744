// The kernels for any processor: plain x86-64 (or any other) code, also the reference that
// the vector paths are tested against.
#include <cstdint>

#include "sim/kernels.h"
#include "sim/record_lanes.h"
#include "sim/tile_walk.h"

namespace vornick::kernels {

namespace {

inline uint64_t prefix_xor(uint64_t v) {
    for (int s = 1; s < 64; s <<= 1) v ^= v << s;
    return v;
}

}  // namespace

int32_t move_step_portable(Org* orgs, int32_t n, uint32_t s0, const uint32_t* mul,
                           const uint32_t* add) {
    return move_records<4>(orgs, n, s0, mul, add);
}

void walk_tiles_portable(const TileWalk& walk) {
    const int32_t n = walk.norgs;
    int natural[kTileSteps];
    for (int l = 0; l < kTileSteps; ++l) natural[l] = l;
    uint32_t first[kMaxStretches * kTileSteps];
    first_states(walk, natural, first);
    for (int64_t tile = 0; tile < walk.tiles; ++tile) {
        for (int32_t k = 0; k < walk.stretches; ++k) {
            uint32_t* const lanes = first + k * kTileSteps;
            uint32_t state[kTileSteps];
            for (int j = 0; j < kTileSteps; ++j) state[j] = lanes[j];
            for (int32_t i = 0; i < n; ++i) {
                uint64_t word = 0;
                for (int j = 0; j < kTileSteps; ++j) {
                    word |= static_cast<uint64_t>(turn_of(state[j])) << j;
                    state[j] = state[j] * kLcgMul + kLcgAdd;
                }
                walk.words[k * n + i] = word;
            }
            for (int j = 0; j < kTileSteps; ++j)
                lanes[j] = lanes[j] * walk.tile_mul + walk.tile_add;
        }
        const int32_t len = tile + 1 == walk.tiles ? walk.last_len : kTileSteps;
        for (int32_t i = 0; i < walk.stretches * n; ++i) {
            walk_one(walk.words[i], low_bits(len), static_cast<uint64_t>(len), walk.dir[i],
                     walk.counts[i], prefix_xor);
        }
    }
}

}  // namespace vornick::kernels
