// The preferences dialog's apply, fed any field texts and box marks: a setting it takes is in
// range and is what its own field's first 16 bytes say, read as C reads a number; a field
// without an acceptable number leaves its setting alone; the settings the dialog does not show
// are never touched; and the one save stores exactly the settings in force afterwards.
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "fakes.h"
#include "fuzz_check.h"
#include "prefs/field_parse.h"
#include "prefs/prefs_form.h"

namespace {

using namespace vornick;

// An independent reading of an integer field: strtol on the first 16 bytes.
std::optional<int32_t> c_integer(std::string_view text) {
    const std::string bytes(text.substr(0, kFieldBytesRead));
    const char* begin = bytes.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

int32_t count_taken(const std::string& text, int32_t low, int32_t high, int32_t before) {
    const auto value = parse_integer_field(text);
    FUZZ_CHECK(value == c_integer(text));
    FUZZ_CHECK(value == parse_integer_field(std::string_view(text).substr(0, kFieldBytesRead)));
    return value && *value >= low && *value <= high ? *value : before;
}

double interval_taken(const std::string& text, double before) {
    const auto value = parse_interval_field(text);
    FUZZ_CHECK(!value || std::isfinite(*value));
    FUZZ_CHECK(value == parse_interval_field(std::string_view(text).substr(0, kFieldBytesRead)));
    return value && *value >= kMinInterval && *value <= kMaxInterval ? *value : before;
}

bool same_settings(const Settings& a, const Settings& b) {
    return a.maxIters == b.maxIters && a.setStopPt == b.setStopPt && a.stopIters == b.stopIters &&
           a.Slow == b.Slow && a.Fast == b.Fast && a.Turbo == b.Turbo && a.Variable == b.Variable &&
           a.sliderVal == b.sliderVal && a.iNumOrgs == b.iNumOrgs &&
           a.randINumOrgs == b.randINumOrgs && a.rerunSavedSim == b.rerunSavedSim &&
           a.savedSeed == b.savedSeed && a.randomizeProg == b.randomizeProg;
}

}  // namespace

// Byte 0: the four boxes (bits 0..3), whether the run is stopped (bit 4) and the speed mode
// (bits 5..7). The rest: the six fields in the dialog's order, separated by 0x1f.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const uint8_t flags = data[0];
    std::string fields[6];
    int field = 0;
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0x1f && field < 5) {
            ++field;
        } else {
            fields[field].push_back(static_cast<char>(data[i]));
        }
    }
    PrefsForm form;
    form.maxIters = fields[0];
    form.stopIters = fields[1];
    form.slow = fields[2];
    form.fast = fields[3];
    form.turbo = fields[4];
    form.numOrgs = fields[5];
    form.setStopPt = flags & 1;
    form.randINumOrgs = flags & 2;
    form.rerunSavedSim = flags & 4;
    form.randomizeProg = flags & 8;

    static testing::Rig r;
    Settings before;
    before.maxIters = 77;
    before.Slow = 3.5;
    before.Variable = 0.25;
    before.sliderVal = 1234;
    before.savedSeed = 0xCAFEF00Du;
    before.iNumOrgs = 9;
    r.sim.prefs = before;
    r.sim.run.stop = (flags >> 4) & 1;
    r.sim.pace.speed = static_cast<int16_t>(1 + (flags >> 5) % 6);
    r.sim.pace.delay = 0.5;
    r.store.saves.clear();
    r.timer.installs.clear();

    apply_prefs_form(form, r.sim);
    const Settings& after = r.sim.prefs;

    Settings expected = before;
    expected.maxIters = count_taken(form.maxIters, 0, INT32_MAX, before.maxIters);
    expected.stopIters = count_taken(form.stopIters, 0, INT32_MAX, before.stopIters);
    expected.Slow = interval_taken(form.slow, before.Slow);
    expected.Fast = interval_taken(form.fast, before.Fast);
    expected.Turbo = interval_taken(form.turbo, before.Turbo);
    expected.iNumOrgs = count_taken(form.numOrgs, kMinNumOrgs, kMaxNumOrgs, before.iNumOrgs);
    expected.setStopPt = form.setStopPt;
    expected.randINumOrgs = form.randINumOrgs;
    expected.rerunSavedSim = form.rerunSavedSim;
    expected.randomizeProg = form.randomizeProg;
    FUZZ_CHECK(same_settings(after, expected));

    FUZZ_CHECK(r.store.saves.size() == 1 && same_settings(r.store.saves[0], after));
    FUZZ_CHECK(std::isfinite(r.sim.pace.delay) && r.sim.pace.delay > 0);
    FUZZ_CHECK(r.timer.installs.size() == (r.sim.run.stop == 0 ? 1u : 0u));
    return 0;
}
