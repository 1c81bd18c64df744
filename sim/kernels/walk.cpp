#include "sim/kernels/walk.h"

#include <algorithm>

#include "sim/generator.h"
#include "sim/kernels/kernels.h"
#include "sim/kernels/move_lanes.h"
#include "sim/kernels/vector_path.h"
#include "sim/kernels/walk_pieces.h"

namespace vornick::kernels {

namespace {

void walk_tile_kernel(const TileWalk& walk) {
    switch (vector_path()) {
#if defined(VORNICK_X86_KERNELS)
        case VectorPath::kAvx512:
            return walk_tiles_avx512(walk);
#endif
        default:
            return walk_tiles_portable(walk);
    }
}

// Enough walkers for the processor to overlap their work; fewer organisms are cut into
// stretches, when the run is long enough that each stretch has some tiles.
constexpr int32_t kWalkersWanted = 32;
constexpr int64_t kMinStretchTiles = 8;

int32_t stretches_for(int32_t n, int64_t steps) {
    const int64_t by_count = std::max<int64_t>(1, kWalkersWanted / n);
    const int64_t by_length = steps / (kMinStretchTiles * kTileSteps);
    return static_cast<int32_t>(
        std::clamp<int64_t>(std::min(by_count, by_length), 1, kMaxStretches));
}

uint32_t field(uint64_t counts, int heading) {
    return static_cast<uint32_t>((counts >> (16 * heading)) & 0xffff);
}

// A coordinate after `forward` steps one way and `back` the other, on the wrapped grid.
uint8_t moved(uint8_t c, uint32_t forward, uint32_t back) {
    return static_cast<uint8_t>((c + kGridSize + forward % kGridSize - back % kGridSize) %
                                kGridSize);
}

// A single stretch's walkers start from the organisms' own headings, so their counts are
// already absolute. Plain array code, which the compiler vectorises.
void apply_walkers(uint8_t* x, uint8_t* y, uint8_t* d, int32_t n, const uint64_t* counts,
                   const uint64_t* dir) {
    for (int32_t i = 0; i < n; ++i) {
        const uint64_t c = counts[i];
        x[i] = moved(x[i], field(c, kRight), field(c, kLeft));
        y[i] = moved(y[i], field(c, kDown), field(c, kUp));
        d[i] = static_cast<uint8_t>(dir[i]);
    }
}

// Organism i's walkers, one per stretch in order: each one's counts are relative to its first
// heading, which is where the previous stretches left the organism.
void apply_stretches(uint8_t* x, uint8_t* y, uint8_t* dir, int32_t i, const TileWalk& walk) {
    uint32_t right = 0, left = 0, down = 0, up = 0;
    uint32_t d = dir[i];
    for (int32_t k = 0; k < walk.stretches; ++k) {
        const int32_t at = k * walk.norgs + i;
        const uint64_t rel = walk.counts[at];
        const unsigned shift = 16u * d;
        const uint64_t abs = (rel << shift) | (rel >> ((64u - shift) & 63u));
        right += field(abs, kRight);
        left += field(abs, kLeft);
        down += field(abs, kDown);
        up += field(abs, kUp);
        d = (d + static_cast<uint32_t>(walk.dir[at])) & 3;
    }
    x[i] = moved(x[i], right, left);
    y[i] = moved(y[i], down, up);
    dir[i] = static_cast<uint8_t>(d);
}

// The lane jumps of a tile depend only on the organism count; each thread keeps the last
// count's.
const TileWalk& tile_jumps(int32_t n) {
    thread_local TileWalk jumps{};
    thread_local int32_t made_for = -1;
    if (made_for != n) {
        const Jump step = jump_of(static_cast<uint64_t>(n));
        Jump lane = jump_of(1);  // organism 0's draw in the tile's first step
        for (int j = 0; j < kTileSteps; ++j) {
            jumps.lane_mul[j] = lane.mul;
            jumps.lane_add[j] = lane.add;
            lane = lane.then(step);
        }
        const Jump tile = jump_of(static_cast<uint64_t>(n) * kTileSteps);
        jumps.tile_mul = tile.mul;
        jumps.tile_add = tile.add;
        made_for = n;
    }
    return jumps;
}

// The part in tiles of 64 steps, from words of turns. Its first organism's draws are those of
// organism 0 moved on by `first` draws, which commutes with every other jump of the generator.
void walk_tiles(const WalkPart& p) {
    static_assert(kMaxOrgs % kWalkPad == 0);
    static_assert(kMaxStretches * kWalkPad <= kMaxOrgs);
    TileWalk walk = tile_jumps(p.norgs);
    uint64_t words[kMaxOrgs];
    uint64_t dir[kMaxOrgs];
    uint64_t counts[kMaxOrgs];
    const int32_t n = p.count;
    uint8_t* const lx = p.lanes->x + p.first;
    uint8_t* const ly = p.lanes->y + p.first;
    uint8_t* const ld = p.lanes->dir + p.first;
    const Jump to_first{kJump.mul[p.first], kJump.add[p.first]};
    walk.norgs = n;
    walk.words = words;
    walk.dir = dir;
    walk.counts = counts;
    uint32_t seed = p.seed;
    for (int64_t left = p.steps; left > 0;) {
        const int32_t stretches = stretches_for(n, left);
        int64_t part = 0;
        if (stretches > 1) {
            walk.tiles = std::min(left / (stretches * kTileSteps), kTilesPerChunk);
            walk.last_len = kTileSteps;
            part = stretches * walk.tiles * kTileSteps;
        } else {
            part = std::min(left, kTilesPerChunk * kTileSteps);
            walk.tiles = (part + kTileSteps - 1) / kTileSteps;
            walk.last_len = static_cast<int32_t>(part - (walk.tiles - 1) * kTileSteps);
        }
        const Jump stretch = jump_of(static_cast<uint64_t>(part / stretches) * p.norgs);
        walk.stretches = stretches;
        walk.stretch_mul = stretch.mul;
        walk.stretch_add = stretch.add;
        walk.seed = to_first.apply(seed);
        const int32_t walkers = stretches * n;
        const int32_t padded = (walkers + kWalkPad - 1) / kWalkPad * kWalkPad;
        std::fill(words + walkers, words + padded, uint64_t{0});
        std::fill(counts, counts + padded, uint64_t{0});
        if (stretches == 1) {
            for (int32_t i = 0; i < n; ++i) dir[i] = ld[i];
            std::fill(dir + n, dir + padded, uint64_t{0});
            walk_tile_kernel(walk);
            apply_walkers(lx, ly, ld, n, counts, dir);
        } else {
            std::fill(dir, dir + padded, uint64_t{0});
            walk_tile_kernel(walk);
            for (int32_t i = 0; i < n; ++i) apply_stretches(lx, ly, ld, i, walk);
        }
        seed = jump_of(static_cast<uint64_t>(part) * static_cast<uint64_t>(p.norgs)).apply(seed);
        left -= part;
    }
}

}  // namespace

void step_lanes(OrgLanes& lanes, int32_t n, uint32_t s0) {
    switch (vector_path()) {
#if defined(VORNICK_X86_KERNELS)
        case VectorPath::kAvx512:
            return step_lanes_avx512(lanes, n, s0);
        case VectorPath::kAvx2:
            return step_lanes_avx2(lanes, n, s0);
#endif
        default:
            return step_lanes_portable(lanes, n, s0);
    }
}

void unstep_lanes(OrgLanes& lanes, int32_t n, uint32_t s0) {
    switch (vector_path()) {
#if defined(VORNICK_X86_KERNELS)
        case VectorPath::kAvx512:
            return unstep_lanes_avx512(lanes, n, s0);
        case VectorPath::kAvx2:
            return unstep_lanes_avx2(lanes, n, s0);
#endif
        default:
            return unstep_lanes_portable(lanes, n, s0);
    }
}

void walk_part(const WalkPart& part) {
#if defined(VORNICK_X86_KERNELS)
    if (vector_path() == VectorPath::kAvx2) {
        // On AVX2, stepping lanes one step at a time beats the tiles' words of turns.
        walk_lanes(part);
        return;
    }
#endif
    walk_tiles(part);
}

int32_t part_align() {
#if defined(VORNICK_X86_KERNELS)
    if (vector_path() == VectorPath::kAvx2) return kPartAlign;
#endif
    return kWalkPad;
}

void walk_steps(OrgLanes& lanes, int32_t n, int64_t steps, uint32_t& seed) {
    const WalkPart whole{&lanes, 0, n, n, steps, seed};
    if (!walk_in_pieces(whole)) walk_part(whole);
    seed = jump_of(static_cast<uint64_t>(steps) * static_cast<uint64_t>(n)).apply(seed);
}

}  // namespace vornick::kernels
