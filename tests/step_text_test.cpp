#include "app/step_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace vornick {
namespace {

TEST(StepText, DigitsFromZeroToTheRunsEnd) {
    struct Row {
        const char* text;
        int32_t max;
        int32_t step;
        StepError error;
    };
    constexpr auto kOk = StepError::kNone;
    constexpr auto kEmpty = StepError::kEmpty;
    constexpr auto kJunk = StepError::kNotANumber;
    constexpr auto kRange = StepError::kOutOfRange;
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
        const StepParse got = parse_step(r.text, r.max);
        EXPECT_EQ(got.error, r.error) << '"' << r.text << "\" up to " << r.max;
        EXPECT_EQ(got.step, r.step) << '"' << r.text << "\" up to " << r.max;
    }
}

}  // namespace
}  // namespace vornick
