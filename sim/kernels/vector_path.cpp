#include "sim/kernels/vector_path.h"

#include <cstring>

namespace vornick {

namespace {

VectorPath& active() {
    static VectorPath path = best_vector_path();
    return path;
}

}  // namespace

const char* path_name(VectorPath path) {
    switch (path) {
        case VectorPath::kAvx2:
            return "avx2";
        case VectorPath::kAvx512:
            return "avx512";
        case VectorPath::kPortable:
            break;
    }
    return "portable";
}

bool path_named(const char* name, VectorPath& path) {
    for (VectorPath p : kVectorPaths) {
        if (std::strcmp(name, path_name(p)) == 0) {
            path = p;
            return true;
        }
    }
    return false;
}

// Each check names exactly the extensions its kernel file is compiled with.
bool processor_runs(VectorPath path) {
#if defined(VORNICK_X86_KERNELS)
    __builtin_cpu_init();
    const bool avx2 = __builtin_cpu_supports("avx2");
    switch (path) {
        case VectorPath::kPortable:
            return true;
        case VectorPath::kAvx2:
            return avx2;
        case VectorPath::kAvx512:
            return avx2 && __builtin_cpu_supports("avx512f") &&
                   __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl") &&
                   __builtin_cpu_supports("avx512vbmi") &&
                   __builtin_cpu_supports("avx512vpopcntdq") &&
                   __builtin_cpu_supports("vpclmulqdq");
    }
    return false;
#else
    return path == VectorPath::kPortable;
#endif
}

VectorPath best_vector_path() {
    if (processor_runs(VectorPath::kAvx512)) return VectorPath::kAvx512;
    if (processor_runs(VectorPath::kAvx2)) return VectorPath::kAvx2;
    return VectorPath::kPortable;
}

VectorPath vector_path() {
    return active();
}

bool use_vector_path(VectorPath path) {
    if (!processor_runs(path)) return false;
    active() = path;
    return true;
}

}  // namespace vornick
