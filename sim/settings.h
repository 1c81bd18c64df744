// The thirteen persistent settings, as the rest of the program reads them. The preference store
// fills them at start-up; defaults here are those of an empty store.
#pragma once

#include <cstdint>

namespace vornick {

struct Settings {
    int32_t maxIters = 10000000;
    bool setStopPt = false;
    int32_t stopIters = 2000;
    double Slow = 2.0;
    double Fast = 1.0;
    double Turbo = 0.000001;
    double Variable = 1.0;
    int16_t sliderVal = 180;
    int32_t iNumOrgs = 4;
    bool randINumOrgs = false;
    bool rerunSavedSim = false;
    uint32_t savedSeed = 1;
    bool randomizeProg = false;
};

// Limits that every reader of the settings relies on, whatever the store held.
inline constexpr int32_t kMinNumOrgs = 0;
inline constexpr int32_t kMaxNumOrgs = 784;
inline constexpr double kMinInterval = 0.000001;
inline constexpr double kMaxInterval = 10000.0;

}  // namespace vornick
