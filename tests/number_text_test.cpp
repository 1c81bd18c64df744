#include "sim/number_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace vornick {
namespace {

struct SeedRow {
    const char* text;
    uint32_t seed;
    NumberError error;
};

constexpr auto kOk = NumberError::kNone;
constexpr auto kEmpty = NumberError::kEmpty;
constexpr auto kJunk = NumberError::kNotANumber;
constexpr auto kRange = NumberError::kOutOfRange;

TEST(SeedText, DecimalOrHexWithinThirtyTwoBits) {
    const SeedRow rows[] = {
        {"12345", 12345, kOk},
        {"0", 0, kOk},
        {"4294967295", 4294967295u, kOk},
        {"0xDEADbeef", 0xDEADBEEFu, kOk},
        {"0XFFFFFFFF", 4294967295u, kOk},
        {"  42\t", 42, kOk},
        {"000000000000000000000042", 42, kOk},
        {"-0", 0, kOk},
        {"4294967296", 0, kRange},
        {"0x100000000", 0, kRange},
        {"99999999999999999999999999", 0, kRange},
        {"-1", 0, kRange},
        {"", 0, kEmpty},
        {"   ", 0, kEmpty},
        {"abc", 0, kJunk},
        {"12abc", 0, kJunk},
        {"0x", 0, kJunk},
        {"0xg1", 0, kJunk},
        {"1 2", 0, kJunk},
        {"1.5", 0, kJunk},
        {"+5", 0, kJunk},
        {"-", 0, kJunk},
        {"１２", 0, kJunk},  // full-width digits
    };
    for (const SeedRow& row : rows) {
        const NumberParse got = parse_seed(row.text);
        EXPECT_EQ(got.error, row.error) << '"' << row.text << '"';
        EXPECT_EQ(got.value, row.seed) << '"' << row.text << '"';
    }
}

TEST(StepText, DigitsFromZeroToTheRunsEnd) {
    struct Row {
        const char* text;
        int32_t max;
        int32_t step;
        NumberError error;
    };
    const Row rows[] = {
        {"0", 1000, 0, kOk},
        {"1000", 1000, 1000, kOk},
        {"0000000000000000000000007", 1000, 7, kOk},
        {"2147483647", INT32_MAX, INT32_MAX, kOk},
        {"1001", 1000, 0, kRange},
        {"2147483648", INT32_MAX, 0, kRange},
        {"99999999999999999999999999", INT32_MAX, 0, kRange},
        {"0", -5, 0, kOk},  // a run that ends at once still stands at step 0
        {"1", -5, 0, kRange},
        {"", 1000, 0, kEmpty},
        {"-1", 1000, 0, kJunk},
        {"+5", 1000, 0, kJunk},
        {"12abc", 1000, 0, kJunk},
        {"１２", 1000, 0, kJunk},  // full-width digits
    };
    for (const Row& r : rows) {
        const NumberParse got = parse_step(r.text, r.max);
        EXPECT_EQ(got.error, r.error) << '"' << r.text << "\" up to " << r.max;
        EXPECT_EQ(got.value, static_cast<uint64_t>(r.step))
            << '"' << r.text << "\" up to " << r.max;
    }
}

}  // namespace
}  // namespace vornick
