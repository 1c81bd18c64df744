#include "app/seed_text.h"

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

SeedParse parse_seed(std::string_view text) {
    while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
    if (text.empty()) return {0, SeedError::kEmpty};

    const bool negative = text.front() == '-';
    if (negative) text.remove_prefix(1);
    int base = 10;
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty()) return {0, SeedError::kNotANumber};

    // Any length of digits is read; the value stops growing once it is out of range.
    constexpr uint64_t kMax = 0xFFFFFFFFu;
    uint64_t value = 0;
    for (const char c : text) {
        const int d = digit_value(c, base);
        if (d < 0) return {0, SeedError::kNotANumber};
        if (value <= kMax) value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    }
    if (value > kMax || (negative && value != 0)) return {0, SeedError::kOutOfRange};
    return {static_cast<uint32_t>(value), SeedError::kNone};
}

}  // namespace vornick
