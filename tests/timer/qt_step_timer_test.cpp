#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <functional>

#include "app/step_timer.h"

namespace vornick {
namespace {

using SteadyClock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// Runs the event loop for `span`, or until `done` holds (checked every millisecond).
void run_loop(std::chrono::milliseconds span, const std::function<bool()>& done = {}) {
    QEventLoop loop;
    QTimer::singleShot(span, &loop, &QEventLoop::quit);
    QTimer check;
    if (done) {
        QObject::connect(&check, &QTimer::timeout, &loop, [&] {
            if (done()) loop.quit();
        });
        check.start(1);
    }
    if (!done || !done()) loop.exec();
}

struct Counter {
    int firings = 0;
    SteadyClock::time_point first{};
    void operator()() {
        if (firings++ == 0) first = SteadyClock::now();
    }
};

TEST(QtStepTimer, FirstFiringWaitsForItsDelayThenFiringsKeepComing) {
    Counter counter;
    QtStepTimer timer([&] { counter(); });
    const SteadyClock::time_point installed_at = SteadyClock::now();
    timer.install(0.2, 0.01);
    run_loop(100ms);
    EXPECT_EQ(counter.firings, 0);
    run_loop(10s, [&] { return counter.firings >= 5; });
    ASSERT_GE(counter.firings, 5);
    EXPECT_GE(counter.first - installed_at, 200ms);
}

TEST(QtStepTimer, RemoveAndInstallEndTheFiringsInForce) {
    Counter counter;
    QtStepTimer timer([&] { counter(); });
    for (const bool replace : {false, true}) {
        SCOPED_TRACE(replace ? "install" : "remove");
        timer.install(0.0, 0.001);
        run_loop(10s, [&] { return counter.firings >= 3; });
        if (replace) {
            timer.install(100.0, 100.0);
        } else {
            timer.remove();
        }
        EXPECT_EQ(timer.installed(), replace);
        const int seen = counter.firings;
        run_loop(100ms);
        EXPECT_EQ(counter.firings, seen);
    }
}

TEST(QtStepTimer, FireAgainSoonGivesExactlyOneFiring) {
    Counter counter;
    QtStepTimer timer([&] { counter(); });
    timer.fire_again_soon();
    timer.fire_again_soon();
    run_loop(100ms);
    EXPECT_EQ(counter.firings, 1);

    timer.install(100.0, 100.0);
    timer.fire_again_soon();
    run_loop(100ms);
    EXPECT_EQ(counter.firings, 2);

    timer.fire_again_soon();
    timer.remove();
    run_loop(50ms);
    EXPECT_EQ(counter.firings, 2);
}

// The use it is made for: a callback that runs long, hands back to the loop and resumes.
TEST(QtStepTimer, CallbackCanAskForItsNextFiringOrRemoveItself) {
    int firings = 0;
    QtStepTimer* self = nullptr;
    QtStepTimer timer([&] {
        if (++firings < 5) {
            self->fire_again_soon();
        } else {
            self->remove();
        }
    });
    self = &timer;
    timer.install(0.0, 100.0);
    run_loop(200ms);
    EXPECT_EQ(firings, 5);
}

// Rates are for the benchmark; these bounds only tell a pace kept below a millisecond from one
// rounded to whole milliseconds, and never allow more firings than deadlines.
TEST(QtStepTimer, SubMillisecondIntervalsFireManyTimes) {
    for (const double interval : {0.0005, 1e-6}) {
        SCOPED_TRACE(interval);
        Counter counter;
        QtStepTimer timer([&] { counter(); });
        QElapsedTimer elapsed;
        elapsed.start();
        timer.install(0.0, interval);
        run_loop(500ms);
        timer.remove();
        const double seconds = static_cast<double>(elapsed.nsecsElapsed()) * 1e-9;
        EXPECT_GE(counter.firings, 600);
        EXPECT_LE(counter.firings, seconds / interval + 1);
    }
}

TEST(QtStepTimer, EventsStillGetThroughBetweenFiringsAtEveryPass) {
    Counter counter;
    QtStepTimer timer([&] { counter(); });
    timer.install(0.0, 1e-6);
    bool posted = false;
    bool timed = false;
    QMetaObject::invokeMethod(
        &timer, [&] { posted = true; }, Qt::QueuedConnection);
    QTimer::singleShot(5ms, [&] { timed = true; });
    run_loop(5s, [&] { return posted && timed; });
    EXPECT_TRUE(posted);
    EXPECT_TRUE(timed);
    EXPECT_GT(counter.firings, 0);
}

}  // namespace
}  // namespace vornick

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
