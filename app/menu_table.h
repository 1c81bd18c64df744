// The menu bar as one table: each row is a menu item with its 32-bit menu choice, title and
// keyboard equivalent. The Qt menus are built from it, and every action maps back to its row.
#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <functional>
#include <span>

#include "sim/ports.h"

class QAction;
class QMenuBar;

namespace vornick {

// Items that are commands of the application rather than numbered items of the core's menus.
enum class AppCommand { kNone, kPreferences, kQuit, kHelp };

// The Help menu holds commands only; its id is no MenuId of the core.
inline constexpr int16_t kHelpMenu = 1;

struct MenuRow {
    int16_t menu;  // a MenuId, 0 for the application menu's commands, or kHelpMenu
    int16_t item;  // item number from 1; 0 for a separator
    const char* title;
    const char* shortcut;  // portable text, "" for none
    bool checkable;
    AppCommand command = AppCommand::kNone;
};

std::span<const MenuRow> menu_table();

// Builds the menus into `bar` and keeps their enabled and checked states as the core sets them.
class QtMenuStates : public QObject, public MenuStates {
  public:
    QtMenuStates(QMenuBar* bar, std::function<void(uint32_t)> on_choice,
                 std::function<void(AppCommand)> on_command);

    void set_enabled(MenuId menu, int16_t item, bool on) override;
    void set_checked(MenuId menu, int16_t item, bool on) override;

    QAction* action(int16_t menu, int16_t item) const;
    QAction* command_action(AppCommand c) const;

  private:
    static int key(int16_t menu, int16_t item) { return menu * 100 + item; }

    QHash<int, QAction*> actions_;
    QHash<int, bool> checked_;  // what the core last said, which a click must not override
    QHash<int, QAction*> commands_;
};

}  // namespace vornick
