// The model of one run: the wrapped 28 x 28 terrain grid and the organism table.
// Organisms are not recorded in the grid; several may share a cell.
#pragma once

#include <cstdint>

#include "sim/kernels/org_table.h"

namespace vornick {

inline constexpr int32_t kGroundCode = 12;  // drawn with sprite 12
inline constexpr int32_t kEmptyCode = 13;   // a plain cell, nothing drawn

struct World {
    int32_t world[kCells];  // cell (x, y) at x * 28 + y
    OrgTable orgs;          // entries 0..norgs-1 are live; index order is move and draw order
    int32_t norgs = 0;

    int32_t cell(int32_t x, int32_t y) const { return world[x * kGridSize + y]; }
    // The organisms a step moves: norgs, kept within the table whatever a caller stored.
    int32_t live_count() const { return norgs < 0 ? 0 : (norgs > kMaxOrgs ? kMaxOrgs : norgs); }
};

// Whether every live organism's heading is one of the four; a step meets no other.
bool headings_valid(const World& w);

class Generator;

// Builds a new run from the generator's current state. Draws, in order: the count (only when
// randINumOrgs), x, y and heading of each organism, then one per cell by column.
// iNumOrgs outside 0..784 is limited to that range; a random count with a bound of 0 gives no
// organisms, still consuming its draw.
void init_world(World& w, Generator& gen, int32_t iNumOrgs, bool randINumOrgs);

// Places organism `index` at a random cell and heading: three draws (x, y, heading).
void rand_dat_org(World& w, Generator& gen, int32_t index);

}  // namespace vornick
