// The benchmarks' own flags --vector-path=portable|avx2|avx512 and --threads=N, taken out of
// the arguments before the benchmark library sees them, and the lines that say which path is
// measured on what: the processor's vector extensions and its cores.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "sim/kernels/vector_path.h"
#include "sim/kernels/worker_pool.h"

namespace vornick::bench {

// Takes every argument `flag`VALUE (flag ending in '=') out of the arguments, handing VALUE to
// `take`, which returns false to refuse it; false when any was refused.
template <typename Take>
inline bool take_flag(int& argc, char** argv, const char* flag, Take take) {
    int kept = 1;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], flag, std::strlen(flag)) != 0) {
            argv[kept++] = argv[i];
            continue;
        }
        ok &= take(argv[i] + std::strlen(flag));
    }
    argc = kept;
    argv[argc] = nullptr;
    return ok;
}

// False when the flag names a path this processor cannot run (a message says why).
inline bool take_vector_path_flag(int& argc, char** argv) {
    return take_flag(argc, argv, "--vector-path=", [](const char* name) {
        VectorPath path{};
        if (!path_named(name, path)) {
            std::fprintf(stderr, "unknown vector path '%s'\n", name);
            return false;
        }
        if (!use_vector_path(path)) {
            std::fprintf(stderr, "this processor cannot run the %s path\n", name);
            return false;
        }
        return true;
    });
}

// --threads=N: N threads share the batches; false for a count of none.
inline bool take_threads_flag(int& argc, char** argv) {
    return take_flag(argc, argv, "--threads=", [](const char* text) {
        const int n = std::atoi(text);
        if (n < 1) {
            std::fprintf(stderr, "bad thread count '%s'\n", text);
            return false;
        }
        use_worker_threads(n);
        return true;
    });
}

// The extensions the kernels care about, as the processor reports them.
inline std::string vector_extensions() {
    std::string found;
#if defined(__x86_64__)
    __builtin_cpu_init();
    const auto add = [&found](bool has, const char* name) {
        if (!has) return;
        if (!found.empty()) found += ' ';
        found += name;
    };
    add(__builtin_cpu_supports("sse4.2"), "sse4.2");
    add(__builtin_cpu_supports("avx"), "avx");
    add(__builtin_cpu_supports("avx2"), "avx2");
    add(__builtin_cpu_supports("avx512f"), "avx512f");
    add(__builtin_cpu_supports("avx512bw"), "avx512bw");
    add(__builtin_cpu_supports("avx512vl"), "avx512vl");
    add(__builtin_cpu_supports("avx512vbmi"), "avx512vbmi");
    add(__builtin_cpu_supports("avx512vpopcntdq"), "avx512vpopcntdq");
    add(__builtin_cpu_supports("vpclmulqdq"), "vpclmulqdq");
#endif
    return found.empty() ? "none" : found;
}

inline void print_vector_path() {
    std::printf("vector path: %s (the dispatcher's choice on this processor: %s)\n",
                path_name(vector_path()), path_name(best_vector_path()));
    std::printf("processor: %d cores; extensions: %s\n", core_count(), vector_extensions().c_str());
}

}  // namespace vornick::bench
