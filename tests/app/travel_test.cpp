#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <climits>
#include <functional>
#include <memory>
#include <sstream>

#include "app/run_files.h"
#include "app/step_dialog.h"
#include "app/vornick_app.h"
#include "edit/arrow_keys.h"
#include "fresh_app.h"
#include "render/gl_surface.h"
#include "sim/history/run_file.h"
#include "sim/kernels/worker_pool.h"

namespace vornick {
namespace {

// Everything that makes the run what it is, and the file it would be saved as.
std::string run_text(const Sim& s) {
    std::ostringstream t;
    t << "iters " << s.run.iters << " state " << s.run.stop << s.run.cont_enabled << s.run.end_sim
      << " seed " << s.rng.seed << " table";
    for (int32_t i = 0; i < s.model.norgs; ++i) {
        const Org o = s.model.orgs.get(i);
        t << " " << o.x << "," << o.y << "," << o.dir;
    }
    return t.str() + "\n" + write_run_file(s);
}

class TravelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app = testing::fresh_app();
        dir = std::make_unique<QTemporaryDir>();
    }
    void TearDown() override {
        app.reset();
        use_worker_threads(core_count());
    }

    Sim& sim() { return app->sim(); }
    QAction* command(AppCommand c) { return app->menus().command_action(c); }
    QAction* action(int16_t menu, int16_t item) { return app->menus().action(menu, item); }
    void wait_until_idle() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !app->travel().busy(); }, 20000));
    }
    // Go to Step as a person does it: the dialog, a step typed, Return.
    void go_to(int32_t n) {
        command(AppCommand::kGoToStep)->trigger();
        StepDialog* d = app->travel().step_dialog();
        ASSERT_TRUE(d && d->isVisible());
        d->field()->setText(QString::number(n));
        QTest::keyClick(d->field(), Qt::Key_Return);
        wait_until_idle();
    }
    QString write(const char* name, const std::string& text) {
        const QString path = dir->filePath(QString::fromLatin1(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.data(), static_cast<qint64>(text.size()));
        return path;
    }
    // The window's run, begun again and taken to step `at` by one travel straight there.
    std::string straight_to(int32_t at) {
        auto straight = std::make_unique<Sim>();
        straight->prefs = sim().prefs;
        straight->rng.seed = sim().run.lastSeed;
        straight->new_sim();
        straight->stop_command();
        EXPECT_TRUE(straight->go_to_step(at));
        while (!straight->travel(int64_t{1} << 30)) {
        }
        return run_text(*straight);
    }
    // The widget position of a cell's centre.
    QPoint cell(int32_t x, int32_t y) {
        const double per = app->main_window().surface()->units_per_pixel();
        return QPoint(qRound((15 + 10 * x) / per), qRound((15 + 10 * y) / per));
    }

    std::unique_ptr<VornickApp> app;
    std::unique_ptr<QTemporaryDir> dir;
};

// The commands are there when the run and its journal allow them, through presses, keys,
// menus and travels alike; Undo and Redo name the edit they would take.
TEST_F(TravelTest, MenusFollowTheRunAndItsJournal) {
    struct Row {
        const char* what;
        std::function<void()> act;
        bool step_back, go_to;
        const char *undo, *redo;  // the texts; the item is enabled when it names an edit
    };
    GlSurface* surface = app->main_window().surface();
    const auto drag_org0 = [&] {
        const Org o = sim().model.orgs.get(0);
        const QPoint to = cell((o.x + 5) % kGridSize, o.y);
        QTest::mousePress(surface, Qt::LeftButton, {}, cell(o.x, o.y));
        QTest::mouseMove(surface, to);
        QTest::mouseRelease(surface, Qt::LeftButton, {}, to);
    };
    const Row rows[] = {
        {"running", [] {}, false, false, "&Undo", "Re&do"},
        {"stopped at step 0", [&] { action(kFileMenu, kStopItem)->trigger(); }, false, true,
         "&Undo", "Re&do"},
        {"a single step", [&] { action(kSpeedMenu, kSingleStepMode)->trigger(); }, true, true,
         "&Undo", "Re&do"},
        {"a drag", drag_org0, true, true, "&Undo Drag", "Re&do"},
        {"an arrow key", [&] { QTest::keyClick(&app->main_window(), Qt::Key_Down); }, true, true,
         "&Undo Move", "Re&do"},
        {"undo", [&] { command(AppCommand::kUndo)->trigger(); }, true, true, "&Undo Drag",
         "Re&do Move"},
        {"step back", [&] { command(AppCommand::kStepBack)->trigger(); }, false, true, "&Undo Drag",
         "Re&do Move"},
        {"continue, one step", [&] { action(kFileMenu, kContinueItem)->trigger(); }, true, true,
         "&Undo Drag", "Re&do Move"},
        {"redo", [&] { command(AppCommand::kRedo)->trigger(); }, true, true, "&Undo Move", "Re&do"},
        {"going at maximum speed",
         [&] {
             action(kSpeedMenu, kMaxSpeedMode)->trigger();
             action(kFileMenu, kContinueItem)->trigger();
         },
         false, false, "&Undo Move", "Re&do"},
        {"a new run", [&] { action(kFileMenu, kNewRunItem)->trigger(); }, false, false, "&Undo",
         "Re&do"},
    };
    for (const Row& r : rows) {
        r.act();
        wait_until_idle();
        EXPECT_EQ(command(AppCommand::kStepBack)->isEnabled(), r.step_back) << r.what;
        EXPECT_EQ(command(AppCommand::kGoToStep)->isEnabled(), r.go_to) << r.what;
        for (const auto& [c, text] :
             {std::pair{AppCommand::kUndo, r.undo}, std::pair{AppCommand::kRedo, r.redo}}) {
            EXPECT_EQ(command(c)->text().toStdString(), text) << r.what;
            EXPECT_EQ(command(c)->isEnabled(), QString(text).contains(' ')) << r.what << text;
        }
    }
}

// A run saved, then opened again after another run, is the same run at the step it was saved
// at and at every later one, its later edits made again.
TEST_F(TravelTest, ASavedRunOpensAsTheSameRun) {
    action(kFileMenu, kStopItem)->trigger();
    OrgMove m{};
    for (int32_t step = 1; step <= 60; ++step) {
        sim().HandleDraw();
        if (step % 20 == 10) {
            ASSERT_TRUE(sim().drop_edit(step % 4, step % 28, 3, m));
        }
        if (step == 30) {
            ASSERT_TRUE(sim().arrow_edit(1, ArrowKey::kLeft, m));
        }
    }
    sim().sel = {-1, 0, 0, 0};
    const std::string at_60 = run_text(sim());
    go_to(20);
    EXPECT_EQ(app->travel().work().progress(), nullptr) << "no progress for a short travel";
    const std::string at_20 = run_text(sim());

    QString suggested;
    QString answer = dir->filePath("kept");  // the suffix is added
    app->travel().choose_save_path = [&](const QString& s) {
        suggested = s;
        return answer;
    };
    command(AppCommand::kSaveRunAs)->trigger();
    EXPECT_TRUE(suggested.endsWith("/vornick-seed-1-step-20.vornick")) << suggested.toStdString();
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_TRUE(suggested.startsWith(QDir(docs).exists() ? docs : QDir::homePath()));
    QFile saved(answer + ".vornick");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll().toStdString(), write_run_file(sim()));

    action(kFileMenu, kNewRunItem)->trigger();
    app->travel().choose_open_path = [&] { return saved.fileName(); };
    command(AppCommand::kOpenRun)->trigger();
    wait_until_idle();
    EXPECT_EQ(app->travel().failure(), nullptr);
    EXPECT_EQ(run_text(sim()), at_20);
    EXPECT_EQ(sim().run.lastSeed, 1u);
    go_to(60);
    EXPECT_EQ(run_text(sim()), at_60);

    answer = dir->filePath("missing/folder/kept.vornick");
    command(AppCommand::kSaveRunAs)->trigger();
    ASSERT_NE(app->travel().failure(), nullptr);
    EXPECT_TRUE(app->travel().failure()->isVisible());
    EXPECT_FALSE(QFile::exists(answer));
    app->travel().failure()->close();
    action(kFileMenu, kContinueItem)->trigger();  // the program goes on
    EXPECT_EQ(sim().run.stop, 0);
}

// A file that cannot be opened is refused, naming the line at fault, before or during its
// replay, and the run in the window stays as it was.
TEST_F(TravelTest, AMalformedFileLeavesTheRunAndNamesItsLine) {
    action(kFileMenu, kStopItem)->trigger();
    for (int i = 0; i < 7; ++i) sim().HandleDraw();
    OrgMove m{};
    ASSERT_TRUE(sim().arrow_edit(2, ArrowKey::kUp, m));
    const std::string before = run_text(sim());
    const std::string head = "vornick-run 1\nseed 1\norgs 4\nrandom-count no\n";
    const std::string tail = "max-iters 1000\nstop-at none\nsteps 40\n";
    struct Row {
        std::string text;
        const char* shows;  // in the message
    };
    const Row rows[] = {
        {"vornick-run 2\n" + tail, "Line 1:"},
        {head + tail + "edit 9 arrow 1 up\nedit 5 arrow 1 up\n", "Line 9:"},
        {head + tail + "edit 3 arrow 4 left\n", "Line 8:"},  // 4 organisms: 0 to 3
        {head + tail + "edit 0 drag 0 10 18\n", "Line 8:"},  // where organism 0 stands
        {std::string(), "Line 1:"},
    };
    int n = 0;
    for (const Row& r : rows) {
        app->travel().open_run(
            QFile::encodeName(write(("bad" + std::to_string(n++) + ".vornick").c_str(), r.text)));
        wait_until_idle();
        QMessageBox* box = app->travel().failure();
        ASSERT_NE(box, nullptr) << r.text;
        EXPECT_TRUE(box->isVisible()) << r.text;
        EXPECT_TRUE(box->informativeText().contains(r.shows))
            << r.text << box->informativeText().toStdString();
        EXPECT_EQ(run_text(sim()), before) << r.text;
        box->close();
    }
    app->travel().open_run(QFile::encodeName(dir->filePath("no such file.vornick")));
    ASSERT_NE(app->travel().failure(), nullptr);
    EXPECT_TRUE(app->travel().failure()->text().contains("no such file.vornick"));
    EXPECT_EQ(run_text(sim()), before);
    app->travel().failure()->close();
}

// Go to Step takes only a step of the run. A long travel shows its progress; while it goes the
// board takes no edit; cancelled, it leaves the run at a step that a travel straight there
// reaches.
TEST_F(TravelTest, ACancelledTravelLeavesAConsistentRun) {
    sim().prefs.maxIters = 2000000000;
    sim().prefs.iNumOrgs = kMaxOrgs;
    action(kFileMenu, kRestartItem)->trigger();
    action(kFileMenu, kStopItem)->trigger();
    sim().sel = {0, 1, sim().model.orgs.get(0).x, sim().model.orgs.get(0).y};

    command(AppCommand::kGoToStep)->trigger();
    StepDialog* d = app->travel().step_dialog();
    for (const auto& [text, refused] :
         {std::pair{"12abc", true}, {"2000000001", true}, {"2000000000", false}}) {
        d->field()->setText(text);
        QTest::keyClick(d->field(), Qt::Key_Return);
        EXPECT_EQ(d->isVisible(), refused) << text;
        EXPECT_EQ(app->travel().busy(), !refused) << text;
    }
    ASSERT_TRUE(app->travel().busy());
    EXPECT_FALSE(command(AppCommand::kStepBack)->isEnabled());
    EXPECT_FALSE(command(AppCommand::kOpenRun)->isEnabled());
    QTest::qWait(ChunkedWork::kShowAfterMs + 300);
    ASSERT_TRUE(app->travel().busy()) << "a travel of 1.5e12 organism-steps ended early";
    ASSERT_NE(app->travel().work().progress(), nullptr);
    EXPECT_TRUE(app->travel().work().progress()->isVisible());

    app->main_window().on_arrow_key(kRightArrowCharCode);
    EXPECT_EQ(sim().journal.size(), 0) << "an edit during the travel";
    QTest::keyClick(app->travel().work().progress(), Qt::Key_Escape);
    wait_until_idle();
    EXPECT_FALSE(sim().travelling());
    EXPECT_FALSE(app->travel().work().progress()->isVisible());
    const int32_t at = sim().run.iters;
    EXPECT_GT(at, 0);
    EXPECT_LT(at, 2000000000);
    EXPECT_EQ(sim().run.stop, 1);
    EXPECT_TRUE(command(AppCommand::kStepBack)->isEnabled());

    EXPECT_EQ(run_text(sim()), straight_to(at));
}

// Shared among any number of threads, long work still stops at a cancel between its chunks: a
// travel where a travel straight there on one thread arrives, an opening with the run as it was.
TEST_F(TravelTest, ACancelStopsSharedWorkOnAnyNumberOfThreads) {
    const QString endless = write("endless.vornick",
                                  "vornick-run 1\nseed 3\norgs 784\nrandom-count no\n"
                                  "max-iters 2000000000\nstop-at none\nsteps 2000000000\n");
    struct Row {
        int32_t threads;
        bool opening;
    };
    for (const Row r : {Row{1, false}, Row{2, false}, Row{7, false}, Row{1, true}, Row{7, true}}) {
        const std::string what = std::to_string(r.threads) + (r.opening ? " opening" : " travel");
        use_worker_threads(r.threads);
        sim().prefs.maxIters = 2000000000;
        sim().prefs.iNumOrgs = kMaxOrgs;
        action(kFileMenu, kRestartItem)->trigger();
        action(kFileMenu, kStopItem)->trigger();
        const std::string before = run_text(sim());
        if (r.opening) {
            app->travel().open_run(QFile::encodeName(endless));
        } else {
            command(AppCommand::kGoToStep)->trigger();
            app->travel().step_dialog()->field()->setText("2000000000");
            QTest::keyClick(app->travel().step_dialog()->field(), Qt::Key_Return);
        }
        ASSERT_TRUE(QTest::qWaitFor(
            [this] {
                QProgressDialog* p = app->travel().work().progress();
                return p && p->isVisible();
            },
            10000))
            << what;
        QTest::keyClick(app->travel().work().progress(), Qt::Key_Escape);
        wait_until_idle();
        if (r.opening) {
            EXPECT_EQ(run_text(sim()), before) << what;
            continue;
        }
        const int32_t at = sim().run.iters;
        EXPECT_GT(at, 0) << what;
        EXPECT_LT(at, 2000000000) << what;
        use_worker_threads(1);
        EXPECT_EQ(run_text(sim()), straight_to(at)) << what;
    }
}

TEST_F(TravelTest, ARunFileOpensFromTheCommandLineOrADrop) {
    auto other = std::make_unique<Sim>();
    other->prefs.maxIters = 100;
    other->rng.seed = 77;
    other->new_sim();
    other->step_batch(30);
    other->stop_command();
    const QString path = write("given.vornick", write_run_file(*other));

    app->open_from_arguments(
        {"vornick", "--unknown-option", QFile::encodeName(path), "second.vornick"});
    EXPECT_EQ(sim().run.lastSeed, 1u) << "opened once the event loop runs";
    ASSERT_TRUE(QTest::qWaitFor([this] { return sim().run.lastSeed == 77; }));
    EXPECT_EQ(run_text(sim()), run_text(*other));

    action(kFileMenu, kNewRunItem)->trigger();
    struct Row {
        QList<QUrl> urls;
        bool taken;
    };
    const Row rows[] = {
        {{QUrl("https://example.org/a.vornick"), QUrl::fromLocalFile(dir->filePath("a.txt"))},
         false},
        {{QUrl::fromLocalFile(dir->filePath("a.txt")), QUrl::fromLocalFile(path)}, true},
    };
    for (const Row& r : rows) {
        QMimeData mime;
        mime.setUrls(r.urls);
        const QPoint at(100, 100);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&app->main_window(), &enter);
        EXPECT_EQ(enter.isAccepted(), r.taken);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&app->main_window(), &drop);
        wait_until_idle();
        EXPECT_EQ(sim().run.lastSeed, r.taken ? 77u : 78u);
    }
}

TEST(RunFiles, SuffixAndArguments) {
    const std::pair<const char*, const char*> suffixes[] = {
        {"/tmp/run", "/tmp/run.vornick"},         {"/tmp/run.", "/tmp/run.vornick"},
        {"/tmp/run.vornick", "/tmp/run.vornick"}, {"/tmp/run.txt", "/tmp/run.txt"},
        {"/tmp/a.b/run", "/tmp/a.b/run.vornick"}, {"", ""},
    };
    for (const auto& [in, out] : suffixes) EXPECT_EQ(with_run_suffix(in).toStdString(), out) << in;

    const std::pair<QList<QByteArray>, const char*> arguments[] = {
        {{"vornick"}, ""},
        {{"vornick", "a.vornick", "b.vornick"}, "a.vornick"},
        {{"vornick", "-x", "--flag", "a.vornick"}, "a.vornick"},
        {{"vornick", "--", "-a.vornick"}, "-a.vornick"},
        {{"vornick", "", "--"}, ""},
    };
    for (const auto& [in, out] : arguments) {
        EXPECT_EQ(run_file_argument(in).toStdString(), out) << in.join(' ').toStdString();
    }
}

}  // namespace
}  // namespace vornick
