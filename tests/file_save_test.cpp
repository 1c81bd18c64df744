// A file replaced whole: its bytes, its permissions, and the copies of killed saves, which the
// next save of the same file clears unless another save may still be writing them.
#include "sim/history/file_save.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace vornick {
namespace {

namespace fs = std::filesystem;

class FileSave : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("vornick-save-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string read(const fs::path& p) {
        std::ifstream f(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), {}};
    }
    void put(const fs::path& p, const std::string& text) { std::ofstream(p) << text; }
    std::set<std::string> names() {
        std::set<std::string> out;
        for (const auto& e : fs::directory_iterator(dir)) out.insert(e.path().filename());
        return out;
    }

    fs::path dir;
};

TEST_F(FileSave, WritesANewFileAndReplacesAnOldOneKeepingItsPermissions) {
    const fs::path p = dir / "run.vornick";
    std::string error;
    ASSERT_TRUE(save_whole_file(p, "first", error)) << error;
    EXPECT_EQ(read(p), "first");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(fs::status(p).permissions(), fs::perms(0666 & ~mask));

    fs::permissions(p, fs::perms(0640));
    ASSERT_TRUE(save_whole_file(p, "second", error)) << error;
    EXPECT_EQ(read(p), "second");
    EXPECT_EQ(fs::status(p).permissions(), fs::perms(0640));

    fs::create_symlink("run.vornick", dir / "link.vornick");
    ASSERT_TRUE(save_whole_file(dir / "link.vornick", "third", error)) << error;
    EXPECT_TRUE(fs::is_symlink(dir / "link.vornick"));
    EXPECT_EQ(read(p), "third");
    EXPECT_EQ(names(), (std::set<std::string>{"run.vornick", "link.vornick"}));
}

TEST_F(FileSave, AFailedSaveNamesTheReasonAndLeavesNothing) {
    std::string error;
    EXPECT_FALSE(save_whole_file(dir / "no-such-folder" / "run.vornick", "x", error));
    EXPECT_EQ(error, "No such file or directory");
    fs::create_directory(dir / "taken.vornick");
    EXPECT_FALSE(save_whole_file(dir / "taken.vornick", "x", error));
    EXPECT_EQ(error, "Is a directory");
    EXPECT_EQ(names(), (std::set<std::string>{"taken.vornick"}));
}

// What the next save of run.vornick makes of what lies beside it.
TEST_F(FileSave, ClearsOnlyTheCopiesOfKilledSavesOfTheSameFile) {
    const std::string copy = save_copy_prefix("run.vornick");
    struct Row {
        std::string name;
        bool folder;      // a folder of that name rather than a file
        bool other_save;  // another save in the folder is under way
        bool cleared;
    };
    const Row rows[] = {
        {copy + "a1B2c3", false, false, true},
        {copy + "a1B2c3", false, true, false},
        {save_copy_prefix("other.vornick") + "a1B2c3", false, false, false},
        {copy + "a1B2c", false, false, false},
        {copy + "a1B2c3d", false, false, false},
        {copy + "a1B-c3", false, false, false},
        {"run.vornick.a1B2c3", false, false, false},
        {copy + "a1B2c3", true, false, false},
    };
    for (const Row& r : rows) {
        const fs::path left = dir / r.name;
        if (r.folder) {
            fs::create_directory(left);
        } else {
            put(left, "a complete copy");
        }
        const int held = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
        if (r.other_save) {
            ASSERT_EQ(::flock(held, LOCK_SH), 0);
        }
        std::string error;
        ASSERT_TRUE(save_whole_file(dir / "run.vornick", "saved", error)) << error;
        ::close(held);
        EXPECT_EQ(fs::exists(left), !r.cleared) << r.name << (r.other_save ? " (in use)" : "");
        EXPECT_EQ(read(dir / "run.vornick"), "saved");
        fs::remove_all(left);
        EXPECT_EQ(names(), (std::set<std::string>{"run.vornick"})) << r.name;
    }
}

// A name too long to take the copy's mark is cut, and its copies are still found.
TEST_F(FileSave, ALongNameStillSavesAndClears) {
    const std::string name(250, 'n');
    put(dir / (save_copy_prefix(name) + "zzzzzz"), "left");
    std::string error;
    ASSERT_TRUE(save_whole_file(dir / name, "saved", error)) << error;
    EXPECT_EQ(names(), (std::set<std::string>{name}));
}

}  // namespace
}  // namespace vornick
