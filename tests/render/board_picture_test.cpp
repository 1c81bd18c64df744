// The board's picture made in software, as animations and the trace tool make it, is the
// window's own: over random runs with edits, drawn by the window step by step, the board area
// of the window's picture and the software picture agree pixel for pixel.
#include "picture/board_picture.h"

#include <QImage>
#include <memory>
#include <random>

#include "sim/sim.h"
#include "surface_fixture.h"

namespace vornick::testing {
namespace {

struct PictureCase {
    const char* name;
    int32_t orgs;
    uint32_t seed;
    int zoom;
};

void PrintTo(const PictureCase& c, std::ostream* os) {
    *os << c.name;
}

class SoftwarePicture : public SurfaceTest, public ::testing::WithParamInterface<PictureCase> {};

QImage image_of(const BoardPicture& p) {
    const std::vector<uint8_t> rgb = p.rgb();
    QImage image(p.width(), p.height(), QImage::Format_RGB32);
    for (int y = 0; y < p.height(); ++y) {
        for (int x = 0; x < p.width(); ++x) {
            const std::size_t at = 3 * (static_cast<std::size_t>(y) * p.width() + x);
            image.setPixel(x, y, qRgb(rgb[at], rgb[at + 1], rgb[at + 2]));
        }
    }
    return image;
}

TEST_P(SoftwarePicture, IsTheWindowsBoard) {
    const PictureCase& c = GetParam();
    surface().set_zoom(c.zoom);
    const int s = scale();
    if (s > kMaxPictureScale) GTEST_SKIP() << "the screen's scale and the zoom make " << s;
    Ports ports = Ports::none();
    ports.board = &surface().board();
    ports.panel = &surface().panel();
    auto sim = std::make_unique<Sim>(ports);
    sim->prefs.iNumOrgs = c.orgs;
    sim->prefs.maxIters = 1000000;
    sim->rng.seed = c.seed;
    sim->pace.speed = kSlowMode;
    sim->pace.delay = 2.0;
    sim->new_sim();
    std::mt19937 rnd(c.seed);
    // Drawn as an animation draws it: each picture over the one before.
    BoardPicture picture(board_art(), s, false);
    for (int round = 0; round < 12; ++round) {
        for (int i = static_cast<int>(rnd() % 40); i > 0; --i) sim->HandleDraw();
        if (sim->model.norgs > 0 && round % 3 != 2) {
            const auto i = static_cast<int32_t>(rnd() % static_cast<uint32_t>(sim->model.norgs));
            OrgMove m{};
            if (rnd() % 2 == 0) {
                sim->drop_edit(i, static_cast<int32_t>(rnd() % 28),
                               static_cast<int32_t>(rnd() % 28), m);
            } else {
                sim->arrow_edit(i, static_cast<ArrowKey>(rnd() % 4), m);
            }
            sim->full_refresh();  // as the window shows a drop
        }
        picture.draw(sim->model, sim->run.lastSeed, sim->run.iters);
        const QImage window =
            surface().read_framebuffer().copy(device_rect(QRect(10, 10, 280, 280), s));
        QPoint at;
        ASSERT_TRUE(same_pixels(window, image_of(picture), window.rect(), &at))
            << "round " << round << " step " << sim->run.iters << ": cell " << at.x() / (10 * s)
            << "," << at.y() / (10 * s) << " at scale " << s;
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, SoftwarePicture,
                         ::testing::Values(PictureCase{"FewAtOne", 4, 3, 1},
                                           PictureCase{"FewAtTwo", 4, 8, 2},
                                           PictureCase{"CrowdedAtOne", 300, 5, 1},
                                           PictureCase{"CrowdedAtTwo", 300, 6, 2},
                                           PictureCase{"FullAtOne", 784, 7, 1}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace vornick::testing
