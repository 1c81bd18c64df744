// The step-back kernels, one per vector path: each file is compiled for its own instruction
// set, and the loop they share (unmove_records) is written so that the compiler vectorises it.
#pragma once

#include <cstdint>

#include "sim/world.h"

namespace vornick::kernels {

// One step back of organisms 0..n-1: each one's turn, by its draw at state mul[i] * s0 +
// add[i], undone, then its move. Returns nonzero when a heading was outside 0..3 or a cell
// outside the grid, which no step leaves.
int32_t unmove_step_portable(Org* orgs, int32_t n, uint32_t s0, const uint32_t* mul,
                             const uint32_t* add);
int32_t unmove_step_avx2(Org* orgs, int32_t n, uint32_t s0, const uint32_t* mul,
                         const uint32_t* add);
int32_t unmove_step_avx512(Org* orgs, int32_t n, uint32_t s0, const uint32_t* mul,
                           const uint32_t* add);

}  // namespace vornick::kernels
