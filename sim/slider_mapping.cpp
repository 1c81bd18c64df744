#include "sim/slider_mapping.h"

#include <cmath>
#include <cstdio>

namespace vornick {

double slider_delay(int32_t value) {
    return std::pow(20.0, (2000 - value) * 0.0025) * 1.25e-6;
}

void format_interval(char* out, std::size_t size, double seconds) {
    std::snprintf(out, size, "%.2g", seconds);
}

}  // namespace vornick
