// The preferences dialog without its widgets: its controls by number, the texts and check marks
// that a fill shows, and the apply that takes the acceptable ones into the running core.
#pragma once

#include <string>

#include "sim/settings.h"
#include "sim/sim.h"

namespace vornick {

// Control numbers of the dialog: fixed, and the only way the code names a control.
enum PrefsControl : int {
    kMaxItersField = 3,
    kSlowField = 10,
    kFastField = 12,
    kTurboField = 14,
    kStopPtBox = 17,
    kStopPtArea = 18,  // holds the stop-point field; active exactly while box 17 is on
    kStopItersField = 19,
    kNumOrgsField = 25,
    kRandNumOrgsBox = 26,
    kRerunSavedBox = 27,
    kRandomizeBox = 28,
    kHelpButton = 31,
    kDefaultsButton = 32,
    kRevertButton = 33,
    kApplyButton = 34,
    kOkButton = 35,
};

// What the controls show: each field's text and each box's mark.
struct PrefsForm {
    std::string maxIters, stopIters, slow, fast, turbo, numOrgs;
    bool setStopPt = false, randINumOrgs = false, rerunSavedSim = false, randomizeProg = false;
};

// One control in the order of a fill: a field (text), a box (mark), or the stop-point area
// (neither), which follows box 17.
struct FillStep {
    PrefsControl control;
    std::string PrefsForm::*text;
    bool PrefsForm::*mark;
};

inline constexpr FillStep kFillOrder[] = {
    {kMaxItersField, &PrefsForm::maxIters, nullptr},
    {kStopPtBox, nullptr, &PrefsForm::setStopPt},
    {kStopPtArea, nullptr, nullptr},
    {kStopItersField, &PrefsForm::stopIters, nullptr},
    {kSlowField, &PrefsForm::slow, nullptr},
    {kFastField, &PrefsForm::fast, nullptr},
    {kTurboField, &PrefsForm::turbo, nullptr},
    {kNumOrgsField, &PrefsForm::numOrgs, nullptr},
    {kRandNumOrgsBox, nullptr, &PrefsForm::randINumOrgs},
    {kRerunSavedBox, nullptr, &PrefsForm::rerunSavedSim},
    {kRandomizeBox, nullptr, &PrefsForm::randomizeProg},
};

// Counts as "%d", intervals as "%g" (six significant digits), from the values in force or,
// with `useDefaults`, from the defaults of an empty store.
PrefsForm fill_prefs_form(const Settings& in_force, bool useDefaults);

// Takes every acceptable value into `sim`, in the documented order, updates the interval of
// the slow, fast and turbo modes, re-arms a running timer, and saves all settings. A field
// whose text gives no acceptable value leaves its setting as it was.
void apply_prefs_form(const PrefsForm& form, Sim& sim);

}  // namespace vornick
