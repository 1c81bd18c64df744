// Time travel against going forward: Go to Step, forward and back, with and without edits on
// the way, against the same steps forward in a vornick-trace process; Step Back against a
// forward step, drawn through do-nothing ports, and its model half against the move's: all on
// one thread, in CPU time. Then Go to Step on one thread against N threads, by the wall clock.
// Rounds alternate between the cases; medians of the ratios are printed.
//   travel_bench [--rounds N] [--vector-path=P] [--threads N]   (P also goes to vornick-trace;
//   N is 2 by default, or all cores when there are more)
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "core_speeds.h"
#include "sim/history/move_back.h"
#include "sim/kernels/worker_pool.h"
#include "sim/move.h"
#include "sim/sim.h"
#include "vector_path_flag.h"

namespace {

using vornick::Sim;

double cpu_now() {
    return vornick::bench::clock_seconds(CLOCK_THREAD_CPUTIME_ID);
}

// vornick-trace's CPU time, user and system, for the steps; negative when it failed.
double trace_seconds(int32_t norgs, int64_t steps, const char* path) {
    std::vector<std::string> args = {
        VORNICK_TRACE, "--orgs",     std::to_string(norgs), "--steps", std::to_string(steps),
        "--max-iters", "2147483647", "--threads",           "1"};
    if (path) args.insert(args.end(), {"--vector-path", path});
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return -1;
    }
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

std::unique_ptr<Sim> halted_run(int32_t norgs, int16_t speed) {
    auto sim = std::make_unique<Sim>();
    sim->prefs.iNumOrgs = norgs;
    sim->prefs.maxIters = INT32_MAX;
    sim->pace.speed = speed;
    sim->pace.delay = speed == vornick::kMaxSpeedMode ? vornick::kMaxSpeedInterval : 2.0;
    sim->new_sim();
    sim->stop_command();
    return sim;
}

// Seconds of a travel to step n in chunks, as the window makes it, by `clock`.
double go_to_seconds(Sim& sim, int32_t n, clockid_t clock = CLOCK_THREAD_CPUTIME_ID) {
    const double t0 = vornick::bench::clock_seconds(clock);
    sim.go_to_step(n);
    while (!sim.travel(sim.travel_chunk())) {
    }
    return vornick::bench::clock_seconds(clock) - t0;
}

// An arrow edit at each of `count` steps spread over the run, then back to step 0.
void add_edits(Sim& sim, int32_t steps, int32_t count) {
    for (int32_t k = 1; k <= count; ++k) {
        go_to_seconds(sim, static_cast<int32_t>(int64_t{steps} * k / (count + 1)));
        vornick::OrgMove m{};
        sim.arrow_edit(k % sim.model.norgs, static_cast<vornick::ArrowKey>(k % 4), m);
    }
    go_to_seconds(sim, 0);
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Row {
    std::string name;
    std::vector<double> ratios;
};

void print(const Row& r, int rounds) {
    std::printf("  %-58s %7.3f  (median of %d; %.3f to %.3f)\n", r.name.c_str(), median(r.ratios),
                rounds, *std::min_element(r.ratios.begin(), r.ratios.end()),
                *std::max_element(r.ratios.begin(), r.ratios.end()));
}

}  // namespace

int main(int argc, char** argv) {
    const char* trace_path = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--vector-path=", 14) == 0) trace_path = argv[i] + 14;
    }
    if (!vornick::bench::take_vector_path_flag(argc, argv)) return 2;
    int rounds = 5;
    int threads = std::max(2, vornick::core_count());
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            rounds = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc) {
            threads = std::clamp(std::atoi(argv[++i]), 1, vornick::kMaxWorkerThreads);
        } else {
            std::fprintf(stderr,
                         "usage: travel_bench [--rounds N] [--vector-path=P] [--threads N]\n");
            return 2;
        }
    }
    vornick::bench::print_vector_path();
    vornick::bench::print_core_speeds();
    vornick::use_worker_threads(1);

    struct GoCase {
        int32_t norgs;
        int32_t steps;
    };
    std::printf("Go to Step, as a ratio of the same steps in a vornick-trace process:\n");
    for (const GoCase c : {GoCase{4, 100000000}, GoCase{784, 1000000}}) {
        const std::string what =
            std::to_string(c.norgs) + " organisms, step " + std::to_string(c.steps);
        Row rows[] = {{"forward from 0, " + what, {}},
                      {"back to 0, " + what, {}},
                      {"forward over 1000 edits, " + what, {}},
                      {"back over 1000 edits, " + what, {}}};
        double trace_s = 0, forward_s = 0;
        for (int r = 0; r < rounds; ++r) {
            trace_s = trace_seconds(c.norgs, c.steps, trace_path);
            if (trace_s < 0) {
                std::fprintf(stderr, "vornick-trace failed\n");
                return 1;
            }
            auto plain = halted_run(c.norgs, vornick::kMaxSpeedMode);
            forward_s = go_to_seconds(*plain, c.steps);
            rows[0].ratios.push_back(forward_s / trace_s);
            rows[1].ratios.push_back(go_to_seconds(*plain, 0) / trace_s);
            auto edited = halted_run(c.norgs, vornick::kMaxSpeedMode);
            add_edits(*edited, c.steps, 1000);
            rows[2].ratios.push_back(go_to_seconds(*edited, c.steps) / trace_s);
            rows[3].ratios.push_back(go_to_seconds(*edited, 0) / trace_s);
        }
        std::printf(" (last round: vornick-trace %.4f s, forward %.4f s)\n", trace_s, forward_s);
        for (const Row& row : rows) print(row, rounds);
    }

    std::printf("Step Back, as a ratio of one forward step:\n");
    constexpr int kOps = 20000;
    for (const int32_t n : {4, 784}) {
        Row drawn{"Step Back / drawn step, " + std::to_string(n) + " organisms", {}};
        Row model{"unmove_orgs / move_orgs, " + std::to_string(n) + " organisms", {}};
        for (int r = 0; r < rounds; ++r) {
            auto sim = halted_run(n, vornick::kSlowMode);
            sim->continue_command();
            double t0 = cpu_now();
            for (int k = 0; k < kOps; ++k) sim->HandleDraw();
            const double forward = cpu_now() - t0;
            sim->stop_command();
            t0 = cpu_now();
            for (int k = 0; k < kOps; ++k) sim->step_back();
            drawn.ratios.push_back((cpu_now() - t0) / forward);

            t0 = cpu_now();
            for (int k = 0; k < kOps; ++k) vornick::move_orgs(sim->model, sim->rng);
            const double move = cpu_now() - t0;
            t0 = cpu_now();
            for (int k = 0; k < kOps; ++k) vornick::unmove_orgs(sim->model, sim->rng);
            model.ratios.push_back((cpu_now() - t0) / move);
        }
        print(drawn, rounds);
        print(model, rounds);
    }

    std::printf(
        "Go to Step, 1 thread's time over %d threads' (wall time; goal at least 1.85 on 2 "
        "cores):\n",
        threads);
    for (const GoCase c : {GoCase{4, 100000000}, GoCase{784, 10000000}}) {
        const std::string what =
            std::to_string(c.norgs) + " organisms, step " + std::to_string(c.steps);
        Row rows[] = {{"forward from 0, " + what, {}}, {"back to 0, " + what, {}}};
        double one = 0, many = 0;
        for (int r = 0; r < rounds; ++r) {
            double took[2][2] = {};  // [threads][forward, back]
            for (const int k : {0, 1}) {
                vornick::use_worker_threads(k == 0 ? 1 : threads);
                auto sim = halted_run(c.norgs, vornick::kMaxSpeedMode);
                took[k][0] = go_to_seconds(*sim, c.steps, CLOCK_MONOTONIC);
                took[k][1] = go_to_seconds(*sim, 0, CLOCK_MONOTONIC);
            }
            rows[0].ratios.push_back(took[0][0] / took[1][0]);
            rows[1].ratios.push_back(took[0][1] / took[1][1]);
            one = took[0][0];
            many = took[1][0];
        }
        std::printf(" (last round, forward: 1 thread %.4f s, %d threads %.4f s)\n", one, threads,
                    many);
        for (const Row& row : rows) print(row, rounds);
    }
    vornick::use_worker_threads(vornick::core_count());
    return 0;
}
