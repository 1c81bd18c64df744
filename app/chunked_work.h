// Work too long for one pass of the event loop, done in chunks between events. A progress
// dialog shows only once the work has gone on for a while; cancelling stops it between chunks.
// The dialog leaves the main window free: its menus and keys (Quit, Help) still reach it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>

class QProgressDialog;
class QWidget;

namespace vornick {

class ChunkedWork : public QObject {
  public:
    struct Job {
        std::function<bool(int64_t max_steps)> advance;  // one chunk; true once nothing is left
        std::function<int64_t()> steps_left;
        std::function<int64_t()> steps_total;
        // Stops the work where its last chunk left it.
        std::function<void()> cancel;
        std::function<void(bool cancelled)> finished;
        // What the dialog says, asked again after each chunk, for work of several phases;
        // without it the dialog keeps the label the work was started with.
        std::function<QString()> label;
        int64_t first_chunk = 1;  // steps of the first chunk; later ones are sized by time
    };

    // The dialog shows once the work is expected to last longer than this.
    static constexpr int kShowAfterMs = 400;

    explicit ChunkedWork(QWidget* window);

    // Makes the first chunk at once: work that needs no more ends before this returns, and
    // no dialog is shown. Work still under way is cancelled first.
    void start(const QString& label, Job job);
    bool busy() const { return busy_; }
    // Ends the work under way where its last chunk left it.
    void cancel();

    // The dialog, made for the first work that outlasts its first chunk; nullptr before.
    QProgressDialog* progress() const;
    int64_t chunk() const { return chunk_; }

    std::function<void()> on_busy_changed;

  private:
    bool run_chunk();
    void next_chunk();
    void finish(bool cancelled);
    QProgressDialog& progress_dialog();

    QWidget* window_;
    QTimer tick_;
    Job job_;
    bool busy_ = false;
    bool cancel_asked_ = false;
    int64_t chunk_ = 1;
    QPointer<QProgressDialog> progress_;  // a child of window_
};

}  // namespace vornick
