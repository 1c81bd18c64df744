#include "app/thread_setting.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/kernels/worker_pool.h"

namespace vornick {
namespace {

// VORNICK_THREADS: a count is taken, anything else is named in one line and all cores used.
TEST(ThreadSetting, TakesACountOrSaysWhyNot) {
    struct Row {
        const char* value;
        int32_t threads;  // 0: all cores
        bool told;
    };
    const Row rows[] = {{nullptr, 0, false}, {"", 0, false},    {"1", 1, false},
                        {"7", 7, false},     {"0", 0, true},    {"-2", 0, true},
                        {"lots", 0, true},   {"3\n4", 0, true}, {"257", 0, true}};
    for (const Row& r : rows) {
        use_worker_threads(5);
        const auto why = use_threads_setting(r.value);
        const std::string value = r.value ? r.value : "unset";
        EXPECT_EQ(worker_threads(), r.threads ? r.threads : core_count()) << value;
        ASSERT_EQ(why.has_value(), r.told) << value;
        if (why) {
            EXPECT_EQ(why->find('\n'), std::string::npos) << *why;
            EXPECT_NE(why->find("VORNICK_THREADS"), std::string::npos) << *why;
        }
    }
    use_worker_threads(core_count());
}

}  // namespace
}  // namespace vornick
