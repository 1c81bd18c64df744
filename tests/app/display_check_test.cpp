#include "app/display_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vornick {
namespace {

// The real program is started without a display by smoke_no_display_test.sh; what it cannot
// show is where the platform's name comes from.
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

}  // namespace
}  // namespace vornick
