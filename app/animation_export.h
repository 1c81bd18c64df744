// File > Export Animation: asks for the steps and the look, then for the file, and writes the
// GIF from a copy of the run in chunks, with the progress window that can cancel it. The run
// on screen does not move and may keep running. A cancelled or failed export leaves no file;
// a failure is told with its cause.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/chunked_work.h"
#include "picture/animation_plan.h"

class QMessageBox;
class QWidget;

namespace vornick {

class AnimationDialog;
class AnimationMaker;
class FileSave;
class Sim;

// "vornick-seed-<seed>-steps-<from>-<to>.gif"
QString animation_file_name(uint32_t seed, int32_t from, int32_t to);

class AnimationExport : public QObject {
  public:
    // `zoom` gives the window's zoom, the scale the dialog suggests.
    AnimationExport(Sim& sim, QWidget* window, std::function<int()> zoom);
    ~AnimationExport() override;

    // The menu command: the dialog, then the file, then the work. Nothing while exporting.
    void run();
    // Writes the plan's animation of the run as it stands to `path`, in chunks.
    void start(const AnimationPlan& plan, const QString& path);
    bool busy() const { return work_.busy(); }
    // Stops the export; its file is not made.
    void cancel() { work_.cancel(); }

    // Where the animation goes, given the suggested path; "" cancels. A file dialog unless
    // replaced (tests answer it themselves).
    std::function<QString(const QString& suggested)> choose_path;
    // Told when an export begins or ends.
    std::function<void()> on_busy_changed;

    ChunkedWork& work() { return work_; }
    AnimationDialog* dialog() const { return dialog_.get(); }
    // The message about the last export that failed, while it is shown.
    QMessageBox* failure() const { return failure_; }

  private:
    void plan_chosen(const AnimationPlan& plan);
    void finished(const QString& path, bool cancelled);
    void tell(const QString& path, const QString& why);

    Sim& sim_;
    QWidget* window_;
    std::function<int()> zoom_;
    ChunkedWork work_;
    std::unique_ptr<AnimationDialog> dialog_;
    std::unique_ptr<FileSave> file_;
    std::unique_ptr<AnimationMaker> maker_;
    QPointer<QMessageBox> failure_;
};

}  // namespace vornick
