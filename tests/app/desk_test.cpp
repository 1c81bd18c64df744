#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "app/board_frame.h"
#include "app/vornick_app.h"
#include "app/window_state.h"
#include "fresh_app.h"
#include "prefs/prefs_store.h"
#include "render/gl_surface.h"

namespace vornick {
namespace {

class DeskTest : public ::testing::Test {
  protected:
    void SetUp() override { app = testing::fresh_app(); }
    void TearDown() override { app.reset(); }

    QAction* action(int16_t menu, int16_t item) { return app->menus().action(menu, item); }
    QAction* command(AppCommand c) { return app->menus().command_action(c); }
    GlSurface& surface() { return *app->main_window().surface(); }
    std::vector<QString> status() {
        const StatusLine& s = app->status_line();
        return {s.seed()->text(), s.state()->text(), s.speed()->text(), s.organisms()->text()};
    }
    static QImage rgb32(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

    std::unique_ptr<VornickApp> app;
};

TEST_F(DeskTest, StatusBarFollowsTheRun) {
    struct Row {
        const char* what;
        std::function<void()> act;
        std::vector<QString> want;  // seed, state, speed, organisms
    };
    Sim& sim = app->sim();
    const Row rows[] = {
        {"start", [] {}, {"1", "Running", "Slow", "4 organisms"}},
        {"stop", [&] { action(kFileMenu, 2)->trigger(); }, {"1", "Halted", "Slow", "4 organisms"}},
        {"maximum",
         [&] { action(kSpeedMenu, 4)->trigger(); },
         {"1", "Halted", "Maximum", "4 organisms"}},
        {"new run",
         [&] { action(kFileMenu, 1)->trigger(); },
         {"2", "Running", "Maximum", "4 organisms"}},
        {"single step",
         [&] { action(kSpeedMenu, 5)->trigger(); },
         {"2", "Halted", "Single Step", "4 organisms"}},
        {"restart, run length 0",
         [&] {
             sim.prefs.maxIters = 0;
             action(kFileMenu, 4)->trigger();
         },
         {"2", "Ended", "Single Step", "4 organisms"}},
        {"typed seed, one organism",
         [&] {
             sim.prefs.maxIters = 1000;
             sim.prefs.iNumOrgs = 1;
             sim.new_sim_from_seed(4294967295u);
         },
         {"4294967295", "Halted", "Single Step", "1 organism"}},
        {"variable",
         [&] { action(kSpeedMenu, 6)->trigger(); },
         {"4294967295", "Halted", "Variable", "1 organism"}},
    };
    for (const Row& r : rows) {
        r.act();
        EXPECT_EQ(status(), r.want) << r.what;
    }
}

// Ctrl+C copies the seed while it is selected in the status bar, and the picture once the
// board has been clicked.
TEST_F(DeskTest, TheSeedCopiesAsTextAndThePictureAsAnImage) {
    action(kFileMenu, 2)->trigger();
    app->main_window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&app->main_window()));
    SeedLabel* seed = app->status_line().seed();
    QGuiApplication::clipboard()->clear();
    seed->setFocus();
    seed->setSelection(0, static_cast<int>(seed->text().size()));
    QTest::keyClick(seed, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1");
    EXPECT_TRUE(QGuiApplication::clipboard()->image().isNull());
    // The arrow keys still move the selected organism.
    const Org org = app->sim().model.orgs.get(0);
    app->sim().sel = {0, 1, org.x, org.y};
    const int32_t x = org.x;
    QTest::keyClick(seed, Qt::Key_Right);
    EXPECT_EQ(app->sim().model.orgs.get(0).x, (x + 1) % 28);

    QTest::mouseClick(&surface(), Qt::LeftButton, {}, QPoint(380, 200));  // the panel
    EXPECT_TRUE(surface().hasFocus());
    QTest::keyClick(&surface(), Qt::Key_C, Qt::ControlModifier);
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_FALSE(copied.isNull());
    EXPECT_EQ(rgb32(copied), rgb32(surface().read_framebuffer()));
}

TEST_F(DeskTest, NewRunFromSeedTakesOnlyASeed) {
    action(kFileMenu, 2)->trigger();
    Sim& sim = app->sim();
    for (int i = 0; i < 3; ++i) sim.HandleDraw();
    command(AppCommand::kNewRunFromSeed)->trigger();
    SeedDialog* dialog = app->seed_dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->field()->text(), "1");

    for (const char* bad : {"-1", "4294967296", "12abc", "", "<b>0x</b>"}) {
        dialog->field()->setText(QString::fromUtf8(bad));
        QTest::keyClick(dialog->field(), Qt::Key_Return);
        EXPECT_TRUE(dialog->isVisible()) << bad;
        EXPECT_FALSE(dialog->message()->isHidden()) << bad;
        EXPECT_FALSE(dialog->message()->text().isEmpty()) << bad;
        EXPECT_EQ((std::vector{sim.run.lastSeed, uint32_t(sim.run.iters)}), (std::vector{1u, 3u}))
            << bad;
    }
    EXPECT_EQ(dialog->message()->textFormat(), Qt::PlainText);

    dialog->field()->setText(" 0x10 ");
    QTest::keyClick(dialog->field(), Qt::Key_Return);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ((std::vector{sim.run.lastSeed, uint32_t(sim.run.iters)}), (std::vector{16u, 0u}));
    EXPECT_EQ(status()[0], "16");

    command(AppCommand::kNewRunFromSeed)->trigger();
    EXPECT_TRUE(dialog->message()->isHidden()) << "the last refusal is gone";
    dialog->field()->setText("4294967295");
    dialog->accept();
    EXPECT_EQ(sim.run.lastSeed, 4294967295u);
}

// The export is the picture at the scale it is drawn, named after the run and its step.
TEST_F(DeskTest, ExportWritesThePictureAsPng) {
    action(kFileMenu, 2)->trigger();
    for (int i = 0; i < 5; ++i) app->sim().HandleDraw();
    QTemporaryDir dir;
    QString suggested;
    QString answer;
    app->choose_export_path = [&](const QString& s) {
        suggested = s;
        return answer;
    };
    for (const int zoom : {1, 2}) {
        if (zoom == 2) command(AppCommand::kZoomIn)->trigger();
        answer = dir.filePath(QStringLiteral("zoom%1.png").arg(zoom));
        command(AppCommand::kExportImage)->trigger();
        EXPECT_TRUE(suggested.endsWith("/vornick-seed-1-step-5.png")) << suggested.toStdString();
        EXPECT_EQ(QImageReader(answer).format(), "png");
        const QImage written(answer);
        const int s = surface().device_scale();
        EXPECT_EQ(written.size(), QSize(440 * s, 300 * s));
        EXPECT_EQ(rgb32(written), rgb32(surface().read_framebuffer())) << "zoom " << zoom;
    }
    EXPECT_EQ(app->export_failure(), nullptr);

    answer = dir.filePath("missing/folder/picture.png");
    command(AppCommand::kExportImage)->trigger();
    ASSERT_NE(app->export_failure(), nullptr);
    EXPECT_TRUE(app->export_failure()->isVisible());
    EXPECT_FALSE(QFile::exists(answer));
    action(kFileMenu, 3)->trigger();  // the program goes on
    EXPECT_EQ(app->sim().run.stop, 0);
    app->export_failure()->close();
}

TEST_F(DeskTest, ZoomResizesTheWindowWithinOneToFour) {
    struct Row {
        AppCommand c;
        int zoom;
        bool in, out;  // Zoom In and Zoom Out available after it
    };
    const Row rows[] = {
        {AppCommand::kZoomIn, 2, true, true},      {AppCommand::kZoomIn, 3, true, true},
        {AppCommand::kZoomIn, 4, false, true},     {AppCommand::kZoomIn, 4, false, true},
        {AppCommand::kActualSize, 1, true, false}, {AppCommand::kZoomOut, 1, true, false},
    };
    EXPECT_FALSE(command(AppCommand::kZoomOut)->isEnabled());
    for (const Row& r : rows) {
        command(r.c)->trigger();
        // The board's focus ring stands in a margin of its own around the picture. The window
        // takes its new size from the layouts, one posted event for each.
        const int width = 440 * r.zoom + 2 * BoardFrame::kMargin;
        EXPECT_TRUE(QTest::qWaitFor([&] { return app->main_window().width() == width; }))
            << app->main_window().width() << " at zoom " << r.zoom;
        EXPECT_EQ(surface().zoom(), r.zoom);
        EXPECT_EQ(surface().size(), QSize(440 * r.zoom, 300 * r.zoom));
        EXPECT_EQ(command(AppCommand::kZoomIn)->isEnabled(), r.in) << r.zoom;
        EXPECT_EQ(command(AppCommand::kZoomOut)->isEnabled(), r.out) << r.zoom;
    }
}

// The window comes back as it was left, from a file of its own: the preferences keep their
// thirteen keys and nothing else.
TEST_F(DeskTest, WindowStateIsKeptBesideThePreferences) {
    app.reset();
    {
        QSettings state(window_state_path(), QSettings::IniFormat);
        state.setValue("zoom", "3");
        state.setValue("statusBar", "no");
        state.setValue("left", "40");
        state.setValue("top", "30");
    }
    app = std::make_unique<VornickApp>();
    app->start();
    EXPECT_EQ(surface().zoom(), 3);
    EXPECT_TRUE(app->main_window().statusBar()->isHidden());
    EXPECT_FALSE(command(AppCommand::kStatusBar)->isChecked());
    EXPECT_EQ(app->main_window().pos(), QPoint(40, 30));

    command(AppCommand::kStatusBar)->trigger();
    EXPECT_FALSE(app->main_window().statusBar()->isHidden());
    command(AppCommand::kZoomOut)->trigger();
    app->quit_handler();
    const WindowState kept = load_window_state();
    EXPECT_EQ(kept.zoom, 2);
    EXPECT_TRUE(kept.status_bar);
    EXPECT_EQ(QSettings(prefs_file_path(), QSettings::IniFormat).allKeys().size(), 13);
}

TEST(WindowState, HandEditedValuesGiveSoundOnes) {
    struct Row {
        const char* file;
        int zoom;
        bool status_bar;
        std::optional<QPoint> position;
    };
    const Row rows[] = {
        {"zoom=2\nstatusBar=no\nleft=5\ntop=-6\n", 2, false, QPoint(5, -6)},
        {"zoom=9\nstatusBar=NO\n", 4, false, std::nullopt},
        {"zoom=-1\nstatusBar=maybe\nleft=5\n", 1, true, std::nullopt},
        {"zoom=2, 3\nleft=1000000000\ntop=5\n", 1, true, std::nullopt},
        {"[General\nzoom", 1, true, std::nullopt},
    };
    for (const Row& r : rows) {
        QFile file(window_state_path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray("[General]\n") + r.file);
        file.close();
        const WindowState got = load_window_state();
        EXPECT_EQ(got.zoom, r.zoom) << r.file;
        EXPECT_EQ(got.status_bar, r.status_bar) << r.file;
        EXPECT_EQ(got.position, r.position) << r.file;
    }
    QFile::remove(window_state_path());
}

// Saved as the preferences are: the empty lock and the copy that killed saves left are cleared.
TEST(WindowState, SaveClearsWhatAKilledSaveLeft) {
    const QString path = window_state_path();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    for (const char* left : {".lock", ".Ab12Cd"}) {
        QFile file(path + left);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    save_window_state(WindowState{3, false, QPoint(7, 8)});
    const WindowState got = load_window_state();
    EXPECT_EQ(got.zoom, 3);
    EXPECT_EQ(got.position, QPoint(7, 8));
    const QStringList files =
        QDir(QFileInfo(path).path()).entryList({"Vornick.conf*"}, QDir::Files);
    EXPECT_EQ(files, QStringList{"Vornick.conf"});
    QFile::remove(path);
}

}  // namespace
}  // namespace vornick
