// Saves on a failing disk (fail_writes, loaded with LD_PRELOAD): each is reported with the
// system's reason, and leaves the old file as it was, or no file, and nothing else.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "app/image_export.h"
#include "app/run_files.h"
#include "prefs/prefs_store.h"
#include "sim/history/file_save.h"

namespace vornick {
namespace {

namespace fs = std::filesystem;

// What a call wrote to stderr.
std::string stderr_of(const std::function<void()>& call) {
    std::FILE* capture = std::tmpfile();
    std::fflush(stderr);
    const int saved = ::dup(2);
    ::dup2(::fileno(capture), 2);
    call();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    std::rewind(capture);
    std::string text;
    for (int c; (c = std::fgetc(capture)) != EOF;) text += static_cast<char>(c);
    std::fclose(capture);
    return text;
}

std::string contents(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

struct Target {
    const char* what;
    const char* name;
    bool flushes;  // the save waits for the disk to have the file (QSettings does not)
    // Saves at `path`; false with what the user is told.
    std::function<bool(const fs::path& path, std::string& told)> save;
};

bool save_run(const fs::path& path, std::string& told) {
    QString why;
    const bool saved =
        write_run_text(QByteArray::fromStdString(path.string()), "vornick-run 1\nseed 2\n", &why);
    told = why.toStdString();
    return saved;
}

bool save_image(const fs::path& path, std::string& told) {
    QImage picture(44, 30, QImage::Format_RGB32);
    picture.fill(Qt::green);
    QString why;
    const bool saved = write_png(picture, QByteArray::fromStdString(path.string()), &why);
    told = why.toStdString();
    return saved;
}

// As an animation is written: in pieces as its frames are made.
bool save_in_pieces(const fs::path& path, std::string& told) {
    FileSave save;
    return save.open(path, told) && save.write("GIF89a", told) && save.write("frames", told) &&
           save.commit(told);
}

bool save_prefs(const fs::path& path, std::string& told) {
    Settings s;
    s.iNumOrgs = 99;
    bool saved = false;
    told = stderr_of([&] {
        saved = save_store(QFile::decodeName(path.c_str()), encode_settings(s), "preferences");
    });
    return saved;
}

TEST(SaveFailure, TellsTheSystemsReasonAndLeavesNothingBehind) {
    const Target targets[] = {
        {"a run file", "run.vornick", true, save_run},
        {"an image", "picture.png", true, save_image},
        {"an animation", "run.gif", true, save_in_pieces},
        {"the preferences", "Vornick prefs.conf", false, save_prefs},
    };
    const std::pair<const char*, const char*> failures[] = {
        {"ENOSPC", "No space left on device"},
        {"EIO", "Input/output error"},
        {"EIO-fsync", "Input/output error"},
    };
    QTemporaryDir scratch;
    int n = 0;
    for (const Target& t : targets) {
        for (const auto& [failure, reason] : failures) {
            if (!t.flushes && std::string(failure) == "EIO-fsync") continue;
            for (const bool replaced : {false, true}) {
                const std::string what = std::string(t.what) + ", " + failure +
                                         (replaced ? ", replacing a file" : ", a new file");
                const fs::path folder =
                    fs::path(scratch.path().toStdString()) / std::to_string(n++);
                fs::create_directory(folder);
                const fs::path file = folder / t.name;
                if (replaced) std::ofstream(file) << "the old file";
                const std::string rule = std::string(failure) + " " + folder.string();
                ::setenv("VORNICK_FAIL_WRITES", rule.c_str(), 1);
                std::string told;
                const bool saved = t.save(file, told);
                ::unsetenv("VORNICK_FAIL_WRITES");
                EXPECT_FALSE(saved) << what;
                EXPECT_NE(told.find(reason), std::string::npos)
                    << what << ": told '" << told << "'";
                std::set<std::string> left;
                for (const auto& e : fs::directory_iterator(folder))
                    left.insert(e.path().filename());
                EXPECT_EQ(left, replaced ? std::set<std::string>{t.name} : std::set<std::string>{})
                    << what;
                if (replaced) {
                    EXPECT_EQ(contents(file), "the old file") << what;
                }

                // The disk mended, the same save goes through.
                ASSERT_TRUE(t.save(file, told)) << what << ": " << told;
            }
        }
    }
}

// Without a rule the stand-in passes every call through.
TEST(SaveFailure, TheStandInIsLoaded) {
    ASSERT_NE(std::getenv("LD_PRELOAD"), nullptr);
    QTemporaryDir scratch;
    const fs::path file = fs::path(scratch.path().toStdString()) / "x";
    ::setenv("VORNICK_FAIL_WRITES", ("ENOSPC " + scratch.path().toStdString()).c_str(), 1);
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT, 0600);
    EXPECT_EQ(::write(fd, "x", 1), -1);
    EXPECT_EQ(errno, ENOSPC);
    ::unsetenv("VORNICK_FAIL_WRITES");
    EXPECT_EQ(::write(fd, "x", 1), 1);
    ::close(fd);
}

}  // namespace
}  // namespace vornick

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
