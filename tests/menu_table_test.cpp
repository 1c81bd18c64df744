#include "app/menu_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>

#include "app/menu_choice.h"

namespace vornick {
namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

TEST(MenuTable, MnemonicsAreUniqueWithinEveryMenu) {
    std::map<int, std::set<char>> taken;
    for (const MenuRow& row : menu_table()) {
        if (!row.title) continue;
        const char m = mnemonic_of(row.title);
        EXPECT_NE(m, 0) << row.title << " has no mnemonic";
        EXPECT_TRUE(taken[static_cast<int>(row.menu)].insert(m).second)
            << row.title << " repeats '" << m << "'";
    }
    std::set<char> titles;
    for (int i = 0; i < kBarMenuCount; ++i) {
        const char m = mnemonic_of(bar_menu_title(static_cast<BarMenu>(i)));
        EXPECT_TRUE(m != 0 && titles.insert(m).second) << bar_menu_title(static_cast<BarMenu>(i));
    }
}

// Every command the core knows sits once in the bar, in the menu a Linux user looks in, as
// does every command of the application.
TEST(MenuTable, EveryCommandOnceWhereItIsLookedFor) {
    struct Place {
        uint32_t choice;
        AppCommand command;
        BarMenu menu;
    };
    const auto core = [](int16_t id, int16_t item, BarMenu m) {
        return Place{menu_choice(id, item), AppCommand::kNone, m};
    };
    const auto app = [](AppCommand c, BarMenu m) { return Place{0, c, m}; };
    using B = BarMenu;
    using C = AppCommand;
    // Two to a row, though one name is longer than the formatter's columns allow.
    // clang-format off
    const Place places[] = {
        core(kFileMenu, 1, B::kFile),      core(kFileMenu, 2, B::kFile),
        core(kFileMenu, 3, B::kFile),      core(kFileMenu, 4, B::kFile),
        core(kFileMenu, 5, B::kFile),      core(kFileMenu, 6, B::kFile),
        core(kSpeedMenu, 1, B::kSpeed),    core(kSpeedMenu, 2, B::kSpeed),
        core(kSpeedMenu, 3, B::kSpeed),    core(kSpeedMenu, 4, B::kSpeed),
        core(kSpeedMenu, 5, B::kSpeed),    core(kSpeedMenu, 6, B::kSpeed),
        core(kSpeedMenu, 7, B::kSpeed),    core(kSpeedMenu, 9, B::kSpeed),
        core(kOutputMenu, 1, B::kView),    core(kAppleMenu, 1, B::kHelp),
        app(C::kNewRunFromSeed, B::kFile), app(C::kExportImage, B::kFile),
        app(C::kQuit, B::kFile),           app(C::kCopyImage, B::kEdit),
        app(C::kPreferences, B::kEdit),    app(C::kZoomIn, B::kView),
        app(C::kZoomOut, B::kView),        app(C::kActualSize, B::kView),
        app(C::kStatusBar, B::kView),      app(C::kHelp, B::kHelp),
        app(C::kStepBack, B::kFile),       app(C::kGoToStep, B::kFile),
        app(C::kOpenRun, B::kFile),        app(C::kSaveRunAs, B::kFile),
        app(C::kUndo, B::kEdit),           app(C::kRedo, B::kEdit),
        app(C::kExportAnimation, B::kFile),
    };
    // clang-format on
    std::size_t titled = 0;
    for (const MenuRow& row : menu_table()) titled += row.title != nullptr;
    EXPECT_EQ(titled, std::size(places)) << "an item in the bar that nobody placed";
    for (const Place& p : places) {
        int found = 0;
        for (const MenuRow& row : menu_table()) {
            if (!row.title || row.choice != p.choice || row.command != p.command) continue;
            ++found;
            EXPECT_EQ(row.menu, p.menu) << row.title;
        }
        EXPECT_EQ(found, 1) << "choice " << p.choice << " command " << int(p.command);
    }
}

// The keys people know from other programs go to the commands they expect there.
TEST(MenuTable, NoKeyTwiceAndTheFamiliarOnesWhereExpected) {
    std::map<std::string, AppCommand> keys;
    for (const MenuRow& row : menu_table()) {
        for (const char* k : {row.shortcut, row.alt_shortcut}) {
            if (!*k) continue;
            EXPECT_TRUE(keys.emplace(lower(k), row.command).second) << k << " used twice";
        }
    }
    const std::map<std::string, AppCommand> familiar = {
        {"ctrl+b", AppCommand::kStepBack}, {"ctrl+g", AppCommand::kGoToStep},
        {"ctrl+o", AppCommand::kOpenRun},  {"ctrl+shift+s", AppCommand::kSaveRunAs},
        {"ctrl+z", AppCommand::kUndo},     {"ctrl+shift+z", AppCommand::kRedo},
    };
    for (const auto& [k, c] : familiar) {
        EXPECT_EQ(keys.count(k) ? keys.at(k) : AppCommand::kNone, c) << k;
    }
}

}  // namespace
}  // namespace vornick
