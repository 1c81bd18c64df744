#include "app/thread_setting.h"

#include "sim/kernels/worker_pool.h"

namespace vornick {

namespace {

// The value as one line of printable text, however it was set.
std::string shown(const char* value) {
    std::string out;
    for (const char* c = value; *c != '\0' && out.size() < 40; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        out += byte < 0x20 || byte == 0x7f ? '?' : *c;
    }
    return out;
}

}  // namespace

std::optional<std::string> use_threads_setting(const char* value) {
    int32_t threads = core_count();
    std::optional<std::string> why;
    if (value != nullptr && *value != '\0' && !threads_named(value, threads)) {
        why = "VORNICK_THREADS='" + shown(value) + "' is not a number of threads from 1 to " +
              std::to_string(kMaxWorkerThreads) + "; using " + std::to_string(threads) +
              (threads == 1 ? " core" : " cores");
    }
    use_worker_threads(threads);
    return why;
}

}  // namespace vornick
