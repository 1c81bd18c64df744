// Command line of vornick-trace: strict parsing, so a typo is reported rather than run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vornick {

struct TraceOptions {
    uint32_t seed = 1;
    int32_t orgs = 4;
    bool random_count = false;
    int64_t steps = 0;
    int32_t max_iters = 10000000;
    std::optional<int32_t> stop_at;
    std::optional<std::string> vector_path;  // a name path_named knows
    std::optional<int32_t> threads;          // 1..kMaxWorkerThreads; all cores when not given
    bool help = false;
    // A run file to replay instead of a generated run; its settings come from the file, so
    // none of the run's own options goes with it. `steps` then counts only when given.
    std::optional<std::string> run_file;
    bool steps_given = false;
};

// Returns the options, or nullopt with a one-line reason in `error`.
std::optional<TraceOptions> parse_trace_options(const std::vector<std::string>& args,
                                                std::string& error);

// Puts the run on the vector path the options name, if any. False, with one line on stderr
// that names `tool`, when this processor cannot run it.
bool use_chosen_vector_path(const TraceOptions& opts, const char* tool);

// Shares the work among the threads the options name, or all cores, starting them now.
void use_chosen_threads(const TraceOptions& opts);

extern const char* const kTraceUsage;

}  // namespace vornick
