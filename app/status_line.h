// The status bar under the picture: the run's seed, its state, the speed mode and the number of
// organisms, written only when the core reports a change. The seed can be selected and copied,
// with the mouse or, by its label's Alt+D, with the keyboard. Each field is named for screen
// readers with what it shows.
#pragma once

#include <QLabel>
#include <functional>

#include "sim/ports.h"

class QStatusBar;

namespace vornick {

// Takes Ctrl+C for its own text while some of it is selected, ahead of the menu's Copy Image.
// Reached by the keyboard, it selects all of itself, ready to be copied.
class SeedLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    bool event(QEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
};

class StatusLine : public StatusView {
  public:
    explicit StatusLine(QStatusBar* bar);

    void show_status(const RunStatus& s) override;
    // After each report: what else follows the run's state, without a port of its own.
    std::function<void()> after_show;

    SeedLabel* seed() const { return seed_; }
    QLabel* state() const { return state_; }
    QLabel* speed() const { return speed_; }
    QLabel* organisms() const { return organisms_; }

  private:
    SeedLabel* seed_;
    QLabel* state_;
    QLabel* speed_;
    QLabel* organisms_;
};

}  // namespace vornick
