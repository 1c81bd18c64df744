// Takes a run's table and generator from one moment of its journal to another: steps forward
// and back in batches, with the journal's edits made and unmade where their stamps fall.
#pragma once

#include <cstdint>

#include "sim/generator.h"
#include "sim/history/journal.h"
#include "sim/world.h"

namespace vornick {

// The parts of a run that a moment fixes, wherever they live.
struct Timeline {
    World& w;
    Generator& gen;
    int32_t& iters;
    Journal& journal;
    int32_t* follow = nullptr;  // an organism index kept on its organism (the selection)
};

enum class TravelEnd {
    kArrived,
    kBudgetSpent,
    kBadEdit,  // the next edit cannot be made: no such organism, or a drag onto its own cell
    kStuck,    // a heading or cell that no step leaves; never in a run the program made
};

// Moves toward `to` by at most `budget` steps (edits cost nothing) and takes the steps made
// off `budget`. The run stands at a moment of its journal afterwards, unless it was stuck.
// `to` must be a moment of the journal: every edit stamped before to.iters made, none after.
TravelEnd travel_toward(const Timeline& t, Moment to, int64_t& budget);

// Whether the edit can be made on this table now.
bool edit_fits(const World& w, const Edit& e);
// Makes the journal's next edit, or returns false when it does not fit; unmakes the last made.
bool make_edit(const Timeline& t);
void unmake_edit(const Timeline& t);

// Where index `s` goes when the record at `from` is taken out and put in at `to`.
int32_t moved_index(int32_t s, int32_t from, int32_t to);

}  // namespace vornick
