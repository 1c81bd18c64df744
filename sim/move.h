// The model half of steps: every live organism moves one cell along its heading, wrapping at
// the edges, then makes its one turn draw. Results are bit-identical to drawing one by one.
#pragma once

#include <cstdint>

#include "sim/generator.h"
#include "sim/world.h"

namespace vornick {

// One step. Returns false when a heading outside 0..3 was met (nothing in the program writes
// one); the move is then made all the same, as one draw after another would make it.
bool move_orgs(World& w, Generator& gen);

// The same, one draw after another; the definition that the faster moves must match.
bool move_orgs_serial(World& w, Generator& gen);

// `steps` steps at once, as many calls of move_orgs would make them, in time proportional to
// the steps but far below drawing them one by one. Returns false, with the table and the
// generator left as they were, when a heading outside 0..3 is found.
bool move_orgs_steps(World& w, Generator& gen, int64_t steps);

}  // namespace vornick
