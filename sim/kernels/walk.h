// The kernels of the vector path in use, on the organisms' byte lanes: one step, one step
// back, and a batch of steps. Each call picks its kernel here, so no caller switches on paths.
#pragma once

#include <cstdint>

#include "sim/kernels/org_table.h"

namespace vornick::kernels {

// One step of the first n organisms (0 < n), their draws starting from state s0.
void step_lanes(OrgLanes& lanes, int32_t n, uint32_t s0);

// One step back of the first n organisms, s0 the state before the step's draws.
void unstep_lanes(OrgLanes& lanes, int32_t n, uint32_t s0);

// `steps` steps of the first n organisms (0 < n, 0 < steps), as one draw after another would
// make them from state `seed`, which is left after their last draw. A long batch is shared
// among the worker threads (walk_pieces), with the same result.
void walk_steps(OrgLanes& lanes, int32_t n, int64_t steps, uint32_t& seed);

}  // namespace vornick::kernels
