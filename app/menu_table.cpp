#include "app/menu_table.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/menu_choice.h"

namespace vornick {

namespace {

// Menu titles by id; 0 is the application menu.
const char* menu_title(int16_t menu) {
    switch (menu) {
        case 0:
            return "&Vornick";
        case kFileMenu:
            return "&File";
        case kSpeedMenu:
            return "&Speed";
        case kOutputMenu:
            return "&Output";
        case kHelpMenu:
            return "&Help";
        default:
            return "";
    }
}

constexpr MenuRow kRows[] = {
    {kAppleMenu, 1, "&About Vornick", "", false},
    {0, 0, "&Preferences…", "Ctrl+,", false, AppCommand::kPreferences},
    {0, 0, nullptr, "", false},
    {0, 0, "&Quit", "Ctrl+Q", false, AppCommand::kQuit},

    {kFileMenu, 1, "&New Run", "Ctrl+N", false},
    {kFileMenu, 2, "&Stop", "Ctrl+.", false},
    {kFileMenu, 3, "&Continue", "Ctrl+R", false},
    {kFileMenu, 4, "&Restart", "Ctrl+Shift+R", false},
    {kFileMenu, 5, "Save S&eed", "Ctrl+S", false},
    {kFileMenu, 6, "Run Sa&ved Seed", "Ctrl+L", false},

    {kSpeedMenu, 1, "&Slow", "Ctrl+1", true},
    {kSpeedMenu, 2, "&Fast", "Ctrl+2", true},
    {kSpeedMenu, 3, "&Turbo", "Ctrl+3", true},
    {kSpeedMenu, 4, "&Maximum", "Ctrl+4", true},
    {kSpeedMenu, 5, "Single S&tep", "Ctrl+5", true},
    {kSpeedMenu, 6, "&Variable", "Ctrl+6", true},
    {kSpeedMenu, 7, "Speed S&lider…", "Ctrl+7", false},
    {kSpeedMenu, 8, nullptr, "", false},
    {kSpeedMenu, 9, "&Limit to 60 FPS", "Ctrl+9", true},

    {kOutputMenu, 1, "Show &Rate", "Ctrl+F", true},

    {kHelpMenu, 0, "Vornick Help", "F1", false, AppCommand::kHelp},
};

}  // namespace

std::span<const MenuRow> menu_table() {
    return kRows;
}

QtMenuStates::QtMenuStates(QMenuBar* bar, std::function<void(uint32_t)> on_choice,
                           std::function<void(AppCommand)> on_command)
    : QObject(bar) {
    // The About item and the application commands share the first menu.
    QHash<int, QMenu*> menus;
    auto menu_for = [&](int16_t id) {
        const int16_t shown = id == kAppleMenu ? 0 : id;
        if (!menus.contains(shown)) menus[shown] = bar->addMenu(tr(menu_title(shown)));
        return menus[shown];
    };

    for (const MenuRow& row : kRows) {
        QMenu* menu = menu_for(row.menu);
        if (!row.title) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(tr(row.title));
        if (*row.shortcut) {
            a->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
            // Keys act whichever of the program's windows is in front.
            a->setShortcutContext(Qt::ApplicationShortcut);
        }
        if (row.command != AppCommand::kNone) {
            if (row.command == AppCommand::kQuit) a->setMenuRole(QAction::QuitRole);
            if (row.command == AppCommand::kPreferences) a->setMenuRole(QAction::PreferencesRole);
            commands_[static_cast<int>(row.command)] = a;
            const AppCommand c = row.command;
            connect(a, &QAction::triggered, this, [on_command, c] { on_command(c); });
            continue;
        }
        a->setCheckable(row.checkable);
        const int k = key(row.menu, row.item);
        actions_[k] = a;
        checked_[k] = false;
        const uint32_t choice = menu_choice(row.menu, row.item);
        connect(a, &QAction::triggered, this, [this, a, k, choice, on_choice] {
            on_choice(choice);
            // Qt flips a checkable action by itself; the core alone decides its mark.
            if (actions_.value(k) == a) a->setChecked(checked_.value(k));
        });
    }
}

void QtMenuStates::set_enabled(MenuId menu, int16_t item, bool on) {
    if (QAction* a = action(menu, item)) a->setEnabled(on);
}

void QtMenuStates::set_checked(MenuId menu, int16_t item, bool on) {
    const int k = key(menu, item);
    if (QAction* a = actions_.value(k)) {
        checked_[k] = on;
        a->setChecked(on);
    }
}

QAction* QtMenuStates::action(int16_t menu, int16_t item) const {
    return actions_.value(key(menu, item));
}

QAction* QtMenuStates::command_action(AppCommand c) const {
    return commands_.value(static_cast<int>(c));
}

}  // namespace vornick
