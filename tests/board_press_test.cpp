#include "edit/board_press.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "edit/arrow_keys.h"
#include "fakes.h"

namespace vornick {
namespace {

using testing::Rig;

constexpr double kDragDistance = 4;

// The centre pixel of a cell on one axis.
int32_t at(int32_t cell) {
    return 15 + 10 * cell;
}

// A running slow run of four organisms on a plain board: 0 at (3, 3), 1 at (8, 8), 2 and 3
// sharing (5, 5), and a stale record 4 at (9, 9).
struct EditRig : Rig {
    BoardPress press{sim};
    EditRig() {
        sim.new_sim();
        std::fill(std::begin(sim.model.world), std::end(sim.model.world), kEmptyCode);
        sim.model.norgs = 4;
        const Org orgs[] = {{3, 3, kUp}, {8, 8, kLeft}, {5, 5, kDown}, {5, 5, kRight}, {9, 9, 0}};
        std::copy(std::begin(orgs), std::end(orgs), sim.model.orgs);
        rec.log.clear();
    }
    void click(int32_t x, int32_t y) {
        press.HandleInContent(at(x), at(y), kDragDistance);
        press.mouse_released(at(x), at(y));
    }
    void drag(int32_t from_x, int32_t from_y, int32_t to_h, int32_t to_v) {
        press.HandleInContent(at(from_x), at(from_y), kDragDistance);
        press.mouse_moved(to_h, to_v);
    }
    std::string log_since(size_t n) const {
        std::string s;
        for (size_t k = n; k < rec.log.size(); ++k) s += (s.empty() ? "" : "; ") + rec.log[k];
        return s;
    }
};

struct Outcome {
    int32_t stop, iters, selected;
    bool operator==(const Outcome&) const = default;
};
void PrintTo(const Outcome& o, std::ostream* os) {
    *os << "stop " << o.stop << " iters " << o.iters << " selected " << o.selected;
}

struct DecisionCase {
    const char* name;
    std::function<void(Sim&)> state;
    int32_t h, v;
    Outcome expected;
};

TEST(BoardPressDecision, EachRowOfTheTable) {
    using Setup = std::function<void(Sim&)>;
    const Setup running = [](Sim&) {};
    const Setup halted = [](Sim& s) { s.stop_command(); };
    const Setup max_speed = [](Sim& s) { s.HandleSpeedChoice(kMaxSpeedMode); };
    const Setup max_halted = [&](Sim& s) {
        max_speed(s);
        halted(s);
    };
    const Setup single_step = [](Sim& s) { s.HandleSpeedChoice(kSingleStepMode); };
    const Setup ended = [](Sim& s) { s.run = RunState{1, 0, 1}; };
    const DecisionCase rows[] = {
        {"RunningOnOrganismSelects", running, at(8), at(8), {0, 0, 1}},
        {"MaximumSpeedOnlyStops", max_speed, at(8), at(8), {1, 0, -1}},
        {"HaltedMaximumSpeedSelects", max_halted, at(8), at(8), {1, 0, 1}},
        {"SharedCellSelectsTheTopmost", running, at(5), at(5), {0, 0, 3}},
        {"RunningOnEmptyStops", running, at(0), at(0), {1, 0, -1}},
        {"StaleRecordIsAnEmptyCell", running, at(9), at(9), {1, 0, -1}},
        {"Edge290IsCell28AndStops", running, 290, 290, {1, 0, -1}},
        {"HaltedOnEmptyContinues", halted, at(0), at(0), {0, 0, -1}},
        {"SingleStepOnEmptySteps", single_step, at(0), at(0), {1, 2, -1}},
        {"EndedOnEmptyDoesNothing", ended, at(0), at(0), {1, 0, -1}},
        {"OffTheBoardDoesNothing", running, 9, at(3), {0, 0, -1}},
    };
    for (const DecisionCase& row : rows) {
        EditRig r;
        row.state(r.sim);
        r.press.HandleInContent(row.h, row.v, kDragDistance);
        r.press.mouse_released(row.h, row.v);
        EXPECT_EQ((Outcome{r.sim.run.stop, r.sim.run.iters, r.sim.sel.selectOrgIndex}),
                  row.expected)
            << row.name;
    }
}

TEST(BoardPress, SelectsThenDeselectsOnAClickOfTheFramedCell) {
    EditRig r;
    r.click(3, 3);
    EXPECT_EQ(r.log_since(0), "unframe 0,0; frame 3,3; selorg 3,3; present; present");
    const size_t n = r.rec.log.size();
    r.click(3, 3);
    EXPECT_EQ(r.log_since(n), "unframe 3,3; clr_selorg; present");
    EXPECT_EQ(r.sim.sel.prinfo, 0);
}

TEST(BoardPress, PressOnTheFramedCellThatMovesDragsTheSelectedOrganism) {
    EditRig r;
    r.sim.model.orgs[2] = {5, 5, kDown};
    r.sim.sel = Selection{2, 1, 5, 5};  // 3 is drawn over the selected 2
    r.drag(5, 5, at(7), at(5));
    r.press.mouse_released(at(7), at(5));
    EXPECT_EQ((std::vector<int32_t>{r.sim.sel.selectOrgIndex, r.sim.model.orgs[2].x,
                                    r.sim.model.orgs[3].x}),
              (std::vector<int32_t>{2, 7, 5}));
}

TEST(BoardPress, DragPassClampsTheSpriteAndNamesTheCursorCell) {
    struct Row {
        int32_t h, v;
        const char* pass;
    };
    const Row rows[] = {
        {10, 290, "redraw; frame 8,8; sprite 15,285 1; present; cursor 0,27 2"},
        {15, 285, "redraw; frame 8,8; sprite 15,285 1; present; cursor 0,27 2"},
        {16, 284, "redraw; frame 8,8; sprite 16,284 1; present; cursor 0,27 2"},
        {140, 63, "redraw; frame 8,8; sprite 140,63 1; present; cursor 13,5 2"},
    };
    for (const Row& row : rows) {
        EditRig r;
        r.drag(8, 8, at(8) + 2, at(8) + 3);
        const size_t n = r.rec.log.size();
        r.press.mouse_moved(row.h, row.v);
        EXPECT_EQ(r.log_since(n), row.pass) << row.h << "," << row.v;
    }
}

TEST(BoardPress, LeavingTheBoardEndsTheDragForGood) {
    EditRig r;
    r.drag(8, 8, at(12), at(8));
    const size_t n = r.rec.log.size();
    r.press.mouse_moved(291, at(8));
    r.press.mouse_moved(at(12), at(8));
    r.press.mouse_released(at(12), at(8));
    EXPECT_EQ(r.log_since(n), "clr_cursor; redraw; frame 8,8; present; present");
    EXPECT_EQ(r.sim.model.orgs[1].x, 8);
}

TEST(BoardPress, DropMovesOntoTheCellAndTakesTheTopmostIndex) {
    EditRig r;
    r.drag(3, 3, at(5) + 4, at(5) - 4);
    const size_t n = r.rec.log.size();
    r.press.mouse_released(at(5) + 4, at(5) - 4);
    EXPECT_EQ(r.log_since(n),
              "redraw; frame 3,3; sprite 69,61 0; present; cursor 5,5 2; clr_cursor; "
              "clr_selorg; selorg 5,5; redraw; frame 5,5; present; present");
    EXPECT_EQ(r.sim.sel.selectOrgIndex, 3);
}

TEST(BoardPress, StepsWaitForTheEndOfThePress) {
    EditRig r;
    const auto fire = [&] {
        r.sim.pace.prev_stop = r.sim.run.stop;
        step_timer_fired(r.sim, r.press);
        return r.sim.run.iters;
    };
    r.press.HandleInContent(at(3), at(3), kDragDistance);
    EXPECT_EQ(fire(), 0);
    r.press.mouse_moved(at(6), at(3));
    EXPECT_EQ(fire(), 0);
    r.press.mouse_released(at(6), at(3));
    EXPECT_EQ(fire(), 1);
    const Org walked = r.sim.model.orgs[r.sim.sel.selectOrgIndex];
    r.drag(walked.x, walked.y, 5, 5);  // off the board: over with the button still down
    EXPECT_EQ(fire(), 2);
}

TEST(BoardPress, NewRunDuringThePressLeavesNothingStale) {
    EditRig dragging, waiting;
    dragging.drag(3, 3, at(6), at(3));
    waiting.click(3, 3);
    waiting.press.HandleInContent(at(3), at(3), kDragDistance);  // may deselect
    struct Row {
        EditRig& r;
        int32_t release_h;
        const char* after;
    };
    for (const Row& row :
         {Row{dragging, at(6), "redraw; clr_cursor; present"}, Row{waiting, at(3), "present"}}) {
        row.r.sim.HandleFileChoice(kNewRunItem);
        const size_t n = row.r.rec.log.size();
        row.r.press.mouse_moved(row.release_h, at(3));
        row.r.press.mouse_released(row.release_h, at(3));
        EXPECT_EQ(row.r.log_since(n), row.after);
    }
}

TEST(ArrowKeys, MoveTheSelectionAndWrapAtTheEdges) {
    struct Row {
        int32_t code, x, y, to_x, to_y;
    };
    const Row rows[] = {{kLeftArrowCharCode, 0, 4, 27, 4},
                        {kRightArrowCharCode, 27, 4, 0, 4},
                        {kUpArrowCharCode, 4, 0, 4, 27},
                        {kDownArrowCharCode, 4, 27, 4, 0}};
    for (const Row& row : rows) {
        EditRig r;
        r.sim.model.orgs[0] = {row.x, row.y, kUp};
        r.sim.sel = Selection{0, 1, row.x, row.y};
        HandleArrowKey(r.sim, r.press, row.code);
        EXPECT_EQ(r.log_since(0), "redraw; frame " + std::to_string(row.to_x) + "," +
                                      std::to_string(row.to_y) + "; selorg " +
                                      std::to_string(row.to_x) + "," + std::to_string(row.to_y) +
                                      "; present")
            << row.code;
    }
}

TEST(ArrowKeys, DoNothingWithoutASelectionOrDuringAPress) {
    EditRig r;
    HandleArrowKey(r.sim, r.press, kLeftArrowCharCode);
    r.press.HandleInContent(at(3), at(3), kDragDistance);
    const size_t n = r.rec.log.size();
    HandleArrowKey(r.sim, r.press, kLeftArrowCharCode);
    HandleArrowKey(r.sim, r.press, 27);
    EXPECT_EQ(r.rec.log.size(), n);
    EXPECT_EQ(r.sim.model.orgs[0].x, 3);
}

TEST(ArrowKeysDeathTest, AnyOtherCodeEndsTheProcess) {
    EditRig r;
    r.sim.sel = Selection{0, 1, 3, 3};
    EXPECT_EXIT(MoveOrgByArrowKeys(r.sim, 27), ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace vornick
