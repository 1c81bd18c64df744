// The clocks of the running program: monotonic nanoseconds for the rate meter and the frame
// gate, calendar seconds for seeding a run from the time.
#pragma once

#include <chrono>
#include <ctime>

#include "sim/ports.h"

namespace vornick {

class SystemClock : public Clock {
  public:
    uint64_t now_ns() override {
        return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                         std::chrono::steady_clock::now().time_since_epoch())
                                         .count());
    }
    int64_t wall_seconds() override { return static_cast<int64_t>(std::time(nullptr)); }
};

}  // namespace vornick
