// The sprites as the pictures use them: the shipped ones give a small palette, and a sprite
// the pictures could not draw as the window does is refused with a reason.
#include "picture/board_art.h"

#include <gtest/gtest.h>
#include <png.h>

#include "picture/sprite_files.h"

namespace vornick {
namespace {

std::vector<uint8_t> png_of(int width, int height, uint8_t alpha) {
    std::vector<uint8_t> rgba(static_cast<std::size_t>(width) * height * 4, alpha);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    std::vector<uint8_t> out(size);
    png_image_write_to_memory(&image, out.data(), &size, 0, rgba.data(), 0, nullptr);
    out.resize(size);
    return out;
}

std::array<std::vector<uint8_t>, kSpriteCount> shipped() {
    std::array<std::vector<uint8_t>, kSpriteCount> files;
    for (int i = 0; i < kSpriteCount; ++i) {
        files[i].assign(kSpriteFiles[i].data, kSpriteFiles[i].data + kSpriteFiles[i].size);
    }
    return files;
}

TEST(BoardArt, ShippedSpritesMakeASmallPalette) {
    const BoardArt& art = board_art();
    ASSERT_EQ(art.fault, "");
    // Few colours keep the codes short: every index fits in 4 bits.
    EXPECT_LE(art.palette_bits, 4);
    EXPECT_EQ(art.palette.size(), std::size_t{1} << art.palette_bits);
    EXPECT_EQ(art.colour(art.looks[kPlainLook][0]), (Rgb{0, 128, 17}));
    EXPECT_EQ(art.colour(art.paper), (Rgb{255, 255, 255}));
    EXPECT_EQ(art.colour(art.ink), (Rgb{0, 0, 0}));
    for (const int look : {0, 1, 2, 3, kGroundSprite, int{kPlainLook}}) {
        for (const uint8_t texel : art.looks[look]) EXPECT_NE(texel, art.transparent);
    }
}

TEST(BoardArt, SpritesItCannotDrawAreRefused) {
    struct Case {
        int sprite;
        std::vector<uint8_t> file;
        const char* fault;
    };
    const Case cases[] = {
        {2, {'n', 'o', 't'}, "sprite 130: "},
        {12, png_of(12, 10, 255), "sprite 140 is 12 x 10, not 10 x 10"},
        {0, png_of(10, 10, 128), "sprite 128 has transparent pixels"},
    };
    for (const Case& c : cases) {
        auto files = shipped();
        files[c.sprite] = c.file;
        const BoardArt art = make_board_art(files);
        EXPECT_EQ(art.fault.rfind(c.fault, 0), 0u) << art.fault;
        EXPECT_TRUE(art.palette.empty());
    }
    // A sprite that is never drawn is not looked at.
    auto files = shipped();
    files[7] = {'x'};
    EXPECT_EQ(make_board_art(files).fault, "");
}

}  // namespace
}  // namespace vornick
