// The speed slider's scale: position 0 is 4 s a step, 2000 is 1.25e-6 s, and every 400 units
// change the interval twenty-fold. Defined for every position.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vornick {

inline constexpr int32_t kSliderMin = 0;
inline constexpr int32_t kSliderMax = 2000;

double slider_delay(int32_t value);

// The interval as the slider window shows it ("%.2g").
void format_interval(char* out, std::size_t size, double seconds);

}  // namespace vornick
