#include "prefs/prefs_dialog.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <set>
#include <vector>

#include "app/vornick_app.h"
#include "fresh_app.h"
#include "prefs/prefs_store.h"

namespace vornick {
namespace {

// The real dialog in the running program, driven by its keyboard as a user would.
class PrefsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override { app = testing::fresh_app(); }
    void TearDown() override { app.reset(); }

    QAction* command() { return app->menus().command_action(AppCommand::kPreferences); }

    PrefsDialog* open() {
        command()->trigger();
        PrefsDialog* d = app->prefs_dialog();
        d->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(d));
        return d;
    }
    QLineEdit* field(PrefsControl n) {
        return qobject_cast<QLineEdit*>(app->prefs_dialog()->control(n));
    }
    // Keys go where a user's keys would: to the widget with the focus.
    static void press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), mods);
    }
    static Settings stored() {
        Settings s;
        double delay = 0;
        getPrefs(s, delay);
        return s;
    }

    std::unique_ptr<VornickApp> app;
};

TEST_F(PrefsDialogTest, FirstOpeningSelectsTheRunLengthAndDisablesTheCommand) {
    PrefsDialog* d = open();
    EXPECT_EQ(d->windowTitle(), "Vornick Preferences");
    EXPECT_FALSE(d->isModal());
    EXPECT_EQ(QApplication::focusWidget(), field(kMaxItersField));
    EXPECT_EQ(field(kMaxItersField)->selectedText(), "10000000");
    EXPECT_FALSE(command()->isEnabled());
    EXPECT_FALSE(d->control(kStopPtArea)->isEnabled());
    EXPECT_TRUE(d->control(kStopPtArea)->isAncestorOf(field(kStopItersField)));

    QTest::keyClick(d->control(kStopPtBox), Qt::Key_Space);
    EXPECT_TRUE(d->control(kStopPtArea)->isEnabled());
}

TEST_F(PrefsDialogTest, TabFollowsTheFillOrderThenTheButtons) {
    PrefsDialog* d = open();
    QTest::keyClick(d->control(kStopPtBox), Qt::Key_Space);  // lets Tab reach the stop point
    d->control(kMaxItersField)->setFocus();
    const std::vector<PrefsControl> expected = {
        kStopPtBox,      kStopItersField, kSlowField,     kFastField,    kTurboField,
        kNumOrgsField,   kRandNumOrgsBox, kRerunSavedBox, kRandomizeBox, kHelpButton,
        kDefaultsButton, kRevertButton,   kApplyButton,   kOkButton,     kMaxItersField};
    std::vector<PrefsControl> visited;
    for (size_t i = 0; i < expected.size(); ++i) {
        press(Qt::Key_Tab);
        for (const PrefsControl n : expected) {
            if (d->control(n) == QApplication::focusWidget()) visited.push_back(n);
        }
    }
    EXPECT_EQ(visited, expected);
}

TEST_F(PrefsDialogTest, EscapeAndTheCloseBoxCloseWithoutApplying) {
    app->sim().prefs.Fast = 0.125;
    for (const bool by_escape : {true, false}) {
        SCOPED_TRACE(by_escape ? "Escape" : "close box");
        open();
        EXPECT_EQ(field(kFastField)->text(), "0.125");  // each opening shows what is in force
        press(Qt::Key_D, Qt::AltModifier);
        press(Qt::Key_5);
        by_escape ? press(Qt::Key_Escape) : void(app->prefs_dialog()->close());
        EXPECT_FALSE(app->prefs_dialog()->isVisible());
        EXPECT_TRUE(command()->isEnabled());
    }
    EXPECT_EQ(app->sim().prefs.Fast, 0.125);
    EXPECT_EQ(app->sim().prefs.maxIters, Settings{}.maxIters);
    EXPECT_FALSE(QFile::exists(prefs_file_path()));
}

TEST_F(PrefsDialogTest, ReturnAppliesStoresAndCloses) {
    app->sim().prefs.Variable = 0.25;
    open();
    press(Qt::Key_4);  // replaces the selected run length
    press(Qt::Key_2);
    press(Qt::Key_Return);
    EXPECT_FALSE(app->prefs_dialog()->isVisible());
    EXPECT_TRUE(command()->isEnabled());
    EXPECT_EQ(app->sim().prefs.maxIters, 42);
    const Settings s = stored();
    EXPECT_EQ(s.maxIters, 42);
    EXPECT_EQ(s.Variable, 0.25);
}

TEST_F(PrefsDialogTest, MnemonicsPressTheirButtonsAndKeepTheCaretInTheField) {
    app->sim().prefs.Slow = 0.5;
    open();
    QLineEdit* slow = field(kSlowField);
    slow->setFocus();
    slow->setText("100");  // caret at the end

    press(Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(slow->text(), "2");
    EXPECT_EQ(slow->cursorPosition(), 1);
    EXPECT_EQ(QApplication::focusWidget(), slow);
    EXPECT_EQ(app->sim().prefs.Slow, 0.5);

    press(Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(slow->text(), "0.5");

    slow->setText("3");
    press(Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(app->sim().prefs.Slow, 3.0);
    EXPECT_EQ(stored().Slow, 3.0);
    EXPECT_TRUE(app->prefs_dialog()->isVisible());

    press(Qt::Key_H, Qt::AltModifier);
    ASSERT_NE(app->help().window(), nullptr);
    EXPECT_TRUE(app->help().window()->isVisible());
}

TEST_F(PrefsDialogTest, OnlyTheButtonsTakeTheLettersHDRA) {
    PrefsDialog* d = open();
    std::multiset<QString> mnemonics;
    for (QWidget* w : d->findChildren<QWidget*>()) {
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
        if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) text = g->title();
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (!key.isEmpty()) mnemonics.insert(key.toString());
    }
    EXPECT_EQ(mnemonics, (std::multiset<QString>{"Alt+A", "Alt+D", "Alt+H", "Alt+R"}));
    EXPECT_TRUE(qobject_cast<QPushButton*>(d->control(kOkButton))->isDefault());
}

TEST_F(PrefsDialogTest, MenuShortcutsWorkWithTheDialogInFront) {
    open();
    press(Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(app->sim().pace.speed, kFastMode);
    EXPECT_EQ(field(kMaxItersField)->text(), "10000000");
    press(Qt::Key_X);
    EXPECT_EQ(field(kMaxItersField)->text(), "x");
}

TEST_F(PrefsDialogTest, HelpWindowIsMadeOnceAndHidesOnEscape) {
    QAction* item = app->menus().command_action(AppCommand::kHelp);
    EXPECT_EQ(item->shortcut(), QKeySequence("F1"));
    EXPECT_EQ(app->main_window().menuBar()->actions().back()->menu()->actions(),
              (QList<QAction*>{item, app->menus().action(kAppleMenu, 1)}));
    item->trigger();
    AuxWindow* help = app->help().window();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->windowTitle(), "Vornick Help");
    const QString text = app->help().view()->toPlainText();
    EXPECT_TRUE(text.contains("Preferences"));
    QTest::keyClick(app->help().view(), Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible());

    open();
    press(Qt::Key_H, Qt::AltModifier);
    EXPECT_EQ(app->help().window(), help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(app->help().view()->toPlainText(), text);
}

TEST(HelpWindow, AMissingDocumentGivesAnEmptyWindow) {
    QtHelpWindow help({}, ":/help/absent.html");
    help.HandleHelpPrefs();
    EXPECT_TRUE(help.window()->isVisible());
    EXPECT_TRUE(help.view()->toPlainText().isEmpty());
}

}  // namespace
}  // namespace vornick
