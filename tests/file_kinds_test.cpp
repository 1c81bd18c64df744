// What opening a run file makes of every kind of file a name can stand for: a regular file is
// read, anything else is refused before it is opened, with the system's reason or its kind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "sim/history/run_opening.h"

namespace vornick {
namespace {

namespace fs = std::filesystem;

const char kGood[] =
    "vornick-run 1\nseed 1\norgs 4\nrandom-count no\nmax-iters 100\nstop-at none\nsteps 9\n";

void write(const fs::path& p, const std::string& text) {
    std::FILE* f = std::fopen(p.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

void make_socket(const fs::path& p) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", p.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
}

TEST(FileKinds, OnlyRegularFilesAreOpened) {
    const fs::path dir = fs::temp_directory_path() / ("vornick-kinds-" + std::to_string(getpid()));
    fs::create_directories(dir);
    struct Case {
        const char* what;
        std::function<void(const fs::path&)> make;  // makes the file at the path
        const char* fault;                          // "" when it opens
    };
    const Case cases[] = {
        {"a regular file", [](const fs::path& p) { write(p, kGood); }, ""},
        {"a link to one", [&](const fs::path& p) { fs::create_symlink(dir / "a regular file", p); },
         ""},
        {"a named pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); },
         "not a regular file but a named pipe (FIFO)"},
        {"a link to a named pipe",
         [&](const fs::path& p) { fs::create_symlink(dir / "a named pipe", p); },
         "not a regular file but a named pipe (FIFO)"},
        {"a socket", make_socket, "not a regular file but a socket"},
        {"a device", [](const fs::path& p) { fs::create_symlink("/dev/zero", p); },
         "not a regular file but a device"},
        {"a folder", [](const fs::path& p) { fs::create_directory(p); }, "Is a directory"},
        {"a link loop", [](const fs::path& p) { fs::create_symlink(p, p); },
         "Too many levels of symbolic links"},
        {"nothing", [](const fs::path&) {}, "No such file or directory"},
        {"a name that is not text \xff\xfe", [](const fs::path& p) { write(p, kGood); }, ""},
        {"an empty file", [](const fs::path& p) { write(p, ""); },
         "line 1: not a Vornick run file: it must begin with 'vornick-run 1'"},
    };
    for (const Case& c : cases) {
        const fs::path p = dir / c.what;
        c.make(p);
        RunOpening opening(p.string());
        while (!opening.advance(1 << 20)) {
        }
        EXPECT_EQ(opening.error().message(), c.fault) << c.what;
        EXPECT_EQ(opening.failed(), *c.fault != '\0') << c.what;
    }
    // Permissions mean nothing to root, who reads the file all the same.
    if (::geteuid() != 0) {
        write(dir / "unreadable", kGood);
        fs::permissions(dir / "unreadable", fs::perms::none);
        RunOpening opening((dir / "unreadable").string());
        EXPECT_EQ(opening.error().message(), "Permission denied");
    }
    fs::remove_all(dir);
}

// Reading counts the bytes of the file, then the replay its steps; the run is the file's.
TEST(FileKinds, AnOpeningCountsBytesThenSteps) {
    const fs::path p = fs::temp_directory_path() / ("vornick-count-" + std::to_string(getpid()));
    std::string text = kGood;
    for (int i = 0; i < 5000; ++i) text += "# padding that only the reading counts\n";
    write(p, text);
    RunOpening opening(p.string());
    EXPECT_EQ(opening.phase(), RunOpening::Phase::kReading);
    EXPECT_EQ(opening.total(), static_cast<int64_t>(text.size()));
    int64_t last_left = opening.left();
    int pieces = 0;
    while (opening.phase() == RunOpening::Phase::kReading) {
        opening.advance(4096 * RunOpening::kWorkPerByte);
        if (opening.phase() == RunOpening::Phase::kReading) {
            EXPECT_LT(opening.left(), last_left);
        }
        last_left = opening.left();
        ++pieces;
    }
    EXPECT_GT(pieces, 10);
    EXPECT_EQ(opening.total(), 9);
    EXPECT_EQ(opening.norgs(), 4);
    while (!opening.advance(4)) {
    }
    ASSERT_FALSE(opening.failed()) << opening.error().message();
    EXPECT_EQ(opening.replay()->iters(), 9);
    fs::remove(p);
}

}  // namespace
}  // namespace vornick
