#include "app/chunked_work.h"

#include <QElapsedTimer>
#include <QProgressDialog>
#include <algorithm>

namespace vornick {

namespace {

// A chunk keeps the event loop waiting for some tens of milliseconds at most, whatever the
// processor and the number of organisms: the next one is sized by how long the last one took.
constexpr qint64 kShortChunkNs = 10'000'000;
constexpr qint64 kLongChunkNs = 40'000'000;
constexpr int64_t kMaxChunk = int64_t{1} << 40;
constexpr int kProgressScale = 1000;  // steps can exceed what the progress bar counts

}  // namespace

ChunkedWork::ChunkedWork(QWidget* window) : window_(window) {
    tick_.setInterval(0);
    connect(&tick_, &QTimer::timeout, this, &ChunkedWork::next_chunk);
}

void ChunkedWork::start(const QString& label, Job job) {
    if (busy_) cancel();
    job_ = std::move(job);
    chunk_ = std::clamp<int64_t>(job_.first_chunk, 1, kMaxChunk);
    busy_ = true;
    cancel_asked_ = false;
    if (run_chunk()) {
        finish(false);
        return;
    }
    QProgressDialog& p = progress_dialog();
    p.reset();
    p.setLabelText(label);
    p.setRange(0, kProgressScale);
    p.setValue(0);  // from here it times the work, to show itself only if it lasts
    tick_.start();
    if (on_busy_changed) on_busy_changed();
}

void ChunkedWork::cancel() {
    if (!busy_) return;
    if (job_.cancel) job_.cancel();
    finish(true);
}

bool ChunkedWork::run_chunk() {
    QElapsedTimer took;
    took.start();
    const bool done = job_.advance(chunk_);
    const qint64 ns = took.nsecsElapsed();
    if (ns < kShortChunkNs) chunk_ = std::min(chunk_ * 2, kMaxChunk);
    if (ns > kLongChunkNs) chunk_ = std::max<int64_t>(chunk_ / 2, 1);
    return done;
}

void ChunkedWork::next_chunk() {
    if (!busy_) return;
    // Asked by its button or Escape, or by the dialog's own cancel(), which tells nobody.
    if (cancel_asked_ || (progress_ && progress_->wasCanceled())) {
        cancel();
        return;
    }
    if (run_chunk()) {
        finish(false);
        return;
    }
    const int64_t total = std::max<int64_t>(job_.steps_total(), 1);
    const int64_t made = std::clamp<int64_t>(total - job_.steps_left(), 0, total);
    if (job_.label) {
        const QString label = job_.label();
        if (label != progress_->labelText()) progress_->setLabelText(label);
    }
    progress_->setValue(static_cast<int>(made * kProgressScale / total));
}

void ChunkedWork::finish(bool cancelled) {
    busy_ = false;
    tick_.stop();
    if (progress_) progress_->reset();
    Job job = std::move(job_);
    job_ = Job{};
    if (job.finished) job.finished(cancelled);
    if (on_busy_changed) on_busy_changed();
}

QProgressDialog* ChunkedWork::progress() const {
    return progress_;
}

QProgressDialog& ChunkedWork::progress_dialog() {
    if (!progress_) {
        progress_ = new QProgressDialog(window_);
        progress_->setWindowTitle(tr("Vornick"));
        // Not modal: a modal dialog would keep Quit, Help and the close button from the main
        // window for as long as the work lasts. The board takes no press or key meanwhile,
        // and the commands that would change the run stop the work first.
        progress_->setWindowModality(Qt::NonModal);
        progress_->setMinimumDuration(kShowAfterMs);
        progress_->setAutoReset(false);
        progress_->setAutoClose(true);
        // Made between two chunks, where the work stands at a consistent point.
        connect(progress_, &QProgressDialog::canceled, this, [this] { cancel_asked_ = true; });
        // Escape rejects a dialog that is not modal without telling `canceled`.
        connect(progress_, &QDialog::rejected, this, [this] { cancel_asked_ = true; });
        progress_->reset();
    }
    return *progress_;
}

}  // namespace vornick
