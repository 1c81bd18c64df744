// The move kernels, one set per vector path, behind plain declarations. Kernel files are
// compiled for their own instruction set, so this header holds no code that could be shared.
#pragma once

#include <cstdint>

#include "sim/generator.h"
#include "sim/world.h"

namespace vornick::kernels {

// The turn test on the top 16 bits h of a state: with the top bit set, (h | 0x8000) * 19661
// (mod 2^16) is below -26215 as a signed 16-bit number exactly when (h & 0x7fff) % 10 == 0.
inline constexpr uint16_t kTurnTop = 0x8000;
inline constexpr uint16_t kTurnMul = 19661;
inline constexpr int16_t kTurnBelow = -26215;

inline constexpr int kTileSteps = 64;  // one 64-bit word of turns per organism and tile
// Steps facing each heading are counted in 16-bit fields; 1000 tiles never fill one.
inline constexpr int64_t kTilesPerChunk = 1000;

// The walkers' tables are padded to a whole number of this many entries.
inline constexpr int32_t kWalkPad = 8;
inline constexpr int32_t kMaxStretches = 32;

// Tiles of steps for walkers, without positions: each tile adds to a walker's steps counted
// per heading, relative to its first heading, and turns it. A run is cut into `stretches`
// consecutive stretches of `tiles` tiles, each started from its own seed, so that short runs
// of few organisms still give the processor independent work; walker k * norgs + i is
// organism i in stretch k. Kernels may work on the padding walkers up to the next multiple of
// kWalkPad, whose entries must exist and hold any values.
struct TileWalk {
    // Lane j: from the seed at a tile's start to the state of organism 0's draw at step j.
    uint32_t lane_mul[kTileSteps];
    uint32_t lane_add[kTileSteps];
    // From one tile's starting seed to the next one's, and from one stretch's to the next's.
    uint32_t tile_mul;
    uint32_t tile_add;
    uint32_t stretch_mul;
    uint32_t stretch_add;
    uint32_t seed;  // at the start of the first stretch
    int32_t norgs;
    int32_t stretches;  // 1..kMaxStretches
    int64_t tiles;      // per stretch, at least 1, at most kTilesPerChunk
    int32_t last_len;   // steps in a stretch's last tile, 1..64; draws beyond it are ignored
    uint64_t* words;    // scratch: each walker's turns in the current tile
    uint64_t* dir;      // per walker: the heading, 0..3, turned
    // Per walker: steps taken facing headings 0, 1, 2 and 3, in bits 0, 16, 32 and 48; when the
    // walker starts facing 0 for its organism's unknown heading, relative to that.
    uint64_t* counts;
};

void walk_tiles_portable(const TileWalk& walk);
void walk_tiles_avx512(const TileWalk& walk);

// Walkers stepped together, one draw each a step, kLaneBlock to a block of vector lanes: each
// starts from its own state and moves and turns as an organism does, so nothing is left to
// work out from words of turns afterwards. A walker started at (0, 0) facing up gives its
// organism's offset and turns as seen from its first heading, on the wrapped grid.
inline constexpr int32_t kLaneBlock = 32;
struct LaneWalk {
    uint32_t step_mul;  // from one of a walker's draws to its next: a step of every organism
    uint32_t step_add;
    int64_t steps;          // per walker, at least 1
    int32_t walkers;        // a multiple of kLaneBlock
    const uint32_t* first;  // per walker: the state of its first draw
    uint8_t* x;             // per walker: the cell and heading it starts from, and ends at
    uint8_t* y;
    uint8_t* dir;
};

void walk_lanes_avx2(const LaneWalk& walk);

// The draws of one step, organism i's at slot i: state mul[i] * s + add[i] for the state s
// before the step. Runs on past the live organisms to whole vectors of lanes.
struct StepJumps {
    alignas(64) uint32_t mul[OrgLanes::kSlots];
    alignas(64) uint32_t add[OrgLanes::kSlots];
};
constexpr StepJumps make_step_jumps() {
    StepJumps t{};
    Jump j = jump_of(1);
    for (int32_t i = 0; i < OrgLanes::kSlots; ++i) {
        t.mul[i] = j.mul;
        t.add[i] = j.add;
        j = j.then(jump_of(1));
    }
    return t;
}
inline constexpr StepJumps kStepJumps = make_step_jumps();

// One step of the first n organisms held in lanes (all in range): each moves, then turns by
// its draw from state s0. Slots from n to the end of their vector change too.
void step_lanes_portable(OrgLanes& lanes, int32_t n, uint32_t s0);
void step_lanes_avx2(OrgLanes& lanes, int32_t n, uint32_t s0);
void step_lanes_avx512(OrgLanes& lanes, int32_t n, uint32_t s0);

// The inverse: one step back of the first n organisms held in lanes, with s0 the state before
// the step's draws. Each turn is undone, then the move made with the heading it turned from.
void unstep_lanes_portable(OrgLanes& lanes, int32_t n, uint32_t s0);
void unstep_lanes_avx2(OrgLanes& lanes, int32_t n, uint32_t s0);
void unstep_lanes_avx512(OrgLanes& lanes, int32_t n, uint32_t s0);

}  // namespace vornick::kernels
