#include "render/scaling.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vornick {
namespace {

struct PlacementCase {
    double ratio;
    int zoom;
    int device_width, device_height;  // the widget's framebuffer at that ratio and zoom
    Placement expected;
};

class PictureScale : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PictureScale, WholeScaleCentred) {
    const PlacementCase& c = GetParam();
    const Placement p =
        place_picture(device_scale(c.ratio, c.zoom), c.device_width, c.device_height);
    EXPECT_EQ(p.scale, c.expected.scale);
    EXPECT_EQ(p.left, c.expected.left);
    EXPECT_EQ(p.top, c.expected.top);
}

INSTANTIATE_TEST_SUITE_P(Ratios, PictureScale,
                         ::testing::Values(PlacementCase{1.0, 1, 440, 300, {1, 0, 0}},
                                           PlacementCase{2.0, 1, 880, 600, {2, 0, 0}},
                                           PlacementCase{1.25, 1, 550, 375, {1, 55, 37}},
                                           PlacementCase{2.5, 1, 1100, 750, {2, 110, 75}},
                                           PlacementCase{3.0, 1, 1320, 900, {3, 0, 0}},
                                           PlacementCase{0.5, 1, 220, 150, {1, 0, 0}},
                                           PlacementCase{std::nan(""), 1, 440, 300, {1, 0, 0}},
                                           PlacementCase{INFINITY, 1, 440, 300, {1, 0, 0}},
                                           PlacementCase{1.0, 3, 1320, 900, {3, 0, 0}},
                                           PlacementCase{2.0, 4, 3520, 2400, {8, 0, 0}},
                                           PlacementCase{1.25, 2, 1100, 750, {2, 110, 75}},
                                           // zoom out of 1..4 is taken as its nearest end
                                           PlacementCase{1.0, 0, 440, 300, {1, 0, 0}},
                                           PlacementCase{1.0, 9, 1760, 1200, {4, 0, 0}},
                                           // beyond the largest picture: centred in white
                                           PlacementCase{3.0, 4, 5280, 3600, {8, 880, 600}}));

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
                      // 1.25: 100 logical pixels are 125 device pixels, less the margin
                      UnitCase{1.25, {1, 55, 37}, 100.0, 100.0, 70, 88},
                      UnitCase{2.5, {2, 110, 75}, 100.0, 100.0, 70, 87},
                      UnitCase{1.0, {3, 0, 0}, 100.0, 100.0, 33, 33},  // zoomed 3x
                      UnitCase{2.0, {8, 0, 0}, 1759.9, 1199.9, 439, 299},
                      UnitCase{1.0, {1, 0, 0}, -0.5, -3.0, -1, -3},
                      UnitCase{0.0, {1, 0, 0}, 12.0, 13.0, 12, 13}));

}  // namespace
}  // namespace vornick
