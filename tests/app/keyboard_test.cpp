// Playing with the keyboard alone: the board has it from the start, Tab, Shift+Tab and Escape
// select as a click does, the seed and every menu command stay within reach.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <map>

#include "app/board_frame.h"
#include "app/menu_table.h"
#include "app/vornick_app.h"
#include "fresh_app.h"
#include "render/gl_surface.h"

namespace vornick {
namespace {

// The first run of seed 1, halted: organism 0 at (10, 18) heading left, 1 at (15, 27),
// 2 at (22, 27), 3 at (26, 5). The window is in front with the board's focus.
class KeyboardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app = testing::fresh_app();
        app->menus().action(kFileMenu, kStopItem)->trigger();
        surface = app->main_window().surface();
        app->main_window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&app->main_window()));
    }
    void TearDown() override { app.reset(); }

    void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), k, m);
    }
    QPoint cell(int x, int y) const {
        const double per = surface->units_per_pixel();
        return QPoint(qRound((15 + 10 * x) / per), qRound((15 + 10 * y) / per));
    }
    int32_t selected() const { return app->sim().sel.selectOrgIndex; }
    QImage picture() const { return surface->read_framebuffer(); }
    // The margin around the picture, where the focus ring is drawn.
    QRgb margin_pixel() const {
        auto* frame = static_cast<QWidget*>(surface->parent());
        return frame->grab().toImage().pixel(1, 1);
    }

    std::unique_ptr<VornickApp> app;
    GlSurface* surface = nullptr;
};

TEST_F(KeyboardTest, TabShiftTabAndEscapeSelectAsAClickDoes) {
    EXPECT_TRUE(surface->hasFocus()) << "the board takes the keyboard with the window";
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int32_t selected;
    };
    const Step steps[] = {
        {Qt::Key_Backtab, Qt::ShiftModifier, 3},  // none selected: the last
        {Qt::Key_Tab, Qt::NoModifier, 0},         // wraps
        {Qt::Key_Tab, Qt::NoModifier, 1},
        {Qt::Key_Tab, Qt::ShiftModifier, 0},
        {Qt::Key_Escape, Qt::NoModifier, -1},
        {Qt::Key_Tab, Qt::NoModifier, 0},  // none selected: the first
        {Qt::Key_Tab, Qt::ControlModifier, 0},
        {Qt::Key_Escape, Qt::AltModifier, 0},
    };
    for (const Step& s : steps) {
        key(s.key, s.modifiers);
        EXPECT_EQ(selected(), s.selected) << s.key << " " << s.modifiers;
        EXPECT_TRUE(surface->hasFocus()) << s.key << " keeps the keyboard on the board";
    }
    EXPECT_EQ(app->sim().run.stop, 1) << "selecting never continues the run";

    // Organism 0 selected by Tab, then by a click: the same picture, frame and panel field.
    const QImage by_key = picture();
    key(Qt::Key_Escape);
    QTest::mouseClick(surface, Qt::LeftButton, {}, cell(10, 18));
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(picture(), by_key);
}

TEST_F(KeyboardTest, TheKeysAloneSelectAndMoveOnARunningRun) {
    app->menus().action(kFileMenu, kContinueItem)->trigger();
    key(Qt::Key_Tab);
    const Org before = app->sim().model.orgs.get(0);
    key(Qt::Key_Up);
    const Org after = app->sim().model.orgs.get(app->sim().sel.selectOrgIndex);
    EXPECT_EQ((std::vector{after.x, after.y}), (std::vector{before.x, (before.y + 27) % 28}));
    EXPECT_EQ(app->sim().run.stop, 0) << "selecting never stops the run";
}

// The focus ring stands beside the picture: the picture is the same with the focus or
// without it, and only the margin changes.
TEST_F(KeyboardTest, TheFocusShowsOutsideThePicture) {
    const QImage focused = picture();
    const QRgb ring = margin_pixel();
    app->status_line().seed()->setFocus();
    ASSERT_FALSE(surface->hasFocus());
    EXPECT_EQ(picture(), focused);
    EXPECT_NE(margin_pixel(), ring);
    EXPECT_EQ(ring, app->main_window().palette().color(QPalette::Highlight).rgb());
    key(Qt::Key_Escape);
    EXPECT_TRUE(surface->hasFocus()) << "Escape gives the board its keyboard back";
    EXPECT_EQ(margin_pixel(), ring);
}

TEST_F(KeyboardTest, TheSeedIsReachedByItsLabelsKey) {
    QGuiApplication::clipboard()->clear();
    key(Qt::Key_D, Qt::AltModifier);
    SeedLabel* seed = app->status_line().seed();
    ASSERT_TRUE(seed->hasFocus());
    EXPECT_EQ(seed->selectedText(), "1");
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1");
    key(Qt::Key_Tab);
    EXPECT_TRUE(surface->hasFocus()) << "Tab from the seed goes back to the board";
    EXPECT_EQ(selected(), -1);
}

// Every item of the table can be chosen without a mouse: by its keys, which act from any of
// the program's windows, or by opening its menu with Alt and its title's letter and typing the
// item's letter, each taken by no other title or item there.
TEST_F(KeyboardTest, EveryMenuCommandIsReachedByKeyboard) {
    QMenuBar* bar = app->main_window().menuBar();
    std::map<QString, QMenu*> menus;
    std::map<int, int> bar_letters;
    for (QAction* a : bar->actions()) {
        menus[a->text()] = a->menu();
        ++bar_letters[QKeySequence::mnemonic(a->text())[0].toCombined()];
    }
    for (const MenuRow& row : menu_table()) {
        if (!row.title) continue;
        const QString title = QObject::tr(row.title);
        QMenu* menu = menus[QObject::tr(bar_menu_title(row.menu))];
        ASSERT_NE(menu, nullptr) << row.title;
        QAction* item = nullptr;
        std::map<int, int> letters;
        for (QAction* a : menu->actions()) {
            if (a->text() == title) item = a;
            if (!a->isSeparator()) ++letters[QKeySequence::mnemonic(a->text())[0].toCombined()];
        }
        ASSERT_NE(item, nullptr) << row.title;
        const bool by_keys =
            !item->shortcut().isEmpty() && item->shortcutContext() == Qt::ApplicationShortcut;
        const QKeySequence menu_letter = QKeySequence::mnemonic(menu->title());
        const QKeySequence item_letter = QKeySequence::mnemonic(title);
        const bool by_letters = !menu_letter.isEmpty() && !item_letter.isEmpty() &&
                                bar_letters[menu_letter[0].toCombined()] == 1 &&
                                letters[item_letter[0].toCombined()] == 1;
        EXPECT_TRUE(by_keys || by_letters) << row.title;
    }

    // And the letters work: Alt+V opens View, B chooses Status Bar, which has no keys.
    QAction* status_bar = app->menus().command_action(AppCommand::kStatusBar);
    ASSERT_TRUE(status_bar->shortcut().isEmpty());
    ASSERT_TRUE(status_bar->isChecked());
    key(Qt::Key_V, Qt::AltModifier);
    QMenu* view = menus[QObject::tr(bar_menu_title(BarMenu::kView))];
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }));
    QTest::keyClick(view, Qt::Key_B);
    EXPECT_FALSE(status_bar->isChecked());
    EXPECT_FALSE(app->main_window().statusBar()->isVisible());
}

}  // namespace
}  // namespace vornick
