#include "edit/key_selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes.h"
#include "plain_board.h"

namespace vornick {
namespace {

using testing::at;

struct KeyRig : testing::PlainBoardRig {
    void click(int32_t x, int32_t y) {
        press.HandleInContent(at(x), at(y), 4);
        press.mouse_released(at(x), at(y));
    }
    void key(SelectionKey k) { HandleSelectionKey(sim, press, k); }
    // What a user can see of the selection and the run.
    std::vector<int32_t> shown() const {
        return {sim.sel.selectOrgIndex, sim.sel.prinfo, sim.sel.selcx,
                sim.sel.selcy,          sim.run.stop,   sim.run.iters};
    }
};

TEST(KeySelection, TabAndShiftTabWalkTheTableWrappingAndEscapeDrops) {
    constexpr auto kNext = SelectionKey::kNext;
    constexpr auto kPrevious = SelectionKey::kPrevious;
    constexpr auto kDeselect = SelectionKey::kDeselect;
    struct Row {
        int32_t selected;  // -1: none
        bool halted;
        std::vector<SelectionKey> keys;
        std::vector<int32_t> shown;  // index, prinfo, selcx, selcy, stop, iters
    };
    const Row rows[] = {
        {-1, false, {kNext}, {0, 1, 3, 3, 0, 0}},
        {-1, false, {kPrevious}, {3, 1, 5, 5, 0, 0}},
        {0, false, {kNext, kNext}, {2, 1, 5, 5, 0, 0}},  // 2 although 3 is drawn over it
        {3, true, {kNext}, {0, 1, 3, 3, 1, 0}},
        {0, true, {kPrevious}, {3, 1, 5, 5, 1, 0}},
        {1, false, {kDeselect}, {-1, 0, 8, 8, 0, 0}},
        {1, false, {kDeselect, kNext}, {0, 1, 3, 3, 0, 0}},
        {1, false, {kDeselect, kPrevious}, {3, 1, 5, 5, 0, 0}},
    };
    for (const Row& row : rows) {
        KeyRig r;
        if (row.halted) r.sim.stop_command();
        if (row.selected >= 0) {
            const Org o = r.sim.model.orgs.get(row.selected);
            r.sim.sel = Selection{row.selected, 1, o.x, o.y};
        }
        for (SelectionKey k : row.keys) r.key(k);
        EXPECT_EQ(r.shown(), row.shown) << row.selected << " halted " << row.halted;
    }
}

// A selection made by a key is drawn as a click draws it, and a click on the framed cell then
// deselects it as it would deselect its own.
TEST(KeySelection, ShowsAndEndsAsAClickSelection) {
    KeyRig by_key, by_click;
    by_key.key(SelectionKey::kNext);
    by_click.click(3, 3);
    size_t k = by_key.rec.log.size(), c = by_click.rec.log.size();
    by_key.key(SelectionKey::kNext);
    by_click.click(8, 8);
    EXPECT_EQ(by_key.since(k) + "; present", by_click.since(c));  // a release presents again
    EXPECT_EQ(by_key.shown(), (std::vector{1, 1, 8, 8, 0, 0}));
    EXPECT_EQ(by_click.shown(), by_key.shown());

    k = by_key.rec.log.size();
    c = by_click.rec.log.size();
    by_key.key(SelectionKey::kDeselect);
    by_click.click(8, 8);
    EXPECT_EQ(by_key.since(k), "unframe 8,8; clr_selorg; present");
    EXPECT_EQ(by_click.since(c), by_key.since(k));
    EXPECT_EQ(by_key.shown(), by_click.shown());
}

TEST(KeySelection, TheStepKeepsItAndTheCapDropsIt) {
    for (const bool capped : {false, true}) {
        KeyRig r;
        if (capped) {
            r.sim.pace.limit_to_60FPS = 1;
            r.sim.pace.delay = 0.001;
        }
        r.key(SelectionKey::kNext);
        r.sim.HandleDraw();
        const Org o = r.sim.model.orgs.get(0);
        const std::vector<int32_t> kept{0, 1, o.x, o.y, 0, 1};
        const std::vector<int32_t> dropped{-1, 0, 3, 3, 0, 1};
        EXPECT_EQ(r.shown(), capped ? dropped : kept) << capped;
    }
}

TEST(KeySelection, NothingWithoutOrganismsOrDuringAPress) {
    KeyRig empty, pressing;
    empty.sim.model.norgs = 0;
    empty.key(SelectionKey::kNext);
    empty.key(SelectionKey::kPrevious);
    empty.key(SelectionKey::kDeselect);
    EXPECT_EQ(empty.rec.log, std::vector<std::string>{});

    pressing.press.HandleInContent(at(8), at(8), 4);  // organism 1 in the hand
    for (auto k : {SelectionKey::kNext, SelectionKey::kPrevious, SelectionKey::kDeselect}) {
        pressing.key(k);
        EXPECT_EQ(pressing.sim.sel.selectOrgIndex, 1);
    }
}

}  // namespace
}  // namespace vornick
