#include <functional>
#include <string>

#include "render/font.h"
#include "surface_fixture.h"

namespace vornick::testing {
namespace {

const QRect kPanel(300, 0, 140, 300);

// Covers the panel with sprites, so that a clear shows as white and a stray pixel as a change.
void scribble_over_panel(GlSurface& s) {
    for (int v = 5; v < 300; v += 10) {
        for (int h = 305; h < 440; h += 10) s.board().draw_sprite_at(h, v, kUp);
    }
}

struct PanelCase {
    const char* name;
    std::function<void(GlPanel&)> write;
    QRect area;             // what the operation clears
    QRgb ink;               // text colour; white for none
    int text_left;          // where the text starts
    bool overlong = false;  // more text than the area holds: clipped at its edge
};

class PanelAreas : public SurfaceTest, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(PanelAreas, ClearTheAreaAndWriteOnlyInsideIt) {
    const PanelCase& c = GetParam();
    const int s = scale();
    const QRect area = device_rect(c.area, s);
    scribble_over_panel(surface());
    const QImage before = surface().read_framebuffer();
    c.write(surface().panel());
    const QImage after = surface().read_framebuffer();

    int ink = 0;
    int ink_left = after.width();
    int ink_right = -1;
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            const QRgb now = rgb(after.pixel(x, y));
            if (!area.contains(x, y)) {
                ASSERT_EQ(now, rgb(before.pixel(x, y))) << "outside the area at " << x << "," << y;
            } else if (now == rgb(c.ink) && !is_white(now)) {
                ++ink;
                ink_left = std::min(ink_left, x);
                ink_right = std::max(ink_right, x);
            } else {
                ASSERT_TRUE(is_white(now)) << "not cleared at " << x << "," << y;
            }
        }
    }
    if (is_white(c.ink)) {
        EXPECT_EQ(ink, 0);
    } else {
        EXPECT_GT(ink, 20);
        EXPECT_GE(ink_left, c.text_left * s);
        EXPECT_LE(ink_left, (c.text_left + 2) * s);
        if (!c.overlong) {
            EXPECT_LT(ink_right, area.right()) << "text reaches the area's edge";
        }
    }
}

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);

INSTANTIATE_TEST_SUITE_P(
    Writers, PanelAreas,
    ::testing::Values(
        PanelCase{"StepCount", [](GlPanel& p) { p.outext(2147483647); },
                  QRect(QPoint(322, 96), QPoint(435, 135)), kBlack, 330},
        PanelCase{"SelectedOrg", [](GlPanel& p) { p.outext2(27, 0); },
                  QRect(QPoint(322, 168), QPoint(419, 253)), kBlack, 330},
        PanelCase{"CursorCellBlue", [](GlPanel& p) { p.outext3(13, 27, 2); },
                  QRect(QPoint(322, 254), QPoint(419, 279)), kBlue, 330},
        PanelCase{"CursorCellOtherModeWhite", [](GlPanel& p) { p.outext3(13, 27, 1); },
                  QRect(QPoint(322, 254), QPoint(419, 279)), kWhite, 330},
        PanelCase{"RateFrames", [](GlPanel& p) { p.outext4(99.999, RateUnit::kFramesPerSecond); },
                  QRect(QPoint(322, 36), QPoint(429, 49)), kBlack, 330},
        PanelCase{"RateHugeIsClipped",
                  [](GlPanel& p) { p.outext4(1e300, RateUnit::kStepsPerSecond); },
                  QRect(QPoint(322, 36), QPoint(429, 49)), kBlack, 330, true},
        PanelCase{"ClearRate", [](GlPanel& p) { p.clr_FPS_text(); },
                  QRect(QPoint(322, 36), QPoint(429, 49)), kWhite, 330},
        PanelCase{"ClearSelectedOrg", [](GlPanel& p) { p.clr_selorg_text(); },
                  QRect(QPoint(322, 168), QPoint(419, 253)), kWhite, 330},
        PanelCase{"ClearCursorCell", [](GlPanel& p) { p.clr_cursor_text(); },
                  QRect(QPoint(322, 252), QPoint(419, 299)), kWhite, 330},
        PanelCase{"NoFontStillClears",
                  [](GlPanel& p) {
                      const GLuint font = p.font_list();
                      p.set_font_list(0);
                      p.outext(1234);
                      p.flush();  // text is drawn when the picture is next shown
                      p.set_font_list(font);
                  },
                  QRect(QPoint(322, 96), QPoint(435, 135)), kWhite, 330}),
    [](const auto& row) { return std::string(row.param.name); });

// Each line sits on its own baseline: the selected-organism lines do not run together.
using PanelLines = SurfaceTest;

TEST_F(PanelLines, SelectedOrgLinesAreSeparate) {
    surface().panel().outext2(12, 3);
    const QImage picture = surface().read_framebuffer();
    const int s = scale();
    const auto row_has_ink = [&](int y) {
        return count_pixels(picture, device_rect(QRect(322, y, 98, 1), s),
                            [](QRgb c) { return !is_white(c); }) > 0;
    };
    EXPECT_TRUE(row_has_ink(176));  // "selected org:"
    EXPECT_FALSE(row_has_ink(190));
    EXPECT_TRUE(row_has_ink(200));  // "x = 12"
    EXPECT_TRUE(row_has_ink(212));  // "y = 3"
    EXPECT_FALSE(row_has_ink(230));
}

// The text as the glyph lists of `font` draw it from the raster position (left, baseline), in
// black on white, in an image of `size`.
QImage set_in_glyphs(const QFont& font, const std::string& text, int left, int baseline,
                     QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    int pen = left;
    for (const char c : text) {
        const GlyphBitmap g = rasterize_glyph(font, static_cast<unsigned char>(c));
        const int row_bytes = (g.width + 7) / 8;
        for (int r = 0; r < g.height; ++r) {  // rows bottom first; row 0 lies y_origin below
            for (int x = 0; x < g.width; ++x) {
                if ((static_cast<uchar>(g.bits[r * row_bytes + x / 8]) & (0x80u >> (x % 8))) == 0) {
                    continue;
                }
                image.setPixel(pen - g.x_origin + x, baseline - 1 + g.y_origin - r, qRgb(0, 0, 0));
            }
        }
        pen += g.advance;
    }
    return image;
}

class ZoomedText : public SurfaceTest, public ::testing::WithParamInterface<int> {};

// Zoomed, the step count is drawn in glyphs of the font made that much larger, not in the
// small glyphs enlarged.
TEST_P(ZoomedText, ComesFromTheLargerFont) {
    surface().set_zoom(GetParam());
    const int s = scale();
    surface().panel().outext(2147483647);
    const QRect area = device_rect(QRect(QPoint(322, 96), QPoint(435, 135)), s);
    const QImage got = surface().read_framebuffer().copy(area);
    const QImage want = set_in_glyphs(panel_font(s), "iter = 2147483647", (330 - 322) * s,
                                      (108 - 96) * s, area.size());
    QPoint at;
    EXPECT_TRUE(same_pixels(got, want, want.rect(), &at)) << at.x() << "," << at.y();
    const QImage small =
        nearest(set_in_glyphs(panel_font(1), "iter = 2147483647", 8, 12, QSize(114, 40)), s);
    EXPECT_EQ(s == 1, same_pixels(got, small, small.rect(), nullptr));
}

INSTANTIATE_TEST_SUITE_P(Zooms, ZoomedText, ::testing::Values(1, 2, 3));

}  // namespace
}  // namespace vornick::testing
