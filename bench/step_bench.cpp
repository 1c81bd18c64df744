// The steps with drawing off, against the serial floor: the same number of generator draws made
// one after another, which is what the steps would cost if nothing overlapped their draws.
// Run with --benchmark_repetitions=N --benchmark_enable_random_interleaving=true for medians
// of alternating rounds; --vector-path=avx2 measures that path on a processor with more.
#include <benchmark/benchmark.h>

#include <climits>

#include "ratio_reporter.h"
#include "sim/move.h"
#include "sim/sim.h"
#include "sim/system_clock.h"
#include "vector_path_flag.h"

namespace {

using vornick::Sim;

Sim& fresh_sim(int32_t norgs) {
    static Sim sim;
    sim = Sim{};
    sim.prefs.iNumOrgs = norgs;
    sim.prefs.maxIters = INT32_MAX;
    sim.pace.speed = vornick::kMaxSpeedMode;
    sim.pace.delay = vornick::kMaxSpeedInterval;
    sim.new_sim();
    return sim;
}

// Arguments: organisms, steps.
void BM_SerialFloor(benchmark::State& state) {
    const auto draws = state.range(0) * state.range(1);
    vornick::Generator g;
    int32_t acc = 0;
    for (auto _ : state) {
        for (int64_t i = 0; i < draws; ++i) acc ^= g.draw();
        benchmark::DoNotOptimize(acc);
    }
}

void BM_Step(benchmark::State& state) {
    Sim& sim = fresh_sim(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        sim.HandleDraw();
        if (sim.run.iters > INT32_MAX - 2) sim.run.iters = 0;
    }
    benchmark::DoNotOptimize(sim.model.orgs.get(0));
}

// The model half of one drawn step.
void BM_Move(benchmark::State& state) {
    Sim& sim = fresh_sim(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(vornick::move_orgs(sim.model, sim.rng));
    benchmark::DoNotOptimize(sim.model.orgs.get(0));
}

// Arguments: organisms, steps per batch.
void BM_Batch(benchmark::State& state) {
    Sim& sim = fresh_sim(static_cast<int32_t>(state.range(0)));
    const int64_t steps = state.range(1);
    for (auto _ : state) {
        sim.step_batch(steps);
        if (sim.run.iters > INT32_MAX / 2) sim.run.iters = 0;
    }
    benchmark::DoNotOptimize(sim.model.orgs.get(0));
}

// The back-to-back loop as the timer callback runs it: slices of 16 ms by the real clock.
void BM_MaxSpeedLoop(benchmark::State& state) {
    static vornick::SystemClock clock;
    Sim& sim = fresh_sim(static_cast<int32_t>(state.range(0)));
    sim.io.clock = &clock;
    int64_t steps = 0;
    for (auto _ : state) {
        const int32_t before = sim.run.iters;
        sim.doIdle();
        steps += sim.run.iters - before;
        if (sim.run.iters > INT32_MAX / 2) sim.run.iters = 0;
    }
    state.counters["steps/s"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_SerialFloor)->Args({4, 1})->Args({784, 1})->Args({4, 100000})->Args({784, 100});
BENCHMARK(BM_SerialFloor)->Args({784, 10000});
BENCHMARK(BM_Step)->Arg(4)->Arg(784);
BENCHMARK(BM_Move)->Arg(784);
BENCHMARK(BM_Batch)->Args({4, 100000})->Args({784, 100})->Args({784, 10000});
BENCHMARK(BM_MaxSpeedLoop)->Arg(4)->Iterations(60);

}  // namespace

int main(int argc, char** argv) {
    if (!vornick::bench::take_vector_path_flag(argc, argv)) return 2;
    vornick::bench::print_vector_path();
    benchmark::Initialize(&argc, argv);
    vornick::bench::RatioReporter reporter({
        {"BM_Step/4", "BM_SerialFloor/4/1", 1.5},
        {"BM_Step/784", "BM_SerialFloor/784/1", 0.5},
        {"BM_Move/784", "BM_SerialFloor/784/1", 0.15},
        {"BM_Batch/4/100000", "BM_SerialFloor/4/100000", 0.08},
        {"BM_Batch/784/100", "BM_SerialFloor/784/100", 0.08},
        {"BM_Batch/784/10000", "BM_SerialFloor/784/10000", 0.08},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
