// Which plans an animation refuses, and which steps the others show.
#include <gtest/gtest.h>

#include <climits>

#include "picture/animation_plan.h"
#include "picture/board_art.h"
#include "picture/caption_font.h"

namespace vornick {
namespace {

struct FaultCase {
    AnimationPlan plan;
    int32_t max_iters;
    const char* fault;  // "" when the plan can be made
};

const FaultCase kFaultCases[] = {
    {{0, 100, 1, 1, false, 4}, 100, ""},
    {{100, 100, 1, 4, true, 1}, 100, ""},
    {{0, INT32_MAX, INT32_MAX, 1, false, 65535}, INT32_MAX, ""},
    {{0, 101, 1, 1, false, 4}, 100, "step 101 is past the run's end at step 100"},
    {{200, 300, 1, 1, false, 4}, 100, "step 300 is past the run's end at step 100"},
    {{0, 0, 1, 1, false, 4}, 0, ""},
    {{50, 49, 1, 1, false, 4}, 100, "the last step, 49, comes before the first, 50"},
    {{-1, 5, 1, 1, false, 4}, 100, "the first step cannot be negative"},
    {{0, 5, 0, 1, false, 4}, 100, "frames must be at least 1 step apart"},
    {{0, 5, -3, 1, false, 4}, 100, "frames must be at least 1 step apart"},
    {{0, 5, 1, 0, false, 4}, 100, "the scale must be 1 to 4, not 0"},
    {{0, 5, 1, 5, false, 4}, 100, "the scale must be 1 to 4, not 5"},
    {{0, 5, 1, 1, false, 0}, 100, "the delay must be 1 to 65535 hundredths of a second, not 0"},
    {{0, 5, 1, 1, false, 65536},
     100,
     "the delay must be 1 to 65535 hundredths of a second, not 65536"},
};

TEST(AnimationPlan, FaultsAreNamed) {
    for (const FaultCase& c : kFaultCases) {
        EXPECT_EQ(plan_fault(c.plan, c.max_iters), c.fault)
            << c.plan.first << ".." << c.plan.last << " every " << c.plan.every;
    }
}

struct FramesCase {
    int32_t first, last, every;
    int64_t frames;
    int32_t last_frame;
};

TEST(AnimationPlan, FramesFallEveryKStepsUpToTheLast) {
    const FramesCase cases[] = {
        {0, 0, 1, 1, 0},
        {0, 9, 1, 10, 9},
        {5, 100, 10, 10, 95},
        {5, 105, 10, 11, 105},
        {7, 7, 1000, 1, 7},
        {0, INT32_MAX, 1, int64_t{INT32_MAX} + 1, INT32_MAX},
        {0, INT32_MAX, INT32_MAX, 2, INT32_MAX},
        {10, 9, 1, 0, 10},
    };
    for (const FramesCase& c : cases) {
        const AnimationPlan p{c.first, c.last, c.every, 1, false, 4};
        EXPECT_EQ(frame_count(p), c.frames) << c.first << ".." << c.last << " every " << c.every;
        EXPECT_EQ(last_frame_step(p), c.last_frame) << c.first << ".." << c.last;
    }
}

TEST(AnimationPlan, LastStepOfSomeFrames) {
    EXPECT_EQ(last_step_of(0, 1, 1), 0);
    EXPECT_EQ(last_step_of(10, 5, 100), 505);
    EXPECT_EQ(last_step_of(1, 1, INT32_MAX), INT32_MAX);
    EXPECT_EQ(last_step_of(2, 1, INT32_MAX), std::nullopt);
    EXPECT_EQ(last_step_of(0, INT32_MAX, 2), INT32_MAX);
    EXPECT_EQ(last_step_of(0, INT32_MAX, 3), std::nullopt);
    EXPECT_EQ(last_step_of(0, 1, 0), std::nullopt);
    EXPECT_EQ(last_step_of(0, 0, 5), std::nullopt);
}

// The longest caption fits under the board in characters the font has.
TEST(Caption, EveryCaptionFitsInDrawnCharacters) {
    for (const std::string& text : {caption_text(0, 0), caption_text(UINT32_MAX, INT32_MAX)}) {
        for (const char c : text) EXPECT_TRUE(has_glyph(c)) << "'" << c << "' in " << text;
        EXPECT_LE(3 + static_cast<int>(text.size()) * kGlyphAdvance, kBoardSize) << text;
    }
    EXPECT_EQ(caption_text(17, 42), "seed 17  step 42");
}

}  // namespace
}  // namespace vornick
