#include "app/travel_commands.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>
#include <algorithm>

#include "app/file_names.h"
#include "app/menu_bar.h"
#include "app/run_files.h"
#include "app/step_dialog.h"
#include "app/warning_box.h"
#include "sim/history/run_file.h"
#include "sim/history/run_opening.h"

namespace vornick {

namespace {

// Work of an opening's first chunk, in organism-steps: a few milliseconds; later chunks are
// sized by time.
constexpr int64_t kFirstOpeningWork = int64_t{1} << 22;

// A fault of a line, or the system's reason for the file as a whole.
QString fault_text(const RunFileError& e) {
    const QString fault = QString::fromLocal8Bit(e.fault.c_str());
    if (e.line == 0) return fault.left(1).toUpper() + fault.mid(1) + QLatin1Char('.');
    return QObject::tr("Line %1: %2.").arg(e.line).arg(fault);
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
            if (const QByteArray path = ask_open_path(); !path.isEmpty()) open_run(path);
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

void TravelCommands::open_run(const QByteArray& path) {
    if (busy() || path.isEmpty()) return;
    // Read and replayed beside the current run, which stays as it is until the opening is
    // adopted. A file that cannot be opened at all is told of at once.
    opening_ = std::make_unique<RunOpening>(path.toStdString());
    const QString name = shown_name(path);
    ChunkedWork::Job job;
    job.advance = [this](int64_t n) { return opening_->advance(n); };
    job.steps_left = [this] { return opening_->left(); };
    job.steps_total = [this] { return opening_->total(); };
    job.cancel = [] {};
    job.finished = [this, path](bool cancelled) { opening_finished(path, cancelled); };
    job.label = [this, name] {
        return opening_->phase() == RunOpening::Phase::kReading ? tr("Reading “%1”…").arg(name)
                                                                : tr("Opening “%1”…").arg(name);
    };
    job.first_chunk = kFirstOpeningWork;
    work_.start(tr("Reading “%1”…").arg(name), std::move(job));
}

void TravelCommands::opening_finished(const QByteArray& path, bool cancelled) {
    const std::unique_ptr<RunOpening> opening = std::move(opening_);
    if (cancelled || !opening) return;
    if (opening->failed()) {
        tell(tr("Open Run"), tr("“%1” cannot be opened as a run.").arg(shown_path(path)),
             fault_text(opening->error()));
        return;
    }
    end_press_();
    opening->adopt_into(sim_);
}

QByteArray TravelCommands::ask_open_path() {
    if (choose_open_path) return system_path(choose_open_path());
    QFileDialog dialog(window_, tr("Open Run"),
                       QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                       tr("Vornick runs (*.vornick);;All files (*)"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.exec() == QDialog::Accepted ? system_path(dialog.selectedFiles().value(0))
                                              : QByteArray();
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
    const QByteArray file = system_path(with_run_suffix(path));
    if (file.isEmpty()) return;
    QString why;
    if (write_run_text(file, text, &why)) return;
    tell(tr("Save Run As"), tr("The run could not be saved as “%1”.").arg(shown_path(file)), why);
}

// Told, not asked: the program goes on behind the message.
void TravelCommands::tell(const QString& title, const QString& text, const QString& why) {
    failure_ = open_warning(window_, title, text, why);
}

}  // namespace vornick
