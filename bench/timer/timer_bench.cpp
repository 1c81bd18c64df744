// Firings per second of the step timer on an idle event loop, against the rate its interval
// asks for. An interval of a microsecond is bound by the loop itself: one firing per pass.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>

#include "app/step_timer.h"

namespace {

constexpr std::chrono::milliseconds kWindow(2000);

// The rate is taken between the first and the last firing of each window, so the firing at
// the moment of installation doesn't count as part of the pace.
void BM_StepTimerRate(benchmark::State& state, double interval) {
    using SteadyClock = std::chrono::steady_clock;
    int64_t firings = 0;
    SteadyClock::time_point first{};
    SteadyClock::time_point last{};
    vornick::QtStepTimer timer([&] {
        last = SteadyClock::now();
        if (firings++ == 0) first = last;
    });
    int64_t gaps = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        QEventLoop loop;
        QTimer::singleShot(kWindow, &loop, &QEventLoop::quit);
        QElapsedTimer elapsed;
        elapsed.start();
        firings = 0;
        timer.install(0.0, interval);
        loop.exec();
        timer.remove();
        state.SetIterationTime(static_cast<double>(elapsed.nsecsElapsed()) * 1e-9);
        if (firings > 1) {
            gaps += firings - 1;
            seconds += std::chrono::duration<double>(last - first).count();
        }
    }
    const double rate = seconds > 0.0 ? static_cast<double>(gaps) / seconds : 0.0;
    const double expected = 1.0 / interval;
    state.counters["firings_per_s"] = rate;
    state.counters["expected_per_s"] = expected;
    state.counters["ratio"] = rate / expected;
}

// The reference for the microsecond interval: passes per second of the same loop with a bare
// 0 ms QTimer.
void BM_LoopPasses(benchmark::State& state) {
    int64_t passes = 0;
    double seconds = 0.0;
    QTimer bare;
    QObject::connect(&bare, &QTimer::timeout, [&passes] { ++passes; });
    for (auto _ : state) {
        QEventLoop loop;
        QTimer::singleShot(kWindow, &loop, &QEventLoop::quit);
        QElapsedTimer elapsed;
        elapsed.start();
        bare.start(0);
        loop.exec();
        bare.stop();
        seconds += static_cast<double>(elapsed.nsecsElapsed()) * 1e-9;
        state.SetIterationTime(static_cast<double>(elapsed.nsecsElapsed()) * 1e-9);
    }
    state.counters["passes_per_s"] = static_cast<double>(passes) / seconds;
}

BENCHMARK(BM_LoopPasses)->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_StepTimerRate, 0.0005, 0.0005)->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_StepTimerRate, 0.00125, 0.00125)->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_StepTimerRate, 0.002, 0.002)->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_StepTimerRate, 0.0123, 0.0123)->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_StepTimerRate, 1e-06, 1e-06)->UseManualTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
