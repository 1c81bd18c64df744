// A step number as a person types it into Go to Step: decimal digits from 0 to the run's end.
// Platform-free, so that the dialog that takes it only shows what this decides.
#pragma once

#include <cstdint>
#include <string_view>

namespace vornick {

enum class StepError : uint8_t {
    kNone,
    kEmpty,       // nothing but spaces
    kNotANumber,  // anything but the digits 0 to 9
    kOutOfRange,  // a number past the run's end
};

struct StepParse {
    int32_t step = 0;  // valid when error is kNone
    StepError error = StepError::kNone;
};

// Spaces around the number are ignored; leading zeros are allowed. `max` is the run's end; a
// negative `max` (a run that ends at once) takes only 0.
StepParse parse_step(std::string_view text, int32_t max);

}  // namespace vornick
