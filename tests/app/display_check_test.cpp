#include "app/display_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vornick {
namespace {

TEST(DisplayCheck, PlatformComesFromTheCommandLineBeforeTheEnvironment) {
    struct Row {
        std::vector<const char*> args;
        const char* env;
        std::string platform;
    };
    const Row rows[] = {
        {{"vornick"}, nullptr, ""},
        {{"vornick"}, "", ""},
        {{"vornick"}, "offscreen", "offscreen"},
        {{"vornick", "-platform", "xcb"}, "offscreen", "xcb"},
        {{"vornick", "--platform", "wayland"}, nullptr, "wayland"},
        {{"vornick", "-platform"}, "minimal", "minimal"},  // no name follows: Qt ignores it
    };
    for (const Row& r : rows) {
        std::vector<char*> argv;
        for (const char* a : r.args) argv.push_back(const_cast<char*>(a));
        EXPECT_EQ(requested_platform(static_cast<int>(argv.size()), argv.data(), r.env), r.platform)
            << r.args.size() << " args, env " << (r.env ? r.env : "unset");
    }
}

// Only a platform that certainly needs a variable that is missing is refused before Qt starts;
// everything else is left for Qt to try.
TEST(DisplayCheck, RefusesOnlyWhenTheDisplayVariableItNeedsIsMissing) {
    struct Row {
        const char* platform;
        const char* display;
        const char* wayland;
        bool refused;
    };
    const Row rows[] = {
        {"", nullptr, nullptr, true},
        {"", "", "", true},
        {"", ":0", nullptr, false},
        {"", nullptr, "wayland-0", false},
        {"xcb", nullptr, "wayland-0", true},
        {"xcb", ":1", nullptr, false},
        {"xcb;offscreen", nullptr, nullptr, false},
        {"wayland", nullptr, nullptr, false},
        {"offscreen", nullptr, nullptr, false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(missing_display(r.platform, r.display, r.wayland).has_value(), r.refused)
            << "platform '" << r.platform << "' DISPLAY " << (r.display ? r.display : "unset")
            << " WAYLAND_DISPLAY " << (r.wayland ? r.wayland : "unset");
    }
    EXPECT_TRUE(headless_platform("offscreen").has_value());
    EXPECT_TRUE(headless_platform("minimal").has_value());
    EXPECT_FALSE(headless_platform("xcb").has_value());
}

}  // namespace
}  // namespace vornick
