#include "app/animation_export.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "app/animation_dialog.h"
#include "app/file_names.h"
#include "app/image_export.h"
#include "app/warning_box.h"
#include "picture/animation_maker.h"
#include "sim/history/file_save.h"
#include "sim/sim.h"

namespace vornick {

QString animation_file_name(uint32_t seed, int32_t from, int32_t to) {
    return QStringLiteral("vornick-seed-%1-steps-%2-%3.gif").arg(seed).arg(from).arg(to);
}

AnimationExport::AnimationExport(Sim& sim, QWidget* window, std::function<int()> zoom)
    : sim_(sim), window_(window), zoom_(std::move(zoom)), work_(window) {
    work_.on_busy_changed = [this] {
        if (on_busy_changed) on_busy_changed();
    };
}

AnimationExport::~AnimationExport() {
    work_.on_busy_changed = nullptr;
    work_.cancel();
}

void AnimationExport::run() {
    if (busy()) return;
    if (!dialog_) {
        dialog_ = std::make_unique<AnimationDialog>(
            [this](const AnimationPlan& plan) { plan_chosen(plan); }, window_);
    }
    dialog_->open_with(sim_.run.iters, sim_.limits().maxIters, zoom_ ? zoom_() : 1);
}

void AnimationExport::plan_chosen(const AnimationPlan& plan) {
    const QString suggested =
        in_pictures(animation_file_name(sim_.run.lastSeed, plan.first, last_frame_step(plan)));
    QString path;
    if (choose_path) {
        path = choose_path(suggested);
    } else {
        QFileDialog dialog(window_, tr("Export Animation"), QString(), tr("GIF images (*.gif)"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("gif"));
        dialog.selectFile(suggested);
        if (dialog.exec() == QDialog::Accepted) path = dialog.selectedFiles().value(0);
    }
    if (!path.isEmpty()) start(plan, path);
}

void AnimationExport::start(const AnimationPlan& plan, const QString& path) {
    if (busy()) return;
    // The run may have changed its end since the plan was made.
    const std::string fault = plan_fault(plan, sim_.limits().maxIters);
    if (!fault.empty()) {
        tell(path, QString::fromStdString(fault));
        return;
    }
    file_ = std::make_unique<FileSave>();
    std::string why;
    if (!file_->open(system_path(path).toStdString(), why)) {
        file_.reset();
        tell(path, QString::fromLocal8Bit(why.c_str()));
        return;
    }
    FileSave* file = file_.get();
    maker_ = std::make_unique<AnimationMaker>(
        copy_run(sim_), plan, [file](const uint8_t* data, std::size_t size, std::string& failed) {
            return file->write({reinterpret_cast<const char*>(data), size}, failed);
        });
    ChunkedWork::Job job;
    job.advance = [this](int64_t n) { return maker_->advance(n); };
    job.steps_left = [this] { return maker_->work_left(); };
    job.steps_total = [this] { return maker_->work_total(); };
    job.finished = [this, path](bool cancelled) { finished(path, cancelled); };
    job.first_chunk = AnimationMaker::kFrameWork;
    work_.start(tr("Exporting “%1”…").arg(QFileInfo(path).fileName()), std::move(job));
}

void AnimationExport::finished(const QString& path, bool cancelled) {
    const std::unique_ptr<AnimationMaker> maker = std::move(maker_);
    const std::unique_ptr<FileSave> file = std::move(file_);
    if (cancelled || maker->failed()) {
        file->cancel();
        if (!cancelled) tell(path, QString::fromLocal8Bit(maker->error().c_str()));
        return;
    }
    std::string why;
    if (!file->commit(why)) tell(path, QString::fromLocal8Bit(why.c_str()));
}

void AnimationExport::tell(const QString& path, const QString& why) {
    failure_ = open_warning(
        window_, tr("Export Animation"),
        tr("The animation could not be saved as “%1”.").arg(shown_path(system_path(path))), why);
}

}  // namespace vornick
