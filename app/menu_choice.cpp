#include "app/menu_choice.h"

namespace vornick {

void HandleAppleChoice(int16_t item, Sim& sim, AboutWindow& about) {
    if (item != 1) return;
    if (!about.open()) return;
    sim.io.menus->set_enabled(kAppleMenu, 1, false);
}

void HandleMenuChoice(uint32_t menuChoice, Sim& sim, AboutWindow& about) {
    if (menuChoice == 0) return;
    const auto id = static_cast<int16_t>(static_cast<int32_t>(menuChoice) >> 16);
    const auto item = static_cast<int16_t>(menuChoice & 0xFFFF);
    switch (id) {
        case kAppleMenu:
            HandleAppleChoice(item, sim, about);
            break;
        case kFileMenu:
            sim.HandleFileChoice(item);
            break;
        case kSpeedMenu:
            sim.HandleSpeedChoice(item);
            break;
        case kOutputMenu:
            sim.HandleOutputChoice(item);
            break;
        default:
            break;
    }
}

}  // namespace vornick
