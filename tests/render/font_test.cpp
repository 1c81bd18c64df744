#include "render/font.h"

#include <gtest/gtest.h>

#include "surface_fixture.h"

namespace vornick {
namespace {

TEST(PanelFont, PrintableCodesHaveInkAndAdvance) {
    const QFont font = panel_font();
    for (const int code :
         {int{'0'}, int{'9'}, int{'x'}, int{'='}, int{'F'}, int{'g'}, 0xe9, 0xff}) {
        const GlyphBitmap glyph = rasterize_glyph(font, code);
        SCOPED_TRACE(code);
        EXPECT_GT(glyph.advance, 0);
        EXPECT_GT(glyph.width, 0);
        // glBitmap reads whole bytes per row
        EXPECT_EQ(glyph.bits.size(), (glyph.width + 7) / 8 * glyph.height);
        EXPECT_TRUE(glyph.bits.count('\0') < glyph.bits.size());
    }
}

TEST(PanelFont, DescenderReachesBelowTheBaseline) {
    const GlyphBitmap g = rasterize_glyph(panel_font(), 'g');
    ASSERT_GT(g.y_origin, 0);
    const int row_bytes = (g.width + 7) / 8;
    bool below = false;
    for (int row = 0; row < g.y_origin; ++row) {  // rows are stored bottom first
        for (int b = 0; b < row_bytes; ++b) below |= g.bits[row * row_bytes + b] != '\0';
    }
    EXPECT_TRUE(below);
}

TEST(PanelFont, BlanksAndControlCodes) {
    const QFont font = panel_font();
    const GlyphBitmap space = rasterize_glyph(font, ' ');
    EXPECT_GT(space.advance, 0);
    EXPECT_TRUE(space.bits.isEmpty());
    for (const int code : {0, 0x0a, 0x7f, 0x85, -1, 256}) {
        const GlyphBitmap control = rasterize_glyph(font, code);
        EXPECT_EQ(control.advance, 0) << code;
        EXPECT_TRUE(control.bits.isEmpty()) << code;
    }
}

using FontLists = testing::SurfaceTest;

TEST_F(FontLists, BuiltAtSetUp) {
    EXPECT_NE(surface().font_list(), 0);
}

}  // namespace
}  // namespace vornick
