// A part of a batch that can be walked on its own, on any thread: some of the organisms for some
// of the steps, from the generator state that their draws follow.
#pragma once

#include <cstdint>

#include "sim/kernels/org_table.h"
#include "sim/org.h"

namespace vornick::kernels {

// Organisms in a block of lanes, which a lane walk moves whole.
inline constexpr int32_t kPartAlign = 32;

struct WalkPart {
    OrgLanes* lanes;  // the organisms' cells and headings, moved in place
    int32_t first;  // organisms first..first+count-1 of the step; first a multiple of part_align()
    int32_t count;  // at least 1
    int32_t norgs;  // organisms in a step, each making one draw
    int64_t steps;  // at least 1
    uint32_t seed;  // the state before the draws of the part's first step
};

// Walks the part with the kernels of the vector path in use. Lanes outside it are left alone,
// except those past its last organism up to the end of its block of part_align() organisms.
void walk_part(const WalkPart& part);

// Parts walked at the same time start on a multiple of this many organisms: kPartAlign where
// lanes are walked in blocks, fewer where the walk touches only its own organisms' lanes.
int32_t part_align();

// An organism at (x, y) facing d, moved on by a walk that went from (0, 0) facing up to
// (rx, ry) facing rd: that walk's offset turned by d, and its turns added.
inline void walk_on(uint8_t& x, uint8_t& y, uint8_t& d, int32_t rx, int32_t ry, int32_t rd) {
    const Offset o = turned_offset(d, rx, ry);
    x = static_cast<uint8_t>((x + o.x + kGridSize) % kGridSize);
    y = static_cast<uint8_t>((y + o.y + kGridSize) % kGridSize);
    d = static_cast<uint8_t>((d + rd) & 3);
}

}  // namespace vornick::kernels
