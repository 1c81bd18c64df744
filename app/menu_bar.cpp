#include "app/menu_bar.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/menu_choice.h"

namespace vornick {

namespace {

QList<QKeySequence> keys_of(const MenuRow& row) {
    QList<QKeySequence> keys;
    for (const char* text : {row.shortcut, row.alt_shortcut}) {
        if (*text) keys.append(QKeySequence(QString::fromLatin1(text)));
    }
    return keys;
}

}  // namespace

QtMenuStates::QtMenuStates(QMenuBar* bar, std::function<void(uint32_t)> on_choice,
                           std::function<void(AppCommand)> on_command)
    : QObject(bar) {
    QMenu* menus[kBarMenuCount] = {};
    for (int i = 0; i < kBarMenuCount; ++i) {
        menus[i] = bar->addMenu(tr(bar_menu_title(static_cast<BarMenu>(i))));
    }

    for (const MenuRow& row : menu_table()) {
        QMenu* menu = menus[static_cast<int>(row.menu)];
        if (!row.title) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(tr(row.title));
        a->setShortcuts(keys_of(row));
        // Keys act whichever of the program's windows is in front.
        a->setShortcutContext(Qt::ApplicationShortcut);
        a->setCheckable(row.checkable);
        if (row.command != AppCommand::kNone) {
            if (row.command == AppCommand::kQuit) a->setMenuRole(QAction::QuitRole);
            if (row.command == AppCommand::kPreferences) a->setMenuRole(QAction::PreferencesRole);
            commands_[static_cast<int>(row.command)] = a;
            const AppCommand c = row.command;
            connect(a, &QAction::triggered, this, [on_command, c] { on_command(c); });
            continue;
        }
        const uint32_t choice = row.choice;
        actions_[choice] = a;
        checked_[choice] = false;
        connect(a, &QAction::triggered, this, [this, a, choice, on_choice] {
            on_choice(choice);
            // Qt flips a checkable action by itself; the core alone decides its mark.
            if (actions_.value(choice) == a) a->setChecked(checked_.value(choice));
        });
    }
}

void QtMenuStates::set_enabled(MenuId menu, int16_t item, bool on) {
    if (QAction* a = action(menu, item)) a->setEnabled(on);
}

void QtMenuStates::set_checked(MenuId menu, int16_t item, bool on) {
    const uint32_t choice = menu_choice(menu, item);
    if (QAction* a = actions_.value(choice)) {
        checked_[choice] = on;
        a->setChecked(on);
    }
}

QAction* QtMenuStates::action(int16_t menu, int16_t item) const {
    return actions_.value(menu_choice(menu, item));
}

QAction* QtMenuStates::command_action(AppCommand c) const {
    return commands_.value(static_cast<int>(c));
}

}  // namespace vornick
