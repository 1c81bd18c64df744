#include "tools/trace_options.h"

#include <charconv>
#include <cstdio>

#include "sim/kernels/vector_path.h"
#include "sim/kernels/worker_pool.h"

namespace vornick {

const char* const kTraceUsage =
    "usage: vornick-trace [--seed N] [--orgs N] [--random-count] [--steps K] [--max-iters M] "
    "[--stop-at K] [--vector-path P] [--threads N]\n"
    "       vornick-trace --run FILE [--steps K] [--vector-path P] [--threads N]\n"
    "  --seed N        starting seed, decimal or 0x-hex, 0..4294967295 (default 1)\n"
    "  --orgs N        number of organisms, 0..784 (default 4)\n"
    "  --random-count  draw the number of organisms from 1..N\n"
    "  --steps K       steps to make, 0..2^63-1; stops early when the run halts or ends "
    "(default 0)\n"
    "  --max-iters M   steps at which a run ends, 0..2147483647 (default 10000000)\n"
    "  --stop-at K     halt the run when it reaches step K, 0..2147483647\n"
    "  --vector-path P move with the kernels of path P (portable, avx2, avx512)\n"
    "                  instead of the widest this processor runs; for measuring them\n"
    "  --threads N     share long batches among N threads, 1..256 (default: all cores);\n"
    "                  the output is the same for every N\n"
    "  --run FILE      replay a run file (.vornick): its run generated, each edit made when\n"
    "                  the step count reaches its step, through stop points as its user went\n"
    "                  on past them, up to K steps (default: the file's steps) or its end;\n"
    "                  a bad file exits with status 2 and the line at fault\n";

namespace {

// An argument as an error message shows it: control bytes escaped, so that the message stays
// one line of text whatever was typed (or passed by a script).
std::string shown(const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c;
        }
    }
    return out;
}

// Whole text, digits only (no sign, no spaces), within [0, max].
bool parse_number(const std::string& text, uint64_t max, bool allow_hex, uint64_t& out) {
    const char* first = text.data();
    const char* last = first + text.size();
    int base = 10;
    if (allow_hex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        first += 2;
        base = 16;
    }
    if (first == last || *first == '+' || *first == '-') return false;
    uint64_t value = 0;
    const auto [end, ec] = std::from_chars(first, last, value, base);
    if (ec != std::errc() || end != last || value > max) return false;
    out = value;
    return true;
}

}  // namespace

std::optional<TraceOptions> parse_trace_options(const std::vector<std::string>& args,
                                                std::string& error) {
    TraceOptions o;
    bool run_settings = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
            continue;
        }
        if (a == "--random-count") {
            o.random_count = true;
            run_settings = true;
            continue;
        }
        if (a == "--run") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = "option --run needs a file";
                return std::nullopt;
            }
            o.run_file = args[++i];
            continue;
        }
        if (a == "--vector-path") {
            const std::string name = i + 1 < args.size() ? args[i + 1] : "";
            VectorPath path{};
            if (!path_named(name.c_str(), path)) {
                error = "option --vector-path needs portable, avx2 or avx512";
                return std::nullopt;
            }
            o.vector_path = name;
            ++i;
            continue;
        }
        if (a == "--threads") {
            const std::string text = i + 1 < args.size() ? args[i + 1] : "";
            int32_t n = 0;
            if (!threads_named(text.c_str(), n)) {
                error = "bad value '" + shown(text) + "' for --threads (1.." +
                        std::to_string(kMaxWorkerThreads) + ")";
                return std::nullopt;
            }
            o.threads = n;
            ++i;
            continue;
        }
        struct Numeric {
            const char* name;
            uint64_t max;
            bool hex;
        };
        static const Numeric kNumeric[] = {
            {"--seed", 0xFFFFFFFFull, true}, {"--orgs", 784, false},
            {"--steps", INT64_MAX, false},   {"--max-iters", INT32_MAX, false},
            {"--stop-at", INT32_MAX, false},
        };
        const Numeric* opt = nullptr;
        for (const Numeric& n : kNumeric)
            if (a == n.name) opt = &n;
        if (!opt) {
            error = "unknown option '" + shown(a) + "'";
            return std::nullopt;
        }
        if (i + 1 >= args.size()) {
            error = "option " + a + " needs a value";
            return std::nullopt;
        }
        uint64_t v = 0;
        const std::string& text = args[++i];
        if (!parse_number(text, opt->max, opt->hex, v)) {
            error = "bad value '" + shown(text) + "' for " + a + " (0.." +
                    std::to_string(opt->max) + ")";
            return std::nullopt;
        }
        const std::string name = opt->name;
        if (name == "--seed") o.seed = static_cast<uint32_t>(v);
        if (name == "--orgs") o.orgs = static_cast<int32_t>(v);
        if (name == "--steps") o.steps = static_cast<int64_t>(v);
        o.steps_given |= name == "--steps";
        run_settings |= name != "--steps";
        if (name == "--max-iters") o.max_iters = static_cast<int32_t>(v);
        if (name == "--stop-at") o.stop_at = static_cast<int32_t>(v);
    }
    if (o.run_file && run_settings) {
        error = "--run takes the run's settings from its file; give only --steps with it";
        return std::nullopt;
    }
    return o;
}

void use_chosen_threads(const TraceOptions& opts) {
    use_worker_threads(opts.threads.value_or(core_count()));
}

bool use_chosen_vector_path(const TraceOptions& opts, const char* tool) {
    if (!opts.vector_path) return true;
    VectorPath path{};
    if (path_named(opts.vector_path->c_str(), path) && use_vector_path(path)) return true;
    std::fprintf(stderr, "%s: this processor cannot run the %s path\n", tool,
                 opts.vector_path->c_str());
    return false;
}

}  // namespace vornick
