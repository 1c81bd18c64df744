// The Qt menu bar built from the menu table: every action carries its menu choice into the
// core, or its command into the application, and shows the marks and states the core sets.
#pragma once

#include <QHash>
#include <QObject>
#include <functional>

#include "app/menu_table.h"
#include "sim/ports.h"

class QAction;
class QMenuBar;

namespace vornick {

class QtMenuStates : public QObject, public MenuStates {
  public:
    QtMenuStates(QMenuBar* bar, std::function<void(uint32_t)> on_choice,
                 std::function<void(AppCommand)> on_command);

    void set_enabled(MenuId menu, int16_t item, bool on) override;
    void set_checked(MenuId menu, int16_t item, bool on) override;

    QAction* action(int16_t menu, int16_t item) const;
    QAction* command_action(AppCommand c) const;

  private:
    QHash<uint32_t, QAction*> actions_;
    QHash<uint32_t, bool> checked_;  // what the core last said, which a click must not override
    QHash<int, QAction*> commands_;
};

}  // namespace vornick
