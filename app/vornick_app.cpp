#include "app/vornick_app.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QTimer>

#include "app/menu_choice.h"
#include "app/quit_signals.h"
#include "edit/arrow_keys.h"
#include "render/gl_surface.h"

namespace vornick {

namespace {

// While steps run back to back only the step count changes on screen, and every repaint is
// taken from the steps; half the display rate still shows a smoothly counting number.
constexpr int kMaxSpeedFrameMs = 33;

}  // namespace

VornickApp::VornickApp()
    : timer_([this] { step_timer_fired(); }),
      slider_([this](int v) { sim_->sliderActionFunction(v); },
              [this] { menus_->set_enabled(kSpeedMenu, kSliderItem, true); }),
      about_([this] { menus_->set_enabled(kAppleMenu, 1, true); }),
      help_([this] { return_keyboard(); }) {}

// The windows outlive the core and the press; what they report while closing reaches neither.
VornickApp::~VornickApp() {
    main_window_.on_deactivated = nullptr;
    main_window_.on_arrow_key = nullptr;
    mouse_.on_all_released = nullptr;
}

bool VornickApp::start() {
    signals_ = std::make_unique<QuitSignals>([this] { quit_handler(); });

    menus_ = new QtMenuStates(
        main_window_.menuBar(), [this](uint32_t choice) { HandleMenuChoice(choice); },
        [this](AppCommand c) {
            if (c == AppCommand::kQuit) quit_handler();
            if (c == AppCommand::kPreferences) show_preferences();
            if (c == AppCommand::kHelp) show_help();
        });
    GlSurface& surface = *main_window_.surface();
    sim_ = std::make_unique<Sim>(Ports{&surface.board(), &surface.panel(), menus_, &timer_,
                                       &slider_, &clock_, &mouse_, &store_});
    press_ = std::make_unique<BoardPress>(*sim_);
    menus_->set_checked(kSpeedMenu, kSlowMode, true);

    main_window_.on_close = [this] { quit_handler(); };
    surface.on_window_repaint = [this] {
        if (started_) sim_->full_refresh();
    };
    wire_board_input();

    getPrefs(sim_->prefs, sim_->pace.delay);
    surface.setup();
    // The picture is drawn off screen, so the window can wait for it: without one it would
    // show nothing that works, and it is never shown.
    if (!surface.is_ready()) return false;
    main_window_.show();
    timer_.install(sim_->prefs.Slow, sim_->prefs.Slow);

    if (sim_->prefs.randomizeProg) sim_->rng.seed = static_cast<uint32_t>(clock_.wall_seconds());
    sim_->new_sim();
    sim_->pace.gDone = 0;
    started_ = true;
    return true;
}

void VornickApp::wire_board_input() {
    GlSurface& surface = *main_window_.surface();
    surface.on_press = [this, &surface](QPoint u) {
        if (!started_) return;
        const double drag_units = QApplication::startDragDistance() * surface.units_per_pixel();
        press_->HandleInContent(u.x(), u.y(), drag_units);
    };
    surface.on_move = [this](QPoint u) { press_->mouse_moved(u.x(), u.y()); };
    // With several buttons held the press lasts until the last one is let go.
    surface.on_release = [this](QPoint u) {
        if (!mouse_.is_down()) press_->mouse_released(u.x(), u.y());
    };
    // A release that another window took, or that happened outside the program, never reaches
    // the surface; once its own delivery is over, a press still going on has lost it.
    mouse_.on_all_released = [this] {
        QTimer::singleShot(0, this, [this] {
            if (!mouse_.is_down()) press_->abort();
        });
    };
    main_window_.on_deactivated = [this] { press_->abort(); };
    main_window_.on_arrow_key = [this](int32_t code) {
        if (started_) HandleArrowKey(*sim_, *press_, code);
    };
}

void VornickApp::step_timer_fired() {
    main_window_.surface()->set_frame_interval_ms(
        sim_->pace.speed == kMaxSpeedMode ? kMaxSpeedFrameMs : GlSurface::kDisplayFrameMs);
    vornick::step_timer_fired(*sim_, *press_);
}

void VornickApp::HandleMenuChoice(uint32_t menuChoice) {
    vornick::HandleMenuChoice(menuChoice, *sim_, about_);
}

void VornickApp::quit_handler() {
    if (sim_->pace.gDone) return;
    savePrefs(sim_->prefs);
    sim_->pace.gDone = 1;
    // exit, not quit: quit asks every window to close, and the main window refuses.
    QCoreApplication::exit(0);
}

void VornickApp::show_preferences() {
    QAction* command = menus_->command_action(AppCommand::kPreferences);
    if (!prefs_dialog_) {
        prefs_dialog_ = std::make_unique<PrefsDialog>(*sim_, [this] { show_help(); });
        // Close box, Escape and OK all end in `finished`; none of them applies anything more.
        connect(prefs_dialog_.get(), &QDialog::finished, command, [this, command] {
            command->setEnabled(true);
            return_keyboard();
        });
    }
    prefs_dialog_->HandlePrefsDialog();
    command->setEnabled(false);
}

void VornickApp::show_help() {
    help_.HandleHelpPrefs();
}

// A closed window hands the keyboard back to the dialog, if it is open, or else to the board.
// A window manager would do that too; without one the keys would reach no window at all.
void VornickApp::return_keyboard() {
    if (prefs_dialog_ && prefs_dialog_->isVisible()) {
        prefs_dialog_->activateWindow();
    } else {
        main_window_.activateWindow();
    }
}

}  // namespace vornick
