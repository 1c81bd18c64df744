#include "app/vornick_app.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include "app/animation_export.h"
#include "app/board_access.h"
#include "app/file_names.h"
#include "app/image_export.h"
#include "app/menu_choice.h"
#include "app/quit_signals.h"
#include "app/run_files.h"
#include "app/warning_box.h"
#include "app/window_state.h"
#include "edit/arrow_keys.h"
#include "edit/key_selection.h"
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
    main_window_.on_selection_key = nullptr;
    main_window_.board_access().follow(nullptr);
    main_window_.on_run_dropped = nullptr;
    if (status_) status_->after_show = nullptr;
    mouse_.on_all_released = nullptr;
}

bool VornickApp::start() {
    signals_ = std::make_unique<QuitSignals>([this] { quit_handler(); });

    menus_ = new QtMenuStates(
        main_window_.menuBar(), [this](uint32_t choice) { HandleMenuChoice(choice); },
        [this](AppCommand c) { run_command(c); });
    status_ = std::make_unique<StatusLine>(main_window_.statusBar());
    GlSurface& surface = *main_window_.surface();
    sim_ = std::make_unique<Sim>(Ports{&surface.board(), &surface.panel(), menus_, &timer_,
                                       &slider_, &clock_, &mouse_, &store_, status_.get()});
    press_ = std::make_unique<BoardPress>(*sim_);
    travel_ = std::make_unique<TravelCommands>(*sim_, *menus_, &main_window_,
                                               [this] { press_->abort(); });
    // Step Back and Go to Step follow the run's state, which the status port reports.
    status_->after_show = [this] { travel_->update_menus(); };
    main_window_.on_run_dropped = [this](const QByteArray& path) { travel_->open_run(path); };
    animation_ = std::make_unique<AnimationExport>(*sim_, &main_window_,
                                                   [&surface] { return surface.zoom(); });
    animation_->on_busy_changed = [this] {
        menus_->command_action(AppCommand::kExportAnimation)->setEnabled(!animation_->busy());
    };
    menus_->set_checked(kSpeedMenu, kSlowMode, true);
    restore_window();

    main_window_.on_close = [this] { quit_handler(); };
    surface.on_window_repaint = [this] {
        if (started_) sim_->full_refresh();
    };
    // The board's description follows what the window shows, at the pace it is shown.
    main_window_.board_access().follow([this] { return board_summary(*sim_); });
    connect(&surface, &GlSurface::frame_shown, &main_window_.board_access(), &BoardAccess::refresh);
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
    travel_->update_menus();
    started_ = true;
    return true;
}

void VornickApp::open_from_arguments(const QList<QByteArray>& arguments) {
    const QByteArray path = run_file_argument(arguments);
    if (path.isEmpty()) return;
    // From the event loop, so that the window is up to show the progress or the refusal.
    QTimer::singleShot(0, this, [this, path] { travel_->open_run(path); });
}

void VornickApp::wire_board_input() {
    GlSurface& surface = *main_window_.surface();
    // While a travel or an opening is under way the board takes no press and no key: the run
    // must not change under it. A press or a key can end a single step, a drop or an arrow
    // move records an edit: the menus follow.
    surface.on_press = [this, &surface](QPoint u) {
        if (!started_ || travel_->busy()) return;
        const double drag_units = QApplication::startDragDistance() * surface.units_per_pixel();
        press_->HandleInContent(u.x(), u.y(), drag_units);
        main_window_.board_access().user_acted();
        travel_->update_menus();
    };
    surface.on_move = [this](QPoint u) { press_->mouse_moved(u.x(), u.y()); };
    // With several buttons held the press lasts until the last one is let go.
    surface.on_release = [this](QPoint u) {
        if (mouse_.is_down()) return;
        press_->mouse_released(u.x(), u.y());
        main_window_.board_access().user_acted();
        travel_->update_menus();
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
        if (QuitSignals::asked()) quit_handler();  // keys queued before a signal wait no longer
        if (!started_ || sim_->pace.gDone || travel_->busy()) return;
        HandleArrowKey(*sim_, *press_, code);
        main_window_.board_access().user_acted();
        travel_->update_menus();
    };
    main_window_.on_selection_key = [this](SelectionKey key) {
        if (!started_ || travel_->busy()) return;
        HandleSelectionKey(*sim_, *press_, key);
        main_window_.board_access().user_acted();
    };
}

void VornickApp::step_timer_fired() {
    main_window_.surface()->set_frame_interval_ms(
        sim_->pace.speed == kMaxSpeedMode ? kMaxSpeedFrameMs : GlSurface::kDisplayFrameMs);
    if (travel_->busy()) return;  // the run stands still until the travel or opening is over
    vornick::step_timer_fired(*sim_, *press_);
}

void VornickApp::HandleMenuChoice(uint32_t menuChoice) {
    // A run or speed command means the run the user sees now, which it may step or start: a
    // travel stops where it stands first, an opening is dropped.
    const auto menu = static_cast<int16_t>(menuChoice >> 16);
    if (menu == kFileMenu || menu == kSpeedMenu) travel_->cancel();
    vornick::HandleMenuChoice(menuChoice, *sim_, about_);
    // Continuing in the single-step mode or a new run of the same seed changes the step or the
    // journal and nothing the status port reports.
    travel_->update_menus();
}

void VornickApp::run_command(AppCommand c) {
    const int zoom = main_window_.surface()->zoom();
    switch (c) {
        case AppCommand::kQuit:
            quit_handler();
            break;
        case AppCommand::kPreferences:
            show_preferences();
            break;
        case AppCommand::kHelp:
            show_help();
            break;
        case AppCommand::kNewRunFromSeed:
            show_seed_dialog();
            break;
        case AppCommand::kExportImage:
            export_image();
            break;
        case AppCommand::kExportAnimation:
            animation_->run();
            break;
        case AppCommand::kCopyImage:
            copy_image();
            break;
        case AppCommand::kZoomIn:
            set_zoom(zoom + 1);
            break;
        case AppCommand::kZoomOut:
            set_zoom(zoom - 1);
            break;
        case AppCommand::kActualSize:
            set_zoom(1);
            break;
        case AppCommand::kStatusBar:
            show_status_bar(menus_->command_action(AppCommand::kStatusBar)->isChecked());
            break;
        case AppCommand::kStepBack:
        case AppCommand::kGoToStep:
        case AppCommand::kOpenRun:
        case AppCommand::kSaveRunAs:
        case AppCommand::kUndo:
        case AppCommand::kRedo:
            travel_->run(c);
            break;
        case AppCommand::kNone:
            break;
    }
}

void VornickApp::show_seed_dialog() {
    if (!seed_dialog_) {
        seed_dialog_ = std::make_unique<SeedDialog>(
            [this](uint32_t seed) {
                travel_->cancel();
                sim_->new_sim_from_seed(seed);
                travel_->update_menus();
            },
            &main_window_);
        connect(seed_dialog_.get(), &QDialog::finished, this, [this] { return_keyboard(); });
    }
    seed_dialog_->open_with(sim_->run.lastSeed);
}

// At maximum speed, or under the cap, the board on screen lags the run; what is saved or
// copied shows the run as its name says, at the step it has reached.
QImage VornickApp::current_picture() {
    sim_->full_refresh();
    return main_window_.surface()->read_framebuffer();
}

void VornickApp::export_image() {
    const QImage picture = current_picture();
    const QString suggested = default_export_path(sim_->run.lastSeed, sim_->run.iters);
    QString path;
    if (choose_export_path) {
        path = choose_export_path(suggested);
    } else {
        QFileDialog dialog(&main_window_, tr("Export Image"), QString(), tr("PNG images (*.png)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("png"));
        dialog.selectFile(suggested);
        if (dialog.exec() == QDialog::Accepted) path = dialog.selectedFiles().value(0);
    }
    if (path.isEmpty()) return;
    const QByteArray file = system_path(path);
    QString error;
    if (write_png(picture, file, &error)) return;

    export_failure_ =
        open_warning(&main_window_, tr("Export Image"),
                     tr("The picture could not be saved as “%1”.").arg(shown_path(file)), error);
}

void VornickApp::copy_image() {
    QGuiApplication::clipboard()->setImage(current_picture());
}

void VornickApp::set_zoom(int zoom) {
    GlSurface& surface = *main_window_.surface();
    surface.set_zoom(zoom);
    const int now = surface.zoom();
    menus_->command_action(AppCommand::kZoomIn)->setEnabled(now < kMaxZoom);
    menus_->command_action(AppCommand::kZoomOut)->setEnabled(now > 1);
    menus_->command_action(AppCommand::kActualSize)->setEnabled(now != 1);
    if (started_) save_window();
}

void VornickApp::show_status_bar(bool on) {
    menus_->command_action(AppCommand::kStatusBar)->setChecked(on);
    main_window_.statusBar()->setVisible(on);
    if (started_) save_window();
}

// Before the window is first shown, so that it opens at its size and place.
void VornickApp::restore_window() {
    const WindowState state = load_window_state();
    set_zoom(state.zoom);
    show_status_bar(state.status_bar);
    // A place on a screen that is no longer there would leave the window out of reach.
    if (state.position && QGuiApplication::screenAt(*state.position + QPoint(8, 8))) {
        main_window_.move(*state.position);
    }
}

void VornickApp::save_window() const {
    save_window_state(WindowState{main_window_.surface()->zoom(),
                                  menus_->command_action(AppCommand::kStatusBar)->isChecked(),
                                  main_window_.pos()});
}

void VornickApp::quit_handler() {
    if (sim_->pace.gDone) return;
    // A travel stays where it stands, an opening is dropped: the run as the user sees it. An
    // animation being exported is not made.
    travel_->cancel();
    animation_->cancel();
    save_window();
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
