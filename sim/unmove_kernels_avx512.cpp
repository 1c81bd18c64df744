// The step-back kernel on AVX512: this file alone is compiled for it, and is called only on
// processors that have it.
#include "sim/unmove_kernels.h"
#include "sim/unmove_records.h"

namespace vornick::kernels {

int32_t unmove_step_avx512(Org* orgs, int32_t n, uint32_t s0, const uint32_t* mul,
                           const uint32_t* add) {
    return unmove_records<16>(orgs, n, s0, mul, add);
}

}  // namespace vornick::kernels
