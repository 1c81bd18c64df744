// The batch stepped one step at a time in vector lanes, 32 walkers to a block, with the
// organisms' cells and headings held in registers as bytes for the whole batch.
#pragma once

#include "sim/kernels/walk_part.h"

namespace vornick {

// Walks the part as one draw after another would (see walk_part). Uses AVX2.
void walk_lanes(const kernels::WalkPart& part);

}  // namespace vornick
