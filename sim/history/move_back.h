// Steps taken back: the exact inverses of move_orgs and move_orgs_steps, worked out from the
// table after the steps and the generator's state after their draws.
#pragma once

#include <cstdint>

#include "sim/generator.h"
#include "sim/world.h"

namespace vornick {

// The jump that undoes `j`. Every jump's multiplier is odd, so it has an inverse mod 2^32.
constexpr Jump jump_back(Jump j) {
    uint32_t inv = j.mul;  // right in 3 bits; each round doubles that
    for (int round = 0; round < 4; ++round) inv *= 2u - j.mul * inv;
    return {inv, 0u - inv * j.add};
}

// One step back: the generator goes back by one draw per organism, and each organism's turn
// is undone, then its move. Returns false, changing nothing, when a heading was outside 0..3 or
// a position outside the grid, which no step leaves.
bool unmove_orgs(World& w, Generator& gen);

// `steps` steps back, as many calls of unmove_orgs would make them, at about the cost of the
// same steps forward. Returns false, changing nothing, in the cases where unmove_orgs fails.
bool unmove_orgs_steps(World& w, Generator& gen, int64_t steps);

}  // namespace vornick
