// Whole numbers as people type them and files hold them. A number is judged by its value,
// whatever its length, so leading zeros never push a small number out of range.
#pragma once

#include <cstdint>
#include <string_view>

namespace vornick {

enum class NumberError : uint8_t {
    kNone,
    kEmpty,       // nothing but spaces
    kNotANumber,  // anything but digits of the base, after what the syntax allows before them
    kOutOfRange,  // a number, but above the bound (or negative)
};

struct NumberParse {
    uint64_t value = 0;  // valid when error is kNone
    NumberError error = NumberError::kNone;
};

struct NumberSyntax {
    bool hex = false;    // hexadecimal digits after 0x or 0X
    bool minus = false;  // a leading '-' is read, and only zero stands behind it
};

// Spaces around the number are ignored; the value may not exceed `max`.
NumberParse parse_number(std::string_view text, uint64_t max, NumberSyntax syntax = {});

// A run's seed: decimal, or hexadecimal after 0x, from 0 to 4294967295.
NumberParse parse_seed(std::string_view text);

// A step number for Go to Step: decimal digits from 0 to `max`, the run's end. A negative
// `max` (a run that ends at once) takes only 0.
NumberParse parse_step(std::string_view text, int32_t max);

}  // namespace vornick
