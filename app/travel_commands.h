// The commands that move a run through its history or keep it whole: Step Back, Go to Step,
// Undo, Redo, Open Run and Save Run As, their menu states, and the long travels made in chunks.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

#include "app/chunked_work.h"
#include "app/menu_table.h"
#include "sim/sim.h"

class QMessageBox;
class QWidget;

namespace vornick {

class QtMenuStates;
class RunOpening;
class StepDialog;

class TravelCommands : public QObject {
  public:
    // `end_press` ends a press on the board before the run is moved under it.
    TravelCommands(Sim& sim, QtMenuStates& menus, QWidget* window, std::function<void()> end_press);
    ~TravelCommands() override;

    // Step Back, Go to Step, Undo, Redo, Open Run or Save Run As; nothing while a travel or an
    // opening is under way, and nothing for other commands.
    void run(AppCommand c);
    // Reads, checks and replays the file (bytes, as the system names it) in chunks, then shows
    // its run halted; a file that cannot be opened is refused with a message and the run is
    // left as it was.
    void open_run(const QByteArray& path);

    // A travel or an opening under way; the run stands at a consistent step between chunks.
    bool busy() const { return work_.busy(); }
    // Stops it there: a travel leaves the run where it stands, an opening leaves it as it was.
    void cancel() { work_.cancel(); }

    // Enabled states and texts of the six commands, from the run and its journal.
    void update_menus();

    // Where Save Run As writes, given the suggested path, and what Open Run reads; "" cancels.
    // File dialogs unless replaced (tests answer them themselves).
    std::function<QString(const QString& suggested)> choose_save_path;
    std::function<QString()> choose_open_path;

    ChunkedWork& work() { return work_; }
    StepDialog* step_dialog() const { return step_dialog_.get(); }
    // The last message about a file that could not be opened or saved, while it is shown.
    QMessageBox* failure() const { return failure_; }

  private:
    void show_step_dialog();
    void go_to_step(int32_t n);
    void undo_or_redo(bool undo);
    void travel(const QString& label);
    void opening_finished(const QByteArray& path, bool cancelled);
    void save_run();
    QByteArray ask_open_path();
    void tell(const QString& title, const QString& text, const QString& why);

    Sim& sim_;
    QtMenuStates& menus_;
    QWidget* window_;
    std::function<void()> end_press_;
    ChunkedWork work_;
    std::unique_ptr<RunOpening> opening_;  // while a file is being opened
    std::unique_ptr<StepDialog> step_dialog_;
    QPointer<QMessageBox> failure_;
};

}  // namespace vornick
