// The tile walk on AVX2, eight 32-bit lanes a vector, for the kernel files built for AVX2:
// each compiles its own copy, with its own prefix parity.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "sim/kernels.h"
#include "sim/tile_walk.h"

namespace vornick::kernels {
namespace {

// Bits set in each 64-bit lane: a nibble table, then byte sums.
inline __m256i popcount(__m256i v) {
    const __m256i table = _mm256_setr_epi8(0, 1, 1, 2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4, 0, 1, 1,
                                           2, 1, 2, 2, 3, 1, 2, 2, 3, 2, 3, 3, 4);
    const __m256i nibble = _mm256_set1_epi8(0x0f);
    const __m256i low = _mm256_shuffle_epi8(table, _mm256_and_si256(v, nibble));
    const __m256i high =
        _mm256_shuffle_epi8(table, _mm256_and_si256(_mm256_srli_epi16(v, 4), nibble));
    return _mm256_sad_epu8(_mm256_add_epi8(low, high), _mm256_setzero_si256());
}

// A tile's 64 draws of one organism are eight vectors. Two vectors give one vector of their
// top halves (blend), four give 32 mask bytes (pack) and so 32 bits of the turn word. The
// packing interleaves lanes; lane l of vector v holds the step whose bit it becomes.
struct LaneSteps {
    int step[kTileSteps];
};
constexpr LaneSteps make_lane_steps() {
    LaneSteps lanes{};
    for (int bit = 0; bit < kTileSteps; ++bit) {
        const int pair = (bit / 32) * 2 + (bit % 16 >= 8 ? 1 : 0);
        const int word = (bit / 16 % 2) * 8 + bit % 8;
        const int lane = 4 * (word / 8) + (word % 8) / 2;
        const int vector = 2 * pair + word % 2;
        lanes.step[vector * 8 + lane] = bit;
    }
    return lanes;
}
constexpr LaneSteps kLaneSteps = make_lane_steps();

inline __m256i mul_add(__m256i v, __m256i mul, __m256i add) {
    return _mm256_add_epi32(_mm256_mullo_epi32(v, mul), add);
}

inline __m256i turn_words(__m256i a, __m256i b) {
    const __m256i tops = _mm256_blend_epi16(_mm256_srli_epi32(a, 16), b, 0xAA);
    const __m256i h =
        _mm256_mullo_epi16(_mm256_or_si256(tops, _mm256_set1_epi16(static_cast<int16_t>(kTurnTop))),
                           _mm256_set1_epi16(static_cast<int16_t>(kTurnMul)));
    return _mm256_cmpgt_epi16(_mm256_set1_epi16(kTurnBelow), h);
}

inline uint64_t turn_word(const __m256i* w) {
    const auto lo = static_cast<uint32_t>(
        _mm256_movemask_epi8(_mm256_packs_epi16(turn_words(w[0], w[1]), turn_words(w[2], w[3]))));
    const auto hi = static_cast<uint32_t>(
        _mm256_movemask_epi8(_mm256_packs_epi16(turn_words(w[4], w[5]), turn_words(w[6], w[7]))));
    return lo | static_cast<uint64_t>(hi) << 32;
}

// Each organism's turns in a tile, one word each, from organism 0's draws at `lanes`, which
// move on by a tile.
inline void tile_words(const TileWalk& walk, uint32_t* lanes, uint64_t* words) {
    const __m256i mul = _mm256_set1_epi32(static_cast<int32_t>(kLcgMul));
    const __m256i add = _mm256_set1_epi32(static_cast<int32_t>(kLcgAdd));
    auto* first = reinterpret_cast<__m256i*>(lanes);
    __m256i w[8];
    for (int v = 0; v < 8; ++v) w[v] = _mm256_load_si256(first + v);
    for (int32_t i = 0, n = walk.norgs; i < n; ++i) {
        words[i] = turn_word(w);
        for (int v = 0; v < 8; ++v) w[v] = mul_add(w[v], mul, add);
    }
    const __m256i tile_mul = _mm256_set1_epi32(static_cast<int32_t>(walk.tile_mul));
    const __m256i tile_add = _mm256_set1_epi32(static_cast<int32_t>(walk.tile_add));
    for (int v = 0; v < 8; ++v) {
        _mm256_store_si256(first + v, mul_add(_mm256_load_si256(first + v), tile_mul, tile_add));
    }
}

// The walk of tile_walk.h, four organisms at a time.
template <typename PrefixXor>
inline void walk_words(const TileWalk& walk, int32_t len, PrefixXor prefix_xor) {
    const __m256i valid = _mm256_set1_epi64x(static_cast<int64_t>(low_bits(len)));
    const __m256i steps = _mm256_set1_epi64x(len);
    for (int32_t i = 0, n = walk.stretches * walk.norgs; i < n; i += 4) {
        const __m256i turns = _mm256_and_si256(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(walk.words + i)), valid);
        const __m256i p = _mm256_and_si256(_mm256_slli_epi64(prefix_xor(turns), 1), valid);
        const __m256i q =
            _mm256_and_si256(_mm256_slli_epi64(prefix_xor(_mm256_and_si256(turns, p)), 1), valid);
        const __m256i odd = popcount(p);
        const __m256i high = popcount(q);
        const __m256i n3 = popcount(_mm256_and_si256(p, q));
        const __m256i n1 = _mm256_sub_epi64(odd, n3);
        const __m256i n2 = _mm256_sub_epi64(high, n3);
        const __m256i n0 = _mm256_sub_epi64(_mm256_sub_epi64(steps, odd), n2);
        const __m256i relative =
            _mm256_or_si256(_mm256_or_si256(n0, _mm256_slli_epi64(n1, 16)),
                            _mm256_or_si256(_mm256_slli_epi64(n2, 32), _mm256_slli_epi64(n3, 48)));
        auto* dir = reinterpret_cast<__m256i*>(walk.dir + i);
        auto* counts = reinterpret_cast<__m256i*>(walk.counts + i);
        const __m256i d = _mm256_loadu_si256(dir);
        // A shift of 64 gives 0, so heading 0 keeps the fields where they are.
        const __m256i by = _mm256_slli_epi64(d, 4);
        const __m256i absolute = _mm256_or_si256(
            _mm256_sllv_epi64(relative, by),
            _mm256_srlv_epi64(relative, _mm256_sub_epi64(_mm256_set1_epi64x(64), by)));
        _mm256_storeu_si256(counts, _mm256_add_epi64(_mm256_loadu_si256(counts), absolute));
        _mm256_storeu_si256(
            dir, _mm256_and_si256(_mm256_add_epi64(d, popcount(turns)), _mm256_set1_epi64x(3)));
    }
}

// The whole walk, with the given inclusive prefix parity of four words.
template <typename PrefixXor>
inline void walk_tiles(const TileWalk& walk, PrefixXor prefix_xor) {
    alignas(32) uint32_t first[kMaxStretches * kTileSteps];
    first_states(walk, kLaneSteps.step, first);
    for (int64_t tile = 0; tile < walk.tiles; ++tile) {
        for (int32_t k = 0; k < walk.stretches; ++k) {
            tile_words(walk, first + k * kTileSteps, walk.words + k * walk.norgs);
        }
        walk_words(walk, tile + 1 == walk.tiles ? walk.last_len : kTileSteps, prefix_xor);
    }
}

}  // namespace
}  // namespace vornick::kernels
