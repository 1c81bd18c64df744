// The pacing and drawing of the real program, measured in one process under a display (Xvfb):
// the maximum-speed loop against vornick-trace's pace, drawn steps in turbo mode with what the
// rate meter says of them, how long a press takes to stop a run at maximum speed, and what an
// arrow-key move costs against drawing the board in full in its handler.
// --vector-path=avx2 measures that path on a processor with more; --threads=N shares the batches
// of both the loop and vornick-trace's pace among N threads (default: all cores).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <ctime>
#include <thread>
#include <vector>

#include "app/menu_choice.h"
#include "app/vornick_app.h"
#include "bench/vector_path_flag.h"
#include "render/gl_surface.h"
#include "sim/kernels/worker_pool.h"

namespace {

using namespace vornick;

void spin_events(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double thread_cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double process_cpu_seconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Pace {
    double per_second;      // steps per second of wall time
    double per_cpu_second;  // steps per second the main thread ran
};

// The pace of vornick-trace, which makes its run in one batch: for `seconds`, with `norgs`
// organisms, in batches of about 2^30 organism-steps (tens of milliseconds, where a batch's own
// cost is lost in the noise) so that it is measured over as long as the loop is.
Pace trace_pace(int32_t norgs, double seconds) {
    static Sim sim;
    sim = Sim{};
    sim.prefs.maxIters = INT32_MAX;
    sim.prefs.iNumOrgs = norgs;
    sim.pace.speed = kMaxSpeedMode;
    sim.pace.delay = kMaxSpeedInterval;
    sim.new_sim();
    const int64_t batch = std::max<int64_t>((int64_t{1} << 30) / norgs, 1);
    const auto t0 = std::chrono::steady_clock::now();
    const double cpu0 = thread_cpu_seconds();
    int64_t steps = 0;
    double elapsed = 0;
    do {
        if (sim.run.iters > INT32_MAX / 2) sim.run.iters = 0;
        steps += sim.step_batch(batch);
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    } while (elapsed < seconds);
    const auto made = static_cast<double>(steps);
    return {made / elapsed, made / (thread_cpu_seconds() - cpu0)};
}

// Counts the steps of a run at maximum speed and keeps it short of its end. At ten billion
// steps a second a run of 4 organisms reaches the last step a count can hold in a fifth of a
// second, and would stand still for the rest of the measurement. The timer fires between two
// slices of the loop, each a small part of that.
class StepCounter {
  public:
    explicit StepCounter(Sim& sim) : sim_(sim) {
        sim_.run.iters = 0;
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            counted_ += sim_.run.iters;
            sim_.run.iters = 0;
        });
        timer_.start(1);
    }
    double made() const { return static_cast<double>(counted_ + sim_.run.iters); }

  private:
    Sim& sim_;
    QTimer timer_;
    int64_t counted_ = 0;
};

// The loop's pace in a running program, with its yields to the event loop and its repaints.
Pace loop_pace(VornickApp& app, int ms) {
    const StepCounter steps(app.sim());
    QElapsedTimer t;
    t.start();
    const double cpu0 = thread_cpu_seconds();
    spin_events(ms);
    const double made = steps.made();
    return {made / (static_cast<double>(t.nsecsElapsed()) * 1e-9),
            made / (thread_cpu_seconds() - cpu0)};
}

// Steps made by the timer callback against vornick-trace's pace, each measured for 150 ms in
// turn, the first of the two changing from round to round, so that a slow spell of the machine
// (which on a shared one comes and goes within a second) weighs on both sides. The median
// round is reported.
void BM_MaxSpeedLoop(benchmark::State& state) {
    const auto norgs = static_cast<int32_t>(state.range(0));
    VornickApp app;
    app.start();
    app.sim().prefs.maxIters = INT32_MAX;
    app.sim().prefs.iNumOrgs = norgs;
    app.HandleMenuChoice(menu_choice(kFileMenu, kRestartItem));
    app.HandleMenuChoice(menu_choice(kSpeedMenu, kMaxSpeedMode));
    {
        const StepCounter warm_up(app.sim());
        spin_events(100);
    }
    std::vector<double> ratios, cpu_ratios;
    Pace loop{}, bare{};
    int round = 0;
    for (auto _ : state) {
        if (round++ % 2 == 0) {
            bare = trace_pace(norgs, 0.15);
            loop = loop_pace(app, 150);
        } else {
            loop = loop_pace(app, 150);
            bare = trace_pace(norgs, 0.15);
        }
        ratios.push_back(loop.per_second / bare.per_second);
        cpu_ratios.push_back(loop.per_cpu_second / bare.per_cpu_second);
    }
    std::sort(ratios.begin(), ratios.end());
    std::sort(cpu_ratios.begin(), cpu_ratios.end());
    state.counters["steps/s"] = loop.per_second;
    state.counters["trace_steps/s"] = bare.per_second;
    state.counters["vs_trace"] = ratios[ratios.size() / 2];
    state.counters["worst_round"] = ratios.front();
    // The same per second that the main thread ran: what the loop itself costs, without the
    // time other processes took from it.
    state.counters["vs_trace_cpu"] = cpu_ratios[cpu_ratios.size() / 2];
}

// Forwards to the real panel and adds up the rate meter's readings.
struct RateTap : PanelView {
    PanelView* real;
    double sum = 0;
    int readings = 0;
    void outext(int32_t n) override { real->outext(n); }
    void outext2(int32_t x, int32_t y) override { real->outext2(x, y); }
    void clr_selorg_text() override { real->clr_selorg_text(); }
    void outext4(double rate, RateUnit unit) override {
        sum += rate;
        ++readings;
        real->outext4(rate, unit);
    }
    void clr_FPS_text() override { real->clr_FPS_text(); }
};

void BM_TurboDrawnSteps(benchmark::State& state) {
    VornickApp app;
    app.start();
    RateTap tap;
    tap.real = app.sim().io.panel;
    app.sim().io.panel = &tap;
    app.sim().prefs.maxIters = INT32_MAX;
    app.HandleMenuChoice(menu_choice(kSpeedMenu, kTurboMode));
    app.HandleMenuChoice(menu_choice(kOutputMenu, 1));
    spin_events(1200);  // past the meter's first reading, which counts from the clock's origin
    double rate = 0;
    for (auto _ : state) {
        // From one reading of the meter to the third after it, so both cover the same steps.
        tap.readings = 0;
        while (tap.readings == 0) spin_events(5);
        const int32_t before = app.sim().run.iters;
        QElapsedTimer t;
        t.start();
        tap.sum = 0;
        tap.readings = 0;
        while (tap.readings < 3) spin_events(1);
        rate = (app.sim().run.iters - before) / (t.nsecsElapsed() * 1e-9);
    }
    const double meter = tap.readings > 0 ? tap.sum / tap.readings : 0;
    state.counters["drawn_steps/s"] = rate;
    state.counters["meter_says"] = meter;
    state.counters["meter/measured"] = rate > 0 ? meter / rate : 0;
}

// A press posted from another thread, as the window system delivers one, until it is handled.
class PressClock : public QObject {
  public:
    std::atomic<int64_t> handled_ns{0};
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress)
            handled_ns = std::chrono::steady_clock::now().time_since_epoch().count();
        return false;
    }
};

void BM_PressToStop(benchmark::State& state) {
    VornickApp app;
    app.start();
    app.sim().prefs.maxIters = INT32_MAX;
    app.sim().prefs.iNumOrgs = static_cast<int32_t>(state.range(0));
    app.HandleMenuChoice(menu_choice(kFileMenu, kRestartItem));
    GlSurface* surface = app.main_window().surface();
    PressClock clock;
    surface->installEventFilter(&clock);
    app.HandleMenuChoice(menu_choice(kSpeedMenu, kMaxSpeedMode));
    double worst = 0, total = 0;
    int n = 0, stopped = 0;
    for (auto _ : state) {
        const StepCounter steps(app.sim());
        spin_events(200);
        std::atomic<int64_t> posted_ns{0};
        std::thread poster([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(5 + 7 * (n % 5)));
            const QPointF at(100, 100);
            posted_ns = std::chrono::steady_clock::now().time_since_epoch().count();
            QCoreApplication::postEvent(
                surface, new QMouseEvent(QEvent::MouseButtonPress, at, at, Qt::LeftButton,
                                         Qt::LeftButton, Qt::NoModifier));
            QCoreApplication::postEvent(
                surface, new QMouseEvent(QEvent::MouseButtonRelease, at, at, Qt::LeftButton,
                                         Qt::NoButton, Qt::NoModifier));
        });
        spin_events(150);
        poster.join();
        const double ms = (clock.handled_ns - posted_ns) * 1e-6;
        worst = std::max(worst, ms);
        total += ms;
        stopped += app.sim().run.stop;
        ++n;
        app.sim().continue_command();
    }
    state.counters["mean_ms"] = total / n;
    state.counters["worst_ms"] = worst;
    state.counters["stopped"] = stopped;
}

// A held arrow key on a selected organism: a burst of presses posted as the window system
// delivers them, worked off with the repaints they cause. Process CPU per move (the GL driver
// draws on threads of its own) as the
// program draws (the redraw recorded, drawn once a display frame), against the same burst with
// the board drawn at once in each key's handler, in alternating rounds; the median is reported.
void BM_ArrowMoves(benchmark::State& state) {
    constexpr int kBurst = 300;
    VornickApp app;
    app.start();
    Sim& sim = app.sim();
    sim.prefs.iNumOrgs = static_cast<int32_t>(state.range(0));
    app.HandleMenuChoice(menu_choice(kFileMenu, kRestartItem));
    app.HandleMenuChoice(menu_choice(kFileMenu, kStopItem));
    const Org o = sim.model.orgs.get(0);
    sim.sel = {0, 1, o.x, o.y};
    app.main_window().activateWindow();
    GlBoard& board = app.main_window().surface()->board();
    std::vector<double> recorded, at_once;
    int keys = 0;
    for (auto _ : state) {
        for (const bool direct : {true, false}) {
            board.draw_at_once(direct);
            spin_events(50);
            const double cpu0 = process_cpu_seconds();
            for (int i = 0; i < kBurst; ++i, ++keys) {
                const int key = (keys / 40) % 2 == 0 ? Qt::Key_Right : Qt::Key_Down;
                QCoreApplication::postEvent(&app.main_window(),
                                            new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
            }
            QCoreApplication::sendPostedEvents();
            spin_events(60);  // the repaint the burst asked for
            (direct ? at_once : recorded).push_back((process_cpu_seconds() - cpu0) / kBurst * 1e6);
        }
    }
    board.draw_at_once(false);
    std::sort(recorded.begin(), recorded.end());
    std::sort(at_once.begin(), at_once.end());
    const double r = recorded[recorded.size() / 2], d = at_once[at_once.size() / 2];
    state.counters["us_per_move"] = r;
    state.counters["drawn_at_once_us"] = d;
    state.counters["vs_drawn_at_once"] = r / d;
    state.counters["moves"] = static_cast<double>(sim.journal.size());
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    vornick::use_compatibility_profile();
    if (!vornick::bench::take_vector_path_flag(argc, argv)) return 2;
    if (!vornick::bench::take_threads_flag(argc, argv)) return 2;
    vornick::bench::print_vector_path();
    std::printf("threads: %d\n", vornick::worker_threads());
    QApplication qapp(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("BM_MaxSpeedLoop", BM_MaxSpeedLoop)
        ->Arg(4)
        ->Arg(784)
        ->Iterations(21)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_TurboDrawnSteps/4", BM_TurboDrawnSteps)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_PressToStop", BM_PressToStop)
        ->Arg(4)
        ->Arg(784)
        ->Iterations(20)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_ArrowMoves", BM_ArrowMoves)
        ->Arg(4)
        ->Arg(784)
        ->Iterations(5)
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
