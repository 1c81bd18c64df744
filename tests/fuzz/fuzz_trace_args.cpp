// vornick-trace's command line, fed any arguments: what it accepts is in range and reads back
// the same from its plain form; what it refuses gets one line of printable text.
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "tools/trace_options.h"

namespace {

using vornick::TraceOptions;

std::vector<std::string> plain_form(const TraceOptions& o) {
    std::vector<std::string> args = {
        "--seed",  std::to_string(o.seed),  "--orgs",      std::to_string(o.orgs),
        "--steps", std::to_string(o.steps), "--max-iters", std::to_string(o.max_iters)};
    if (o.stop_at) args.insert(args.end(), {"--stop-at", std::to_string(*o.stop_at)});
    if (o.vector_path) args.insert(args.end(), {"--vector-path", *o.vector_path});
    if (o.threads) args.insert(args.end(), {"--threads", std::to_string(*o.threads)});
    if (o.random_count) args.emplace_back("--random-count");
    if (o.help) args.emplace_back("--help");
    return args;
}

bool same(const TraceOptions& a, const TraceOptions& b) {
    return a.seed == b.seed && a.orgs == b.orgs && a.random_count == b.random_count &&
           a.steps == b.steps && a.max_iters == b.max_iters && a.stop_at == b.stop_at &&
           a.vector_path == b.vector_path && a.threads == b.threads && a.help == b.help;
}

bool printable_line(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
    }
    return !text.empty();
}

}  // namespace

// Arguments are separated by NUL bytes, as they are in memory.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
        } else {
            args.back().push_back(static_cast<char>(data[i]));
        }
    }
    if (size == 0) args.clear();

    std::string error;
    const auto options = vornick::parse_trace_options(args, error);
    if (!options) {
        FUZZ_CHECK(printable_line(error));
        return 0;
    }
    FUZZ_CHECK(options->orgs >= 0 && options->orgs <= 784);
    FUZZ_CHECK(options->steps >= 0);
    FUZZ_CHECK(options->max_iters >= 0);
    FUZZ_CHECK(!options->stop_at || *options->stop_at >= 0);
    FUZZ_CHECK(!options->threads || (*options->threads >= 1 && *options->threads <= 256));
    FUZZ_CHECK(!options->vector_path || *options->vector_path == "portable" ||
               *options->vector_path == "avx2" || *options->vector_path == "avx512");

    std::string again_error;
    const auto again = vornick::parse_trace_options(plain_form(*options), again_error);
    FUZZ_CHECK(again && same(*again, *options));
    return 0;
}
