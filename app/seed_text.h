// A run's seed as a person types it: decimal, or hexadecimal after 0x, from 0 to 4294967295.
// Platform-free, so that the dialog that takes it only shows what this decides.
#pragma once

#include <cstdint>
#include <string_view>

namespace vornick {

enum class SeedError : uint8_t {
    kNone,
    kEmpty,       // nothing but spaces
    kNotANumber,  // anything but digits, after an optional 0x
    kOutOfRange,  // a number, but negative or above 4294967295
};

struct SeedParse {
    uint32_t seed = 0;  // valid when error is kNone
    SeedError error = SeedError::kNone;
};

// Spaces around the number are ignored; leading zeros are allowed.
SeedParse parse_seed(std::string_view text);

}  // namespace vornick
