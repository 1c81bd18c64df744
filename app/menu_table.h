// The menu bar as one table: each row is an item, where it is shown, its title with mnemonic,
// its keys, and the 32-bit menu choice or application command it carries. Platform-free.
#pragma once

#include <cstdint>
#include <span>

namespace vornick {

// The menus of the bar, in the order they are shown.
enum class BarMenu : uint8_t { kFile, kEdit, kView, kSpeed, kHelp };
inline constexpr int kBarMenuCount = 5;

// The menu's title with its mnemonic.
const char* bar_menu_title(BarMenu menu);

// Items that are commands of the application rather than numbered items of the core's menus.
enum class AppCommand : uint8_t {
    kNone,
    kPreferences,
    kQuit,
    kHelp,
    kNewRunFromSeed,
    kExportImage,
    kExportAnimation,
    kCopyImage,
    kZoomIn,
    kZoomOut,
    kActualSize,
    kStatusBar,
    kStepBack,
    kGoToStep,
    kOpenRun,
    kSaveRunAs,
    kUndo,
    kRedo,
};

struct MenuRow {
    BarMenu menu;
    const char* title;  // '&' before the mnemonic; nullptr for a separator
    uint32_t choice;    // the core's menu choice; 0 for an application command or a separator
    AppCommand command;
    const char* shortcut;      // portable text, "" for none
    const char* alt_shortcut;  // a second key for the same item, "" for none
    bool checkable;
};

std::span<const MenuRow> menu_table();

// The lower-case letter or digit after the title's one '&' ("&&" is a plain '&'); 0 for none.
char mnemonic_of(const char* title);

}  // namespace vornick
