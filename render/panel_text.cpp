#include "render/panel_text.h"

#include <cstdio>

namespace vornick {

std::string iter_text(int32_t iters) {
    char text[32];
    std::snprintf(text, sizeof text, "iter = %d", static_cast<int>(iters));
    return text;
}

std::string coord_text(char axis, int32_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%c = %d", axis, static_cast<int>(value));
    return text;
}

std::string rate_text(double rate, RateUnit unit) {
    const char* name = unit == RateUnit::kStepsPerSecond ? "CPS" : "FPS";
    // Far more than fits the panel; snprintf cuts it safely and the panel clips the rest.
    char text[64];
    std::snprintf(text, sizeof text, rate < 100 ? "%.2f %s" : "%.0f %s", rate, name);
    return text;
}

}  // namespace vornick
