// The menu bar's vocabulary: a 32-bit choice (menu id high, item low) reaches the handler of
// its menu. Platform-free; the windows it opens come in through AboutWindow.
#pragma once

#include <cstdint>

#include "sim/sim.h"

namespace vornick {

constexpr uint32_t menu_choice(int16_t menu, int16_t item) {
    return (static_cast<uint32_t>(static_cast<uint16_t>(menu)) << 16) | static_cast<uint16_t>(item);
}

class AboutWindow {
  public:
    virtual ~AboutWindow() = default;
    // Shows the window, making it on first use; false when it can't be made.
    virtual bool open() = 0;
};

void HandleAppleChoice(int16_t item, Sim& sim, AboutWindow& about);
void HandleMenuChoice(uint32_t menuChoice, Sim& sim, AboutWindow& about);

}  // namespace vornick
