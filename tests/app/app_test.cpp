#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <climits>

#include "app/vornick_app.h"
#include "fresh_app.h"
#include "prefs/prefs_store.h"
#include "render/gl_surface.h"

namespace vornick {
namespace {

class AppTest : public ::testing::Test {
  protected:
    void SetUp() override { app = testing::fresh_app(); }
    void TearDown() override { app.reset(); }

    QAction* action(int16_t menu, int16_t item) { return app->menus().action(menu, item); }
    bool checked(int16_t menu, int16_t item) { return action(menu, item)->isChecked(); }
    // What a next launch would read.
    static Settings stored() {
        Settings s;
        double delay = 0;
        getPrefs(s, delay);
        return s;
    }

    std::unique_ptr<VornickApp> app;
};

TEST_F(AppTest, EveryCommandHasItsKey) {
    struct Row {
        int16_t menu, item;
        const char* keys;
    };
    const Row rows[] = {
        {kFileMenu, 1, "Ctrl+N"},       {kFileMenu, 2, "Ctrl+."},  {kFileMenu, 3, "Ctrl+R"},
        {kFileMenu, 4, "Ctrl+Shift+R"}, {kFileMenu, 5, "Ctrl+S"},  {kFileMenu, 6, "Ctrl+L"},
        {kSpeedMenu, 1, "Ctrl+1"},      {kSpeedMenu, 2, "Ctrl+2"}, {kSpeedMenu, 3, "Ctrl+3"},
        {kSpeedMenu, 4, "Ctrl+4"},      {kSpeedMenu, 5, "Ctrl+5"}, {kSpeedMenu, 6, "Ctrl+6"},
        {kSpeedMenu, 7, "Ctrl+7"},      {kSpeedMenu, 9, "Ctrl+9"}, {kOutputMenu, 1, "Ctrl+F"},
    };
    for (const Row& r : rows) {
        QAction* a = action(r.menu, r.item);
        ASSERT_NE(a, nullptr) << r.menu << "/" << r.item;
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(r.keys))) << r.keys;
    }
    EXPECT_EQ(app->menus().command_action(AppCommand::kQuit)->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_EQ(app->menus().command_action(AppCommand::kPreferences)->shortcut(),
              QKeySequence("Ctrl+,"));
    EXPECT_EQ(app->menus().command_action(AppCommand::kZoomIn)->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Plus),
                                   QKeySequence(Qt::CTRL | Qt::Key_Equal)}));
    // As Qt reads them, no two keys of the bar are one.
    QList<QKeySequence> seen;
    for (QAction* menu : app->main_window().menuBar()->actions()) {
        for (QAction* a : menu->menu()->actions()) {
            for (const QKeySequence& k : a->shortcuts()) {
                EXPECT_FALSE(seen.contains(k)) << k.toString().toStdString();
                seen.append(k);
            }
        }
    }
    EXPECT_EQ(action(kSpeedMenu, 8), nullptr);  // the separator
    EXPECT_EQ(app->main_window().windowTitle(), "Vornick");
}

TEST_F(AppTest, CheckMarksAndEnabledStatesFollowTheCore) {
    EXPECT_TRUE(checked(kSpeedMenu, 1));
    EXPECT_TRUE(action(kFileMenu, 2)->isEnabled());
    EXPECT_FALSE(action(kFileMenu, 3)->isEnabled());

    action(kSpeedMenu, 1)->trigger();  // the current mode again keeps its mark
    EXPECT_TRUE(checked(kSpeedMenu, 1));
    action(kSpeedMenu, 2)->trigger();
    EXPECT_TRUE(checked(kSpeedMenu, 2));
    EXPECT_FALSE(checked(kSpeedMenu, 1));
    action(kSpeedMenu, 9)->trigger();
    EXPECT_TRUE(checked(kSpeedMenu, 9));
    EXPECT_TRUE(checked(kSpeedMenu, 2));

    action(kOutputMenu, 1)->trigger();
    action(kOutputMenu, 1)->trigger();
    EXPECT_FALSE(checked(kOutputMenu, 1));
    EXPECT_FALSE(app->sim().pace.prnFPS);

    action(kFileMenu, 2)->trigger();
    EXPECT_FALSE(action(kFileMenu, 2)->isEnabled());
    EXPECT_TRUE(action(kFileMenu, 3)->isEnabled());
    EXPECT_EQ(app->sim().run.stop, 1);
}

TEST_F(AppTest, AboutWindowHidesOnEscapeAndIsReused) {
    action(kAppleMenu, 1)->trigger();
    AuxWindow* about = app->about().window();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(action(kAppleMenu, 1)->isEnabled());

    QTest::keyClick(about, Qt::Key_A);  // declined: stays open
    EXPECT_TRUE(about->isVisible());
    QTest::keyClick(about, Qt::Key_Escape);
    EXPECT_FALSE(about->isVisible());
    EXPECT_TRUE(action(kAppleMenu, 1)->isEnabled());

    action(kAppleMenu, 1)->trigger();
    EXPECT_EQ(app->about().window(), about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(about->findChild<QLabel*>("icon")->pixmap().isNull());
    about->close();
    EXPECT_FALSE(about->isVisible());
    EXPECT_TRUE(action(kAppleMenu, 1)->isEnabled());
}

TEST_F(AppTest, SliderWindowDrivesTheVariableMode) {
    action(kSpeedMenu, 7)->trigger();
    QtSliderWindow& s = app->slider();
    ASSERT_NE(s.window(), nullptr);
    auto* slider = s.window()->findChild<QSlider*>("slider");
    auto* text = s.window()->findChild<QLabel*>("intervalText");
    ASSERT_TRUE(slider && text);
    EXPECT_TRUE(s.window()->isVisible());
    EXPECT_EQ(slider->value(), 180);
    EXPECT_EQ(text->text(), "1");
    EXPECT_EQ(app->sim().pace.speed, kVariableMode);
    EXPECT_TRUE(checked(kSpeedMenu, 6));

    slider->setValue(1200);
    EXPECT_EQ(app->sim().prefs.sliderVal, 1200);
    EXPECT_EQ(text->text(), "0.0005");

    s.window()->close();
    EXPECT_FALSE(s.window()->isVisible());
    EXPECT_TRUE(action(kSpeedMenu, 7)->isEnabled());
    action(kSpeedMenu, 7)->trigger();
    EXPECT_EQ(slider->value(), 1200);  // where it was left
}

TEST_F(AppTest, MaximumSpeedKeepsTheEventLoopAliveAndAPressStopsIt) {
    // Few organisms step billions of times a second on a few cores and would reach even the
    // longest end within the wait; many step a hundred times slower.
    app->sim().prefs.maxIters = INT32_MAX;
    app->sim().prefs.iNumOrgs = 784;
    action(kFileMenu, 4)->trigger();  // a new run of the same seed, with them
    action(kSpeedMenu, 4)->trigger();
    bool ticked = false;
    QTimer::singleShot(50, [&] { ticked = true; });
    QTest::qWait(300);
    EXPECT_TRUE(ticked);  // other events ran while the steps went back to back
    EXPECT_GT(app->sim().run.iters, 1000);
    EXPECT_EQ(app->sim().run.stop, 0);

    GlSurface* surface = app->main_window().surface();
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(app->sim().run.stop, 1);
    const int32_t at_stop = app->sim().run.iters;
    QTest::qWait(250);
    EXPECT_EQ(app->sim().run.iters, at_stop);
}

TEST_F(AppTest, QuitSavesThePreferences) {
    app->sim().prefs.iNumOrgs = 9;
    app->quit_handler();
    EXPECT_EQ(app->sim().pace.gDone, 1);
    const Settings loaded = stored();
    EXPECT_EQ(loaded.iNumOrgs, 9);
}

TEST_F(AppTest, ClosingTheMainWindowQuits) {
    app->sim().prefs.stopIters = 321;
    app->main_window().close();
    EXPECT_EQ(app->sim().pace.gDone, 1);
    const Settings loaded = stored();
    EXPECT_EQ(loaded.stopIters, 321);
}

TEST_F(AppTest, SaveSeedWritesTheRunsSeed) {
    action(kFileMenu, 1)->trigger();  // the run of seed 2 after the first run of seed 1
    action(kFileMenu, 5)->trigger();
    const Settings loaded = stored();
    EXPECT_EQ(loaded.savedSeed, 2u);
}

}  // namespace
}  // namespace vornick
