#include <gtest/gtest.h>

#include "app/menu_choice.h"
#include "edit/board_click.h"
#include "edit/board_press.h"
#include "fakes.h"

namespace vornick {
namespace {

using testing::Rig;

struct FakeAbout : AboutWindow {
    bool can_open = true;
    int opens = 0;
    bool open() override {
        if (can_open) ++opens;
        return can_open;
    }
};

TEST(MenuChoice, ReachesTheHandlerOfItsMenu) {
    Rig r;
    FakeAbout about;
    r.sim.new_sim();
    HandleMenuChoice(0, r.sim, about);
    HandleMenuChoice(menu_choice(132, 1), r.sim, about);  // no such menu
    HandleMenuChoice(menu_choice(kAppleMenu, 2), r.sim, about);
    EXPECT_EQ(r.sim.run.stop, 0);
    EXPECT_EQ(about.opens, 0);

    HandleMenuChoice(menu_choice(kFileMenu, kStopItem), r.sim, about);
    EXPECT_EQ(r.sim.run.stop, 1);
    HandleMenuChoice(menu_choice(kSpeedMenu, kTurboMode), r.sim, about);
    EXPECT_EQ(r.sim.pace.speed, kTurboMode);
    HandleMenuChoice(menu_choice(kOutputMenu, 1), r.sim, about);
    EXPECT_TRUE(r.sim.pace.prnFPS);
    HandleMenuChoice(menu_choice(kOutputMenu, 1), r.sim, about);
    EXPECT_FALSE(r.sim.pace.prnFPS);
    EXPECT_EQ(r.rec.count("clr_fps"), 1);
}

TEST(MenuChoice, AboutItemIsDisabledOnlyOnceTheWindowOpens) {
    Rig r;
    FakeAbout about;
    about.can_open = false;
    HandleMenuChoice(menu_choice(kAppleMenu, 1), r.sim, about);
    EXPECT_TRUE(r.menus.is_enabled(kAppleMenu, 1));
    about.can_open = true;
    HandleMenuChoice(menu_choice(kAppleMenu, 1), r.sim, about);
    EXPECT_FALSE(r.menus.is_enabled(kAppleMenu, 1));
    EXPECT_EQ(about.opens, 1);
}

TEST(BoardPress, DecidesByStateAndCell) {
    Rig r;
    r.sim.new_sim();  // seed 1: organism 0 at (10, 18), pixels 110..119 x 190..199
    const int32_t on_org_h = 115, on_org_v = 195, empty_h = 15, empty_v = 15;
    ASSERT_LT(topmost_org(r.sim.model, 0, 0), 0);

    EXPECT_EQ(press_action(r.sim, 5, 100), PressAction::kNone);    // margin
    EXPECT_EQ(press_action(r.sim, 291, 100), PressAction::kNone);  // panel side
    EXPECT_EQ(press_action(r.sim, on_org_h, on_org_v), PressAction::kOrganism);
    EXPECT_EQ(press_action(r.sim, 290, 290), PressAction::kStop);  // cell 28: nobody there

    BoardPress press(r.sim);
    press.HandleInContent(empty_h, empty_v, 4);
    EXPECT_EQ(r.sim.run.stop, 1);
    press.HandleInContent(empty_h, empty_v, 4);
    EXPECT_EQ(r.sim.run.stop, 0);

    r.sim.HandleSpeedChoice(kMaxSpeedMode);
    EXPECT_EQ(press_action(r.sim, on_org_h, on_org_v), PressAction::kStop);

    r.sim.prefs.maxIters = 0;
    r.sim.new_sim();
    EXPECT_EQ(press_action(r.sim, empty_h, empty_v), PressAction::kNone);  // ended
}

TEST(BoardPress, TopmostIsTheHighestIndex) {
    World w{};
    w.norgs = 3;
    w.orgs.edit(0) = {4, 4, 0};
    w.orgs.edit(1) = {4, 4, 1};
    w.orgs.edit(2) = {5, 4, 1};
    w.orgs.edit(3) = {6, 6, 0};  // not live
    EXPECT_EQ(topmost_org(w, 4, 4), 1);
    EXPECT_EQ(topmost_org(w, 6, 6), -1);
}

}  // namespace
}  // namespace vornick
