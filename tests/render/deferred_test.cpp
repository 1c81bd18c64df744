#include <QCoreApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "edit/arrow_keys.h"
#include "sim/sim.h"
#include "surface_fixture.h"

namespace vornick::testing {
namespace {

// Each reading moves time on by a quarter of the cap's interval, so the capped regime draws at
// every fourth step or so.
struct SteppingClock : Clock {
    uint64_t ns = 1'000'000'000;
    uint64_t now_ns() override { return ns += 4'200'000; }
};

// Sprites whose every texel differs, so that a fill shows which texture and coordinate it
// took and a frame leaves traces where the bundled sprites would hide them.
class MarkedSprites {
  public:
    MarkedSprites() {
        for (int i = 0; i < kSpriteCount; ++i) {
            QImage image(kSpriteSize, kSpriteSize, QImage::Format_RGB32);
            for (int y = 0; y < kSpriteSize; ++y) {
                for (int x = 0; x < kSpriteSize; ++x)
                    image.setPixel(x, y, qRgb(19 * i, 25 * x, 25 * y));
            }
            image.save(dir_.filePath(QString::number(128 + i) + ".png"));
        }
    }
    QString path() const { return dir_.path(); }

  private:
    QTemporaryDir dir_;
};

// One run drawn on a surface of its own, with the board recording or drawing at once.
struct Twin {
    Twin(bool record, const QString& sprites) {
        // Keys another test sends to its own window must not land here.
        surface.setAttribute(Qt::WA_ShowWithoutActivating);
        // Side by side, so that what the display shows of one is not the other.
        surface.move(record ? 0 : 480, 0);
        surface.show();
        surface.setup(sprites);
        surface.board().draw_at_once(!record);
        Ports ports = Ports::none();
        ports.board = &surface.board();
        ports.panel = &surface.panel();
        ports.clock = &clock;
        sim = std::make_unique<Sim>(ports);
    }
    GlSurface surface;
    SteppingClock clock;
    std::unique_ptr<Sim> sim;
};

struct Action {
    enum Kind { kSteps, kSelect, kCap, kStopIn, kContinue, kDrag, kArrows, kLook, kShow };
    Kind kind;
    int value = 0;
};

void act(Twin& t, const Action& a) {
    Sim& sim = *t.sim;
    switch (a.kind) {
        case Action::kSteps:
            for (int i = 0; i < a.value && sim.run.stop == 0; ++i) sim.HandleDraw();
            break;
        case Action::kSelect: {
            const Org o = sim.model.orgs.get(a.value);
            if (sim.sel.prinfo == 1) t.surface.board().erase_frame(sim.sel.selcx, sim.sel.selcy);
            sim.sel = {a.value, 1, o.x, o.y};
            t.surface.panel().outext2(o.x, o.y);
            t.surface.board().draw_frame(o.x, o.y);
            break;
        }
        case Action::kCap:
            sim.pace.limit_to_60FPS = a.value;
            break;
        case Action::kStopIn:
            sim.prefs.setStopPt = true;
            sim.prefs.stopIters = sim.run.iters + a.value;
            break;
        case Action::kContinue:
            sim.continue_command();
            break;
        case Action::kDrag: {  // as a dragged organism is drawn at a pointer move
            sim.full_refresh();
            const Org o = sim.model.orgs.get(0);
            t.surface.board().draw_sprite_at(17 + 10 * o.x, 13 + 10 * o.y, o.dir);
            t.surface.panel().outext3(o.x, o.y, 2);
            break;
        }
        case Action::kArrows:  // a held key, turning now and then, each move a full redraw
            for (int i = 0; i < a.value; ++i) {
                MoveOrgByArrowKeys(sim, kLeftArrowCharCode + (i / 7) % 4);
            }
            break;
        case Action::kLook:
        case Action::kShow:
            break;
    }
}

struct Script {
    const char* name;
    int32_t norgs;
    bool marked;  // sprites of marked texels instead of the bundled ones
    std::vector<Action> actions;
};

class RecordedDrawing : public SurfaceTest, public ::testing::WithParamInterface<Script> {};

// Whenever the picture is read or shown it must be what drawing every step at once leaves.
TEST_P(RecordedDrawing, ShowsWhatDrawingAtOnceShows) {
    static const MarkedSprites marked;
    const QString sprites = GetParam().marked ? marked.path() : QStringLiteral(":/sprites");
    Twin recorded(true, sprites), direct(false, sprites);
    ASSERT_TRUE(recorded.surface.is_ready() && direct.surface.is_ready());
    ASSERT_TRUE(recorded.surface.board().records_steps());
    for (Twin* t : {&recorded, &direct}) {
        t->sim->prefs.iNumOrgs = GetParam().norgs;
        t->sim->prefs.maxIters = 1000000;
        t->sim->rng.seed = 1;
        t->sim->new_sim();
        t->sim->pace.speed = kTurboMode;
        t->sim->pace.delay = 0.000001;
    }
    int look = 0;
    for (const Action& a : GetParam().actions) {
        act(recorded, a);
        act(direct, a);
        if (a.kind != Action::kLook && a.kind != Action::kShow) continue;
        ++look;
        const QImage want = direct.surface.read_framebuffer();
        QImage got;
        if (a.kind == Action::kShow) {
            // A repaint asked for by the steps: what it puts on the screen.
            QSignalSpy shown(&recorded.surface, &GlSurface::frame_shown);
            recorded.surface.present();
            for (int i = 0; i < 100 && shown.count() == 0; ++i) QTest::qWait(5);
            ASSERT_GT(shown.count(), 0);
            if (recorded.surface.devicePixelRatioF() != 1.0) continue;
            QTest::qWait(20);  // the window system has the repainted picture
            // What the display shows, not a fresh paint: a repaint of part of the window
            // must not leave the rest of it behind.
            got = recorded.surface.screen()->grabWindow(recorded.surface.winId()).toImage();
        } else {
            got = recorded.surface.read_framebuffer();
        }
        QPoint at;
        ASSERT_TRUE(same_pixels(got, want, want.rect(), &at))
            << "look " << look << " differs at " << at.x() << "," << at.y();
    }
}

using A = Action;
const std::vector<Action> kEverything = {
    {A::kSelect, 0},  {A::kArrows, 30}, {A::kShow},      {A::kArrows, 1},   {A::kLook},
    {A::kSteps, 150}, {A::kLook},       {A::kSteps, 33}, {A::kShow},        {A::kCap, 1},
    {A::kSteps, 40},  {A::kLook},       {A::kCap, 0},    {A::kSteps, 1},    {A::kLook},
    {A::kSelect, 2},  {A::kSteps, 77},  {A::kStopIn, 5}, {A::kSteps, 10},   {A::kLook},
    {A::kContinue},   {A::kSelect, 3},  {A::kDrag},      {A::kSteps, 64},   {A::kShow},
    {A::kCap, 1},     {A::kSteps, 3},   {A::kCap, 0},    {A::kSelect, 1},   {A::kSteps, 500},
    {A::kShow},       {A::kSteps, 2},   {A::kLook},      {A::kArrows, 300}, {A::kSteps, 3},
    {A::kArrows, 2},  {A::kShow},       {A::kSteps, 1},  {A::kLook},
};

// Enough for a table in which the frames' neighbours and the margins are always in play.
const std::vector<Action> kShort = {
    {A::kSelect, 0}, {A::kSteps, 40},   {A::kLook}, {A::kCap, 1},      {A::kSteps, 9},
    {A::kCap, 0},    {A::kSteps, 1},    {A::kLook}, {A::kStopIn, 3},   {A::kSteps, 9},
    {A::kShow},      {A::kContinue},    {A::kDrag}, {A::kSelect, 700}, {A::kSteps, 25},
    {A::kLook},      {A::kArrows, 300}, {A::kShow}, {A::kSteps, 2},    {A::kArrows, 5},
    {A::kLook},
};

INSTANTIATE_TEST_SUITE_P(Runs, RecordedDrawing,
                         ::testing::Values(Script{"FourOrgs", 4, false, kEverything},
                                           Script{"Crowded", 120, false, kEverything},
                                           Script{"EveryCell", 784, false, kShort},
                                           Script{"MarkedSprites", 60, true, kEverything}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace vornick::testing
