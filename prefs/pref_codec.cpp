#include "prefs/pref_codec.h"

#include <algorithm>
#include <limits>

#include "prefs/pref_text.h"
#include "sim/slider_mapping.h"

namespace vornick {

namespace {

constexpr int64_t kInt32Min = std::numeric_limits<int32_t>::min();
constexpr int64_t kInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t kUint32Max = std::numeric_limits<uint32_t>::max();

// A count of steps or organisms below zero means nothing, so it is junk like any other text,
// and the key's default is what the user gets (an empty board or a run that is over before it
// starts would be a poor reading of a typo). A count too large takes the largest allowed.
int32_t read_count(const StoredTextLookup& lookup, const char* key, int32_t high,
                   int32_t fallback) {
    const auto text = lookup(key);
    if (!text) return fallback;
    const auto value = parse_integer(*text);
    if (!value || *value < 0) return fallback;
    return static_cast<int32_t>(std::min<int64_t>(*value, high));
}

bool read_flag(const StoredTextLookup& lookup, const char* key, bool fallback) {
    const auto text = lookup(key);
    if (!text) return fallback;
    return parse_yes_no(*text).value_or(fallback);
}

double read_interval(const StoredTextLookup& lookup, const char* key, double fallback) {
    const auto text = lookup(key);
    if (!text) return fallback;
    const auto value = parse_finite_double(*text);
    // Negative seconds are junk as a negative count is; 0 and tiny intervals mean "as fast as
    // allowed" and take the shortest one.
    if (!value || *value < 0.0) return fallback;
    return std::clamp(*value, kMinInterval, kMaxInterval);
}

// The slider's position is a 16-bit number stored through a 32-bit read; what doesn't fit in
// 16 bits keeps its low 16 bits, as a 32-bit read would have handed them on. The slider window
// then opens at that position, so it is kept on the slider's scale.
int16_t read_slider_position(const StoredTextLookup& lookup, int16_t fallback) {
    const auto text = lookup(kSliderValKey);
    if (!text) return fallback;
    const auto value = parse_integer(*text);
    if (!value || *value < kInt32Min || *value > kInt32Max) return fallback;
    const auto low16 =
        static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(*value) & 0xffffu));
    return static_cast<int16_t>(std::clamp<int32_t>(low16, kSliderMin, kSliderMax));
}

// A seed is any 32-bit pattern, written as a signed number and accepted in either reading.
// Anything wider is not a seed this program wrote, and clamping it would invent one.
uint32_t read_seed(const StoredTextLookup& lookup, uint32_t fallback) {
    const auto text = lookup(kSavedSeedKey);
    if (!text) return fallback;
    const auto value = parse_integer(*text);
    if (!value || *value < kInt32Min || *value > kUint32Max) return fallback;
    return static_cast<uint32_t>(static_cast<uint64_t>(*value) & 0xffffffffu);
}

}  // namespace

std::string encode_saved_seed(uint32_t seed) {
    return format_integer(static_cast<int32_t>(seed));
}

std::array<StoredValue, kStoredKeyCount> encode_settings(const Settings& s) {
    return {{
        {kMaxItersKey, format_integer(s.maxIters)},
        {kSetStopPtKey, format_yes_no(s.setStopPt)},
        {kStopItersKey, format_integer(s.stopIters)},
        {kSlowKey, format_double(s.Slow)},
        {kFastKey, format_double(s.Fast)},
        {kTurboKey, format_double(s.Turbo)},
        {kVariableKey, format_double(s.Variable)},
        {kSliderValKey, format_integer(s.sliderVal)},
        {kINumOrgsKey, format_integer(s.iNumOrgs)},
        {kRandINumOrgsKey, format_yes_no(s.randINumOrgs)},
        {kRerunSavedSimKey, format_yes_no(s.rerunSavedSim)},
        {kSavedSeedKey, encode_saved_seed(s.savedSeed)},
        {kRandomizeProgKey, format_yes_no(s.randomizeProg)},
    }};
}

Settings decode_settings(const StoredTextLookup& lookup) {
    const Settings defaults;
    Settings s;
    s.maxIters = read_count(lookup, kMaxItersKey, kInt32Max, defaults.maxIters);
    s.setStopPt = read_flag(lookup, kSetStopPtKey, defaults.setStopPt);
    s.stopIters = read_count(lookup, kStopItersKey, kInt32Max, defaults.stopIters);
    s.Slow = read_interval(lookup, kSlowKey, defaults.Slow);
    s.Fast = read_interval(lookup, kFastKey, defaults.Fast);
    s.Turbo = read_interval(lookup, kTurboKey, defaults.Turbo);
    s.Variable = read_interval(lookup, kVariableKey, defaults.Variable);
    s.sliderVal = read_slider_position(lookup, defaults.sliderVal);
    s.iNumOrgs = read_count(lookup, kINumOrgsKey, kMaxNumOrgs, defaults.iNumOrgs);
    s.randINumOrgs = read_flag(lookup, kRandINumOrgsKey, defaults.randINumOrgs);
    s.rerunSavedSim = read_flag(lookup, kRerunSavedSimKey, defaults.rerunSavedSim);
    s.savedSeed = read_seed(lookup, defaults.savedSeed);
    s.randomizeProg = read_flag(lookup, kRandomizeProgKey, defaults.randomizeProg);
    return s;
}

}  // namespace vornick
