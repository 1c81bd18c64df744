// The memory a run file costs, measured on vornick-trace, which opens files as the window does:
// it follows what the file holds, never its bytes. Each case runs in a process of its own,
// whose peak the kernel reports when it ends.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "sim/history/journal.h"

extern char** environ;

namespace vornick {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kMiB = int64_t{1} << 20;
const char kKeys[] = "seed 1\norgs 4\nrandom-count no\nmax-iters 10000000\nstop-at none\nsteps 0\n";

struct Outcome {
    int status = -1;
    int64_t peak_bytes = 0;
};

Outcome trace_run(const fs::path& file) {
    const std::string path = file.string();
    char* argv[] = {const_cast<char*>(VORNICK_TRACE), const_cast<char*>("--run"),
                    const_cast<char*>(path.c_str()), nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    Outcome out;
    if (posix_spawn(&pid, VORNICK_TRACE, &quiet, nullptr, argv, environ) == 0) {
        int status = 0;
        rusage usage{};
        if (::wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
            out.status = WEXITSTATUS(status);
            out.peak_bytes = int64_t{usage.ru_maxrss} * 1024;
        }
    }
    posix_spawn_file_actions_destroy(&quiet);
    return out;
}

// Writes `pieces` copies of `piece` between a head and a tail, without holding the file.
void write_file(const fs::path& p, const std::string& head, const std::string& piece,
                int64_t pieces, const std::string& tail) {
    std::FILE* f = std::fopen(p.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(head.c_str(), f);
    for (int64_t i = 0; i < pieces; ++i) std::fwrite(piece.data(), 1, piece.size(), f);
    std::fputs(tail.c_str(), f);
    ASSERT_EQ(std::fclose(f), 0);
}

TEST(RunFileMemory, FollowsWhatTheFileHoldsNotItsBytes) {
#if defined(__SANITIZE_THREAD__)
    // Its shadow memory, four times what the program touches, would be counted in the peak.
    GTEST_SKIP() << "not under ThreadSanitizer";
#endif
    const fs::path dir = fs::temp_directory_path() / ("vornick-memory-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const std::string head = "vornick-run 1\n";
    write_file(dir / "small", head, "", 0, kKeys);
    const Outcome base = trace_run(dir / "small");
    ASSERT_EQ(base.status, 0);

    const int64_t edits = Journal::kMaxEdits;
    std::string arrows;  // the most edits a file holds, 64 to a step
    for (int64_t i = 0; i < 64; ++i) arrows += "edit 7 arrow 0 left\n";
    const int64_t journal = edits * static_cast<int64_t>(sizeof(Edit));
    struct Case {
        const char* what;
        std::string head, piece;
        int64_t pieces;
        std::string tail;
        int status;
        int64_t allowed;  // above the small file's peak
    };
    const std::string words(kMiB, 'w');
    const Case cases[] = {
        {"a comment of 32 MiB of words", head + "#", std::string(1024, ' ') + "w", 32 * 1024,
         "\n" + std::string(kKeys), 0, 4 * kMiB},
        {"32 MiB of blank lines", head, std::string(1023, '\t') + "\n", 32 * 1024, kKeys, 0,
         4 * kMiB},
        {"a 32 MiB line of words", head + "seed", " 1", 16 * kMiB, "\n", 2, 4 * kMiB},
        {"the most edits a file holds", head, arrows, edits / 64, kKeys, 0, 2 * journal + 8 * kMiB},
    };
    for (const Case& c : cases) {
        write_file(dir / "case", c.head, c.piece, c.pieces, c.tail);
        const Outcome got = trace_run(dir / "case");
        EXPECT_EQ(got.status, c.status) << c.what;
        EXPECT_LE(got.peak_bytes - base.peak_bytes, c.allowed)
            << c.what << ": " << got.peak_bytes / 1024 << " KiB at its peak, against "
            << base.peak_bytes / 1024 << " KiB for a small file";
    }
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vornick
