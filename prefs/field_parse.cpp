#include "prefs/field_parse.h"

#include <locale.h>
#include <stdlib.h>

#include <cmath>
#include <string>

namespace vornick {

namespace {

bool is_c_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

std::string_view leading_bytes(std::string_view text) {
    return text.substr(0, kFieldBytesRead);
}

// Made once: the user's locale could read "0,5" as a number and "0.5" as none.
locale_t c_locale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
    return locale;
}

}  // namespace

std::optional<int32_t> parse_integer_field(std::string_view text) {
    text = leading_bytes(text);
    size_t i = 0;
    while (i < text.size() && is_c_space(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Sixteen digits at most, so the magnitude always fits in 64 bits.
    int64_t magnitude = 0;
    const size_t first_digit = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        magnitude = magnitude * 10 + (text[i++] - '0');
    }
    if (i == first_digit) return std::nullopt;
    const int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
}

std::optional<double> parse_interval_field(std::string_view text) {
    // strtod needs a terminated string; a NUL inside the text ends the number there, as it
    // would for any C reader.
    const std::string bytes(leading_bytes(text));
    const char* const begin = bytes.c_str();
    char* end = nullptr;
    const double value = strtod_l(begin, &end, c_locale());
    if (end == begin || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace vornick
