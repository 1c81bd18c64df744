// Export Animation in the running program: the dialog's plan, the same bytes as vornick-trace
// writes for the saved run, the run left where it stood, and no file after a cancel or a
// failure.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sstream>

#include "app/animation_dialog.h"
#include "app/animation_export.h"
#include "app/vornick_app.h"
#include "fresh_app.h"
#include "render/gl_surface.h"
#include "sim/history/run_file.h"

namespace vornick {
namespace {

class AnimationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        app = testing::fresh_app();
        dir = std::make_unique<QTemporaryDir>();
        sim().prefs.iNumOrgs = 9;
        sim().new_sim_from_seed(77);
        sim().stop_command();
    }
    void TearDown() override { app.reset(); }

    Sim& sim() { return app->sim(); }
    void run_to(int32_t n) {
        sim().continue_command();
        while (sim().run.iters < n) sim().step_batch(n - sim().run.iters);
        sim().stop_command();
    }
    void wait_until_idle() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !app->animation().busy(); }, 60000));
    }
    QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // What a run is: its step, its table and its file.
    std::string run_text() {
        std::ostringstream t;
        t << sim().run.iters << " " << sim().rng.seed;
        for (int32_t i = 0; i < sim().model.norgs; ++i) {
            const Org o = sim().model.orgs.get(i);
            t << " " << o.x << "," << o.y << "," << o.dir;
        }
        return t.str() + "\n" + write_run_file(sim());
    }

    std::unique_ptr<VornickApp> app;
    std::unique_ptr<QTemporaryDir> dir;
};

template <typename W>
W* field(QWidget* dialog, const char* name) {
    W* w = dialog->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Asked through the dialog, the window's export writes the bytes vornick-trace writes for the
// saved run: from before the step the run stands at to past it, edits made and unmade on the
// way, and the run itself does not move.
TEST_F(AnimationTest, SameBytesAsTheToolForTheSavedRun) {
    run_to(20);
    OrgMove m{};
    ASSERT_TRUE(sim().drop_edit(3, 5, 6, m));
    run_to(45);
    ASSERT_TRUE(sim().arrow_edit(0, ArrowKey::kUp, m));
    run_to(130);
    ASSERT_TRUE(sim().go_to_step(60));  // the arrow move is a later edit now
    while (!sim().travel(INT64_MAX)) {
    }
    const std::string before = run_text();

    app->run_command(AppCommand::kExportAnimation);
    AnimationDialog* d = app->animation().dialog();
    ASSERT_TRUE(d && d->isVisible());
    EXPECT_EQ(field<QSpinBox>(d, "firstStep")->value(), 60);
    EXPECT_EQ(field<QSpinBox>(d, "scale")->value(), app->main_window().surface()->zoom());
    field<QSpinBox>(d, "firstStep")->setValue(10);
    field<QRadioButton>(d, "byLastStep")->setChecked(true);
    field<QSpinBox>(d, "lastStep")->setValue(101);
    field<QSpinBox>(d, "every")->setValue(3);
    field<QSpinBox>(d, "delay")->setValue(5);
    field<QSpinBox>(d, "scale")->setValue(2);
    field<QCheckBox>(d, "caption")->setChecked(true);
    QString suggested;
    const QString window_gif = dir->filePath(QStringLiteral("window.gif"));
    app->animation().choose_path = [&](const QString& s) {
        suggested = s;
        return window_gif;
    };
    d->accept();
    wait_until_idle();
    EXPECT_EQ(QFileInfo(suggested).fileName(), QStringLiteral("vornick-seed-77-steps-10-100.gif"));
    EXPECT_EQ(run_text(), before);

    const QString run_path = dir->filePath(QStringLiteral("run.vornick"));
    QFile run(run_path);
    ASSERT_TRUE(run.open(QIODevice::WriteOnly));
    run.write(QByteArray::fromStdString(write_run_file(sim())));
    run.close();
    const QString tool_gif = dir->filePath(QStringLiteral("tool.gif"));
    const int status =
        QProcess::execute(QStringLiteral(VORNICK_TRACE),
                          {"--run", run_path, "--gif", tool_gif, "--from", "10", "--to", "101",
                           "--every", "3", "--delay", "5", "--scale", "2", "--caption"});
    ASSERT_EQ(status, 0);
    const QByteArray window_bytes = read(window_gif);
    EXPECT_GT(window_bytes.size(), 1000);
    EXPECT_TRUE(window_bytes == read(tool_gif)) << "the window's and the tool's files differ";
}

// The dialog refuses what the run cannot show, and says why, before anything is written.
TEST_F(AnimationTest, DialogTakesOnlyWhatTheRunCanShow) {
    sim().prefs.maxIters = 500;
    app->run_command(AppCommand::kExportAnimation);
    AnimationDialog* d = app->animation().dialog();
    ASSERT_TRUE(d);
    struct Row {
        int first, last, frames, every;
        bool by_frames;
        const char* summary;
    };
    const Row rows[] = {
        {0, 0, 100, 1, true, "100 frames, of steps 0 to 99."},
        {450, 0, 100, 1, true, "Step 549 is past the run's end at step 500."},
        {0, 500, 1, 7, false, "72 frames, of steps 0 to 497."},
        {20, 10, 1, 1, false, "The last step, 10, comes before the first, 20."},
        {0, 0, 2147483647, 2, true, "So many frames go past the run's end at step 500."},
        {500, 500, 1, 1, false, "1 frame, of step 500."},
    };
    for (const Row& r : rows) {
        field<QSpinBox>(d, "firstStep")->setValue(r.first);
        field<QSpinBox>(d, "lastStep")->setValue(r.last);
        field<QSpinBox>(d, "frames")->setValue(r.frames);
        field<QSpinBox>(d, "every")->setValue(r.every);
        field<QRadioButton>(d, r.by_frames ? "byFrames" : "byLastStep")->setChecked(true);
        EXPECT_EQ(field<QLabel>(d, "summary")->text().toStdString(), r.summary);
    }
    int asked = 0;
    app->animation().choose_path = [&](const QString&) {
        ++asked;
        return QString();
    };
    d->accept();  // the last row can be made; the others could not have been accepted
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(app->animation().busy());
}

// Cancelled or failed, an export leaves no file behind, not even a partial one; a failure
// names its cause.
TEST_F(AnimationTest, CancelledOrFailedExportLeavesNoFile) {
    sim().prefs.iNumOrgs = 784;
    sim().new_sim_from_seed(5);
    sim().stop_command();
    const QString path = dir->filePath(QStringLiteral("long.gif"));
    app->animation().start(AnimationPlan{0, 1000000, 1, 2, true, 4}, path);
    ASSERT_TRUE(app->animation().busy());
    QTest::qWait(50);
    app->animation().cancel();
    EXPECT_FALSE(app->animation().busy());
    EXPECT_EQ(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(app->animation().failure(), nullptr);

    const QString nowhere = dir->filePath(QStringLiteral("missing/folder/run.gif"));
    app->animation().start(AnimationPlan{0, 10, 1, 1, false, 4}, nowhere);
    wait_until_idle();
    ASSERT_NE(app->animation().failure(), nullptr);
    EXPECT_TRUE(app->animation().failure()->isVisible());
    EXPECT_TRUE(app->animation().failure()->text().contains(QStringLiteral("run.gif")));
    EXPECT_FALSE(app->animation().failure()->informativeText().isEmpty());
    app->animation().failure()->close();
    EXPECT_FALSE(QFileInfo::exists(nowhere));

    // A run whose end was lowered after the plan was made.
    sim().prefs.maxIters = 5;
    app->animation().start(AnimationPlan{0, 10, 1, 1, false, 4}, path);
    ASSERT_NE(app->animation().failure(), nullptr);
    EXPECT_TRUE(app->animation().failure()->informativeText().contains(QStringLiteral("past")));
    EXPECT_EQ(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

}  // namespace
}  // namespace vornick
