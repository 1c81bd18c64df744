// Helpers shared by the preference tests: field-by-field comparison of two Settings, and a
// set of values that differs from the defaults in every field.
#pragma once

#include <gtest/gtest.h>

#include "sim/settings.h"

namespace vornick {

inline void expect_same_settings(const Settings& actual, const Settings& expected) {
    EXPECT_EQ(actual.maxIters, expected.maxIters);
    EXPECT_EQ(actual.setStopPt, expected.setStopPt);
    EXPECT_EQ(actual.stopIters, expected.stopIters);
    EXPECT_EQ(actual.Slow, expected.Slow);
    EXPECT_EQ(actual.Fast, expected.Fast);
    EXPECT_EQ(actual.Turbo, expected.Turbo);
    EXPECT_EQ(actual.Variable, expected.Variable);
    EXPECT_EQ(actual.sliderVal, expected.sliderVal);
    EXPECT_EQ(actual.iNumOrgs, expected.iNumOrgs);
    EXPECT_EQ(actual.randINumOrgs, expected.randINumOrgs);
    EXPECT_EQ(actual.rerunSavedSim, expected.rerunSavedSim);
    EXPECT_EQ(actual.savedSeed, expected.savedSeed);
    EXPECT_EQ(actual.randomizeProg, expected.randomizeProg);
}

inline Settings unusual_settings() {
    Settings s;
    s.maxIters = 2147483647;
    s.setStopPt = true;
    s.stopIters = 0;
    s.Slow = 0.1234567;
    s.Fast = 1.0 / 3.0;
    s.Turbo = 1.25e-6;
    s.Variable = 10000.0;
    s.sliderVal = 2000;  // the slider's end
    s.iNumOrgs = 784;
    s.randINumOrgs = true;
    s.rerunSavedSim = true;
    s.savedSeed = 0xDEADBEEFu;
    s.randomizeProg = true;
    return s;
}

}  // namespace vornick
