#include <QPainter>
#include <memory>

#include "sim/generator.h"
#include "sim/sim.h"
#include "sim/world.h"
#include "surface_fixture.h"

namespace vornick::testing {
namespace {

const QRect kBoard(10, 10, 280, 280);

std::unique_ptr<World> seeded_world(uint32_t seed, int32_t orgs) {
    auto w = std::make_unique<World>();
    Generator gen;
    gen.seed = seed;
    init_world(*w, gen, orgs, false);
    return w;
}

std::unique_ptr<World> plain_world() {
    auto w = std::make_unique<World>();
    std::fill(std::begin(w->world), std::end(w->world), kEmptyCode);
    return w;
}

// The board as the picture should show it: the bundled images, cell by cell.
QImage expected_board(const World& w) {
    const SpriteImages icon = CreateBitmapImages();
    QImage board(kBoard.size(), QImage::Format_RGB32);
    board.fill(kBoardGreen);
    QPainter painter(&board);
    for (int x = 0; x < kGridSize; ++x) {
        for (int y = 0; y < kGridSize; ++y) {
            if (w.cell(x, y) == kGroundCode) painter.drawImage(10 * x, 10 * y, icon[kGroundSprite]);
        }
    }
    for (int i = 0; i < w.norgs; ++i) {
        painter.drawImage(10 * w.orgs.get(i).x, 10 * w.orgs.get(i).y, icon[w.orgs.get(i).dir]);
    }
    return board;
}

// At a device scale every unit of the board is a block of that many pixels squared.
void expect_board_matches(const QImage& picture, const World& w, int s) {
    const QImage want = nearest(expected_board(w), s);
    QPoint at;
    EXPECT_TRUE(same_pixels(picture.copy(device_rect(kBoard, s)), want, want.rect(), &at))
        << "cell " << at.x() / (10 * s) << "," << at.y() / (10 * s) << " pixel " << at.x() / s % 10
        << "," << at.y() / s % 10 << " at scale " << s;
}

using Board = SurfaceTest;

TEST_F(Board, RedrawShowsSeedOneWorldCellByCell) {
    const auto w = seeded_world(1, 4);
    surface().board().redraw_scr(*w);
    const QImage picture = surface().read_framebuffer();
    const int s = scale();
    expect_board_matches(picture, *w, s);
    // The white margins around the board are not painted.
    EXPECT_EQ(count_pixels(picture, device_rect(QRect(0, 0, 300, 10), s), is_white), 3000 * s * s);
    EXPECT_EQ(count_pixels(picture, device_rect(QRect(0, 290, 300, 10), s), is_white),
              3000 * s * s);
    EXPECT_EQ(count_pixels(picture, device_rect(QRect(290, 10, 32, 280), s), is_white),
              32 * 280 * s * s);
}

TEST_F(Board, HigherIndexOnTopInASharedCell) {
    auto w = plain_world();
    w->norgs = 2;
    w->orgs.edit(0) = Org{3, 4, kUp};
    w->orgs.edit(1) = Org{3, 4, kRight};
    w->world[3 * kGridSize + 4] = kGroundCode;
    surface().board().redraw_scr(*w);
    expect_board_matches(surface().read_framebuffer(), *w, scale());
}

struct StepCase {
    const char* name;
    int32_t orgs;
    bool select;
};

class DrawnSteps : public SurfaceTest, public ::testing::WithParamInterface<StepCase> {};

// Incremental drawing must leave exactly what a full redraw of the same state paints.
TEST_P(DrawnSteps, LeaveTheBoardAsAFullRedraw) {
    Ports ports = Ports::none();
    ports.board = &surface().board();
    ports.panel = &surface().panel();
    auto sim = std::make_unique<Sim>(ports);
    sim->prefs.iNumOrgs = GetParam().orgs;
    sim->rng.seed = 1;
    sim->pace.speed = kSlowMode;
    sim->pace.delay = 2.0;
    sim->new_sim();
    if (GetParam().select) {
        sim->sel.prinfo = 1;
        sim->sel.selectOrgIndex = 0;
        sim->sel.selcx = sim->model.orgs.get(0).x;
        sim->sel.selcy = sim->model.orgs.get(0).y;
        surface().board().draw_frame(sim->sel.selcx, sim->sel.selcy);
    }
    for (int i = 0; i < 300; ++i) sim->HandleDraw();
    if (GetParam().select) surface().board().erase_frame(sim->sel.selcx, sim->sel.selcy);
    const QImage stepped = surface().read_framebuffer();

    expect_board_matches(stepped, sim->model, scale());
    surface().board().redraw_scr(sim->model);
    QPoint at;
    EXPECT_TRUE(same_pixels(stepped, surface().read_framebuffer(),
                            device_rect(QRect(0, 0, 300, 300), scale()), &at))
        << at.x() << "," << at.y();
}

INSTANTIATE_TEST_SUITE_P(Cases, DrawnSteps,
                         ::testing::Values(StepCase{"FourOrgs", 4, false},
                                           StepCase{"CrowdedOverlapping", 120, false},
                                           StepCase{"SelectionFollowed", 4, true},
                                           StepCase{"NoOrgs", 0, false}),
                         [](const auto& row) { return std::string(row.param.name); });

bool is_black(QRgb c) {
    return (c & 0xffffff) == 0;
}

struct FrameCell {
    int x, y;
};

class SelectionFrame : public SurfaceTest, public ::testing::WithParamInterface<FrameCell> {};

TEST_P(SelectionFrame, OutlinesTheCellAndErasesWithoutTrace) {
    const int x = GetParam().x;
    const int y = GetParam().y;
    const int left = 10 * x + 10;
    const int top = 10 * y + 10;
    auto w = seeded_world(1, 4);
    w->world[x * kGridSize + y] = kGroundCode;
    if (y > 0) w->world[x * kGridSize + y - 1] = kGroundCode;  // neighbours the lines touch
    if (x > 0) w->world[(x - 1) * kGridSize + y] = kGroundCode;
    if (y < 27) w->world[x * kGridSize + y + 1] = kGroundCode;
    w->orgs.edit(0) = Org{x, y, kLeft};
    surface().board().redraw_scr(*w);
    const QImage before = surface().read_framebuffer();

    surface().board().draw_frame(x, y);
    const QImage framed = units_of(surface().read_framebuffer(), scale());
    // The top edge is one unit inside the cell; the others lie on its boundary lines, and the
    // rasteriser may light the pixel on either side of those.
    for (int px = left; px < left + 10; ++px) {
        EXPECT_TRUE(is_black(framed.pixel(px, top + 1))) << "top " << px;
        EXPECT_TRUE(is_black(framed.pixel(px, top + 9)) || is_black(framed.pixel(px, top + 10)))
            << "bottom " << px;
    }
    for (int py = top + 2; py < top + 10; ++py) {
        EXPECT_TRUE(is_black(framed.pixel(left - 1, py)) || is_black(framed.pixel(left, py)))
            << "left " << py;
        EXPECT_TRUE(is_black(framed.pixel(left + 9, py)) || is_black(framed.pixel(left + 10, py)))
            << "right " << py;
    }
    const QRect reach(left - 1, top, 12, 12);  // sprites hold no pure black
    EXPECT_EQ(count_pixels(framed, QRect(0, 0, 300, 300), is_black),
              count_pixels(framed, reach, is_black))
        << "frame pixels beyond one unit around the cell";

    surface().board().erase_frame(x, y);
    QPoint at;
    EXPECT_TRUE(same_pixels(surface().read_framebuffer(), before,
                            device_rect(QRect(0, 0, 300, 300), scale()), &at))
        << "left over at " << at.x() << "," << at.y();
}

INSTANTIATE_TEST_SUITE_P(Cells, SelectionFrame,
                         ::testing::Values(FrameCell{5, 7}, FrameCell{0, 0}, FrameCell{27, 27},
                                           FrameCell{0, 27}, FrameCell{27, 0}));

class ZoomedBoard : public SurfaceTest, public ::testing::WithParamInterface<int> {};

// Zoomed, the board is the sprites nearest-scaled, and the selection frame what it is at one
// pixel a unit, enlarged: lines a unit wide on the same side of the cell's edges.
TEST_P(ZoomedBoard, IsTheUnzoomedBoardEnlarged) {
    const auto w = seeded_world(5, 40);
    const Org framed = w->orgs.get(0);
    const QRect board_half(0, 0, 300, 300);
    surface().board().redraw_scr(*w);
    surface().board().draw_frame(framed.x, framed.y);
    const QImage unzoomed =
        units_of(surface().read_framebuffer().copy(device_rect(board_half, scale())), scale());

    surface().set_zoom(GetParam());
    const int s = scale();
    ASSERT_EQ(s, surface().devicePixelRatioF() >= 2 ? 2 * GetParam() : GetParam());
    surface().board().redraw_scr(*w);
    expect_board_matches(surface().read_framebuffer(), *w, s);
    surface().board().draw_frame(framed.x, framed.y);
    const QImage want = nearest(unzoomed, s);
    QPoint at;
    EXPECT_TRUE(same_pixels(surface().read_framebuffer(), want, want.rect(), &at))
        << "unit " << at.x() / s << "," << at.y() / s;
    surface().board().erase_frame(framed.x, framed.y);
    expect_board_matches(surface().read_framebuffer(), *w, s);
}

INSTANTIATE_TEST_SUITE_P(Zooms, ZoomedBoard, ::testing::Values(1, 2, 3));

TEST_F(Board, RedrawRemovesAFrameReachingIntoTheMargin) {
    const auto w = seeded_world(1, 4);
    surface().board().redraw_scr(*w);
    const QImage before = surface().read_framebuffer();
    surface().board().draw_frame(0, 27);
    surface().board().redraw_scr(*w);  // as a new run does, without erasing the frame
    EXPECT_TRUE(same_pixels(surface().read_framebuffer(), before,
                            device_rect(QRect(0, 0, 300, 300), scale()), nullptr));
}

TEST_F(Board, DraggedSpriteFollowsThePointerOffTheGrid) {
    const auto w = seeded_world(1, 0);
    surface().board().redraw_scr(*w);
    surface().board().draw_sprite_at(103, 57, kDown);
    const QImage picture = surface().read_framebuffer();
    const QImage sprite = nearest(CreateBitmapImages()[kDown], scale());
    QPoint at;
    EXPECT_TRUE(same_pixels(picture.copy(device_rect(QRect(98, 52, 10, 10), scale())), sprite,
                            sprite.rect(), &at))
        << at.x() << "," << at.y();
}

}  // namespace
}  // namespace vornick::testing
