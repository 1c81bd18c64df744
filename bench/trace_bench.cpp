// vornick-trace as a whole process against the serial floor, the same number of generator draws
// made one after another here: rounds alternate between the two, and the median ratio of each
// case is printed. CPU time, so that other processes sharing the cores weigh less.
//   trace_bench [--rounds N] [--vector-path P]   (P is passed to vornick-trace)
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

#include "sim/generator.h"

extern char** environ;

namespace {

struct Case {
    const char* orgs;
    const char* steps;
    int64_t draws;
};

double thread_cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double floor_seconds(int64_t draws) {
    vornick::Generator g;
    int32_t acc = 0;
    const double t0 = thread_cpu_seconds();
    for (int64_t i = 0; i < draws; ++i) acc ^= g.draw();
    const double t = thread_cpu_seconds() - t0;
    if (acc == 42) std::puts("");  // keeps the draws
    return t;
}

// The child's CPU time, user and system; a negative value when it could not run or failed.
double trace_seconds(const Case& c, const std::string& path) {
    std::vector<std::string> args = {VORNICK_TRACE, "--orgs",      c.orgs,      "--steps",
                                     c.steps,       "--max-iters", "2147483647"};
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
    const int spawned = posix_spawn(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    int rounds = 7;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--vector-path") == 0 && i + 1 < argc) {
            path = argv[++i];
        } else {
            std::fprintf(stderr, "usage: trace_bench [--rounds N] [--vector-path P]\n");
            return 2;
        }
    }
    const Case cases[] = {{"4", "100000000", 4 * int64_t{100000000}},
                          {"784", "1000000", 784 * int64_t{1000000}}};
    for (const Case& c : cases) {
        std::vector<double> ratios;
        double trace = 0, floor = 0;
        for (int r = 0; r < rounds; ++r) {
            floor = floor_seconds(c.draws);
            trace = trace_seconds(c, path);
            if (trace < 0) {
                std::fprintf(stderr, "vornick-trace failed\n");
                return 1;
            }
            ratios.push_back(trace / floor);
        }
        std::sort(ratios.begin(), ratios.end());
        std::printf(
            "vornick-trace --orgs %s --steps %s: %.3f s, floor %.3f s, ratio %.3f (median of %d; "
            "%.3f to %.3f)\n",
            c.orgs, c.steps, trace, floor, ratios[ratios.size() / 2], rounds, ratios.front(),
            ratios.back());
    }
    return 0;
}
