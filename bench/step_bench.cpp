// The steps with drawing off, against the serial floor: the same number of generator draws made
// one after another, which is what the steps would cost if nothing overlapped their draws; and
// batches shared among 2 threads against 1 (the last argument: threads), by the wall clock,
// with where sharing starts to pay. Run with --benchmark_repetitions=N
// --benchmark_enable_random_interleaving=true for medians of alternating rounds;
// --vector-path=avx2 measures that path on a processor with more.
#include <benchmark/benchmark.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <thread>

#include "ratio_reporter.h"
#include "sim/kernels/walk_pieces.h"
#include "sim/kernels/worker_pool.h"
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

// The pool as a run finds it: `threads` of them, sharing what pays.
void use_threads(int64_t threads) {
    vornick::use_worker_threads(static_cast<int32_t>(threads));
    vornick::kernels::use_min_piece_work(vornick::kernels::kMinPieceWork);
}

// Arguments: organisms, threads.
void BM_Step(benchmark::State& state) {
    use_threads(state.range(1));
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

// Arguments: organisms, steps per batch, threads.
void BM_Batch(benchmark::State& state) {
    use_threads(state.range(2));
    Sim& sim = fresh_sim(static_cast<int32_t>(state.range(0)));
    const int64_t steps = state.range(1);
    for (auto _ : state) {
        sim.step_batch(steps);
        if (sim.run.iters > INT32_MAX / 2) sim.run.iters = 0;
    }
    benchmark::DoNotOptimize(sim.model.orgs.get(0));
}

// A batch of organisms x steps shared among `threads` however short it is, to find the size
// from which sharing pays: batches back to back, or each after a pause long enough for the
// workers to fall asleep, as a batch after some idle time finds them. Arguments: organisms,
// steps, threads, paused.
void BM_SharedBatch(benchmark::State& state) {
    vornick::use_worker_threads(static_cast<int32_t>(state.range(2)));
    vornick::kernels::use_min_piece_work(1);
    Sim& sim = fresh_sim(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        if (state.range(3) != 0) {
            state.PauseTiming();
            std::this_thread::sleep_for(std::chrono::microseconds(500));
            state.ResumeTiming();
        }
        vornick::move_orgs_steps(sim.model, sim.rng, state.range(1));
    }
    benchmark::DoNotOptimize(sim.model.orgs.get(0));
    vornick::kernels::use_min_piece_work(vornick::kernels::kMinPieceWork);
}

// The back-to-back loop as the timer callback runs it: slices of 16 ms by the real clock.
void BM_MaxSpeedLoop(benchmark::State& state) {
    use_threads(state.range(1));
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

constexpr int64_t kSharedSteps784[] = {16, 64, 256, 1024, 4096, 16384};
constexpr int64_t kSharedSteps4[] = {4096, 16384, 65536, 262144, 1048576, 4194304};

BENCHMARK(BM_SerialFloor)->Args({4, 1})->Args({784, 1})->Args({4, 100000})->Args({784, 100});
BENCHMARK(BM_SerialFloor)->Args({784, 10000});
BENCHMARK(BM_Step)->Args({4, 1})->Args({784, 1})->Args({4, 2})->Args({784, 2});
BENCHMARK(BM_Move)->Arg(784);
BENCHMARK(BM_Batch)
    ->Args({4, 100000, 1})
    ->Args({784, 100, 1})
    ->Args({784, 10000, 1})
    ->Args({4, 100000, 2})
    ->Args({784, 100, 2})
    ->Args({784, 10000, 2})
    ->Args({4, 10000000, 1})
    ->Args({4, 10000000, 2})
    ->UseRealTime();
BENCHMARK(BM_SharedBatch)
    ->ArgsProduct({{784}, {std::begin(kSharedSteps784), std::end(kSharedSteps784)}, {1, 2}, {0}})
    ->ArgsProduct({{4}, {std::begin(kSharedSteps4), std::end(kSharedSteps4)}, {1, 2}, {0}})
    ->UseRealTime();
BENCHMARK(BM_SharedBatch)
    ->ArgsProduct({{784}, {std::begin(kSharedSteps784), std::end(kSharedSteps784)}, {1, 2}, {1}})
    ->ArgsProduct({{4}, {std::begin(kSharedSteps4), std::end(kSharedSteps4)}, {1, 2}, {1}})
    ->Iterations(300)
    ->UseRealTime();
BENCHMARK(BM_MaxSpeedLoop)->Args({4, 1})->Iterations(60);

std::string shared(int64_t norgs, int64_t steps, int threads, int paused) {
    return "BM_SharedBatch/" + std::to_string(norgs) + "/" + std::to_string(steps) + "/" +
           std::to_string(threads) + "/" + std::to_string(paused) +
           (paused ? "/iterations:300" : "") + "/real_time";
}

// For each row, 2 threads against 1 and the smallest batch at which 2 threads beat 1, back to
// back and after a pause; beside the size from which the pool shares a batch.
void print_where_sharing_pays(const vornick::bench::RatioReporter& r) {
    std::printf(
        "\nsharing a batch between 2 threads (wall time, 2 threads / 1; back to back, "
        "after a pause):\n");
    const auto row = [&r](int64_t norgs, const int64_t* steps, std::size_t count) {
        if (r.median(shared(norgs, steps[0], 1, 0), true) <= 0) return;  // not run
        int64_t pays[2] = {0, 0};
        for (std::size_t i = 0; i < count; ++i) {
            std::printf("  %4lld organisms x %8lld steps = %9lld organism-steps:",
                        static_cast<long long>(norgs), static_cast<long long>(steps[i]),
                        static_cast<long long>(norgs * steps[i]));
            for (const int paused : {0, 1}) {
                const double one = r.median(shared(norgs, steps[i], 1, paused), true);
                const double two = r.median(shared(norgs, steps[i], 2, paused), true);
                if (one <= 0 || two <= 0) continue;
                std::printf(" %6.3f", two / one);
                if (pays[paused] == 0 && two < one) pays[paused] = norgs * steps[i];
            }
            std::printf("\n");
        }
        std::printf("  pays from about %lld organism-steps back to back, %lld after a pause\n",
                    static_cast<long long>(pays[0]), static_cast<long long>(pays[1]));
    };
    row(784, kSharedSteps784, std::size(kSharedSteps784));
    row(4, kSharedSteps4, std::size(kSharedSteps4));
    std::printf("  the pool shares batches from %lld organism-steps (two pieces of %lld)\n",
                static_cast<long long>(2 * vornick::kernels::kMinPieceWork),
                static_cast<long long>(vornick::kernels::kMinPieceWork));
}

}  // namespace

int main(int argc, char** argv) {
    if (!vornick::bench::take_vector_path_flag(argc, argv)) return 2;
    vornick::bench::print_vector_path();
    benchmark::Initialize(&argc, argv);
    const auto batch = [](const char* args) {
        return std::string("BM_Batch/") + args + "/real_time";
    };
    vornick::bench::RatioReporter reporter({
        {"BM_Step/4/1", "BM_SerialFloor/4/1", 1.5},
        {"BM_Step/784/1", "BM_SerialFloor/784/1", 0.5},
        {"BM_Move/784", "BM_SerialFloor/784/1", 0.15},
        {batch("4/100000/1"), "BM_SerialFloor/4/100000", 0.08},
        {batch("784/100/1"), "BM_SerialFloor/784/100", 0.08},
        {batch("784/10000/1"), "BM_SerialFloor/784/10000", 0.08},
        // With the pool: the drawn step and short batches as fast as on one thread; long
        // batches in about half the time.
        {"BM_Step/4/2", "BM_Step/4/1", 1.02},
        {"BM_Step/784/2", "BM_Step/784/1", 1.02},
        {batch("4/100000/2"), batch("4/100000/1"), 1.02, true, true},
        {batch("784/100/2"), batch("784/100/1"), 1.02, true, true},
        {batch("784/10000/2"), batch("784/10000/1"), 1 / 1.85, true, true},
        {batch("4/10000000/2"), batch("4/10000000/1"), 1 / 1.85, true, true},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    print_where_sharing_pays(reporter);
    benchmark::Shutdown();
    return 0;
}
