#include "app/step_text.h"

#include <algorithm>

namespace vornick {

namespace {

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

StepParse parse_step(std::string_view text, int32_t max) {
    while (!text.empty() && is_space(text.front())) text.remove_prefix(1);
    while (!text.empty() && is_space(text.back())) text.remove_suffix(1);
    if (text.empty()) return {0, StepError::kEmpty};

    // Any length of digits is read; the value stops growing once it is out of range.
    const int64_t limit = std::max(max, 0);
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return {0, StepError::kNotANumber};
        if (value <= limit) value = value * 10 + (c - '0');
    }
    if (value > limit) return {0, StepError::kOutOfRange};
    return {static_cast<int32_t>(value), StepError::kNone};
}

}  // namespace vornick
