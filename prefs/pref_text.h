// Text forms of the stored preference values: what is written, and how stored text is read back.
// Locale-independent; a reader accepts surrounding white space and gives nothing for anything else.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vornick {

std::string format_yes_no(bool value);  // "yes" or "no"
std::string format_integer(int64_t value);
// The shortest text that reads back as exactly the same double ("2", "1e-06", "0.0123").
std::string format_double(double value);

// "yes"/"no" in any case, also "true"/"false" and integers (nonzero is true).
std::optional<bool> parse_yes_no(std::string_view text);

// A decimal integer with an optional sign. Digits beyond the 64-bit range saturate, so a
// huge number still reads as a number (at one end of the range) rather than as junk.
std::optional<int64_t> parse_integer(std::string_view text);

// A decimal number in the C locale's form. Non-finite values ("nan", "inf") and numbers beyond
// the double range give nothing.
std::optional<double> parse_finite_double(std::string_view text);

}  // namespace vornick
