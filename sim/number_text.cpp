#include "sim/number_text.h"

#include <algorithm>

namespace vornick {

namespace {

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

int digit_value(char c, int base) {
    int v = 16;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    return v < base ? v : -1;
}

}  // namespace

NumberParse parse_number(std::string_view text, uint64_t max, NumberSyntax syntax) {
    while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
    if (text.empty()) return {0, NumberError::kEmpty};

    const bool negative = syntax.minus && text.front() == '-';
    if (negative) text.remove_prefix(1);
    int base = 10;
    if (syntax.hex && text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return {0, NumberError::kNotANumber};

    // Any length of digits is read; the value stops growing once it is out of range.
    uint64_t value = 0;
    bool over = false;
    for (const char c : text) {
        const int d = digit_value(c, base);
        if (d < 0) return {0, NumberError::kNotANumber};
        const auto digit = static_cast<uint64_t>(d);
        over = over || digit > max || value > (max - digit) / static_cast<uint64_t>(base);
        if (!over) value = value * static_cast<uint64_t>(base) + digit;
    }
    if (over || (negative && value != 0)) return {0, NumberError::kOutOfRange};
    return {value, NumberError::kNone};
}

NumberParse parse_seed(std::string_view text) {
    return parse_number(text, UINT32_MAX, NumberSyntax{.hex = true, .minus = true});
}

NumberParse parse_step(std::string_view text, int32_t max) {
    return parse_number(text, static_cast<uint64_t>(std::max(max, 0)));
}

}  // namespace vornick
