// Which vector instructions the move kernels use: the widest this processor runs, chosen once
// at start, so that a build for plain x86-64 still uses AVX2 or AVX-512 where they exist.
#pragma once

#include <cstdint>

namespace vornick {

enum class VectorPath : uint8_t { kPortable, kAvx2, kAvx512 };
inline constexpr VectorPath kVectorPaths[] = {VectorPath::kPortable, VectorPath::kAvx2,
                                              VectorPath::kAvx512};

const char* path_name(VectorPath path);  // "portable", "avx2", "avx512"
// The path of that name; false for a name of none.
bool path_named(const char* name, VectorPath& path);

bool processor_runs(VectorPath path);
VectorPath best_vector_path();

// The path in use; best_vector_path() until use_vector_path changes it.
VectorPath vector_path();
// For tests and benchmarks; refuses (returns false) a path the processor cannot run.
bool use_vector_path(VectorPath path);

}  // namespace vornick
