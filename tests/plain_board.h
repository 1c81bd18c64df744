// A running slow run on a plain board, for tests of presses and keys on it: organism 0 at (3, 3),
// 1 at (8, 8), 2 and 3 sharing (5, 5), and a stale record at (9, 9) past the live ones.
#pragma once

#include <algorithm>
#include <string>

#include "edit/board_press.h"
#include "fakes.h"

namespace vornick::testing {

// The centre pixel of a cell on one axis.
inline int32_t at(int32_t cell) {
    return 15 + 10 * cell;
}

struct PlainBoardRig : Rig {
    BoardPress press{sim};
    PlainBoardRig() {
        sim.new_sim();
        std::fill(std::begin(sim.model.world), std::end(sim.model.world), kEmptyCode);
        sim.model.norgs = 4;
        const Org orgs[] = {{3, 3, kUp}, {8, 8, kLeft}, {5, 5, kDown}, {5, 5, kRight}, {9, 9, 0}};
        std::copy(std::begin(orgs), std::end(orgs), sim.model.orgs.records());
        rec.log.clear();
    }
    // What was drawn since `n` entries of the log, as one line.
    std::string since(size_t n) const {
        std::string s;
        for (size_t k = n; k < rec.log.size(); ++k) s += (k > n ? "; " : "") + rec.log[k];
        return s;
    }
};

}  // namespace vornick::testing
