// The step timer on the Qt event loop. It keeps the pace of any interval from a microsecond to
// hours, below a millisecond too, and never keeps pending events (repaints, input) waiting.
#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

#include "sim/ports.h"

namespace vornick {

// When the firings of a repeating timer are due. Each deadline is the previous one plus the
// interval, so late firings don't slow the pace down; after a stall longer than kMaxLag the
// schedule starts again from the present instead of catching up in a burst.
class StepSchedule {
  public:
    using SteadyClock = std::chrono::steady_clock;
    static constexpr SteadyClock::duration kMaxLag = std::chrono::milliseconds(50);
    static constexpr int kMaxWaitMs = 60'000;

    // Any double is accepted: NaN and values below zero count as zero, and values beyond about
    // thirty years as thirty years.
    void start(SteadyClock::time_point now, double first_delay, double interval);
    void stop() { active_ = false; }
    bool active() const { return active_; }

    // True when a firing is due at `now`; the schedule then moves on to the next deadline.
    bool take_due(SteadyClock::time_point now);

    // For an active schedule: how many whole milliseconds the event loop may sleep before the
    // next deadline, rounded up; 0 asks for a check at the loop's next pass, which is how
    // intervals below a millisecond keep their pace.
    int wait_ms(SteadyClock::time_point now) const;

  private:
    bool active_ = false;
    SteadyClock::time_point deadline_{};
    SteadyClock::duration interval_{};
};

class QtStepTimer : public QObject, public StepTimer {
  public:
    // The callback makes one firing; it may remove, install or ask to fire again, but must not
    // destroy this timer.
    explicit QtStepTimer(std::function<void()> callback, QObject* parent = nullptr);

    // Also drops a pending fire_again_soon.
    void remove() override;
    // Replaces whatever was installed, a pending fire_again_soon included.
    void install(double first_delay, double interval) override;
    // Several requests before the firing make one firing. It comes on top of the schedule and
    // doesn't move it, and it comes even when no timer is installed.
    void fire_again_soon() override;

    bool installed() const { return schedule_.active(); }

  private:
    void on_wake();
    void arm();

    std::function<void()> callback_;
    QTimer wake_;
    StepSchedule schedule_;
    bool extra_pending_ = false;
};

}  // namespace vornick
