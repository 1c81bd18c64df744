#include "sim/kernels/move_lanes.h"

#include <algorithm>

#include "sim/generator.h"
#include "sim/kernels/kernels.h"

namespace vornick {

namespace {

// Few organisms are cut into stretches of at least this many steps to fill blocks of lanes.
constexpr int64_t kMinLaneStretch = 32;
constexpr int32_t kMaxLaneWalkers = 1024;
static_assert(kMaxOrgs <= kMaxLaneWalkers && kMaxLaneWalkers % kernels::kLaneBlock == 0);
static_assert((kMaxOrgs + kernels::kLaneBlock - 1) / kernels::kLaneBlock * kernels::kLaneBlock <=
              OrgLanes::kSlots);

int32_t lane_blocks(int64_t walkers) {
    return static_cast<int32_t>((walkers + kernels::kLaneBlock - 1) / kernels::kLaneBlock);
}

// The stretches that keep the fewest blocks busy per step of the run; more stretches only when
// they save at least a twentieth.
int32_t lane_stretches(int32_t n, int64_t steps) {
    const int64_t most =
        std::min<int64_t>({kernels::kMaxStretches, steps / kMinLaneStretch, kMaxLaneWalkers / n});
    int64_t best = 1;
    for (int64_t s = 2; s <= most; ++s) {
        if (20 * lane_blocks(s * n) * best < 19 * lane_blocks(best * n) * s) best = s;
    }
    return static_cast<int32_t>(best);
}

// Organism i's walkers, one per stretch in order: the first walked from the organism's own
// cell and heading, the others from (0, 0) facing up, so their offsets are turned by the
// heading the stretches before them left.
void apply_lane_stretches(uint8_t* lx, uint8_t* ly, uint8_t* ld, int32_t n, int32_t stretches,
                          const uint8_t* x, const uint8_t* y, const uint8_t* dir) {
    for (int32_t i = 0; i < n; ++i) {
        uint8_t cx = x[i], cy = y[i], d = dir[i];
        for (int32_t at = n + i; at < stretches * n; at += n) {
            kernels::walk_on(cx, cy, d, x[at], y[at], dir[at]);
        }
        lx[i] = cx;
        ly[i] = cy;
        ld[i] = d;
    }
}

}  // namespace

// Each stretch's walkers start from their own first draws. A part's lanes are walked in place
// when the padding past its organisms belongs to nobody else: when it runs to the step's end.
void walk_lanes(const kernels::WalkPart& part) {
    alignas(32) uint32_t first[kMaxLaneWalkers];
    alignas(32) uint8_t x[kMaxLaneWalkers];
    alignas(32) uint8_t y[kMaxLaneWalkers];
    alignas(32) uint8_t dir[kMaxLaneWalkers];
    const int32_t n = part.count;
    uint8_t* const lx = part.lanes->x + part.first;
    uint8_t* const ly = part.lanes->y + part.first;
    uint8_t* const ld = part.lanes->dir + part.first;
    const bool in_place = part.first + n == part.norgs;
    const Jump step = jump_of(static_cast<uint64_t>(part.norgs));
    uint32_t seed = part.seed;
    for (int64_t left = part.steps; left > 0;) {
        const int32_t stretches = lane_stretches(n, left);
        const int64_t each = left / stretches;
        const int32_t walkers = stretches * n;
        const int32_t padded = lane_blocks(walkers) * kernels::kLaneBlock;
        const Jump stretch =
            jump_of(static_cast<uint64_t>(each) * static_cast<uint64_t>(part.norgs));
        for (int32_t k = 0; k < stretches; ++k) {
            for (int32_t i = 0; i < n; ++i) {
                const int32_t org = part.first + i + 1;
                first[k * n + i] = kJump.mul[org] * seed + kJump.add[org];
            }
            seed = stretch.apply(seed);
        }
        std::fill(first + walkers, first + padded, uint32_t{0});
        if (stretches == 1 && in_place) {
            // The lanes run on past the live organisms to whole blocks.
            kernels::walk_lanes_avx2({step.mul, step.add, each, padded, first, lx, ly, ld});
        } else {
            std::copy(lx, lx + n, x);
            std::copy(ly, ly + n, y);
            std::copy(ld, ld + n, dir);
            std::fill(x + n, x + padded, uint8_t{0});
            std::fill(y + n, y + padded, uint8_t{0});
            std::fill(dir + n, dir + padded, uint8_t{0});
            kernels::walk_lanes_avx2({step.mul, step.add, each, padded, first, x, y, dir});
            apply_lane_stretches(lx, ly, ld, n, stretches, x, y, dir);
        }
        left -= stretches * each;
    }
}

}  // namespace vornick
