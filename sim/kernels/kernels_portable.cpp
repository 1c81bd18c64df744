// The kernels for any processor: plain x86-64 (or any other) code, also the reference that
// the vector paths are tested against.
#include <cstdint>

#include "sim/kernels/kernels.h"
#include "sim/kernels/tile_walk.h"

namespace vornick::kernels {

namespace {

constexpr int32_t turn_of(uint32_t state) {
    const auto h = static_cast<uint16_t>(((state >> 16) | kTurnTop) * kTurnMul);
    return static_cast<int16_t>(h) < kTurnBelow;
}

// Every kernel's turn test is this one; it must agree with the draw's own test for each of the
// 32768 draws (bit 31 of a state is not part of its draw), which the compiler checks here.
constexpr bool turn_test_holds() {
    for (uint32_t draw = 0; draw < 32768; ++draw) {
        for (const uint32_t top : {0u, 0x8000u}) {
            if (turn_of((draw | top) << 16) != (draw % 10 == 0 ? 1 : 0)) return false;
        }
    }
    return true;
}
static_assert(turn_test_holds());

inline uint64_t prefix_xor(uint64_t v) {
    for (int s = 1; s < 64; s <<= 1) v ^= v << s;
    return v;
}

}  // namespace

void step_lanes_portable(OrgLanes& lanes, int32_t n, uint32_t s0) {
    // Byte arithmetic without lookups, so that the compiler can vectorise the loop: a step
    // left or up from 0 gives 255.
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t d = lanes.dir[i];
        auto x = static_cast<uint8_t>(lanes.x[i] + (d == kRight) - (d == kLeft));
        auto y = static_cast<uint8_t>(lanes.y[i] + (d == kDown) - (d == kUp));
        x = x == kGridSize ? 0 : (x == 255 ? kGridSize - 1 : x);
        y = y == kGridSize ? 0 : (y == 255 ? kGridSize - 1 : y);
        lanes.x[i] = x;
        lanes.y[i] = y;
        const uint32_t state = kStepJumps.mul[i] * s0 + kStepJumps.add[i];
        lanes.dir[i] = static_cast<uint8_t>((d + turn_of(state)) & 3);
    }
}

void unstep_lanes_portable(OrgLanes& lanes, int32_t n, uint32_t s0) {
    for (int32_t i = 0; i < n; ++i) {
        const uint32_t state = kStepJumps.mul[i] * s0 + kStepJumps.add[i];
        const auto d = static_cast<uint8_t>((lanes.dir[i] - turn_of(state)) & 3);
        auto x = static_cast<uint8_t>(lanes.x[i] - (d == kRight) + (d == kLeft));
        auto y = static_cast<uint8_t>(lanes.y[i] - (d == kDown) + (d == kUp));
        lanes.x[i] = x == kGridSize ? 0 : (x == 255 ? kGridSize - 1 : x);
        lanes.y[i] = y == kGridSize ? 0 : (y == 255 ? kGridSize - 1 : y);
        lanes.dir[i] = d;
    }
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
