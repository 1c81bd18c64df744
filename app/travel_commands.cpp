#include "app/travel_commands.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <algorithm>
#include <optional>

#include "app/menu_bar.h"
#include "app/run_files.h"
#include "app/step_dialog.h"
#include "app/warning_box.h"
#include "sim/history/run_file.h"
#include "sim/history/run_replay.h"

namespace vornick {

namespace {

// Organism-steps of an opening's first chunk: a few milliseconds; later chunks are sized by time.
constexpr int64_t kFirstReplayOrgSteps = int64_t{1} << 22;

QString fault_text(const RunFileError& e) {
    return QObject::tr("Line %1: %2.").arg(e.line).arg(QString::fromStdString(e.fault));
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

}  // namespace

TravelCommands::TravelCommands(Sim& sim, QtMenuStates& menus, QWidget* window,
                               std::function<void()> end_press)
    : sim_(sim), menus_(menus), window_(window), end_press_(std::move(end_press)), work_(window) {
    work_.on_busy_changed = [this] { update_menus(); };
}

TravelCommands::~TravelCommands() {
    work_.on_busy_changed = nullptr;
}

void TravelCommands::run(AppCommand c) {
    if (busy()) return;
    switch (c) {
        case AppCommand::kStepBack:
            end_press_();
            sim_.step_back();
            break;
        case AppCommand::kGoToStep:
            show_step_dialog();
            break;
        case AppCommand::kUndo:
        case AppCommand::kRedo:
            undo_or_redo(c == AppCommand::kUndo);
            break;
        case AppCommand::kOpenRun:
            if (const QString path = ask_open_path(); !path.isEmpty()) open_run(path);
            break;
        case AppCommand::kSaveRunAs:
            save_run();
            break;
        default:
            return;
    }
    update_menus();
}

void TravelCommands::update_menus() {
    const bool idle = !busy();
    const auto set = [this](AppCommand c, bool on) {
        if (QAction* a = menus_.command_action(c)) a->setEnabled(on);
    };
    set(AppCommand::kStepBack, idle && sim_.can_step_back());
    set(AppCommand::kGoToStep, idle && sim_.can_travel());
    set(AppCommand::kOpenRun, idle);
    set(AppCommand::kSaveRunAs, idle);
    const auto name = [this](AppCommand c, const char* edit, const QString& bare,
                             const QString& named) {
        QAction* a = menus_.command_action(c);
        if (!a) return;
        a->setText(edit ? named.arg(tr(edit)) : bare);
        a->setEnabled(!busy() && edit);
    };
    name(AppCommand::kUndo, sim_.undo_name(), tr("&Undo"), tr("&Undo %1"));
    name(AppCommand::kRedo, sim_.redo_name(), tr("Re&do"), tr("Re&do %1"));
}

void TravelCommands::show_step_dialog() {
    if (!step_dialog_) {
        step_dialog_ = std::make_unique<StepDialog>([this](int32_t n) { go_to_step(n); }, window_);
    }
    step_dialog_->open_with(sim_.run.iters, sim_.limits().maxIters);
}

void TravelCommands::go_to_step(int32_t n) {
    if (busy() || !sim_.can_travel()) return;
    end_press_();
    if (sim_.go_to_step(n)) travel(tr("Going to step %1…").arg(n));
    update_menus();
}

// Both travel to the edit's moment, which may lie far from the run's step.
void TravelCommands::undo_or_redo(bool undo) {
    const Edit* e = undo ? sim_.journal.last() : sim_.journal.next_redo();
    if (!e) return;
    const QString label =
        (undo ? tr("Undo %1: going to step %2…") : tr("Redo %1: going to step %2…"))
            .arg(tr(edit_name(*e)))
            .arg(e->stamp);
    end_press_();
    if (undo ? sim_.undo_edit() : sim_.redo_edit()) travel(label);
}

void TravelCommands::travel(const QString& label) {
    ChunkedWork::Job job;
    job.advance = [this](int64_t n) { return sim_.travel(n); };
    job.steps_left = [this] { return sim_.travel_steps_left(); };
    job.steps_total = [this] { return sim_.travel_steps_total(); };
    job.cancel = [this] { sim_.cancel_travel(); };
    job.first_chunk = sim_.travel_chunk();
    work_.start(label, std::move(job));
}

void TravelCommands::open_run(const QString& path) {
    if (busy()) return;
    const QString title = tr("Open Run");
    const QString refused = tr("“%1” cannot be opened as a run.").arg(native(path));
    std::string text;
    QString why;
    if (!read_run_text(path, text, &why)) {
        tell(title, refused, why);
        return;
    }
    RunFileError fault;
    std::optional<RunFile> file = parse_run_file(text, fault);
    if (!file) {
        tell(title, refused, fault_text(fault));
        return;
    }
    const int32_t steps = file->steps;
    // Replayed beside the current run, which stays as it is until the replay is adopted.
    replay_ = std::make_unique<RunReplay>(std::move(*file), steps);
    ChunkedWork::Job job;
    job.advance = [this](int64_t n) { return replay_->advance(n); };
    job.steps_left = [this] { return replay_->steps_left(); };
    job.steps_total = [this] { return replay_->steps_total(); };
    job.cancel = [] {};
    job.finished = [this, path](bool cancelled) { replay_finished(path, cancelled); };
    job.first_chunk = kFirstReplayOrgSteps / std::max(replay_->model().norgs, 1);
    work_.start(tr("Opening “%1”…").arg(QFileInfo(path).fileName()), std::move(job));
}

void TravelCommands::replay_finished(const QString& path, bool cancelled) {
    const std::unique_ptr<RunReplay> replay = std::move(replay_);
    if (cancelled || !replay) return;
    if (replay->failed()) {
        tell(tr("Open Run"), tr("“%1” cannot be opened as a run.").arg(native(path)),
             fault_text(replay->error()));
        return;
    }
    end_press_();
    replay->adopt_into(sim_);
}

QString TravelCommands::ask_open_path() {
    if (choose_open_path) return choose_open_path();
    QFileDialog dialog(window_, tr("Open Run"),
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                       tr("Vornick runs (*.vornick);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

void TravelCommands::save_run() {
    // The run as it stood when asked for: it may go on while the dialog is open.
    const std::string text = write_run_file(sim_);
    const QString suggested = default_run_path(sim_.run.lastSeed, sim_.run.iters);
    QString path;
    if (choose_save_path) {
        path = choose_save_path(suggested);
    } else {
        QFileDialog dialog(window_, tr("Save Run As"), QString(), tr("Vornick runs (*.vornick)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QString::fromLatin1(kRunSuffix));
        dialog.selectFile(suggested);
        if (dialog.exec() == QDialog::Accepted) path = dialog.selectedFiles().value(0);
    }
    path = with_run_suffix(path);
    if (path.isEmpty()) return;
    QString why;
    if (write_run_text(path, text, &why)) return;
    tell(tr("Save Run As"), tr("The run could not be saved as “%1”.").arg(native(path)), why);
}

// Told, not asked: the program goes on behind the message.
void TravelCommands::tell(const QString& title, const QString& text, const QString& why) {
    failure_ = open_warning(window_, title, text, why);
}

}  // namespace vornick
