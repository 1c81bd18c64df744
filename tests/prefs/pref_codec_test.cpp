#include "prefs/pref_codec.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "settings_testing.h"

namespace vornick {
namespace {

using Store = std::map<std::string, std::string>;

Settings decode(const Store& store) {
    return decode_settings([&store](const char* key) -> std::optional<std::string> {
        const auto it = store.find(key);
        if (it == store.end()) return std::nullopt;
        return it->second;
    });
}

Store encode(const Settings& s) {
    Store store;
    for (const auto& value : encode_settings(s)) store[value.key] = value.text;
    return store;
}

TEST(PrefCodec, WritesEveryKeyInStoreOrderWithPlainText) {
    const auto values = encode_settings(Settings{});
    const char* const keys[] = {"maxIters",     "setStopPt",    "stopIters",     "slow",
                                "fast",         "turbo",        "variable",      "sliderVal",
                                "iNumOrgs",     "randINumOrgs", "rerunSavedSim", "savedSeed",
                                "randomizeProg"};
    const char* const texts[] = {"10000000", "no", "2000", "2",  "1", "1e-06", "1",
                                 "180",      "4",  "no",   "no", "1", "no"};
    ASSERT_EQ(values.size(), std::size(keys));
    for (size_t i = 0; i < values.size(); ++i) {
        EXPECT_STREQ(values[i].key, keys[i]);
        EXPECT_EQ(values[i].text, texts[i]) << keys[i];
    }
}

TEST(PrefCodec, RoundTripsEverySetting) {
    expect_same_settings(decode(encode(unusual_settings())), unusual_settings());
    Settings s;
    s.savedSeed = 0x80000000u;
    s.sliderVal = 0;
    s.maxIters = 0;
    expect_same_settings(decode(encode(s)), s);
}

// One stored text under one key, everything else absent, and the field it gives; `set` left
// empty means the key's default.
struct OddValueCase {
    const char* key;
    const char* text;
    std::function<void(Settings&)> set;
};

TEST(PrefCodec, OddValuesLoadAsSoundOnes) {
    const OddValueCase cases[] = {
        {"maxIters", " +123 ", [](Settings& s) { s.maxIters = 123; }},
        {"maxIters", "-5", {}},
        {"maxIters", "-1", {}},
        {"maxIters", "-0", [](Settings& s) { s.maxIters = 0; }},
        {"maxIters", "99999999999", [](Settings& s) { s.maxIters = 2147483647; }},
        {"stopIters", "-99999999999999999999999", {}},
        {"stopIters", "99999999999999999999999", [](Settings& s) { s.stopIters = 2147483647; }},
        {"maxIters", "2.5", {}},
        {"stopIters", "12abc", {}},
        {"slow", "0.5", [](Settings& s) { s.Slow = 0.5; }},
        {"slow", "-3", {}},
        {"fast", "-1", {}},
        {"turbo", "0", [](Settings& s) { s.Turbo = kMinInterval; }},
        {"variable", "-0", [](Settings& s) { s.Variable = kMinInterval; }},
        {"fast", "1e-07", [](Settings& s) { s.Fast = kMinInterval; }},
        {"turbo", "20000", [](Settings& s) { s.Turbo = kMaxInterval; }},
        {"slow", "1e300", [](Settings& s) { s.Slow = kMaxInterval; }},
        {"slow", "nan", {}},
        {"fast", "-inf", {}},
        {"variable", "inf", {}},
        {"turbo", "1e400", {}},
        {"variable", "1,5", {}},
        {"sliderVal", "1999", [](Settings& s) { s.sliderVal = 1999; }},
        {"sliderVal", "2001", [](Settings& s) { s.sliderVal = 2000; }},
        {"sliderVal", "70000", [](Settings& s) { s.sliderVal = 2000; }},
        {"sliderVal", "65636", [](Settings& s) { s.sliderVal = 100; }},  // low 16 bits: 100
        {"sliderVal", "32768", [](Settings& s) { s.sliderVal = 0; }},
        {"sliderVal", "-1", [](Settings& s) { s.sliderVal = 0; }},
        {"sliderVal", "2147483648", {}},
        {"iNumOrgs", "785", [](Settings& s) { s.iNumOrgs = 784; }},
        {"iNumOrgs", "100000", [](Settings& s) { s.iNumOrgs = 784; }},
        {"iNumOrgs", "0", [](Settings& s) { s.iNumOrgs = 0; }},
        {"iNumOrgs", "-1", {}},
        {"iNumOrgs", "-5", {}},
        {"iNumOrgs", "0x10", {}},
        {"savedSeed", "-1", [](Settings& s) { s.savedSeed = 0xFFFFFFFFu; }},
        {"savedSeed", "4294967295", [](Settings& s) { s.savedSeed = 0xFFFFFFFFu; }},
        {"savedSeed", "-2147483648", [](Settings& s) { s.savedSeed = 0x80000000u; }},
        {"savedSeed", "4294967296", {}},
        {"savedSeed", "-2147483649", {}},
        {"setStopPt", " YES ", [](Settings& s) { s.setStopPt = true; }},
        {"randINumOrgs", "true", [](Settings& s) { s.randINumOrgs = true; }},
        {"rerunSavedSim", "1", [](Settings& s) { s.rerunSavedSim = true; }},
        {"randomizeProg", "y", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=\"" + c.text + '"');
        Settings expected;
        if (c.set) c.set(expected);
        expect_same_settings(decode({{c.key, c.text}}), expected);
    }
}

// Text that every key must refuse, whatever its kind.
TEST(PrefCodec, OneUnreadableKeyLeavesTheOthersAlone) {
    for (const char* junk : {"", "  ", "junk", "nan", "inf", "-"}) {
        for (const auto& value : encode_settings(Settings{})) {
            SCOPED_TRACE(std::string(value.key) + "=\"" + junk + '"');
            Store store = encode(unusual_settings());
            store[value.key] = junk;
            Store expected_store = encode(unusual_settings());
            expected_store.erase(value.key);
            expect_same_settings(decode(store), decode(expected_store));
        }
    }
}

TEST(PrefCodec, KeysAreCaseSensitive) {
    expect_same_settings(decode({{"MaxIters", "5"}, {"Slow", "0.5"}}), Settings{});
}

}  // namespace
}  // namespace vornick
