// The thirteen stored keys and how each setting is turned into text and back. Reading never
// fails: every key yields a value that the rest of the program can use, whatever the store held.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "sim/settings.h"

namespace vornick {

inline constexpr const char* kMaxItersKey = "maxIters";
inline constexpr const char* kSetStopPtKey = "setStopPt";
inline constexpr const char* kStopItersKey = "stopIters";
inline constexpr const char* kSlowKey = "slow";
inline constexpr const char* kFastKey = "fast";
inline constexpr const char* kTurboKey = "turbo";
inline constexpr const char* kVariableKey = "variable";
inline constexpr const char* kSliderValKey = "sliderVal";
inline constexpr const char* kINumOrgsKey = "iNumOrgs";
inline constexpr const char* kRandINumOrgsKey = "randINumOrgs";
inline constexpr const char* kRerunSavedSimKey = "rerunSavedSim";
inline constexpr const char* kSavedSeedKey = "savedSeed";
inline constexpr const char* kRandomizeProgKey = "randomizeProg";

inline constexpr int kStoredKeyCount = 13;

struct StoredValue {
    const char* key;
    std::string text;
};

// The stored text of `key`, or nothing when the key is absent.
using StoredTextLookup = std::function<std::optional<std::string>(const char* key)>;

// Every setting, in the order in which the store writes them ("randomizeProg" last).
std::array<StoredValue, kStoredKeyCount> encode_settings(const Settings& s);

// Reads every key independently. What a stored value becomes:
// - absent, or text that is not of the key's kind: the key's default (Settings{});
// - "maxIters", "stopIters": an integer, at most 2147483647; a negative one is junk;
// - "iNumOrgs": an integer, at most kMaxNumOrgs; a negative one is junk;
// - "slow", "fast", "turbo", "variable": a finite number, limited to kMinInterval..kMaxInterval;
//   a negative one is junk;
// - "sliderVal": the low 16 bits of an integer in the 32-bit signed range, limited to the
//   slider's scale kSliderMin..kSliderMax;
// - "savedSeed": the 32 bits of an integer from -2^31 to 2^32 - 1;
// - the four booleans: see parse_yes_no.
Settings decode_settings(const StoredTextLookup& lookup);

std::string encode_saved_seed(uint32_t seed);

}  // namespace vornick
