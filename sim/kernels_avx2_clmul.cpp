// The tile walk on AVX2 with the carry-less multiply of vectors (VPCLMULQDQ), which many
// processors without AVX-512 have: two products give the prefix parity of four words, where
// plain AVX2 takes six shifts. The single step is the plain AVX2 one.
#include <immintrin.h>

#include <cstdint>

#include "sim/kernels.h"
#include "sim/tile_walk_avx2.h"

namespace vornick::kernels {

void walk_tiles_avx2_clmul(const TileWalk& walk) {
    walk_tiles(walk, [](__m256i v) {
        const __m256i ones = _mm256_set1_epi64x(-1);
        return _mm256_unpacklo_epi64(_mm256_clmulepi64_epi128(v, ones, 0x00),
                                     _mm256_clmulepi64_epi128(v, ones, 0x01));
    });
}

}  // namespace vornick::kernels
