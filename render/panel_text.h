// The texts of the information panel, formatted without any drawing, so that what the panel
// says can be checked on its own.
#pragma once

#include <cstdint>
#include <string>

#include "sim/ports.h"

namespace vornick {

std::string iter_text(int32_t iters);              // "iter = 1234"
std::string coord_text(char axis, int32_t value);  // "x = 7"

// Steps per second with the unit's name; two decimals below 100, none from 100 up, decided
// before rounding: 99.999 reads "100.00 FPS", 100 reads "100 FPS".
std::string rate_text(double rate, RateUnit unit);

}  // namespace vornick
