// The kernels on AVX2, eight 32-bit lanes a vector. This file alone is compiled for AVX2; the
// dispatcher calls it only on processors that have every extension it is built with.
#include <immintrin.h>

#include <cstdint>

#include "sim/kernels.h"
#include "sim/tile_walk_avx2.h"

namespace vornick::kernels {

namespace {

// The inclusive prefix parity of each of four words, in six shifts: plain AVX2 has no
// carry-less multiply of vectors.
inline __m256i prefix_xor(__m256i v) {
    for (int s = 1; s < 64; s <<= 1) v = _mm256_xor_si256(v, _mm256_slli_epi64(v, s));
    return v;
}

// A step's 32 turn bytes come from four state vectors, two pairs made into words by
// turn_words and then packed, which interleaves them: byte b is lane k of vector v. The states
// are laid out in that order, so that the bytes come out in the order of the organisms.
struct BlockSlots {
    int32_t org[32];  // organism (within the block) of lane k of vector v, at 8 * v + k
};
constexpr BlockSlots make_block_slots() {
    BlockSlots s{};
    for (int32_t b = 0; b < 32; ++b) {
        const int32_t word = b / 16 * 8 + b % 8;  // in the words of the pair that holds byte b
        const int32_t v = (b % 16 < 8 ? 0 : 2) + word % 2;
        s.org[8 * v + word / 2] = b;
    }
    return s;
}

constexpr StepJumps make_block_jumps() {
    const BlockSlots slots = make_block_slots();
    StepJumps t{};
    for (int32_t i = 0; i < OrgLanes::kSlots; ++i) {
        const int32_t org = i / 32 * 32 + slots.org[i % 32];
        t.mul[i] = kStepJumps.mul[org];
        t.add[i] = kStepJumps.add[org];
    }
    return t;
}
constexpr StepJumps kBlockJumps = make_block_jumps();

// A coordinate moved by -1, 0 or +1 lies in -1..28 (bytes 255, 0..28): two unsigned minimums
// bring both ends back onto the grid.
inline __m256i wrap(__m256i c) {
    const __m256i size = _mm256_set1_epi8(kGridSize);
    c = _mm256_min_epu8(c, _mm256_add_epi8(c, size));
    return _mm256_min_epu8(c, _mm256_sub_epi8(c, size));
}

}  // namespace

void step_lanes_avx2(OrgLanes& lanes, int32_t n, uint32_t s0) {
    const __m256i seed = _mm256_set1_epi32(static_cast<int32_t>(s0));
    // The step of each heading, looked up by the heading in each 16-byte half.
    const __m256i dx = _mm256_setr_epi8(0, -1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0,
                                        1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    const __m256i dy = _mm256_setr_epi8(-1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1, 0, 1,
                                        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    const __m256i three = _mm256_set1_epi8(3);
    for (int32_t i = 0; i < n; i += 32) {
        __m256i st[4];
        for (int v = 0; v < 4; ++v) {
            const auto* mul = reinterpret_cast<const __m256i*>(kBlockJumps.mul + i + 8 * v);
            const auto* add = reinterpret_cast<const __m256i*>(kBlockJumps.add + i + 8 * v);
            st[v] = mul_add(_mm256_load_si256(mul), seed, _mm256_load_si256(add));
        }
        const __m256i turns =
            _mm256_packs_epi16(turn_words(st[0], st[1]), turn_words(st[2], st[3]));
        auto* x = reinterpret_cast<__m256i*>(lanes.x + i);
        auto* y = reinterpret_cast<__m256i*>(lanes.y + i);
        auto* dir = reinterpret_cast<__m256i*>(lanes.dir + i);
        const __m256i d = _mm256_load_si256(dir);
        _mm256_store_si256(x,
                           wrap(_mm256_add_epi8(_mm256_load_si256(x), _mm256_shuffle_epi8(dx, d))));
        _mm256_store_si256(y,
                           wrap(_mm256_add_epi8(_mm256_load_si256(y), _mm256_shuffle_epi8(dy, d))));
        // A turn byte is -1.
        _mm256_store_si256(dir, _mm256_and_si256(_mm256_sub_epi8(d, turns), three));
    }
}

void walk_tiles_avx2(const TileWalk& walk) {
    walk_tiles(walk, [](__m256i v) { return prefix_xor(v); });
}

}  // namespace vornick::kernels
