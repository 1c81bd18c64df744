// Whether a mouse button is held, as seen by the event loop: the back-to-back steps look at it
// between slices and stop for a press anywhere in the program.
#pragma once

#include <QObject>
#include <functional>

#include "sim/ports.h"

namespace vornick {

class MouseWatch : public QObject, public MouseButton {
  public:
    explicit MouseWatch(QObject* parent = nullptr);
    bool is_down() override { return down_; }
    // Called when no button is held any more, before the release reaches its widget.
    std::function<void()> on_all_released;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool down_ = false;
};

}  // namespace vornick
