// The speed slider's window: a slider from slow (0) to fast (2000) and the interval it gives.
// Made on first opening; moving the slider reaches the core at once.
#pragma once

#include <functional>
#include <memory>

#include "app/aux_window.h"
#include "sim/ports.h"

namespace Ui {
class SliderWindow;
}

namespace vornick {

class QtSliderWindow : public SliderWindow {
  public:
    QtSliderWindow(std::function<void(int)> on_moved, std::function<void()> on_hidden);
    ~QtSliderWindow() override;

    // Shows the window; the value and text are taken only when it is made, later openings
    // show the slider where it was left.
    bool open(int16_t value, const char* text) override;
    void set_text(const char* text) override;

    AuxWindow* window() const { return window_.get(); }

  private:
    std::function<void(int)> on_moved_;
    std::function<void()> on_hidden_;
    std::unique_ptr<AuxWindow> window_;
    std::unique_ptr<Ui::SliderWindow> ui_;
};

}  // namespace vornick
