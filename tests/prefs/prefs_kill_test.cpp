// Saves cut short by SIGKILL at many points: the file left behind is the old one or the new one,
// whole, and the next save goes through at once.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <map>
#include <optional>
#include <string>

#include "prefs/pref_codec.h"
#include "prefs/prefs_store.h"
#include "settings_testing.h"

namespace vornick {
namespace {

// Long enough for any save on a working disk; a save that waits on a stale lock never ends in it.
constexpr unsigned kSaveDeadlineSeconds = 10;

class PrefsKillTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        saved_ = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.path()));
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", saved_); }

    // The settings on disk, read without Qt's cache of the file; nothing unless all thirteen
    // keys are there.
    static std::optional<Settings> on_disk() {
        QFile file(prefs_file_path());
        if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
        std::map<std::string, std::string> lines;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const auto eq = line.indexOf('=');
            if (eq > 0) lines[line.left(eq).toStdString()] = line.mid(eq + 1).toStdString();
        }
        if (lines.size() != kStoredKeyCount) return std::nullopt;
        return decode_settings([&lines](const char* key) -> std::optional<std::string> {
            const auto it = lines.find(key);
            if (it == lines.end()) return std::nullopt;
            return it->second;
        });
    }

    // Saves in a child process that dies if the save does not end in time.
    static bool save_in_time(const Settings& s) {
        const pid_t pid = fork();
        if (pid == 0) {
            alarm(kSaveDeadlineSeconds);
            _exit(savePrefs(s) ? 0 : 1);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    // After a save that follows a killed one: nothing but the file, and perhaps its lock.
    static void expect_no_leftovers() {
        const QStringList names = QDir(QFileInfo(prefs_file_path()).path()).entryList(QDir::Files);
        for (const QString& name : names) {
            EXPECT_TRUE(name == "Vornick prefs.conf" || name == "Vornick prefs.conf.lock")
                << name.toStdString();
        }
    }

  private:
    QTemporaryDir home_;
    QByteArray saved_;
};

TEST_F(PrefsKillTest, KilledSavesLeaveAWholeFileAndNothingInTheWay) {
    const Settings a = unusual_settings();
    const Settings b{};
    // The kills are spread over a little more than one save, however long a save takes here (a
    // fraction of a millisecond on a RAM disk, tens of milliseconds where it waits on a disk).
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(savePrefs(a));
    const auto save_us = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count();
    constexpr int kRounds = 100;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t pid = fork();
        if (pid == 0) {
            close(ready[0]);
            [[maybe_unused]] const auto n = write(ready[1], "x", 1);
            for (bool flip = false;; flip = !flip) savePrefs(flip ? a : b);
        }
        close(ready[1]);
        char byte;
        ASSERT_EQ(read(ready[0], &byte, 1), 1);
        close(ready[0]);
        usleep(static_cast<useconds_t>(save_us * 3 / 2 * round / kRounds));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);

        const auto left = on_disk();
        ASSERT_TRUE(left.has_value()) << "a torn or missing file";
        expect_same_settings(*left, left->randomizeProg ? a : b);
        ASSERT_TRUE(save_in_time(round % 2 ? a : b));
        expect_no_leftovers();
    }
}

// A save killed between making its lock file and writing its name in it leaves an empty lock,
// which the lock's own rules would take for a live save for half a minute.
TEST_F(PrefsKillTest, EmptyLockLeftByAKilledSaveDoesNotHoldUpTheNext) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(prefs_file_path()).path()));
    QFile lock(prefs_file_path() + ".lock");
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.close();
    ASSERT_TRUE(save_in_time(unusual_settings()));
    expect_same_settings(on_disk().value_or(Settings{}), unusual_settings());
}

// A save killed after writing its new file under a made-up name, before putting it in place.
TEST_F(PrefsKillTest, CopyLeftByAKilledSaveIsClearedByTheNext) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(prefs_file_path()).path()));
    QFile copy(prefs_file_path() + ".Ab12Cd");
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.write("[General]\nmaxIters=5\n");
    copy.close();
    ASSERT_TRUE(save_in_time(unusual_settings()));
    expect_no_leftovers();
}

}  // namespace
}  // namespace vornick
