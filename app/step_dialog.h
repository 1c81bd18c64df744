// Go to Step: a small window that takes a step number from 0 to the run's end and hands it on
// only when it is one; other text is refused there with a message, and nothing changes.
#pragma once

#include <cstdint>
#include <functional>

#include "app/number_dialog.h"

namespace vornick {

class StepDialog : public NumberDialog {
  public:
    StepDialog(std::function<void(int32_t)> on_step, QWidget* parent = nullptr);

    // Shows the window, modal to its parent, with `current` in the field, selected, ready to be
    // typed over; steps from 0 to `max` are taken.
    void open_with(int32_t current, int32_t max);

  protected:
    QString refusal_of(const QString& text) override;
    void hand_on() override;

  private:
    std::function<void(int32_t)> on_step_;
    int32_t max_ = 0;
    int32_t step_ = 0;
};

}  // namespace vornick
