// vornick-soak: a long run through vornick-trace's core, checked as it goes. By default 10^9
// steps at 784 organisms: after every stretch each organism must stand on the grid with a
// heading of 0 to 3, now and then a stretch is made again one draw after another and must
// agree, and at the end the generator must be where the jump-ahead of all the draws puts it.
// Not part of the test run: it takes about a minute. Takes vornick-trace's options.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "sim/kernels/vector_path.h"
#include "sim/kernels/worker_pool.h"
#include "sim/move.h"
#include "sim/sim.h"
#include "tools/trace_options.h"

namespace {

using namespace vornick;

constexpr int64_t kStretch = 1'000'000;  // steps between checks of the whole table
constexpr int kSerialEvery = 100;        // stretches between serial comparisons
constexpr int64_t kSerialSteps = 2000;

bool table_sound(const World& w, int64_t at) {
    for (int32_t i = 0; i < w.norgs; ++i) {
        const Org o = w.orgs.get(i);
        if (o.x < 0 || o.x >= kGridSize || o.y < 0 || o.y >= kGridSize || o.dir < 0 || o.dir > 3) {
            std::fprintf(stderr, "vornick-soak: step %lld: organism %d at (%d, %d) heading %d\n",
                         static_cast<long long>(at), i, o.x, o.y, o.dir);
            return false;
        }
    }
    return true;
}

// The same steps, made by the definition that the batched moves must match.
bool serial_agrees(Sim& sim, int64_t at) {
    World serial = sim.model;
    Generator gen = sim.rng;
    for (int64_t k = 0; k < kSerialSteps; ++k) move_orgs_serial(serial, gen);
    if (sim.step_batch(kSerialSteps) != kSerialSteps) return false;
    for (int32_t i = 0; i < serial.norgs; ++i) {
        const Org a = serial.orgs.get(i);
        const Org b = sim.model.orgs.get(i);
        if (a.x != b.x || a.y != b.y || a.dir != b.dir) {
            std::fprintf(stderr, "vornick-soak: step %lld: organism %d differs from serial\n",
                         static_cast<long long>(at), i);
            return false;
        }
    }
    return gen.seed == sim.rng.seed;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args = {"--orgs",     "784",         "--steps",
                                     "1000000000", "--max-iters", "2147483647"};
    args.insert(args.end(), argv + 1, argv + argc);  // later options win
    std::string error;
    const auto opts = parse_trace_options(args, error);
    if (!opts || opts->help || opts->steps > opts->max_iters) {
        std::fprintf(stderr, "vornick-soak: %s\n%s",
                     opts ? "--steps must not exceed --max-iters" : error.c_str(), kTraceUsage);
        return 2;
    }
    if (!use_chosen_vector_path(*opts, "vornick-soak")) return 2;
    use_chosen_threads(*opts);

    static Sim sim;  // large tables: keep them off the stack
    sim.prefs.iNumOrgs = opts->orgs;
    sim.prefs.randINumOrgs = opts->random_count;
    sim.prefs.maxIters = opts->max_iters;
    sim.pace.speed = kMaxSpeedMode;
    sim.pace.delay = kMaxSpeedInterval;
    sim.rng.seed = opts->seed;
    sim.new_sim();
    const uint32_t generated = sim.rng.seed;

    const auto start = std::chrono::steady_clock::now();
    int64_t done = 0;
    for (int stretch = 1; done < opts->steps; ++stretch) {
        const int64_t want = std::min(kStretch, opts->steps - done);
        const bool serial = stretch % kSerialEvery == 0 && want >= kSerialSteps;
        if (serial && !serial_agrees(sim, done)) return 1;
        const int64_t rest = serial ? want - kSerialSteps : want;
        if (sim.step_batch(rest) != rest && rest > 0) {
            std::fprintf(stderr, "vornick-soak: the run stopped at step %d\n", sim.run.iters);
            return 1;
        }
        done += want;
        if (sim.run.iters != done || !table_sound(sim.model, done)) return 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const uint32_t expected =
        jump_of(static_cast<uint64_t>(sim.model.norgs) * static_cast<uint64_t>(done))
            .apply(generated);
    if (sim.rng.seed != expected) {
        std::fprintf(stderr, "vornick-soak: generator at %u, the jump-ahead says %u\n",
                     sim.rng.seed, expected);
        return 1;
    }
    std::printf(
        "%lld steps of %d organisms on the %s path, %d threads, in %.1f s (%.3g steps/s): all "
        "sound\n",
        static_cast<long long>(done), sim.model.norgs, path_name(vector_path()), worker_threads(),
        seconds, static_cast<double>(done) / seconds);
    return 0;
}
