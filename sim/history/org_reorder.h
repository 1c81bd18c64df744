// The two ways an edit moves an organism to another cell, each leaving it the topmost organism
// there, and the exact inverse of either. The table order they produce decides later draws.
#pragma once

#include <cstdint>

#include "sim/world.h"

namespace vornick {

// Everything needed to take one move back: the organism now stands at `to`, came from `from`,
// and stood on (left_x, left_y). Between the two indices the other records kept their order.
struct OrgMove {
    int32_t from;
    int32_t to;
    int32_t left_x;
    int32_t left_y;
};

// Highest live index standing on (x, y), or -1. Cells outside the grid hold nobody.
int32_t topmost_org(const World& w, int32_t x, int32_t y);

// The drop of a drag: organism i onto (x, y). The table changes only when the cell's topmost
// occupant stands after i; i then takes the occupant's index and the records between shift
// toward the front.
OrgMove drop_org(World& w, int32_t i, int32_t x, int32_t y);

// An arrow-key move: organism i by (dx, dy) with the board wrapping. It ends directly after the
// new cell's topmost occupant, wherever that stands in the table.
OrgMove arrow_move_org(World& w, int32_t i, int32_t dx, int32_t dy);

// Puts the organism back at its index and cell as they were before `m`.
void undo_org_move(World& w, const OrgMove& m);

}  // namespace vornick
