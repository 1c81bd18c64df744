// Files as other people send them: names that are not text, and openings long enough to quit
// in the middle of.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <csignal>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/animation_export.h"
#include "app/file_names.h"
#include "app/vornick_app.h"
#include "fresh_app.h"
#include "prefs/prefs_store.h"
#include "sim/history/run_file.h"

namespace vornick {
namespace {

// A folder and a file whose names hold bytes that are not UTF-8.
const QByteArray kOddFolder = "odd-\xff";
const QByteArray kOddFile = "run-\xfe\x80.vornick";

bool put(const QByteArray& path, const std::string& text) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    return ::close(fd) == 0 && written;
}

bool exists(const QByteArray& path) {
    struct stat st {};
    return ::stat(path.constData(), &st) == 0;
}

class HostileFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        app = testing::fresh_app();
        folder = QFile::encodeName(dir.path()) + "/" + kOddFolder;
        ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
        file = folder + "/" + kOddFile;
        Sim other;
        other.prefs.maxIters = 100;
        other.rng.seed = 77;
        other.new_sim();
        other.step_batch(30);
        other.stop_command();
        sent = write_run_file(other);
        ASSERT_TRUE(put(file, sent));
    }
    void TearDown() override {
        app.reset();
        // Qt's own removal goes by text, which these names are not.
        std::filesystem::remove_all(folder.toStdString());
    }
    Sim& sim() { return app->sim(); }
    void wait_until_idle() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !app->travel().busy(); }, 20000));
    }

    QTemporaryDir dir;
    QByteArray folder, file;
    std::string sent;
    std::unique_ptr<VornickApp> app;
};

// The same file, reached from the command line, a drop and the file dialog, whose text stands
// for the bytes it cannot show.
TEST_F(HostileFiles, NamesThatAreNotTextOpenFromEveryWay) {
    ASSERT_NE(QFile::encodeName(QFile::decodeName(file)), file) << "the name must not be text";
    struct Way {
        const char* what;
        std::function<void()> open;
    };
    const Way ways[] = {
        {"the command line",
         [&] {
             app->open_from_arguments({"vornick", file});
         }},
        {"a drop",
         [&] {
             QMimeData mime;
             mime.setData("text/uri-list", "file://" + file.toPercentEncoding("/") + "\r\n");
             const QPoint at(100, 100);
             QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
             QCoreApplication::sendEvent(&app->main_window(), &enter);
             EXPECT_TRUE(enter.isAccepted());
             QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
             QCoreApplication::sendEvent(&app->main_window(), &drop);
         }},
        {"the dialog",
         [&] {
             app->travel().choose_open_path = [&] { return QFile::decodeName(file); };
             app->menus().command_action(AppCommand::kOpenRun)->trigger();
         }},
    };
    for (const Way& w : ways) {
        sim().new_sim_from_seed(5);
        w.open();
        ASSERT_TRUE(QTest::qWaitFor([this] { return sim().run.lastSeed == 77; })) << w.what;
        wait_until_idle();
        EXPECT_EQ(write_run_file(sim()), sent) << w.what;
        EXPECT_EQ(app->travel().failure(), nullptr) << w.what;
    }
}

// A save into a folder whose name is not text goes into that folder, as the dialog showed it.
TEST_F(HostileFiles, SavesGoIntoFoldersWhoseNamesAreNotText) {
    const QString shown = QFile::decodeName(folder);
    app->travel().choose_save_path = [&](const QString&) { return shown + "/kept"; };
    app->menus().command_action(AppCommand::kSaveRunAs)->trigger();
    EXPECT_EQ(app->travel().failure(), nullptr);
    EXPECT_TRUE(exists(folder + "/kept.vornick"));

    app->choose_export_path = [&](const QString&) { return shown + "/picture.png"; };
    app->menus().command_action(AppCommand::kExportImage)->trigger();
    EXPECT_EQ(app->export_failure(), nullptr);
    EXPECT_TRUE(exists(folder + "/picture.png"));
}

// Quit, the close button and a signal end the program in the middle of a long opening: the
// opening is dropped, the preferences saved. Help opens over it and the opening goes on.
TEST_F(HostileFiles, QuitReachesTheWindowDuringALongOpening) {
    const std::string endless =
        "vornick-run 1\nseed 3\norgs 784\nrandom-count no\nmax-iters 2000000000\nstop-at none\n"
        "steps 2000000000\n";
    const QByteArray long_file = folder + "/long.vornick";
    ASSERT_TRUE(put(long_file, endless));
    struct Row {
        const char* what;
        std::function<void(VornickApp&)> act;
        bool quits;
    };
    const Row rows[] = {
        {"Ctrl+Q",
         [](VornickApp& a) {
             QTest::keyClick(a.travel().work().progress(), Qt::Key_Q, Qt::ControlModifier);
         },
         true},
        {"the close button", [](VornickApp& a) { a.main_window().close(); }, true},
        {"SIGTERM", [](VornickApp&) { std::raise(SIGTERM); }, true},
        {"F1", [](VornickApp& a) { QTest::keyClick(a.travel().work().progress(), Qt::Key_F1); },
         false},
    };
    for (const Row& r : rows) {
        app.reset();  // one program at a time holds the signals
        app = testing::fresh_app();
        app->sim().prefs.iNumOrgs = 17;  // a setting that only a save keeps
        const std::string before = write_run_file(sim());
        app->open_from_arguments({"vornick", long_file});
        ASSERT_TRUE(QTest::qWaitFor(
            [this] {
                QProgressDialog* p = app->travel().work().progress();
                return p && p->isVisible();
            },
            10000))
            << r.what;
        // Keys go to the window in front, which the progress window is once it shows.
        QProgressDialog* progress = app->travel().work().progress();
        EXPECT_EQ(progress->labelText(), QStringLiteral("Opening “long.vornick”…")) << r.what;
        progress->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(progress)) << r.what;
        r.act(*app);
        const bool quit =
            QTest::qWaitFor([&] { return sim().pace.gDone == 1; }, r.quits ? 5000 : 300);
        EXPECT_EQ(quit, r.quits) << r.what;
        EXPECT_EQ(app->travel().busy(), !r.quits) << r.what;
        EXPECT_EQ(write_run_file(sim()), before) << r.what;
        if (!r.quits) {
            EXPECT_TRUE(app->help().window() && app->help().window()->isVisible()) << r.what;
            app->travel().cancel();
            continue;
        }
        Settings saved;
        double delay = 0;
        getPrefs(saved, delay);
        EXPECT_EQ(saved.iNumOrgs, 17) << r.what;
    }
}

// An animation being exported stops for Quit as an opening does, and leaves no file.
TEST_F(HostileFiles, QuitReachesTheWindowDuringAnExport) {
    sim().prefs.iNumOrgs = 784;
    sim().new_sim_from_seed(5);
    sim().stop_command();
    const QString out = dir.filePath(QStringLiteral("long.gif"));
    app->animation().start(AnimationPlan{0, 1000000, 1, 2, true, 4}, out);
    ASSERT_TRUE(QTest::qWaitFor(
        [this] {
            QProgressDialog* p = app->animation().work().progress();
            return p && p->isVisible();
        },
        10000));
    QProgressDialog* progress = app->animation().work().progress();
    progress->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(progress));
    QTest::keyClick(progress, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([this] { return sim().pace.gDone == 1; }, 5000));
    EXPECT_FALSE(app->animation().busy());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

}  // namespace
}  // namespace vornick
