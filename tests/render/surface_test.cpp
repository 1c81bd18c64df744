#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <vector>

#include "sim/generator.h"
#include "sim/world.h"
#include "surface_fixture.h"

namespace vornick::testing {
namespace {

// Handles events until `done` or a generous bound; the bound only stops a broken test hanging.
void process_until(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 2000) QTest::qWait(5);
}

void settle() {
    QTest::qWait(60);  // longer than any pending coalesced repaint
}

using Surface = SurfaceTest;

// Steps arrive from timer firings with the event loop running in between; each presents. The
// bound is relative to the time taken, so a slow machine does not fail it: showing every
// present would cost one repaint per round.
TEST_F(Surface, RepaintsAreCoalescedToTheDisplayRate) {
    settle();
    QSignalSpy shown(&surface(), &GlSurface::frame_shown);
    QElapsedTimer took;
    took.start();
    constexpr int kRounds = 300;
    for (int i = 0; i < kRounds; ++i) {
        surface().panel().outext(i);
        QCoreApplication::processEvents();
    }
    const qint64 frames_of_time = took.elapsed() / 16;
    settle();
    EXPECT_GE(shown.count(), 1);
    EXPECT_LE(shown.count(), frames_of_time + 3);
    EXPECT_LT(shown.count(), kRounds / 4);
}

TEST_F(Surface, WindowRepaintAsksForAFullRefreshButPresentsDoNot) {
    settle();  // past the first showing, itself a repaint nobody asked for
    int refreshes = 0;
    surface().on_window_repaint = [&] { ++refreshes; };
    surface().grab();  // a repaint the drawing did not ask for
    EXPECT_EQ(refreshes, 1);

    QSignalSpy shown(&surface(), &GlSurface::frame_shown);
    surface().panel().outext(7);
    process_until([&] { return shown.count() > 0; });
    EXPECT_EQ(refreshes, 1);
    surface().on_window_repaint = nullptr;
}

// With a whole-number ratio the picture fills the widget, so logical pixels are units; the
// centred placement of fractional ratios is covered by the mapping's own table.
TEST_F(Surface, PointerReportsPictureUnits) {
    const double ratio = surface().devicePixelRatioF();
    if (ratio != std::floor(ratio)) GTEST_SKIP() << "fractional ratio " << ratio;
    std::vector<QPoint> pressed, moved, released;
    surface().on_press = [&](QPoint p) { pressed.push_back(p); };
    surface().on_move = [&](QPoint p) { moved.push_back(p); };
    surface().on_release = [&](QPoint p) { released.push_back(p); };
    QTest::mousePress(&surface(), Qt::LeftButton, Qt::NoModifier, QPoint(55, 77));
    QTest::mouseMove(&surface(), QPoint(120, 33));
    QTest::mouseRelease(&surface(), Qt::LeftButton, Qt::NoModifier, QPoint(439, 299));
    surface().on_press = nullptr;
    surface().on_move = nullptr;
    surface().on_release = nullptr;
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(pressed[0], QPoint(55, 77));
    ASSERT_FALSE(moved.empty());
    EXPECT_EQ(moved.back(), QPoint(120, 33));
    ASSERT_EQ(released.size(), 1u);
    EXPECT_EQ(released[0], QPoint(439, 299));
}

// Also run with QT_SCALE_FACTOR=2: the picture then has twice the pixels and is shown 1:1.
TEST_F(Surface, PictureShownAtWholeScaleAndKeptAcrossRepaints) {
    auto w = std::make_unique<World>();
    Generator gen;
    gen.seed = 3;
    init_world(*w, gen, 30, false);
    surface().board().redraw_scr(*w);
    surface().panel().outext(4321);
    const QImage picture = surface().read_framebuffer();

    const QImage shown = surface().grab().toImage();
    const double ratio = surface().devicePixelRatioF();
    const int s = scale();
    EXPECT_EQ(s, std::max(1, static_cast<int>(std::floor(ratio))));
    ASSERT_EQ(picture.size(), QSize(440 * s, 300 * s));
    ASSERT_EQ(shown.width(), std::lround(440 * ratio));
    const int left = (shown.width() - 440 * s) / 2;
    const int top = (shown.height() - 300 * s) / 2;
    for (int y = 0; y < picture.height(); y += 3) {
        for (int x = 0; x < picture.width(); x += 3) {
            ASSERT_EQ(rgb(shown.pixel(left + x, top + y)), rgb(picture.pixel(x, y)))
                << x << "," << y;
        }
    }

    // Repainting the widget must not disturb the picture or where drawing lands next.
    surface().board().redraw_scr(*w);
    QPoint at;
    EXPECT_TRUE(same_pixels(surface().read_framebuffer(), picture, picture.rect(), &at))
        << at.x() << "," << at.y();
}

// A new scale starts a blank picture: the panel is written again as it was, the board is asked
// for once, and the widget takes the zoomed size. The same zoom again changes nothing.
TEST_F(Surface, ZoomRedrawsThePictureAtTheNewScale) {
    surface().panel().outext(55);
    surface().panel().outext4(12.5, RateUnit::kFramesPerSecond);
    surface().panel().outext2(3, 4);
    surface().panel().clr_selorg_text();
    surface().panel().outext3(7, 8, 2);
    const QImage before = units_of(surface().read_framebuffer(), scale());
    int refreshes = 0;
    surface().on_window_repaint = [&] { ++refreshes; };
    const int screen = scale();
    surface().set_zoom(2);
    surface().set_zoom(2);
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(scale(), 2 * screen);
    EXPECT_EQ(surface().size(), QSize(880, 600));
    surface().set_zoom(1);
    surface().on_window_repaint = nullptr;

    // The panel's every area as before: the small font again gives the same pixels.
    const QImage after = units_of(surface().read_framebuffer(), scale());
    const QRect panel(300, 0, 140, 300);
    QPoint at;
    EXPECT_TRUE(same_pixels(after, before, panel, &at)) << at.x() << "," << at.y();
}

}  // namespace
}  // namespace vornick::testing
