// The step with drawing off, against the serial floor: the same number of generator draws made
// one after another, which is what a step would cost if nothing overlapped its draws.
#include <benchmark/benchmark.h>

#include <climits>

#include "ratio_reporter.h"
#include "sim/sim.h"
#include "sim/system_clock.h"

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

void BM_SerialFloor(benchmark::State& state) {
    const auto n = static_cast<int32_t>(state.range(0));
    vornick::Generator g;
    int32_t acc = 0;
    for (auto _ : state) {
        for (int32_t i = 0; i < n; ++i) acc ^= g.draw();
        benchmark::DoNotOptimize(acc);
    }
}

void BM_Step(benchmark::State& state) {
    Sim& sim = fresh_sim(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        sim.HandleDraw();
        if (sim.run.iters > INT32_MAX - 2) sim.run.iters = 0;
    }
    benchmark::DoNotOptimize(sim.model.orgs[0]);
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

BENCHMARK(BM_SerialFloor)->Arg(4)->Arg(784);
BENCHMARK(BM_Step)->Arg(4)->Arg(784);
BENCHMARK(BM_MaxSpeedLoop)->Arg(4)->Iterations(60);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    vornick::bench::RatioReporter reporter({
        {"BM_Step/4", "BM_SerialFloor/4", 1.5},
        {"BM_Step/784", "BM_SerialFloor/784", 0.5},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
