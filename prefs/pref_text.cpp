#include "prefs/pref_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace vornick {

namespace {

std::string_view trim(std::string_view text) {
    constexpr std::string_view kSpace = " \t\n\r\f\v";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kSpace);
    return text.substr(first, last - first + 1);
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != b[i]) return false;
    }
    return true;
}

}  // namespace

std::string format_yes_no(bool value) {
    return value ? "yes" : "no";
}

std::string format_integer(int64_t value) {
    return std::to_string(value);
}

std::string format_double(double value) {
    char buf[64];
    const auto result = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, result.ptr);
}

std::optional<bool> parse_yes_no(std::string_view text) {
    text = trim(text);
    if (equals_ignoring_case(text, "yes") || equals_ignoring_case(text, "true")) return true;
    if (equals_ignoring_case(text, "no") || equals_ignoring_case(text, "false")) return false;
    if (const auto number = parse_integer(text)) return *number != 0;
    return std::nullopt;
}

std::optional<int64_t> parse_integer(std::string_view text) {
    text = trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    // Accumulated as a negative number, whose range is the larger of the two.
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const int digit = c - '0';
        if (value < (kMin + digit) / 10) {
            value = kMin;
        } else {
            value = value * 10 - digit;
        }
    }
    if (negative) return value;
    return value == kMin ? std::numeric_limits<int64_t>::max() : -value;
}

std::optional<double> parse_finite_double(std::string_view text) {
    text = trim(text);
    // from_chars takes no plus sign; a second sign after it must still be refused.
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) return std::nullopt;
    }
    double value = 0.0;
    const char* const end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (result.ec != std::errc() || result.ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace vornick
