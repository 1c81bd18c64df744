// What the text of a preferences field means: the number that its first 16 bytes begin with,
// after any white space, the rest ignored. Pure and locale-independent; nothing when no
// acceptable number begins there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace vornick {

inline constexpr std::size_t kFieldBytesRead = 16;

// A decimal integer with an optional sign. One that does not fit in 32 bits gives nothing
// rather than a wrapped value.
std::optional<int32_t> parse_integer_field(std::string_view text);

// A number as C reads one in the "C" locale (decimal or hexadecimal, optional exponent). NaN,
// infinities and numbers too large for a double give nothing.
std::optional<double> parse_interval_field(std::string_view text);

}  // namespace vornick
