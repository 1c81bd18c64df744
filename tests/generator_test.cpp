#include "sim/generator.h"

#include <gtest/gtest.h>

namespace vornick {
namespace {

TEST(Generator, FirstDrawsFromSeedOne) {
    Generator g;
    const int32_t expected[] = {16838, 5758, 10113, 17515, 31051, 5627,
                                23010, 7419, 16212, 4086,  2749,  12767};
    for (int32_t e : expected) EXPECT_EQ(g.draw(), e);
}

TEST(Generator, StateWrapsModulo32Bits) {
    Generator g;
    g.seed = 0xFFFFFFFFu;
    g.draw();
    EXPECT_EQ(g.seed, static_cast<uint32_t>(0xFFFFFFFFull * 1103515245ull + 12345ull));
}

TEST(Generator, JumpTableMatchesSerialDraws) {
    for (uint32_t start : {0u, 1u, 0x80000000u, 0xDEADBEEFu}) {
        Generator g;
        g.seed = start;
        for (std::size_t k = 0; k < kJump.mul.size(); ++k) {
            ASSERT_EQ(kJump.mul[k] * start + kJump.add[k], g.seed) << "after " << k << " draws";
            g.draw();
        }
    }
}

}  // namespace
}  // namespace vornick
