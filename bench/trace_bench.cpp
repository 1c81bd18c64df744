// vornick-trace as a whole process on one thread against the serial floor, the same number of
// generator draws made one after another here, in CPU time, so that other processes sharing
// the cores weigh less; then vornick-trace on one thread against N threads, by the wall clock,
// as it stands and less the time of a process that makes one step. Rounds alternate between
// the two sides, and the median ratio of each case is printed.
//   trace_bench [--rounds N] [--vector-path P] [--threads N]   (P is passed to vornick-trace;
//   N is 2 by default, or all cores when there are more)
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "core_speeds.h"
#include "sim/kernels/worker_pool.h"
#include "vector_path_flag.h"

extern char** environ;

namespace {

struct Case {
    const char* orgs;
    const char* steps;
    int64_t draws;
};

double floor_seconds(int64_t draws) {
    return vornick::bench::draws_seconds(draws, CLOCK_THREAD_CPUTIME_ID);
}

double wall_seconds() {
    return vornick::bench::clock_seconds(CLOCK_MONOTONIC);
}

struct Took {
    double cpu;   // the child's, user and system
    double wall;  // from its start to its end
};

// The child's times; negative when it could not run or failed.
Took trace_seconds(const Case& c, const std::string& path, int threads) {
    std::vector<std::string> args = {VORNICK_TRACE, "--orgs",    c.orgs,
                                     "--steps",     c.steps,     "--max-iters",
                                     "2147483647",  "--threads", std::to_string(threads)};
    if (!path.empty()) {
        args.push_back("--vector-path");
        args.push_back(path);
    }
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const double t0 = wall_seconds();
    const int spawned = posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) return {-1, -1};
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return {-1, -1};
    }
    const double wall = wall_seconds() - t0;
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return {seconds(usage.ru_utime) + seconds(usage.ru_stime), wall};
}

struct Ratios {
    std::vector<double> all;
    void print(const char* what) {
        std::sort(all.begin(), all.end());
        std::printf("%s ratio %.3f (median of %zu; %.3f to %.3f)", what, all[all.size() / 2],
                    all.size(), all.front(), all.back());
    }
};

}  // namespace

int main(int argc, char** argv) {
    int rounds = 7;
    int threads = std::max(2, vornick::core_count());
    std::string path;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--vector-path") == 0 && i + 1 < argc) {
            path = argv[++i];
        } else if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc) {
            threads = std::clamp(std::atoi(argv[++i]), 1, vornick::kMaxWorkerThreads);
        } else {
            std::fprintf(stderr,
                         "usage: trace_bench [--rounds N] [--vector-path P] [--threads N]\n");
            return 2;
        }
    }
    vornick::VectorPath chosen{};
    if (!path.empty() &&
        (!vornick::path_named(path.c_str(), chosen) || !vornick::use_vector_path(chosen))) {
        std::fprintf(stderr, "this processor cannot run a path named '%s'\n", path.c_str());
        return 2;
    }
    vornick::bench::print_vector_path();
    vornick::bench::print_core_speeds();

    std::printf("one thread against the serial floor (CPU time):\n");
    const Case cases[] = {{"4", "100000000", 4 * int64_t{100000000}},
                          {"784", "1000000", 784 * int64_t{1000000}}};
    for (const Case& c : cases) {
        Ratios ratios;
        double trace = 0, floor = 0;
        for (int r = 0; r < rounds; ++r) {
            floor = floor_seconds(c.draws);
            trace = trace_seconds(c, path, 1).cpu;
            if (trace < 0) {
                std::fprintf(stderr, "vornick-trace failed\n");
                return 1;
            }
            ratios.all.push_back(trace / floor);
        }
        std::printf("  vornick-trace --orgs %s --steps %s: %.3f s, floor %.3f s,", c.orgs, c.steps,
                    trace, floor);
        ratios.print("");
        std::printf("\n");
    }

    std::printf("1 thread's time over %d threads' (wall time; goal at least 1.85 on 2 cores):\n",
                threads);
    const Case shared[] = {{"4", "100000000", 0}, {"784", "10000000", 0}};
    for (const Case& c : shared) {
        Ratios ratios, work_ratios;
        Took one{}, many{}, start{};
        for (int r = 0; r < rounds; ++r) {
            one = trace_seconds(c, path, 1);
            many = trace_seconds(c, path, threads);
            start = trace_seconds({c.orgs, "1", 0}, path, 1);
            if (one.wall < 0 || many.wall < 0 || start.wall < 0) {
                std::fprintf(stderr, "vornick-trace failed\n");
                return 1;
            }
            ratios.all.push_back(one.wall / many.wall);
            work_ratios.all.push_back((one.wall - start.wall) / (many.wall - start.wall));
        }
        std::printf(
            "  vornick-trace --orgs %s --steps %s: %.4f s, on %d threads %.4f s (CPU %.4f s),",
            c.orgs, c.steps, one.wall, threads, many.wall, many.cpu);
        ratios.print("");
        // Starting and ending a process takes a millisecond or two whatever it does, which is
        // a tenth of the shared run at a few organisms on a fast machine.
        std::printf("\n    less a run of one step (%.4f s) on each side:", start.wall);
        work_ratios.print("");
        std::printf("\n");
    }
    return 0;
}
