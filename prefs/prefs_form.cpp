#include "prefs/prefs_form.h"

#include <charconv>
#include <cstdint>
#include <optional>

#include "prefs/field_parse.h"

namespace vornick {

namespace {

std::string format_count(int32_t value) {
    return std::to_string(value);
}

std::string format_seconds(double value) {
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    return std::string(buf, result.ptr);
}

std::optional<int32_t> count_in(const std::string& text, int32_t low, int32_t high) {
    const auto value = parse_integer_field(text);
    if (!value || *value < low || *value > high) return std::nullopt;
    return value;
}

std::optional<double> interval_in(const std::string& text) {
    const auto value = parse_interval_field(text);
    if (!value || *value < kMinInterval || *value > kMaxInterval) return std::nullopt;
    return value;
}

template <typename T>
void take(std::optional<T> value, T& setting) {
    if (value) setting = *value;
}

}  // namespace

PrefsForm fill_prefs_form(const Settings& in_force, bool useDefaults) {
    const Settings s = useDefaults ? Settings{} : in_force;
    PrefsForm form;
    form.maxIters = format_count(s.maxIters);
    form.setStopPt = s.setStopPt;
    form.stopIters = format_count(s.stopIters);
    form.slow = format_seconds(s.Slow);
    form.fast = format_seconds(s.Fast);
    form.turbo = format_seconds(s.Turbo);
    form.numOrgs = format_count(s.iNumOrgs);
    form.randINumOrgs = s.randINumOrgs;
    form.rerunSavedSim = s.rerunSavedSim;
    form.randomizeProg = s.randomizeProg;
    return form;
}

void apply_prefs_form(const PrefsForm& form, Sim& sim) {
    Settings& p = sim.prefs;
    take(count_in(form.maxIters, 0, INT32_MAX), p.maxIters);
    p.setStopPt = form.setStopPt;
    // Read whether or not the stop point is on, so it is ready when the box is ticked.
    take(count_in(form.stopIters, 0, INT32_MAX), p.stopIters);
    take(interval_in(form.slow), p.Slow);
    take(interval_in(form.fast), p.Fast);
    take(interval_in(form.turbo), p.Turbo);

    if (sim.pace.speed == kTurboMode) sim.pace.delay = p.Turbo;
    if (sim.pace.speed == kFastMode) sim.pace.delay = p.Fast;
    if (sim.pace.speed == kSlowMode) sim.pace.delay = p.Slow;
    if (sim.run.stop == 0) sim.rearm(0, sim.pace.delay);

    // 0 is taken even with a random count: the world then has no organisms.
    take(count_in(form.numOrgs, kMinNumOrgs, kMaxNumOrgs), p.iNumOrgs);
    p.randINumOrgs = form.randINumOrgs;
    p.rerunSavedSim = form.rerunSavedSim;
    p.randomizeProg = form.randomizeProg;
    sim.io.store->save_all(p);
}

}  // namespace vornick
