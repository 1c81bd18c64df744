#include "render/scaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vornick {
namespace {

// What a screen of `ratio` at `zoom` gets: the picture's scale, the widget's logical size, and
// where the picture sits in the widget's device pixels.
struct ScaleCase {
    double ratio;
    int zoom;
    int scale;
    LogicalSize widget;
    int left, top;
};

// ratio 1.25 at zoom 2 is "r125_z2"
std::string name_of(double ratio, int zoom) {
    std::string name = std::to_string(std::lround(ratio * 100));
    name.insert(0, 1, 'r');
    name += "_z";
    name += std::to_string(zoom);
    return name;
}

int device_pixels(int logical, double ratio) {
    return static_cast<int>(std::lround(logical * ratio));
}

const ScaleCase kScales[] = {
    // Whole ratios: the widget is the picture times the zoom, as it always was.
    {1.0, 1, 1, {440, 300}, 0, 0},
    {1.0, 2, 2, {880, 600}, 0, 0},
    {1.0, 3, 3, {1320, 900}, 0, 0},
    {1.0, 4, 4, {1760, 1200}, 0, 0},
    {2.0, 1, 2, {440, 300}, 0, 0},
    {2.0, 2, 4, {880, 600}, 0, 0},
    {2.0, 3, 6, {1320, 900}, 0, 0},
    {2.0, 4, 8, {1760, 1200}, 0, 0},
    {3.0, 1, 3, {440, 300}, 0, 0},
    {3.0, 2, 6, {880, 600}, 0, 0},
    // beyond the largest picture the widget keeps its zoomed size and centres it in white
    {3.0, 3, 8, {1320, 900}, 220, 150},
    {3.0, 4, 8, {1760, 1200}, 880, 600},
    // Fractional ratios round to the nearest whole scale, halves up, and the widget shrinks or
    // grows to hold it.
    {1.25, 1, 1, {352, 240}, 0, 0},
    {1.25, 2, 3, {1056, 720}, 0, 0},  // 2.5
    {1.25, 3, 4, {1408, 960}, 0, 0},  // 3.75
    {1.25, 4, 5, {1760, 1200}, 0, 0},
    {1.5, 1, 2, {587, 400}, 0, 0},  // 880.5 device pixels wide: one spare at the right
    {1.5, 2, 3, {880, 600}, 0, 0},
    {1.5, 3, 5, {1467, 1000}, 0, 0},  // 4.5
    {1.5, 4, 6, {1760, 1200}, 0, 0},
    {1.75, 1, 2, {503, 343}, 0, 0},
    {1.75, 2, 4, {1006, 686}, 0, 0},  // 3.5
    {1.75, 3, 5, {1257, 857}, 0, 0},  // 5.25; 1257 x 1.75 = 2199.75 shows as 2200
    {1.75, 4, 7, {1760, 1200}, 0, 0},
    {2.5, 1, 3, {528, 360}, 0, 0},
    {2.5, 2, 5, {880, 600}, 0, 0},
    {2.5, 3, 8, {1408, 960}, 0, 0},  // 7.5
    {2.5, 4, 8, {1760, 1200}, 440, 300},
};

class PictureScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(PictureScale, FillsTheWidgetAtTheNearestWholeScale) {
    const ScaleCase& c = GetParam();
    const LogicalSize widget = widget_size(c.ratio, c.zoom);
    EXPECT_EQ(device_scale(c.ratio, c.zoom), c.scale);
    EXPECT_EQ((std::pair{widget.width, widget.height}),
              (std::pair{c.widget.width, c.widget.height}));

    const int width = device_pixels(widget.width, c.ratio);
    const int height = device_pixels(widget.height, c.ratio);
    const Placement p = place_picture(c.scale, width, height);
    EXPECT_EQ((std::vector{p.scale, p.left, p.top}), (std::vector{c.scale, c.left, c.top}));
    // What the picture leaves over at the right and the bottom.
    EXPECT_GE(width - p.left - 440 * c.scale, p.left);
    EXPECT_LE(width - p.left - 440 * c.scale, p.left + 1);
    EXPECT_GE(height - p.top - 300 * c.scale, p.top);
    EXPECT_LE(height - p.top - 300 * c.scale, p.top + 1);
}

INSTANTIATE_TEST_SUITE_P(RatiosAndZooms, PictureScale, ::testing::ValuesIn(kScales),
                         [](const ::testing::TestParamInfo<ScaleCase>& row) {
                             return name_of(row.param.ratio, row.param.zoom);
                         });

// A press is reported where the window system saw it: at the centre of a device pixel, in
// logical pixels. Every device pixel of the picture maps back to the unit drawn there.
TEST_P(PictureScale, EveryDevicePixelMapsBackToItsUnit) {
    const ScaleCase& c = GetParam();
    const LogicalSize widget = widget_size(c.ratio, c.zoom);
    const Placement p = place_picture(c.scale, device_pixels(widget.width, c.ratio),
                                      device_pixels(widget.height, c.ratio));
    int wrong = 0;
    for (int d = 0; d < 440 * c.scale; ++d) {
        const UnitPoint u = to_picture_units((p.left + d + 0.5) / c.ratio, 0, c.ratio, p);
        wrong += u.x != d / c.scale;
    }
    for (int d = 0; d < 300 * c.scale; ++d) {
        const UnitPoint u = to_picture_units(0, (p.top + d + 0.5) / c.ratio, c.ratio, p);
        wrong += u.y != d / c.scale;
    }
    EXPECT_EQ(wrong, 0) << name_of(c.ratio, c.zoom);
    // The margins and the spare pixel lie off the picture.
    if (p.left > 0) {
        EXPECT_LT(to_picture_units(0.1, 0, c.ratio, p).x, 0);
    }
    EXPECT_GE(to_picture_units((p.left + 440 * c.scale + 0.5) / c.ratio, 0, c.ratio, p).x, 440);
}

struct OddRatio {
    double ratio;
    int zoom;
    int scale;
    LogicalSize widget;
};

class UnusableRatio : public ::testing::TestWithParam<OddRatio> {};

// What Qt should never report still gives a picture and a widget of sane size.
TEST_P(UnusableRatio, GivesASaneScaleAndSize) {
    const OddRatio& c = GetParam();
    const LogicalSize widget = widget_size(c.ratio, c.zoom);
    EXPECT_EQ(device_scale(c.ratio, c.zoom), c.scale);
    EXPECT_EQ((std::pair{widget.width, widget.height}),
              (std::pair{c.widget.width, c.widget.height}));
}

INSTANTIATE_TEST_SUITE_P(
    Odd, UnusableRatio,
    ::testing::Values(OddRatio{std::nan(""), 1, 1, {440, 300}},
                      OddRatio{INFINITY, 2, 2, {880, 600}}, OddRatio{0.0, 1, 1, {440, 300}},
                      OddRatio{-2.0, 1, 1, {440, 300}},
                      // below 1 the picture stays at 1 and the widget grows to hold it; 879
                      // logical pixels at 0.5 show as 440 device pixels
                      OddRatio{0.5, 1, 1, {879, 599}}, OddRatio{0.01, 1, 1, {3516, 2396}},
                      OddRatio{1.0, 0, 1, {440, 300}},  // zoom out of 1..4: its nearest end
                      OddRatio{1.0, 9, 4, {1760, 1200}}, OddRatio{1000.0, 1, 8, {440, 300}}));

struct UnitCase {
    double ratio;
    Placement placement;
    double x, y;
    int unit_x, unit_y;
};

class PointerUnits : public ::testing::TestWithParam<UnitCase> {};

TEST_P(PointerUnits, MapToPictureUnits) {
    const UnitCase& c = GetParam();
    const UnitPoint u = to_picture_units(c.x, c.y, c.ratio, c.placement);
    EXPECT_EQ(u.x, c.unit_x);
    EXPECT_EQ(u.y, c.unit_y);
}

INSTANTIATE_TEST_SUITE_P(
    Ratios, PointerUnits,
    ::testing::Values(UnitCase{1.0, {1, 0, 0}, 55.0, 77.9, 55, 77},
                      UnitCase{2.0, {2, 0, 0}, 55.0, 77.9, 55, 77},
                      UnitCase{2.0, {2, 0, 0}, 439.9, 299.9, 439, 299},
                      // 1.5 at zoom 1: 2 device pixels a unit, 4 of them in 3 logical pixels
                      UnitCase{1.5, {2, 0, 0}, 100.0, 100.0, 75, 75},
                      UnitCase{1.5, {2, 0, 0}, 586.5, 399.9, 439, 299},
                      UnitCase{1.25, {1, 0, 0}, 100.0, 100.0, 125, 125},
                      UnitCase{1.0, {3, 0, 0}, 100.0, 100.0, 33, 33},  // zoomed 3x
                      UnitCase{2.0, {8, 0, 0}, 1759.9, 1199.9, 439, 299},
                      UnitCase{3.0, {8, 220, 150}, 73.0, 49.9, -1, -1},  // in the margin
                      UnitCase{1.0, {1, 0, 0}, -0.5, -3.0, -1, -3},
                      UnitCase{0.0, {1, 0, 0}, 12.0, 13.0, 12, 13}));

}  // namespace
}  // namespace vornick
