// The batch stepped one step at a time in vector lanes, 32 walkers to a block, with the
// organisms' cells and headings held in registers as bytes for the whole batch.
#pragma once

#include <cstdint>

#include "sim/kernels/org_table.h"

namespace vornick {

// `steps` steps of the first n organisms (0 < n) in lanes, as one draw after another would make
// them from state `seed`, which is left after their last draw. Uses AVX2.
void walk_lanes(OrgLanes& lanes, int32_t n, int64_t steps, uint32_t& seed);

}  // namespace vornick
