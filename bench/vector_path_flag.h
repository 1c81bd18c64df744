// The benchmarks' own flag --vector-path=portable|avx2|avx512, taken out of the
// arguments before the benchmark library sees them, and the line that says which path is measured.
#pragma once

#include <cstdio>
#include <cstring>

#include "sim/kernels/vector_path.h"

namespace vornick::bench {

// False when the flag names a path this processor cannot run (a message says why).
inline bool take_vector_path_flag(int& argc, char** argv) {
    constexpr const char* kFlag = "--vector-path=";
    int kept = 1;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], kFlag, std::strlen(kFlag)) != 0) {
            argv[kept++] = argv[i];
            continue;
        }
        const char* name = argv[i] + std::strlen(kFlag);
        VectorPath path{};
        if (!path_named(name, path)) {
            std::fprintf(stderr, "unknown vector path '%s'\n", name);
            ok = false;
        } else if (!use_vector_path(path)) {
            std::fprintf(stderr, "this processor cannot run the %s path\n", name);
            ok = false;
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return ok;
}

inline void print_vector_path() {
    std::printf("vector path: %s (the dispatcher's choice on this processor: %s)\n",
                path_name(vector_path()), path_name(best_vector_path()));
}

}  // namespace vornick::bench
