// The running program: owns the core and the Qt pieces that it talks to, starts up in a fixed
// order, routes Qt's events to the core's handlers, and quits with the preferences saved.
#pragma once

#include <QObject>
#include <memory>

#include "app/about_window.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/menu_table.h"
#include "app/mouse_watch.h"
#include "app/slider_window.h"
#include "app/step_timer.h"
#include "edit/board_press.h"
#include "prefs/prefs_dialog.h"
#include "prefs/prefs_store.h"
#include "sim/sim.h"
#include "sim/system_clock.h"

namespace vornick {

class QuitSignals;

class VornickApp : public QObject {
  public:
    VornickApp();
    ~VornickApp() override;

    // Start-up up to the first run; the caller then runs the Qt event loop. False, with the
    // window never shown, when the drawing surface could not be made (see its setup_failure).
    bool start();

    void quit_handler();
    void show_preferences();
    void show_help();
    void HandleMenuChoice(uint32_t menuChoice);

    Sim& sim() { return *sim_; }
    MainWindow& main_window() { return main_window_; }
    QtMenuStates& menus() { return *menus_; }
    QtSliderWindow& slider() { return slider_; }
    QtAboutWindow& about() { return about_; }
    QtHelpWindow& help() { return help_; }
    PrefsDialog* prefs_dialog() const { return prefs_dialog_.get(); }
    const BoardPress& press() const { return *press_; }

  private:
    void step_timer_fired();
    void return_keyboard();
    void wire_board_input();

    MainWindow main_window_;
    QtMenuStates* menus_ = nullptr;
    QtStepTimer timer_;
    QtSliderWindow slider_;
    QtAboutWindow about_;
    SystemClock clock_;
    MouseWatch mouse_;
    PrefsSeedStore store_;
    std::unique_ptr<Sim> sim_;
    QtHelpWindow help_;
    std::unique_ptr<PrefsDialog> prefs_dialog_;  // made at its first opening; uses sim_
    std::unique_ptr<BoardPress> press_;
    std::unique_ptr<QuitSignals> signals_;
    bool started_ = false;
};

}  // namespace vornick
