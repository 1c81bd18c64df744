#include "render/board_log.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "render/gl_common.h"

namespace vornick {
namespace {

// One recorded operation: f fill, q quad, F frame, U frame erased; at a cell. R is a full
// redraw's start (its cells are the ops after it).
struct Op {
    char kind;
    int x, y;
};

struct LogCase {
    const char* name;
    std::vector<Op> ops;
    std::vector<std::string> drawn;  // what the plan draws, as "kind x,y", free ones first
    int free_count;
};

std::string text(const BoardOp& op) {
    const char* kinds = "fqFU";
    return std::string(1, kinds[op.kind]) + " " + std::to_string(op.x) + "," + std::to_string(op.y);
}

class BoardLogPlan : public ::testing::TestWithParam<LogCase> {};

TEST_P(BoardLogPlan, DrawsOnlyWhatStillShowsAndKeepsFramesInOrder) {
    auto log = std::make_unique<BoardLog>();
    auto plan = std::make_unique<BoardLog::Plan>();
    log->start(TexState{kGroundSprite, true});
    for (const Op& op : GetParam().ops) {
        if (op.kind == 'f') log->fill(op.x, op.y);
        if (op.kind == 'q') log->quad(op.x, op.y, 1);
        if (op.kind == 'F' || op.kind == 'U') log->frame(op.x, op.y, op.kind == 'U');
        if (op.kind == 'R') log->redraw();
    }
    log->take(*plan);
    std::vector<std::string> drawn;
    if (plan->ring) drawn.push_back("ring");
    for (int i = 0; i < plan->count; ++i) drawn.push_back(text(*plan->op[i]));
    EXPECT_EQ(drawn, GetParam().drawn);
    EXPECT_EQ(plan->free_count, GetParam().free_count);
    EXPECT_TRUE(log->empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoardLogPlan,
    ::testing::Values(
        LogCase{"LaterCellOpHidesEarlier",
                {{'f', 3, 3}, {'q', 3, 3}, {'f', 4, 3}},
                {"q 3,3", "f 4,3"},
                2},
        LogCase{"LaterFrameAtTheCellHidesEarlier",
                {{'F', 5, 5}, {'f', 9, 9}, {'U', 5, 5}},
                {"f 9,9", "U 5,5"},
                1},
        LogCase{"FrameHiddenByAllTheCellsItReaches",
                {{'F', 5, 5},
                 {'f', 4, 4},
                 {'f', 4, 5},
                 {'f', 4, 6},
                 {'f', 5, 4},
                 {'f', 5, 5},
                 {'f', 5, 6},
                 {'f', 6, 4},
                 {'f', 6, 5},
                 {'f', 6, 6}},
                {"f 4,4", "f 4,5", "f 4,6", "f 5,4", "f 5,5", "f 5,6", "f 6,4", "f 6,5", "f 6,6"},
                9},
        LogCase{"FrameShowsWhileOneNeighbourIsLeft",
                {{'F', 5, 5}, {'f', 4, 4}, {'f', 5, 5}, {'f', 9, 9}},
                {"f 9,9", "F 5,5", "f 4,4", "f 5,5"},
                1},
        LogCase{"FrameAtTheEdgeReachesTheMargin",
                {{'F', 0, 5},
                 {'f', 0, 4},
                 {'f', 0, 5},
                 {'f', 0, 6},
                 {'f', 1, 4},
                 {'f', 1, 5},
                 {'f', 1, 6}},
                {"F 0,5", "f 0,4", "f 0,5", "f 0,6", "f 1,4", "f 1,5", "f 1,6"},
                0},
        LogCase{"ARedrawHidesEverythingBefore",
                {{'F', 0, 5}, {'q', 3, 3}, {'R', 0, 0}, {'f', 3, 3}, {'f', 4, 4}},
                {"ring", "f 3,3", "f 4,4"},
                2},
        LogCase{"ARedrawIsDrawnUnderLaterFrames",
                {{'R', 0, 0}, {'f', 0, 5}, {'F', 0, 5}, {'R', 0, 0}, {'f', 9, 9}, {'F', 9, 9}},
                {"ring", "f 9,9", "F 9,9"},
                0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(BoardLogState, FillsKeepTheTextureStateTheyAreDrawnIn) {
    auto log = std::make_unique<BoardLog>();
    auto plan = std::make_unique<BoardLog::Plan>();
    log->start(TexState{kGroundSprite, false});
    log->fill(1, 1);
    log->quad(2, 2, 3);
    log->fill(4, 4);
    EXPECT_EQ(log->state(), (TexState{3, true}));
    log->take(*plan);
    ASSERT_EQ(plan->count, 3);
    EXPECT_EQ(plan->op[0]->sprite, kGroundSprite);
    EXPECT_FALSE(plan->op[0]->tc_bottom);
    EXPECT_EQ(plan->op[2]->sprite, 3);
    EXPECT_TRUE(plan->op[2]->tc_bottom);
}

// A redraw drops the frames recorded before it, but not the colour their drawing left.
TEST(BoardLogState, ARedrawKeepsTheColourOfTheFramesItHides) {
    auto log = std::make_unique<BoardLog>();
    auto plan = std::make_unique<BoardLog::Plan>();
    for (const bool erase : {false, true}) {
        log->start(TexState{kGroundSprite, false});
        log->frame(3, 3, erase);
        log->redraw();
        log->quad(3, 3, 2);
        EXPECT_TRUE(log->framed());
        EXPECT_EQ(log->last_frame_erased(), erase);
        EXPECT_EQ(log->state(), (TexState{2, true}));
        log->take(*plan);
        EXPECT_TRUE(plan->ring);
        EXPECT_EQ(plan->count, 1);
        EXPECT_FALSE(log->framed());
    }
}

}  // namespace
}  // namespace vornick
