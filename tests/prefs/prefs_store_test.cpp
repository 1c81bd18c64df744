#include "prefs/prefs_store.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <string>

#include "prefs/pref_codec.h"
#include "settings_testing.h"

namespace vornick {
namespace {

using KeyTexts = std::map<std::string, std::string>;

// Every test gets a config directory of its own; the user's real preferences are never seen.
class PrefsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        had_config_home_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        saved_config_home_ = qgetenv("XDG_CONFIG_HOME");
        use_config_home(config_dir());
    }
    void TearDown() override {
        if (had_config_home_) {
            qputenv("XDG_CONFIG_HOME", saved_config_home_);
        } else {
            qunsetenv("XDG_CONFIG_HOME");
        }
    }

    QString config_dir() const { return home_.path() + "/config"; }

    void use_config_home(const QString& dir) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir));
        ASSERT_TRUE(prefs_file_path().startsWith(home_.path()));
    }

    void write_file(const QByteArray& contents) {
        ASSERT_TRUE(QDir().mkpath(config_dir()));
        QFile file(prefs_file_path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }

    QByteArray read_file() const {
        QFile file(prefs_file_path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The "key=text" lines of the file as it is on disk, not as Qt keeps it in memory.
    KeyTexts file_lines() const {
        KeyTexts lines;
        for (const QByteArray& line : read_file().split('\n')) {
            const auto eq = line.indexOf('=');
            if (eq > 0) lines[line.left(eq).toStdString()] = line.mid(eq + 1).toStdString();
        }
        return lines;
    }

    static Settings load(double* delay = nullptr) {
        Settings s = unusual_settings();  // every field must be overwritten
        double d = -1.0;
        getPrefs(s, d);
        if (delay != nullptr) *delay = d;
        return s;
    }

  private:
    QTemporaryDir home_;
    QByteArray saved_config_home_;
    bool had_config_home_ = false;
};

TEST_F(PrefsStoreTest, EmptyStoreGivesDefaults) {
    EXPECT_EQ(prefs_file_path(), config_dir() + "/Vornick prefs.conf");
    double delay = 0.0;
    expect_same_settings(load(&delay), Settings{});
    EXPECT_EQ(delay, 2.0);
}

TEST_F(PrefsStoreTest, FullSaveWritesThirteenPlainTextKeysThatLoadBack) {
    Settings s = unusual_settings();
    s.rerunSavedSim = false;
    savePrefs(s);
    KeyTexts expected;
    for (const auto& value : encode_settings(s)) expected[value.key] = value.text;
    EXPECT_EQ(file_lines(), expected);
    EXPECT_EQ(expected["setStopPt"], "yes");
    EXPECT_EQ(expected["rerunSavedSim"], "no");
    double delay = 0.0;
    expect_same_settings(load(&delay), s);
    EXPECT_EQ(delay, s.Slow);
}

TEST_F(PrefsStoreTest, HandEditedFileLoadsSoundValues) {
    write_file(
        "[General]\n"
        "maxIters=-5\n"
        "setStopPt=yes\n"
        "stopIters=12abc\n"
        "slow=0.5\n"
        "fast=nan\n"
        "turbo=inf\n"
        "variable=\n"
        "sliderVal=70000\n"
        "iNumOrgs=99999999999999\n"
        "randINumOrgs=\"yes\"\n"
        "rerunSavedSim=maybe\n"
        "savedSeed=1,5\n"
        "randomizeProg=   \n"
        "unrelated=kept\n");
    Settings expected;
    expected.setStopPt = true;
    expected.Slow = 0.5;
    expected.sliderVal = 2000;
    expected.iNumOrgs = kMaxNumOrgs;
    expected.randINumOrgs = true;
    double delay = 0.0;
    expect_same_settings(load(&delay), expected);
    EXPECT_EQ(delay, 0.5);
}

TEST_F(PrefsStoreTest, SavingTheSeedAloneLeavesEveryOtherKeyAsItWas) {
    PrefsSeedStore().write_saved_seed(0xFFFFFFFFu);
    EXPECT_EQ(file_lines(), (KeyTexts{{"savedSeed", "-1"}}));

    savePrefs(unusual_settings());
    write_file(read_file().replace("slow=0.1234567", "slow=junk") + "extra=hand edited\n");
    KeyTexts expected = file_lines();
    ASSERT_EQ(expected["slow"], "junk");
    PrefsSeedStore().write_saved_seed(1234);
    expected["savedSeed"] = "1234";
    EXPECT_EQ(file_lines(), expected);
    EXPECT_EQ(load().savedSeed, 1234u);
}

// A failed save: one line on stderr with the file and the reason, the settings in memory as
// they were, and no harm to what is on disk.
struct FailedSave {
    bool saved;
    std::string err;
};

FailedSave save_all_capturing_stderr(const Settings& s) {
    ::testing::internal::CaptureStderr();
    const bool saved = savePrefs(s);
    return {saved, ::testing::internal::GetCapturedStderr()};
}

void expect_one_line_naming(const FailedSave& result, const std::string& reason) {
    EXPECT_FALSE(result.saved);
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_NE(result.err.find(prefs_file_path().toStdString()), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
}

// Ways to make the store unwritable that hold even for a superuser: the config directory is a
// plain file, or the store's own name is taken by a directory.
TEST_F(PrefsStoreTest, UnwritableStoreIsReportedAndHarmless) {
    const QString blocker = config_dir() + "-is-a-file";
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    use_config_home(blocker);
    const Settings s = unusual_settings();
    expect_one_line_naming(save_all_capturing_stderr(s), "is not a folder");
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(PrefsSeedStore().save_seed(99));
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("is not a folder"), std::string::npos);
    expect_same_settings(s, unusual_settings());
    EXPECT_TRUE(QFileInfo(blocker).isFile());

    use_config_home(config_dir());
    ASSERT_TRUE(QDir().mkpath(prefs_file_path()));
    expect_one_line_naming(save_all_capturing_stderr(s), "a folder of that name is in the way");
    EXPECT_TRUE(QFileInfo(prefs_file_path()).isDir());
    expect_same_settings(load(), Settings{});

    // Once the way is clear, the next save writes everything.
    ASSERT_TRUE(QDir(prefs_file_path()).removeRecursively());
    const FailedSave ok = save_all_capturing_stderr(s);
    EXPECT_TRUE(ok.saved);
    EXPECT_EQ(ok.err, "");
    expect_same_settings(load(), s);
}

TEST_F(PrefsStoreTest, ReadOnlyFileOrDirectoryIsReportedAndLeftUnchanged) {
    if (geteuid() == 0) GTEST_SKIP() << "a superuser writes read-only files";
    const QFile::Permissions r = QFile::ReadOwner;
    const QFile::Permissions rx = QFile::ReadOwner | QFile::ExeOwner;
    const struct {
        QString path;
        QFile::Permissions locked, unlocked;
    } cases[] = {{prefs_file_path(), r, r | QFile::WriteOwner},
                 {prefs_file_path(), {}, r | QFile::WriteOwner},  // unreadable as well
                 {config_dir(), rx, rx | QFile::WriteOwner}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        savePrefs(Settings{});
        const QByteArray before = read_file();
        ASSERT_TRUE(QFile::setPermissions(c.path, c.locked));
        if (!(c.locked & QFile::ReadOwner)) expect_same_settings(load(), Settings{});
        expect_one_line_naming(save_all_capturing_stderr(unusual_settings()), "ermission denied");
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(PrefsSeedStore().save_seed(99));
        ::testing::internal::GetCapturedStderr();
        QFile::setPermissions(c.path, c.unlocked);
        EXPECT_EQ(read_file(), before);
    }
}

// An unreadable file loads as defaults; the save then replaces it with a whole, sound one.
TEST_F(PrefsStoreTest, UnreadableFileIsReplacedByTheNextSave) {
    QByteArray noise(4096, '\0');
    uint32_t x = 12345;
    for (char& c : noise) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
    write_file(noise);
    expect_same_settings(load(), Settings{});
    const FailedSave result = save_all_capturing_stderr(unusual_settings());
    EXPECT_TRUE(result.saved);
    EXPECT_EQ(result.err, "");
    expect_same_settings(load(), unusual_settings());
}

}  // namespace
}  // namespace vornick
