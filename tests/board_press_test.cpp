#include "edit/board_press.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "edit/arrow_keys.h"
#include "fakes.h"
#include "plain_board.h"

namespace vornick {
namespace {

using testing::at;

struct EditRig : testing::PlainBoardRig {
    void drag(int32_t x, int32_t y, int32_t to_h, int32_t to_v) {
        press.HandleInContent(at(x), at(y), 4);
        press.mouse_moved(to_h, to_v);
    }
    void click(int32_t h, int32_t v) {
        press.HandleInContent(h, v, 4);
        press.mouse_released(h, v);
    }
};

TEST(BoardPress, DecisionRows) {
    using Setup = std::function<void(Sim&)>;
    const Setup running = [](Sim&) {};
    const Setup max_speed = [](Sim& s) { s.HandleSpeedChoice(kMaxSpeedMode); };
    const Setup single_step = [](Sim& s) { s.HandleSpeedChoice(kSingleStepMode); };
    struct Row {
        const char* name;
        Setup state;
        int32_t h, v;
        std::vector<int32_t> stop_iters_selected;
    };
    const Row rows[] = {
        {"OnOrganismSelects", running, at(8), at(8), {0, 0, 1}},
        {"MaximumSpeedOnlyStops", max_speed, at(8), at(8), {1, 0, -1}},
        {"SharedCellSelectsTheTopmost", running, at(5), at(5), {0, 0, 3}},
        {"StaleRecordIsNobody", running, at(9), at(9), {1, 0, -1}},
        {"Edge290IsCell28", running, 290, 290, {1, 0, -1}},
        {"SingleStepOnEmptySteps", single_step, at(0), at(0), {1, 2, -1}},
    };
    for (const Row& row : rows) {
        EditRig r;
        row.state(r.sim);
        r.click(row.h, row.v);
        EXPECT_EQ((std::vector{r.sim.run.stop, r.sim.run.iters, r.sim.sel.selectOrgIndex}),
                  row.stop_iters_selected)
            << row.name;
    }
}

TEST(BoardPress, FramedCellDeselectsOnAClickAndDragsTheSelectedOnAMove) {
    EditRig r;
    r.click(at(3), at(3));
    EXPECT_EQ(r.since(0), "unframe 0,0; frame 3,3; selorg 3,3; present; present");
    const size_t n = r.rec.log.size();
    r.click(at(3), at(3));
    EXPECT_EQ(r.since(n), "unframe 3,3; clr_selorg; present");
    r.sim.sel = Selection{2, 1, 5, 5};  // 3 is drawn over the selected 2
    r.drag(5, 5, at(7), at(5));
    r.press.mouse_released(at(7), at(5));
    EXPECT_EQ((std::vector{r.sim.sel.selectOrgIndex, r.sim.model.orgs.get(2).x,
                           r.sim.model.orgs.get(3).x}),
              (std::vector{2, 7, 5}));
}

TEST(BoardPress, DragPassClampsTheSpriteAndNamesTheCursorCell) {
    const std::pair<int32_t, const char*> rows[] = {
        {10, "redraw; frame 8,8; sprite 15,15 1; present; cursor 0,0 2"},
        {15, "redraw; frame 8,8; sprite 15,15 1; present; cursor 0,0 2"},
        {16, "redraw; frame 8,8; sprite 16,16 1; present; cursor 0,0 2"},
        {284, "redraw; frame 8,8; sprite 284,284 1; present; cursor 27,27 2"},
        {290, "redraw; frame 8,8; sprite 285,285 1; present; cursor 27,27 2"},
    };
    for (const auto& [pixel, pass] : rows) {
        EditRig r;
        r.drag(8, 8, at(9), at(9));
        const size_t n = r.rec.log.size();
        r.press.mouse_moved(pixel, pixel);
        EXPECT_EQ(r.since(n), pass) << pixel;
    }
}

// Off the board, or a release the window never saw (another window took the grab): the drag
// is over, nothing moves, and moving back or releasing later does not resume it.
TEST(BoardPress, LeavingTheBoardEndsTheDragForGood) {
    const std::pair<const char*, std::function<void(BoardPress&)>> ends[] = {
        {"PointerLeft", [](BoardPress& p) { p.mouse_moved(291, at(8)); }},
        {"ReleaseLost", [](BoardPress& p) { p.abort(); }},
    };
    for (const auto& [name, end] : ends) {
        EditRig r;
        r.drag(8, 8, at(12), at(8));
        const size_t n = r.rec.log.size();
        end(r.press);
        r.press.mouse_moved(at(12), at(8));
        r.press.mouse_released(at(12), at(8));
        EXPECT_EQ(r.since(n), "clr_cursor; redraw; frame 8,8; present; present") << name;
        EXPECT_EQ(r.sim.model.orgs.get(1).x, 8) << name;
    }
}

TEST(ArrowKeysDeathTest, ACodeOtherThanAnArrowEndsTheProgram) {
    EditRig r;
    r.sim.sel = Selection{0, 1, 3, 3};
    EXPECT_EXIT(MoveOrgByArrowKeys(r.sim, 27), ::testing::ExitedWithCode(1), "");
}

TEST(BoardPress, DropPutsTheOrganismOnTopOfTheCell) {
    EditRig r;
    r.drag(3, 3, at(5) + 4, at(5) - 4);
    const size_t n = r.rec.log.size();
    r.press.mouse_released(at(5) + 4, at(5) - 4);
    r.rec.log.push_back("index " + std::to_string(r.sim.sel.selectOrgIndex));
    EXPECT_EQ(r.since(n),
              "redraw; frame 3,3; sprite 69,61 0; present; cursor 5,5 2; clr_cursor; clr_selorg; "
              "selorg 5,5; redraw; frame 5,5; present; present; index 3");
}

TEST(BoardPress, StepsAndArrowKeysWaitForTheEndOfThePress) {
    EditRig r;
    std::vector<int32_t> iters;
    const auto fire = [&] {
        r.sim.pace.prev_stop = r.sim.run.stop;
        step_timer_fired(r.sim, r.press);
        iters.push_back(r.sim.run.iters);
    };
    r.press.HandleInContent(at(3), at(3), 4);
    fire();
    HandleArrowKey(r.sim, r.press, kLeftArrowCharCode);
    iters.push_back(r.sim.model.orgs.get(0).x);
    r.press.mouse_moved(at(6), at(3));
    fire();
    r.press.mouse_released(at(6), at(3));
    fire();
    const Org walked = r.sim.model.orgs.get(r.sim.sel.selectOrgIndex);
    r.drag(walked.x, walked.y, 5, 5);  // off the board: over, though the button is still down
    fire();
    EXPECT_EQ(iters, (std::vector{0, 3, 0, 1, 2}));
}

TEST(BoardPress, NewRunDuringThePressLeavesNothingStale) {
    EditRig dragging, waiting;
    dragging.drag(3, 3, at(6), at(3));
    waiting.click(at(3), at(3));
    waiting.press.HandleInContent(at(3), at(3), 4);  // may deselect
    for (auto [r, h, after] : {std::tuple{&dragging, at(6), "redraw; clr_cursor; present"},
                               std::tuple{&waiting, at(3), "present"}}) {
        r->sim.HandleFileChoice(kNewRunItem);
        const size_t n = r->rec.log.size();
        r->press.mouse_released(h, at(3));
        EXPECT_EQ(r->since(n), after);
    }
}

TEST(ArrowKeys, WrapAtTheEdgesAndNeedASelection) {
    struct Row {
        int32_t code, x, y, selected;
        std::vector<int32_t> moved_to;
    };
    const Row rows[] = {{kLeftArrowCharCode, 0, 4, 0, {27, 4}},
                        {kRightArrowCharCode, 27, 4, 0, {0, 4}},
                        {kUpArrowCharCode, 4, 0, 0, {4, 27}},
                        {kDownArrowCharCode, 4, 27, 0, {4, 0}},
                        {kDownArrowCharCode, 4, 27, -1, {4, 27}}};
    for (const Row& row : rows) {
        EditRig r;
        r.sim.model.orgs.edit(0) = {row.x, row.y, kUp};
        r.sim.sel = Selection{row.selected, row.selected + 1, row.x, row.y};
        HandleArrowKey(r.sim, r.press, row.code);
        EXPECT_EQ((std::vector{r.sim.model.orgs.get(0).x, r.sim.model.orgs.get(0).y}), row.moved_to)
            << row.code << " " << row.selected;
    }
}

}  // namespace
}  // namespace vornick
