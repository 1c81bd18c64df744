#include "render/panel_text.h"

#include <gtest/gtest.h>

#include <climits>

namespace vornick {
namespace {

TEST(PanelText, CountsAndCoordinates) {
    EXPECT_EQ(iter_text(0), "iter = 0");
    EXPECT_EQ(iter_text(1200), "iter = 1200");
    EXPECT_EQ(iter_text(INT_MAX), "iter = 2147483647");
    EXPECT_EQ(coord_text('x', 27), "x = 27");
    EXPECT_EQ(coord_text('y', 0), "y = 0");
}

struct RateCase {
    double rate;
    RateUnit unit;
    const char* text;
};

class RateText : public ::testing::TestWithParam<RateCase> {};

TEST_P(RateText, DecimalsFollowTheRateBeforeRounding) {
    EXPECT_EQ(rate_text(GetParam().rate, GetParam().unit), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RateText,
    ::testing::Values(RateCase{99.999, RateUnit::kFramesPerSecond, "100.00 FPS"},
                      RateCase{100.0, RateUnit::kFramesPerSecond, "100 FPS"},
                      RateCase{0.0, RateUnit::kFramesPerSecond, "0.00 FPS"},
                      RateCase{12.5, RateUnit::kStepsPerSecond, "12.50 CPS"},
                      RateCase{100.5, RateUnit::kStepsPerSecond, "100 CPS"},  // to even
                      RateCase{1234567.8, RateUnit::kStepsPerSecond, "1234568 CPS"}));

TEST(PanelText, HugeRateIsCutNotOverrun) {
    const std::string text = rate_text(1e300, RateUnit::kStepsPerSecond);
    EXPECT_LT(text.size(), 64u);
    EXPECT_EQ(text.substr(0, 4), "1000");
}

}  // namespace
}  // namespace vornick
