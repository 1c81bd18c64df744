// The kernels on AVX2, eight 32-bit lanes a vector. This file alone is compiled for AVX2; the
// dispatcher calls it only on processors that have every extension it is built with.
#include <immintrin.h>

#include <algorithm>
#include <cstdint>

#include "sim/kernels/kernels.h"

namespace vornick::kernels {

namespace {

inline __m256i mul_add(__m256i v, __m256i mul, __m256i add) {
    return _mm256_add_epi32(_mm256_mullo_epi32(v, mul), add);
}

// The turn test of kernels.h for 16 states, a mask word each: the top halves of a's lanes in the
// even words, of b's in the odd ones.
inline __m256i turn_words(__m256i a, __m256i b) {
    const __m256i tops = _mm256_blend_epi16(_mm256_srli_epi32(a, 16), b, 0xAA);
    const __m256i h =
        _mm256_mullo_epi16(_mm256_or_si256(tops, _mm256_set1_epi16(static_cast<int16_t>(kTurnTop))),
                           _mm256_set1_epi16(static_cast<int16_t>(kTurnMul)));
    return _mm256_cmpgt_epi16(_mm256_set1_epi16(kTurnBelow), h);
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

// Walkers sum their moves as bytes for this many steps, then return onto the grid, so that the
// sums and their unreduced headings (which only grow) stay small enough for bytes.
constexpr int64_t kStepsBetweenWraps = 63;
// A step's move as one byte, dx + 1 in the low four bits and dy + 1 in the high four, by the
// heading's low four bits: seven steps' bytes add up without a carry between the halves.
constexpr int64_t kStepsPerMoveByte = 7;
inline __m256i move_bytes() {
    constexpr char kUpMove = 1, kLeftMove = 16, kDownMove = 33, kRightMove = 18;
    return _mm256_setr_epi8(
        kUpMove, kLeftMove, kDownMove, kRightMove, kUpMove, kLeftMove, kDownMove, kRightMove,
        kUpMove, kLeftMove, kDownMove, kRightMove, kUpMove, kLeftMove, kDownMove, kRightMove,
        kUpMove, kLeftMove, kDownMove, kRightMove, kUpMove, kLeftMove, kDownMove, kRightMove,
        kUpMove, kLeftMove, kDownMove, kRightMove, kUpMove, kLeftMove, kDownMove, kRightMove);
}

// A coordinate moved by `by`, -63..63 cells, back onto the grid: lifted by three grid sizes to
// stay positive as a byte, then brought down by four, two and one grid sizes where it is that
// far up.
inline __m256i moved_onto_grid(__m256i c, __m256i by) {
    __m256i v = _mm256_add_epi8(_mm256_add_epi8(c, by), _mm256_set1_epi8(3 * kGridSize));
    for (const int sizes : {4, 2, 1}) {
        v = _mm256_min_epu8(
            v, _mm256_sub_epi8(v, _mm256_set1_epi8(static_cast<char>(sizes * kGridSize))));
    }
    return v;
}

// A block's 32 states, given in walker order, laid out as BlockSlots wants them: the even and
// the odd walkers of each 16 apart, in each half of a vector.
inline void block_states(const uint32_t* first, __m256i st[4]) {
    __m256 in[4];
    for (int v = 0; v < 4; ++v)
        in[v] = _mm256_loadu_ps(reinterpret_cast<const float*>(first) + 8 * v);
    const auto spread = [](__m256 a, __m256 b, int odd) {
        const __m256 s = odd ? _mm256_shuffle_ps(a, b, 0xDD) : _mm256_shuffle_ps(a, b, 0x88);
        return _mm256_permute4x64_epi64(_mm256_castps_si256(s), 0xD8);
    };
    st[0] = spread(in[0], in[2], 0);
    st[1] = spread(in[0], in[2], 1);
    st[2] = spread(in[1], in[3], 0);
    st[3] = spread(in[1], in[3], 1);
}

// A step's 32 turn bytes (-1 for a turn) for organisms i..i+31, from the state s0 before it.
inline __m256i step_turns(__m256i seed, int32_t i) {
    __m256i st[4];
    for (int v = 0; v < 4; ++v) {
        const auto* mul = reinterpret_cast<const __m256i*>(kBlockJumps.mul + i + 8 * v);
        const auto* add = reinterpret_cast<const __m256i*>(kBlockJumps.add + i + 8 * v);
        st[v] = mul_add(_mm256_load_si256(mul), seed, _mm256_load_si256(add));
    }
    return _mm256_packs_epi16(turn_words(st[0], st[1]), turn_words(st[2], st[3]));
}

// A move of each heading, looked up by the heading in each 16-byte half.
struct Mover {
    __m256i dx, dy;
    Mover(const int8_t (&x)[4], const int8_t (&y)[4])
        : dx(_mm256_setr_epi8(x[0], x[1], x[2], x[3], 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, x[0],
                              x[1], x[2], x[3], 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)),
          dy(_mm256_setr_epi8(y[0], y[1], y[2], y[3], 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, y[0],
                              y[1], y[2], y[3], 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0)) {}

    // Organisms i..i+31 one cell on, each by the move of the heading its byte of h holds.
    void move(OrgLanes& lanes, int32_t i, __m256i h) const {
        auto* x = reinterpret_cast<__m256i*>(lanes.x + i);
        auto* y = reinterpret_cast<__m256i*>(lanes.y + i);
        _mm256_store_si256(x,
                           wrap(_mm256_add_epi8(_mm256_load_si256(x), _mm256_shuffle_epi8(dx, h))));
        _mm256_store_si256(y,
                           wrap(_mm256_add_epi8(_mm256_load_si256(y), _mm256_shuffle_epi8(dy, h))));
    }
};

}  // namespace

void step_lanes_avx2(OrgLanes& lanes, int32_t n, uint32_t s0) {
    const __m256i seed = _mm256_set1_epi32(static_cast<int32_t>(s0));
    const Mover mover{{0, -1, 0, 1}, {-1, 0, 1, 0}};
    const __m256i three = _mm256_set1_epi8(3);
    for (int32_t i = 0; i < n; i += 32) {
        auto* dir = reinterpret_cast<__m256i*>(lanes.dir + i);
        const __m256i d = _mm256_load_si256(dir);
        mover.move(lanes, i, d);
        // A turn byte is -1.
        _mm256_store_si256(dir, _mm256_and_si256(_mm256_sub_epi8(d, step_turns(seed, i)), three));
    }
}

void unstep_lanes_avx2(OrgLanes& lanes, int32_t n, uint32_t s0) {
    const __m256i seed = _mm256_set1_epi32(static_cast<int32_t>(s0));
    const Mover mover{{0, 1, 0, -1}, {1, 0, -1, 0}};  // the opposite of each heading's step
    const __m256i three = _mm256_set1_epi8(3);
    for (int32_t i = 0; i < n; i += 32) {
        auto* dir = reinterpret_cast<__m256i*>(lanes.dir + i);
        const __m256i d =
            _mm256_and_si256(_mm256_add_epi8(_mm256_load_si256(dir), step_turns(seed, i)), three);
        mover.move(lanes, i, d);
        _mm256_store_si256(dir, d);
    }
}

void walk_lanes_avx2(const LaneWalk& walk) {
    const __m256i mul = _mm256_set1_epi32(static_cast<int32_t>(walk.step_mul));
    const __m256i add = _mm256_set1_epi32(static_cast<int32_t>(walk.step_add));
    const __m256i moves = move_bytes();
    const __m256i nibble = _mm256_set1_epi8(0x0f);
    for (int32_t b = 0; b < walk.walkers; b += kLaneBlock) {
        __m256i st[4];
        block_states(walk.first + b, st);
        auto* px = reinterpret_cast<__m256i*>(walk.x + b);
        auto* py = reinterpret_cast<__m256i*>(walk.y + b);
        auto* pd = reinterpret_cast<__m256i*>(walk.dir + b);
        __m256i d = _mm256_loadu_si256(pd);
        for (int64_t left = walk.steps; left > 0; left -= kStepsBetweenWraps) {
            const int64_t run = std::min(left, kStepsBetweenWraps);
            // Sums of dx + 1 and dy + 1 over the run.
            __m256i sx = _mm256_setzero_si256(), sy = _mm256_setzero_si256();
            for (int64_t t = 0; t < run; t += kStepsPerMoveByte) {
                __m256i m = _mm256_setzero_si256();
                for (int64_t u = std::min(run - t, kStepsPerMoveByte); u > 0; --u) {
                    const __m256i turns =
                        _mm256_packs_epi16(turn_words(st[0], st[1]), turn_words(st[2], st[3]));
                    m = _mm256_add_epi8(m, _mm256_shuffle_epi8(moves, d));
                    d = _mm256_sub_epi8(d, turns);  // a turn byte is -1
                    for (int v = 0; v < 4; ++v) st[v] = mul_add(st[v], mul, add);
                }
                sx = _mm256_add_epi8(sx, _mm256_and_si256(m, nibble));
                sy = _mm256_add_epi8(sy, _mm256_and_si256(_mm256_srli_epi16(m, 4), nibble));
            }
            const __m256i steps = _mm256_set1_epi8(static_cast<char>(run));
            _mm256_storeu_si256(
                px, moved_onto_grid(_mm256_loadu_si256(px), _mm256_sub_epi8(sx, steps)));
            _mm256_storeu_si256(
                py, moved_onto_grid(_mm256_loadu_si256(py), _mm256_sub_epi8(sy, steps)));
            d = _mm256_and_si256(d, _mm256_set1_epi8(3));
        }
        _mm256_storeu_si256(pd, d);
    }
}

}  // namespace vornick::kernels
