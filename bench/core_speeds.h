// The benches' clocks and the serial floor, and each core's speed at the serial draws against
// the fastest. Cores shared with other machines or programs can differ by half, and then 1
// thread's time over N threads' moves with the core the one thread lands on: the speeds tell
// such a machine from one where sharing falls short.
#pragma once

#include <sched.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <vector>

#include "sim/generator.h"

namespace vornick::bench {

inline double clock_seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The serial floor: `draws` generator draws one after another, timed by `clock`.
inline double draws_seconds(int64_t draws, clockid_t clock) {
    Generator g;
    int32_t acc = 0;
    const double t0 = clock_seconds(clock);
    for (int64_t i = 0; i < draws; ++i) acc ^= g.draw();
    const double t = clock_seconds(clock) - t0;
    if (acc == 42) std::puts("");  // keeps the draws
    return t;
}

// By the wall clock, which counts the time a shared core gives to others; the best of three
// tries on each core.
inline void print_core_speeds() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) return;
    std::vector<double> times;
    for (int core = 0; core < CPU_SETSIZE && times.size() < 64; ++core) {
        if (!CPU_ISSET(core, &allowed)) continue;
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(core, &one);
        if (sched_setaffinity(0, sizeof one, &one) != 0) continue;
        double best = draws_seconds(20000000, CLOCK_MONOTONIC);
        for (int i = 0; i < 2; ++i) best = std::min(best, draws_seconds(20000000, CLOCK_MONOTONIC));
        times.push_back(best);
    }
    sched_setaffinity(0, sizeof allowed, &allowed);
    if (times.empty()) return;
    const double fastest = *std::min_element(times.begin(), times.end());
    std::printf("each core's speed, the fastest as 1:");
    for (const double t : times) std::printf(" %.2f", fastest / t);
    std::printf("\n");
}

}  // namespace vornick::bench
