// The running program: owns the core and the Qt pieces that it talks to, starts up in a fixed
// order, routes Qt's events to the core's handlers, and quits with the preferences saved.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>

#include "app/about_window.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/menu_bar.h"
#include "app/mouse_watch.h"
#include "app/seed_dialog.h"
#include "app/slider_window.h"
#include "app/status_line.h"
#include "app/step_timer.h"
#include "app/travel_commands.h"
#include "edit/board_press.h"
#include "prefs/prefs_dialog.h"
#include "prefs/prefs_store.h"
#include "sim/sim.h"
#include "sim/system_clock.h"

namespace vornick {

class AnimationExport;
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
    void run_command(AppCommand c);
    // Opens the run file among the program's arguments (as the system gives them), if any,
    // once the event loop runs.
    void open_from_arguments(const QList<QByteArray>& arguments);

    // Where Export Image writes, given the suggested path; "" cancels. A file dialog unless
    // replaced (tests answer it themselves).
    std::function<QString(const QString& suggested)> choose_export_path;

    Sim& sim() { return *sim_; }
    MainWindow& main_window() { return main_window_; }
    QtMenuStates& menus() { return *menus_; }
    QtSliderWindow& slider() { return slider_; }
    QtAboutWindow& about() { return about_; }
    QtHelpWindow& help() { return help_; }
    PrefsDialog* prefs_dialog() const { return prefs_dialog_.get(); }
    const BoardPress& press() const { return *press_; }
    StatusLine& status_line() { return *status_; }
    SeedDialog* seed_dialog() const { return seed_dialog_.get(); }
    QMessageBox* export_failure() const { return export_failure_; }
    TravelCommands& travel() { return *travel_; }
    AnimationExport& animation() { return *animation_; }

  private:
    void step_timer_fired();
    void return_keyboard();
    void wire_board_input();
    void show_seed_dialog();
    QImage current_picture();
    void export_image();
    void copy_image();
    void set_zoom(int zoom);
    void show_status_bar(bool on);
    void restore_window();
    void save_window() const;

    MainWindow main_window_;
    QtMenuStates* menus_ = nullptr;
    std::unique_ptr<StatusLine> status_;
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
    std::unique_ptr<SeedDialog> seed_dialog_;  // made at its first opening
    std::unique_ptr<TravelCommands> travel_;
    std::unique_ptr<AnimationExport> animation_;
    QPointer<QMessageBox> export_failure_;
    bool started_ = false;
};

}  // namespace vornick
