// The model half of a step: every live organism moves one cell along its heading, wrapping at
// the edges, then makes its one turn draw. Results are bit-identical to drawing one by one.
#pragma once

#include "sim/generator.h"
#include "sim/world.h"

namespace vornick {

// Returns false when a heading outside 0..3 was met (nothing in the program writes one).
bool move_orgs(World& w, Generator& gen);

// The same, one draw after another; the definition that move_orgs must match.
bool move_orgs_serial(World& w, Generator& gen);

}  // namespace vornick
