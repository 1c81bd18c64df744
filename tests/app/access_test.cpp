// What a screen reader finds, read through Qt's accessibility interfaces as AT-SPI reads them:
// the board's name and description, the events that tell of a change, and the names of the
// status bar's and every dialog's fields.
#include <QtGui/private/qguiapplication_p.h>
#include <QtGui/qpa/qplatformaccessibility.h>
#include <QtGui/qpa/qplatformintegration.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTextEdit>
#include <vector>

#include "app/animation_dialog.h"
#include "app/animation_export.h"
#include "app/step_dialog.h"
#include "app/vornick_app.h"
#include "fresh_app.h"
#include "render/gl_surface.h"

namespace vornick {
namespace {

std::vector<std::pair<QAccessible::Event, QObject*>> g_events;

void record(QAccessibleEvent* e) {
    g_events.emplace_back(e->type(), e->object());
}

QString name_of(QObject* o) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
    return i ? i->text(QAccessible::Name) : QString();
}

// The first run of seed 1, halted, with accessibility switched on as a screen reader switches
// it on, and every event it would be sent recorded instead.
class AccessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        if (!platform) GTEST_SKIP() << "this platform has no accessibility";
        g_events.clear();
        previous_ = QAccessible::installUpdateHandler(record);
        platform->setActive(true);
        app = testing::fresh_app();
        app->menus().action(kFileMenu, kStopItem)->trigger();
        surface = app->main_window().surface();
        app->main_window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&app->main_window()));
    }
    void TearDown() override {
        app.reset();
        if (auto* platform = QGuiApplicationPrivate::platformIntegration()->accessibility()) {
            platform->setActive(false);
        }
        QAccessible::installUpdateHandler(previous_);
    }

    QAccessibleInterface* board() const { return QAccessible::queryAccessibleInterface(surface); }
    QString description() const { return board()->text(QAccessible::Description); }
    int told() const {
        int n = 0;
        for (const auto& [type, object] : g_events) {
            n += type == QAccessible::DescriptionChanged && object == surface;
        }
        return n;
    }
    // Waits for the picture to be shown, which brings the description up to date.
    bool shown_with(const QString& text) {
        return QTest::qWaitFor([&] { return description() == text; });
    }
    bool shown_matching(const QString& pattern) {
        const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
        return QTest::qWaitFor([&] { return re.match(description()).hasMatch(); });
    }

    std::unique_ptr<VornickApp> app;
    GlSurface* surface = nullptr;
    QAccessible::UpdateHandler previous_ = nullptr;
};

TEST_F(AccessTest, TheBoardTellsTheStepTheStateAndTheSelection) {
    ASSERT_NE(board(), nullptr);
    EXPECT_EQ(board()->text(QAccessible::Name), "Board");
    EXPECT_EQ(board()->role(), QAccessible::Canvas);
    EXPECT_TRUE(board()->state().focusable);
    const QString none = QStringLiteral(" No organism selected\\.");
    EXPECT_TRUE(shown_with("Step 0, halted, 4 organisms. No organism selected."))
        << description().toStdString();

    struct Row {
        const char* what;
        std::function<void()> act;
        QString description;  // a pattern
    };
    const Row rows[] = {
        {"a step", [&] { app->sim().HandleDraw(); }, "Step 1, halted, 4 organisms\\." + none},
        {"a selection", [&] { QTest::keyClick(surface, Qt::Key_Tab); },
         "Step 1, halted, 4 organisms\\. Selected: organism 1 of 4, at x 9, y 18, heading left\\."},
        {"a move", [&] { QTest::keyClick(surface, Qt::Key_Down); },
         "Step 1, halted, 4 organisms\\. Selected: organism 1 of 4, at x 9, y 19, heading left\\."},
        {"a click on the framed cell",
         [&] {
             const double per = surface->units_per_pixel();
             QTest::mouseClick(surface, Qt::LeftButton, {},
                               QPoint(qRound(105 / per), qRound(205 / per)));
         },
         "Step 1, halted, 4 organisms\\." + none},
        {"continuing", [&] { app->menus().action(kFileMenu, kContinueItem)->trigger(); },
         "Step \\d+, running, 4 organisms\\." + none},
    };
    // A step is told within a second, the rest at once.
    for (const Row& r : rows) {
        const int before = told();
        r.act();
        EXPECT_TRUE(shown_matching(r.description)) << r.what << ": " << description().toStdString();
        EXPECT_TRUE(QTest::qWaitFor([&] { return told() > before; })) << r.what << " was not told";
    }
}

// At maximum speed thousands of steps go by between two pictures; the description follows
// the pictures, and a screen reader is told of far fewer changes still.
TEST_F(AccessTest, NeverToldOfEveryStep) {
    app->sim().prefs.maxIters = INT32_MAX;
    app->menus().action(kSpeedMenu, kMaxSpeedMode)->trigger();
    QSignalSpy frames(surface, &GlSurface::frame_shown);
    const int before = told();
    app->menus().action(kFileMenu, kContinueItem)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return frames.size() >= 3; }));
    app->menus().action(kFileMenu, kStopItem)->trigger();
    const int steps = app->sim().run.iters;
    ASSERT_TRUE(shown_with(
        QStringLiteral("Step %1, halted, 4 organisms. No organism selected.").arg(steps)));
    const int events = told() - before;
    EXPECT_LT(events, frames.size()) << "told at every picture";
    EXPECT_LT(events * 1000, steps);
}

// Each field a screen reader lands on has a name: the status bar's say what they show, and a
// dialog's text fields take theirs from the labels they are the buddies of.
TEST_F(AccessTest, EveryFieldHasAName) {
    const StatusLine& s = app->status_line();
    EXPECT_EQ((std::vector{name_of(s.seed()), name_of(s.state()), name_of(s.speed()),
                           name_of(s.organisms())}),
              (std::vector<QString>{"Seed: 1", "Run: Halted", "Speed: Slow", "Organisms: 4"}));

    app->run_command(AppCommand::kPreferences);
    app->run_command(AppCommand::kNewRunFromSeed);
    app->run_command(AppCommand::kHelp);
    app->HandleMenuChoice(menu_choice(kSpeedMenu, kSliderItem));
    app->HandleMenuChoice(menu_choice(kAppleMenu, 1));
    app->run_command(AppCommand::kGoToStep);
    app->run_command(AppCommand::kExportAnimation);
    const std::pair<const char*, QWidget*> windows[] = {
        {"status bar", app->main_window().statusBar()},
        {"preferences", app->prefs_dialog()},
        {"seed", app->seed_dialog()},
        {"step", app->travel().step_dialog()},
        {"help", app->help().window()},
        {"slider", app->slider().window()},
        {"about", app->about().window()},
        {"animation", app->animation().dialog()},
    };
    for (const auto& [what, window] : windows) {
        ASSERT_NE(window, nullptr) << what;
        int fields = 0;
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const bool field = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) ||
                               qobject_cast<QAbstractSpinBox*>(w) ||
                               qobject_cast<QAbstractSlider*>(w) || qobject_cast<QTextEdit*>(w) ||
                               qobject_cast<QProgressBar*>(w) || qobject_cast<QLabel*>(w);
            // Scroll bars and a spin box's text are Qt's own, named by their role and their box.
            if (!field || w->isHidden() || qobject_cast<QScrollBar*>(w) ||
                qobject_cast<QAbstractSpinBox*>(w->parentWidget())) {
                continue;
            }
            ++fields;
            EXPECT_FALSE(name_of(w).isEmpty()) << what << ": " << w->metaObject()->className()
                                               << " " << w->objectName().toStdString();
            if (auto* edit = qobject_cast<QLineEdit*>(w)) {
                bool labelled = false;
                for (QLabel* l : window->findChildren<QLabel*>()) labelled |= l->buddy() == edit;
                EXPECT_TRUE(labelled) << what << ": " << edit->objectName().toStdString();
            }
        }
        EXPECT_GT(fields, 0) << what;
    }
    EXPECT_EQ(name_of(app->seed_dialog()->field()), "Seed (decimal, or hexadecimal after 0x):");
}

}  // namespace
}  // namespace vornick
