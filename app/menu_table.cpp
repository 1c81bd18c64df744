#include "app/menu_table.h"

#include <cctype>

#include "app/menu_choice.h"

namespace vornick {

namespace {

constexpr MenuRow item(BarMenu menu, const char* title, int16_t menu_id, int16_t number,
                       const char* keys, bool checkable = false) {
    return MenuRow{menu, title,    menu_choice(menu_id, number), AppCommand::kNone, keys,
                   "",   checkable};
}

constexpr MenuRow command(BarMenu menu, const char* title, AppCommand c, const char* keys,
                          const char* alt_keys = "", bool checkable = false) {
    return MenuRow{menu, title, 0, c, keys, alt_keys, checkable};
}

constexpr MenuRow separator(BarMenu menu) {
    return MenuRow{menu, nullptr, 0, AppCommand::kNone, "", "", false};
}

constexpr BarMenu kFile = BarMenu::kFile;
constexpr BarMenu kEdit = BarMenu::kEdit;
constexpr BarMenu kView = BarMenu::kView;
constexpr BarMenu kSpeed = BarMenu::kSpeed;
constexpr BarMenu kHelp = BarMenu::kHelp;

// Items keep the menu ids and numbers the core knows them by, wherever they are shown. Going
// back in time sits with Stop and Continue, which it needs and undoes; run files sit with the
// seeds, the other way of keeping a run. Undo and Redo take their texts from the journal.
constexpr MenuRow kRows[] = {
    item(kFile, "&New Run", kFileMenu, 1, "Ctrl+N"),
    item(kFile, "&Restart", kFileMenu, 4, "Ctrl+Shift+R"),
    item(kFile, "&Stop", kFileMenu, 2, "Ctrl+."),
    item(kFile, "&Continue", kFileMenu, 3, "Ctrl+R"),
    command(kFile, "Step &Back", AppCommand::kStepBack, "Ctrl+B"),
    command(kFile, "&Go to Step…", AppCommand::kGoToStep, "Ctrl+G"),
    separator(kFile),
    item(kFile, "Save S&eed", kFileMenu, 5, "Ctrl+S"),
    item(kFile, "Run Sa&ved Seed", kFileMenu, 6, "Ctrl+L"),
    command(kFile, "New Run from See&d…", AppCommand::kNewRunFromSeed, "Ctrl+Shift+N"),
    separator(kFile),
    command(kFile, "&Open Run…", AppCommand::kOpenRun, "Ctrl+O"),
    command(kFile, "Save Run &As…", AppCommand::kSaveRunAs, "Ctrl+Shift+S"),
    separator(kFile),
    command(kFile, "E&xport Image…", AppCommand::kExportImage, "Ctrl+E"),
    command(kFile, "Export Ani&mation…", AppCommand::kExportAnimation, "Ctrl+Shift+E"),
    separator(kFile),
    command(kFile, "&Quit", AppCommand::kQuit, "Ctrl+Q"),

    command(kEdit, "&Undo", AppCommand::kUndo, "Ctrl+Z"),
    command(kEdit, "Re&do", AppCommand::kRedo, "Ctrl+Shift+Z"),
    separator(kEdit),
    command(kEdit, "&Copy Image", AppCommand::kCopyImage, "Ctrl+C"),
    separator(kEdit),
    command(kEdit, "&Preferences…", AppCommand::kPreferences, "Ctrl+,"),

    command(kView, "Zoom &In", AppCommand::kZoomIn, "Ctrl++", "Ctrl+="),
    command(kView, "Zoom &Out", AppCommand::kZoomOut, "Ctrl+-"),
    command(kView, "&Actual Size", AppCommand::kActualSize, "Ctrl+0"),
    separator(kView),
    item(kView, "Show &Rate", kOutputMenu, 1, "Ctrl+F", true),
    command(kView, "Status &Bar", AppCommand::kStatusBar, "", "", true),

    item(kSpeed, "&Slow", kSpeedMenu, 1, "Ctrl+1", true),
    item(kSpeed, "&Fast", kSpeedMenu, 2, "Ctrl+2", true),
    item(kSpeed, "&Turbo", kSpeedMenu, 3, "Ctrl+3", true),
    item(kSpeed, "&Maximum", kSpeedMenu, 4, "Ctrl+4", true),
    item(kSpeed, "Single St&ep", kSpeedMenu, 5, "Ctrl+5", true),
    item(kSpeed, "&Variable", kSpeedMenu, 6, "Ctrl+6", true),
    item(kSpeed, "Speed Sli&der…", kSpeedMenu, 7, "Ctrl+7"),
    separator(kSpeed),  // item 8 of the Speed menu carries no command
    item(kSpeed, "&Limit to 60 FPS", kSpeedMenu, 9, "Ctrl+9", true),

    command(kHelp, "Vornick &Help", AppCommand::kHelp, "F1"),
    item(kHelp, "&About Vornick", kAppleMenu, 1, ""),
};

}  // namespace

const char* bar_menu_title(BarMenu menu) {
    switch (menu) {
        case BarMenu::kFile:
            return "&File";
        case BarMenu::kEdit:
            return "&Edit";
        case BarMenu::kView:
            return "&View";
        case BarMenu::kSpeed:
            return "&Speed";
        case BarMenu::kHelp:
            return "&Help";
    }
    return "";
}

std::span<const MenuRow> menu_table() {
    return kRows;
}

char mnemonic_of(const char* title) {
    if (title == nullptr) return 0;
    for (const char* p = title; *p != '\0'; ++p) {
        if (*p != '&') continue;
        ++p;
        if (*p == '&') continue;
        const auto c = static_cast<unsigned char>(*p);
        return std::isalnum(c) ? static_cast<char>(std::tolower(c)) : 0;
    }
    return 0;
}

}  // namespace vornick
