#include "app/board_summary.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace vornick {
namespace {

TEST(BoardSummary, TellsTheSelectedOrganismOnlyWhileOneIsSelected) {
    testing::Rig r;
    r.sim.new_sim();
    r.sim.stop_command();
    const Org o = r.sim.model.orgs.get(2);
    struct Row {
        Selection sel;
        std::vector<int32_t> want;  // selected, x, y, dir
    };
    const Row rows[] = {
        {{2, 1, o.x, o.y}, {2, o.x, o.y, o.dir}},
        {{-1, 0, 5, 5}, {-1, 0, 0, 0}},
        {{2, 0, o.x, o.y}, {-1, 0, 0, 0}},  // the frame's cell kept, nothing selected
        {{4, 1, 0, 0}, {-1, 0, 0, 0}},      // past the live organisms
    };
    for (const Row& row : rows) {
        r.sim.sel = row.sel;
        const BoardSummary s = board_summary(r.sim);
        EXPECT_EQ((std::vector{s.selected, s.x, s.y, s.dir}), row.want) << row.sel.selectOrgIndex;
        EXPECT_EQ((std::vector{s.step, s.norgs}), (std::vector{0, 4}));
        EXPECT_EQ(s.state, RunStateName::kHalted);
    }
}

// Only the run walking on by itself may wait to be told; whatever the user or a command did
// is told at once.
TEST(BoardSummary, OnlyLaterStepsOfTheSameRunAreItsOwnWalking) {
    const BoardSummary before{10, RunStateName::kRunning, 4, 1, 3, 3, kUp};
    struct Row {
        const char* what;
        BoardSummary now;
        bool walked;
    };
    const Row rows[] = {
        {"a step", {11, RunStateName::kRunning, 4, 1, 3, 2, kUp}, true},
        {"steps, turning", {400, RunStateName::kRunning, 4, 1, 9, 9, kLeft}, true},
        {"a move between steps", {10, RunStateName::kRunning, 4, 1, 4, 3, kUp}, false},
        {"another selected", {11, RunStateName::kRunning, 4, 2, 3, 2, kUp}, false},
        {"dropped under the cap", {11, RunStateName::kRunning, 4, -1, 0, 0, kUp}, false},
        {"halted at a step", {11, RunStateName::kHalted, 4, 1, 3, 2, kUp}, false},
        {"a step back", {9, RunStateName::kRunning, 4, 1, 3, 4, kUp}, false},
        {"a new run", {0, RunStateName::kRunning, 7, -1, 0, 0, kUp}, false},
    };
    for (const Row& row : rows) EXPECT_EQ(walked_on(before, row.now), row.walked) << row.what;
}

}  // namespace
}  // namespace vornick
