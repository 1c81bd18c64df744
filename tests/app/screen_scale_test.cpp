// The real window at the screen ratio the test runs at (QT_SCALE_FACTOR), read back from the X
// screen: the picture fills the board's widget at the nearest whole scale, and a click lands on
// the cell under it. Run at ratios 1.25, 1.5 and 1.75; each prints what it measured.
#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>
#include <cmath>
#include <iostream>
#include <optional>

#include "app/board_frame.h"
#include "app/vornick_app.h"
#include "fresh_app.h"
#include "render/gl_surface.h"
#include "tests/picture_testing.h"

namespace vornick {
namespace {

// The scale each ratio should get at zoom 1 and 2: the nearest whole number, halves up.
struct RatioRow {
    double ratio;
    int scale_at_zoom[2];
};
constexpr RatioRow kRatios[] = {{1.0, {1, 2}},  {1.25, {1, 3}}, {1.5, {2, 3}},
                                {1.75, {2, 4}}, {2.0, {2, 4}},  {3.0, {3, 6}}};

bool row_is_white(const QImage& shot, int y) {
    for (int x = 0; x < shot.width(); ++x) {
        if ((shot.pixel(x, y) & 0xffffff) != 0xffffff) return false;
    }
    return true;
}

// The seed-1 board, halted, at a zoom, and where its picture shows on the screen.
class ScreenScale : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        app = testing::halted_app_at_zoom(GetParam());
        surface = app->main_window().surface();
        ratio = surface->devicePixelRatioF();
        QTest::qWait(200);  // the window takes its size and is painted
        picture = surface->read_framebuffer().convertToFormat(QImage::Format_RGB32);
        QWidget& window = app->main_window();
        // Device pixels of the window as the X server holds them.
        shot = window.screen()
                   ->grabWindow(window.winId())
                   .toImage()
                   .convertToFormat(QImage::Format_RGB32);
        const QPointF origin = QPointF(surface->mapTo(&window, QPoint(0, 0))) * ratio;
        found = locate(origin.toPoint());
    }
    void TearDown() override { app.reset(); }

    // The whole picture, pixel for pixel, within a few pixels of where the widget starts.
    std::optional<QPoint> locate(QPoint near) const {
        for (int dy = -2; dy <= 2; ++dy) {
            for (int dx = -2; dx <= 2; ++dx) {
                const QPoint at = near + QPoint(dx, dy);
                if (at.x() >= 0 && at.y() >= 0 && shot.copy(QRect(at, picture.size())) == picture) {
                    return at;
                }
            }
        }
        return std::nullopt;
    }

    std::unique_ptr<VornickApp> app;
    GlSurface* surface = nullptr;
    double ratio = 1;
    QImage picture, shot;
    std::optional<QPoint> found;
};

TEST_P(ScreenScale, PictureFillsTheWidgetAtTheNearestWholeScale) {
    const int zoom = GetParam();
    const int s = surface->device_scale();
    ASSERT_TRUE(found) << "the picture is not on the screen at ratio " << ratio;
    // Left and right the board's focus ring stands in a margin of its own between the window's
    // edges and the widget; above it the menu bar and below it the status bar, neither of them
    // white.
    const int left = found->x();
    const int right = shot.width() - found->x() - picture.width();
    int top = 0, bottom = 0;
    while (found->y() - top > 0 && row_is_white(shot, found->y() - top - 1)) ++top;
    const int below = found->y() + picture.height();
    while (below + bottom < shot.height() && row_is_white(shot, below + bottom)) ++bottom;
    std::cout << "ratio " << ratio << " zoom " << zoom << ": device scale " << s
              << ", margin in device pixels left " << left << " right " << right << " top " << top
              << " bottom " << bottom << std::endl;

    for (const RatioRow& r : kRatios) {
        if (r.ratio == ratio) {
            EXPECT_EQ(s, r.scale_at_zoom[zoom - 1]);
        }
    }
    EXPECT_EQ(picture.size(), QSize(440 * s, 300 * s));
    const double ring = BoardFrame::kMargin * ratio;
    EXPECT_LE(std::abs(left - ring), 1.0) << left;
    EXPECT_LE(std::abs(right - ring), 1.0) << right;
    EXPECT_EQ(top, 0);
    EXPECT_LE(bottom, 1);
}

TEST_P(ScreenScale, BoardIsTheUnitBoardEnlarged) {
    ASSERT_TRUE(found);
    const int s = surface->device_scale();
    const World& w = app->sim().model;
    std::vector<testing::BoardOrg> orgs;
    for (int i = 0; i < w.norgs; ++i) {
        const Org o = w.orgs.get(i);
        orgs.push_back({o.x, o.y, o.dir});
    }
    const QImage unit =
        testing::board_picture([&](int x, int y) { return w.cell(x, y) == kGroundCode; }, orgs);
    const QImage shown = shot.copy(QRect(*found + QPoint(10 * s, 10 * s), QSize(280 * s, 280 * s)));
    EXPECT_TRUE(shown == testing::nearest(unit, s)) << "at scale " << s;
}

// Seed 1 puts organism 0 at (10, 18), 1 at (15, 27), 2 at (22, 27) and 3 at (26, 5).
TEST_P(ScreenScale, AClickAtACellsCentreSelectsItsOrganism) {
    ASSERT_TRUE(found);
    const int s = surface->device_scale();
    const QPointF widget_origin = QPointF(surface->mapTo(&app->main_window(), QPoint(0, 0)));
    const int cells[][2] = {{10, 18}, {15, 27}, {22, 27}, {26, 5}};
    for (int i = 0; i < 4; ++i) {
        // The centre of the cell as the screen shows it, in the widget's logical pixels.
        const QPointF device =
            QPointF(*found) + QPointF(15 + 10 * cells[i][0], 15 + 10 * cells[i][1]) * s;
        const QPoint at = (device / ratio - widget_origin).toPoint();
        QTest::mouseClick(surface, Qt::LeftButton, {}, at);
        EXPECT_EQ(app->sim().sel.selectOrgIndex, i) << "cell " << cells[i][0] << "," << cells[i][1];
    }
}

INSTANTIATE_TEST_SUITE_P(Zooms, ScreenScale, ::testing::Values(1, 2));

}  // namespace
}  // namespace vornick
