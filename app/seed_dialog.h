// New Run from Seed: a small window that takes a seed as text and hands it on only when it is
// a seed; other text is refused there with a message, and nothing changes.
#pragma once

#include <cstdint>
#include <functional>

#include "app/number_dialog.h"

namespace vornick {

class SeedDialog : public NumberDialog {
  public:
    SeedDialog(std::function<void(uint32_t)> on_seed, QWidget* parent = nullptr);

    // Shows the window with `current` in the field, selected, ready to be typed over.
    void open_with(uint32_t current);

  protected:
    QString refusal_of(const QString& text) override;
    void hand_on() override;

  private:
    std::function<void(uint32_t)> on_seed_;
    uint32_t seed_ = 0;
};

}  // namespace vornick
