#include "app/step_timer.h"

#include <algorithm>
#include <utility>

namespace vornick {

namespace {

using SteadyClock = StepSchedule::SteadyClock;

SteadyClock::duration to_duration(double seconds) {
    constexpr double kLongest = 1e9;  // keeps every deadline sum far from the 64-bit limit
    if (!(seconds > 0.0)) return SteadyClock::duration::zero();
    return std::chrono::round<SteadyClock::duration>(
        std::chrono::duration<double>(std::min(seconds, kLongest)));
}

}  // namespace

void StepSchedule::start(SteadyClock::time_point now, double first_delay, double interval) {
    active_ = true;
    deadline_ = now + to_duration(first_delay);
    interval_ = to_duration(interval);
}

bool StepSchedule::take_due(SteadyClock::time_point now) {
    if (!active_ || now < deadline_) return false;
    deadline_ += interval_;
    if (now - deadline_ > kMaxLag) deadline_ = now + interval_;
    return true;
}

int StepSchedule::wait_ms(SteadyClock::time_point now) const {
    const SteadyClock::duration remaining = deadline_ - now;
    if (remaining < std::chrono::milliseconds(1)) return 0;
    // Rounding up wakes the loop a little late at worst, never early; the next deadline is
    // counted from this one, so the lateness doesn't add up.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(remaining).count();
    return static_cast<int>(std::min<decltype(ms)>(ms, kMaxWaitMs));
}

QtStepTimer::QtStepTimer(std::function<void()> callback, QObject* parent)
    : QObject(parent), callback_(std::move(callback)) {
    wake_.setTimerType(Qt::PreciseTimer);
    connect(&wake_, &QTimer::timeout, this, [this] { on_wake(); });
}

void QtStepTimer::remove() {
    schedule_.stop();
    extra_pending_ = false;
    arm();
}

void QtStepTimer::install(double first_delay, double interval) {
    schedule_.start(SteadyClock::now(), first_delay, interval);
    extra_pending_ = false;
    arm();
}

void QtStepTimer::fire_again_soon() {
    extra_pending_ = true;
    arm();
}

void QtStepTimer::on_wake() {
    // At most one firing per pass of the event loop, so whatever arrived meanwhile is handled
    // between any two firings.
    if (extra_pending_) {
        extra_pending_ = false;
        callback_();
    } else if (schedule_.take_due(SteadyClock::now())) {
        callback_();
    }
    arm();
}

void QtStepTimer::arm() {
    int ms = 0;
    if (!extra_pending_) {
        if (!schedule_.active()) {
            wake_.stop();
            return;
        }
        ms = schedule_.wait_ms(SteadyClock::now());
    }
    // A 0 ms timer already running fires at every pass; restarting it would only cost time.
    if (ms == 0 && wake_.isActive() && wake_.interval() == 0) return;
    wake_.start(ms);
}

}  // namespace vornick
