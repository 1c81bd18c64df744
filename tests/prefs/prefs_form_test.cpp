#include "prefs/prefs_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "fakes.h"
#include "prefs/field_parse.h"
#include "prefs/field_selection.h"
#include "settings_testing.h"

namespace vornick {
namespace {

using testing::Arming;
using testing::Rig;

const std::string kSixteenZerosThen12 = std::string(16, '0') + "12";

// What the apply table below does not already show of the two readers.
TEST(FieldParse, ReadsTheLeadingNumberLikeCInTheCLocale) {
    const std::pair<std::string, std::optional<int32_t>> integers[] = {
        {"\t\n+7x", 7},
        {"- 5", std::nullopt},
        {"-2147483648", INT32_MIN},
        {"2147483647", INT32_MAX},
        {"2147483648", std::nullopt},
        {"9999999999999999", std::nullopt},
    };
    for (const auto& [text, value] : integers) EXPECT_EQ(parse_integer_field(text), value) << text;

    const std::pair<std::string, std::optional<double>> intervals[] = {
        {" 0.5 s", 0.5},         {"1e", 1.0},
        {"0x10", 16.0},          {"0,5", 0.0},
        {"", std::nullopt},      {"-Infinity", std::nullopt},
        {"1e999", std::nullopt},
    };
    for (const auto& [text, value] : intervals)
        EXPECT_EQ(parse_interval_field(text), value) << text;
}

// One field edited in a form that otherwise shows the defaults, and the setting it gives;
// `taken` left empty means every setting keeps its default.
struct TakeCase {
    std::string PrefsForm::*field;
    std::string text;
    std::function<void(Settings&)> taken;
};

TEST(PrefsApply, TakesOnlyAcceptableFieldValues) {
    const TakeCase cases[] = {
        {&PrefsForm::maxIters, "  42abc", [](Settings& s) { s.maxIters = 42; }},
        {&PrefsForm::maxIters, "", {}},
        {&PrefsForm::maxIters, "letters", {}},
        {&PrefsForm::maxIters, "0", [](Settings& s) { s.maxIters = 0; }},
        {&PrefsForm::maxIters, kSixteenZerosThen12, [](Settings& s) { s.maxIters = 0; }},
        {&PrefsForm::stopIters, "-5", {}},
        {&PrefsForm::slow, "1e-07", {}},
        {&PrefsForm::slow, "1e-6", [](Settings& s) { s.Slow = 1e-6; }},
        {&PrefsForm::fast, "10000", [](Settings& s) { s.Fast = 10000; }},
        {&PrefsForm::turbo, "10000.5", {}},
        {&PrefsForm::slow, "nan", {}},
        {&PrefsForm::fast, "inf", {}},
        {&PrefsForm::numOrgs, "784", [](Settings& s) { s.iNumOrgs = 784; }},
        {&PrefsForm::numOrgs, "785", {}},
        {&PrefsForm::numOrgs, "-1", {}},
        {&PrefsForm::numOrgs, "0", [](Settings& s) { s.iNumOrgs = 0; }},
    };
    for (const TakeCase& c : cases) {
        SCOPED_TRACE('"' + c.text + '"');
        Rig r;
        PrefsForm form = fill_prefs_form(r.sim.prefs, false);
        form.*c.field = c.text;
        apply_prefs_form(form, r.sim);
        Settings expected;
        if (c.taken) c.taken(expected);
        expect_same_settings(r.sim.prefs, expected);
    }
}

TEST(PrefsApply, TakesTheBoxesAndSavesEverySettingOnce) {
    Rig r;
    PrefsForm form = fill_prefs_form(r.sim.prefs, false);
    form.setStopPt = form.randINumOrgs = form.rerunSavedSim = form.randomizeProg = true;
    form.numOrgs = "0";  // with a random count: a world without organisms
    form.maxIters = "junk";
    apply_prefs_form(form, r.sim);

    Settings expected;
    expected.setStopPt = expected.randINumOrgs = expected.rerunSavedSim = true;
    expected.randomizeProg = true;
    expected.iNumOrgs = 0;
    expect_same_settings(r.sim.prefs, expected);
    ASSERT_EQ(r.store.saves.size(), 1u);
    expect_same_settings(r.store.saves[0], expected);
}

TEST(PrefsFill, ShowsIntervalsWithSixDigitsAndStoresWhatIsShown) {
    Rig r;
    r.sim.prefs.Slow = 0.1234567;
    const PrefsForm form = fill_prefs_form(r.sim.prefs, false);
    EXPECT_EQ(form.slow, "0.123457");
    apply_prefs_form(form, r.sim);
    EXPECT_EQ(r.store.saves.at(0).Slow, 0.123457);
}

TEST(PrefsApply, DefaultsKeepTheSettingsTheDialogDoesNotShow) {
    Rig r;
    r.sim.prefs = unusual_settings();
    apply_prefs_form(fill_prefs_form(r.sim.prefs, true), r.sim);
    Settings expected;
    expected.Variable = unusual_settings().Variable;
    expected.sliderVal = unusual_settings().sliderVal;
    expected.savedSeed = unusual_settings().savedSeed;
    expect_same_settings(r.store.saves.at(0), expected);
}

TEST(PrefsApply, NewIntervalsReachTheTimerOnlyWhileRunning) {
    struct Case {
        int16_t speed;
        bool halted;
        double delay;
        std::vector<Arming> installs;
    };
    const Case cases[] = {
        {kSlowMode, false, 0.5, {{0, 0.5}}},
        {kFastMode, false, 0.25, {{0, 0.25}}},
        {kTurboMode, false, 0.125, {{0, 0.125}}},
        {kMaxSpeedMode, false, kMaxSpeedInterval, {{0, kMaxSpeedInterval}}},
        {kVariableMode, false, 1.0, {{0, 1.0}}},
        {kTurboMode, true, 0.125, {}},
        {kSingleStepMode, true, 2.0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speed);
        Rig r;
        r.sim.new_sim();
        r.sim.HandleSpeedChoice(c.speed);
        if (c.halted) r.sim.stop_command();
        r.timer.installs.clear();
        PrefsForm form = fill_prefs_form(r.sim.prefs, false);
        form.slow = "0.5";
        form.fast = "0.25";
        form.turbo = "0.125";
        apply_prefs_form(form, r.sim);
        EXPECT_EQ(r.sim.pace.delay, c.delay);
        EXPECT_EQ(r.timer.installs, c.installs);
    }
}

TEST(FieldSelection, WholeStaysWholeAndAPlaceIsKeptWithinTheNewText) {
    struct Case {
        int32_t old_length;
        TextSelection old;
        int32_t new_length;
        TextSelection result;
    };
    const Case cases[] = {
        {3, {0, 3}, 1, {0, 1}},  // "100" all selected, refilled with "4"
        {3, {3, 3}, 1, {1, 1}},  // caret at the end of "100"
        {0, {0, 0}, 4, {0, 4}},  // an empty field
        {3, {1, 2}, 5, {1, 2}}, {5, {2, 5}, 3, {2, 3}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(refill_selection(c.old_length, c.old, c.new_length), c.result)
            << c.old.start << ".." << c.old.end << " of " << c.old_length;
    }
}

}  // namespace
}  // namespace vornick
