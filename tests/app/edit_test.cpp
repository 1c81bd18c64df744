#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QTest>

#include "app/key_codes.h"
#include "app/vornick_app.h"
#include "fresh_app.h"
#include "prefs/prefs_store.h"
#include "render/gl_surface.h"
#include "render/sprites.h"
#include "tests/picture_testing.h"

namespace vornick {
namespace {

// The first run of seed 1, halted so that nobody walks: organism 0 at (10, 18) heading left,
// 1 at (15, 27), 2 at (22, 27) heading up, 3 at (26, 5) heading right. At every zoom.
class EditTest : public ::testing::TestWithParam<int> {
  protected:
    void SetUp() override {
        app = testing::halted_app_at_zoom(GetParam());
        surface = app->main_window().surface();
        ASSERT_EQ(surface->zoom(), GetParam());
    }
    void TearDown() override { app.reset(); }

    // The widget position of a cell's centre pixel, checked against the surface's own mapping.
    QPoint cell(int x, int y) const {
        const QPoint units(15 + 10 * x, 15 + 10 * y);
        const double per = surface->units_per_pixel();
        const QPoint pos(qRound(units.x() / per), qRound(units.y() / per));
        EXPECT_EQ(surface->to_units(pos), units);
        return pos;
    }
    // Inside the frame that outlines the cell, the picture shows the sprite.
    bool shows_sprite(int x, int y, int sprite) {
        const int s = surface->device_scale();
        const QImage want = testing::nearest(CreateBitmapImages()[sprite].copy(1, 2, 8, 7), s);
        const QImage got = surface->read_framebuffer().copy(
            testing::device_rect(QRect(11 + 10 * x, 12 + 10 * y, 8, 7), s));
        return got.convertToFormat(QImage::Format_RGB32) == want;
    }
    Org org(int i) const { return app->sim().model.orgs.get(i); }

    std::unique_ptr<VornickApp> app;
    GlSurface* surface = nullptr;
};

TEST_P(EditTest, AClickFramesTheOrganismAndShowsItsCell) {
    QTest::mouseClick(surface, Qt::LeftButton, {}, cell(10, 18));
    EXPECT_EQ(app->sim().sel.selectOrgIndex, 0);
    const QImage picture = testing::units_of(surface->read_framebuffer(), surface->device_scale());
    int black = 0, ink = 0;
    for (int px = 110; px < 120; ++px) black += qGray(picture.pixel(px, 191)) == 0;
    for (int py = 168; py < 254; ++py) {
        for (int px = 322; px < 420; ++px) ink += (picture.pixel(px, py) & 0xffffff) != 0xffffff;
    }
    EXPECT_EQ(black, 10) << "the frame's top edge";
    EXPECT_GT(ink, 0) << "the selected-organism field";
}

TEST_P(EditTest, ADragMovesTheOrganismOnTopOfTheDropCell) {
    QTest::mousePress(surface, Qt::LeftButton, {}, cell(10, 18));
    QTest::mouseMove(surface, cell(16, 22));
    QTest::mouseMove(surface, cell(22, 27));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, cell(22, 27));
    EXPECT_EQ((std::vector{org(1).x, org(2).x, org(2).dir, app->sim().sel.selectOrgIndex}),
              (std::vector<int32_t>{22, 22, kLeft, 2}));
    EXPECT_TRUE(shows_sprite(22, 27, kLeft));
}

TEST_P(EditTest, ArrowKeysMoveTheSelectionButNotWithCtrl) {
    QTest::mouseClick(surface, Qt::LeftButton, {}, cell(26, 5));
    QTest::keyClick(&app->main_window(), Qt::Key_Right);
    QTest::keyClick(&app->main_window(), Qt::Key_Right);  // wraps to column 0
    QTest::keyClick(&app->main_window(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ((std::vector{org(3).x, org(3).y}), (std::vector{0, 5}));
    EXPECT_TRUE(shows_sprite(0, 5, kRight));
}

INSTANTIATE_TEST_SUITE_P(Zooms, EditTest, ::testing::Values(1, 3));

TEST(ArrowCharCode, OnlyTheFourArrowsWithoutCtrlYieldACode) {
    int codes = 0, others = 0;
    for (auto m : {Qt::NoModifier, Qt::ShiftModifier, Qt::KeypadModifier, Qt::ControlModifier}) {
        for (int key = 0; key < 0x01000200; key = key == 0x2000 ? 0x01000000 : key + 1) {
            const int32_t code = arrow_char_code(key, m);
            codes += code >= 28 && code <= 31;
            others += code != kNoCharCode && (code < 28 || code > 31);
        }
    }
    EXPECT_EQ((std::vector{codes, others}), (std::vector{12, 0}));
}

}  // namespace
}  // namespace vornick
