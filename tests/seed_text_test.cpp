#include "app/seed_text.h"

#include <gtest/gtest.h>

namespace vornick {
namespace {

struct SeedRow {
    const char* text;
    uint32_t seed;
    SeedError error;
};

constexpr auto kOk = SeedError::kNone;
constexpr auto kEmpty = SeedError::kEmpty;
constexpr auto kJunk = SeedError::kNotANumber;
constexpr auto kRange = SeedError::kOutOfRange;

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
        const SeedParse got = parse_seed(row.text);
        EXPECT_EQ(got.error, row.error) << '"' << row.text << '"';
        EXPECT_EQ(got.seed, row.seed) << '"' << row.text << '"';
    }
}

}  // namespace
}  // namespace vornick
