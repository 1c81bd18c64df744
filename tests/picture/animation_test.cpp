// Animations read back with giflib: every frame is the picture of its step as a serial replay
// of the run reaches it, each frame after the first holds only what changed, and the file
// loops forever.
#include <gtest/gtest.h>

#include <random>

#include "gif_decode.h"
#include "picture/animation_maker.h"
#include "run_history.h"

namespace vornick::testing {
namespace {

struct FramesCase {
    const char* name;
    int32_t orgs;
    uint32_t seed;
    int edits;
    int32_t run_to;   // the run is made to here, with its edits at random steps up to it
    int32_t back_to;  // then taken back here, its later edits kept; -1 to stay
    AnimationPlan plan;
    bool stop_point = false;  // the run halts at step 15 on its way
};

const FramesCase kFramesCases[] = {
    {"plain", 4, 1, 0, 0, -1, {0, 30, 1, 1, false, 4}},
    {"edited, made from a later step, scaled, captioned", 4, 7, 6, 60, -1, {10, 50, 3, 2, true, 7}},
    {"later edits made again", 40, 11, 10, 90, 30, {20, 85, 7, 1, true, 2}},
    {"through a stop point", 12, 5, 3, 40, -1, {8, 24, 1, 1, false, 4}, true},
    {"every cell changing", 784, 3, 4, 5, -1, {0, 12, 4, 3, false, 100}},
    {"largest scale, one frame", 4, 9, 2, 10, -1, {10, 10, 5, 4, true, 65535}},
    {"no organisms", 0, 2, 0, 0, -1, {0, 3, 1, 1, false, 4}},
    {"no organisms, counted", 0, 2, 0, 0, -1, {0, 3, 1, 1, true, 4}},
    {"last step between frames", 4, 13, 2, 30, -1, {30, 1000, 250, 1, false, 4}},
};

void PrintTo(const FramesCase& c, std::ostream* os) {
    *os << c.name;
}

class AnimationFrames : public ::testing::TestWithParam<FramesCase> {};

// The smallest rectangle holding every pixel in which a and b differ.
PixelRect difference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int width) {
    PixelRect r;
    for (std::size_t p = 0; p < a.size() / 3; ++p) {
        if (std::memcmp(&a[3 * p], &b[3 * p], 3) != 0) {
            const int x = static_cast<int>(p % width), y = static_cast<int>(p / width);
            r.add({x, y, x + 1, y + 1});
        }
    }
    return r;
}

TEST_P(AnimationFrames, EachFrameIsItsStepsPicture) {
    const FramesCase& c = GetParam();
    auto rig = rig_with(c.orgs, c.seed);
    Sim& sim = rig->sim;
    sim.prefs.setStopPt = c.stop_point;
    sim.prefs.stopIters = 15;
    std::mt19937 rnd(c.seed);
    run_with_edits(sim, rnd, c.run_to, c.edits);
    if (c.back_to >= 0) {
        ASSERT_TRUE(sim.go_to_step(c.back_to));
        while (!sim.travel(INT64_MAX)) {
        }
    }
    const std::string before = state_text(sim);

    std::vector<uint8_t> bytes;
    AnimationMaker maker(copy_run(sim), c.plan, [&](const uint8_t* d, std::size_t n, std::string&) {
        bytes.insert(bytes.end(), d, d + n);
        return true;
    });
    int chunks = 0;
    while (!maker.advance(1000)) ++chunks;
    ASSERT_FALSE(maker.failed()) << maker.error();
    EXPECT_EQ(maker.work_left(), 0);
    EXPECT_EQ(state_text(sim), before) << "the run itself moved";

    const ReadGif gif = read_gif(bytes);
    ASSERT_EQ(gif.error, "");
    EXPECT_EQ(gif.version, "GIF89a");
    EXPECT_EQ(gif.loop_count, 0) << "loops forever";
    EXPECT_EQ(gif.palette, board_art().palette);
    const int64_t count = frame_count(c.plan);
    ASSERT_EQ(static_cast<int64_t>(gif.frames.size()), count);
    EXPECT_EQ(maker.frames(), count);
    EXPECT_EQ(maker.bytes(), static_cast<int64_t>(bytes.size()));

    for (int64_t i = 0; i < count; ++i) {
        const auto step = static_cast<int32_t>(c.plan.first + i * c.plan.every);
        World w{};
        Generator gen;
        replay_serially(sim.journal, step, w, gen);
        BoardPicture want(board_art(), c.plan.scale, c.plan.caption);
        want.draw(w, sim.journal.start.seed, step);
        ASSERT_EQ(gif.width, want.width());
        ASSERT_EQ(gif.height, want.height());
        const ShownFrame& f = gif.frames[static_cast<std::size_t>(i)];
        ASSERT_TRUE(f.rgb == want.rgb()) << "frame " << i << " (step " << step << ")";
        EXPECT_EQ(f.delay, c.plan.delay);
        EXPECT_EQ(f.disposal, DISPOSE_DO_NOT);
        if (i == 0) {
            EXPECT_EQ(f.rect, (PixelRect{0, 0, want.width(), want.height()}));
            EXPECT_EQ(f.transparent, -1);
            continue;
        }
        EXPECT_EQ(f.transparent, board_art().transparent);
        const PixelRect changed =
            difference(gif.frames[static_cast<std::size_t>(i - 1)].rgb, f.rgb, gif.width);
        const PixelRect want_rect = changed.empty() ? PixelRect{0, 0, 1, 1} : changed;
        EXPECT_EQ(f.rect, want_rect) << "frame " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, AnimationFrames, ::testing::ValuesIn(kFramesCases),
                         [](const ::testing::TestParamInfo<FramesCase>& param) {
                             std::string name = param.param.name;
                             for (char& ch : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                             }
                             return name;
                         });

// A file that cannot be written ends the animation with the reason the writer gave, and
// nothing is written after the failure.
TEST(AnimationMaking, AFailedWriteEndsItWithItsReason) {
    auto rig = rig_with(4, 1);
    int writes = 0;
    AnimationMaker maker(copy_run(rig->sim), AnimationPlan{0, 2000, 1, 1, false, 4},
                         [&](const uint8_t*, std::size_t, std::string& why) {
                             ++writes;
                             why = "No space left on device";
                             return false;
                         });
    while (!maker.advance(INT64_MAX / 2)) {
    }
    EXPECT_TRUE(maker.failed());
    EXPECT_EQ(maker.error(), "No space left on device");
    EXPECT_EQ(writes, 1);
}

}  // namespace
}  // namespace vornick::testing
