// The kernels on AVX-512, sixteen 32-bit lanes a vector and mask registers. This file alone is
// compiled for AVX-512; the dispatcher calls it only on processors that have all it uses.
// gcc's AVX-512 headers make their "undefined" vectors by self-initialisation, which its own
// warnings then report wherever the intrinsics are inlined.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>

#include <cstdint>

#include "sim/kernels/kernels.h"
#include "sim/kernels/tile_walk.h"

namespace vornick::kernels {

namespace {

// The inclusive prefix parity of each of 8 words: a carry-less product with all ones.
inline __m512i prefix_xor(__m512i v) {
    const __m512i ones = _mm512_set1_epi64(-1);
    return _mm512_unpacklo_epi64(_mm512_clmulepi64_epi128(v, ones, 0x00),
                                 _mm512_clmulepi64_epi128(v, ones, 0x01));
}

inline __m512i mul_add(__m512i v, __m512i mul, __m512i add) {
    return _mm512_add_epi32(_mm512_mullo_epi32(v, mul), add);
}

// 32 states to their turn test, a mask bit each, in order: their top halves side by side, then
// the test.
inline __mmask32 turn_mask(__m512i a, __m512i b) {
    const __m512i odd_words =
        _mm512_set_epi16(63, 61, 59, 57, 55, 53, 51, 49, 47, 45, 43, 41, 39, 37, 35, 33, 31, 29, 27,
                         25, 23, 21, 19, 17, 15, 13, 11, 9, 7, 5, 3, 1);
    const __m512i tops = _mm512_permutex2var_epi16(a, odd_words, b);
    const __m512i h =
        _mm512_mullo_epi16(_mm512_or_si512(tops, _mm512_set1_epi16(static_cast<int16_t>(kTurnTop))),
                           _mm512_set1_epi16(static_cast<int16_t>(kTurnMul)));
    return _mm512_cmplt_epi16_mask(h, _mm512_set1_epi16(kTurnBelow));
}

inline uint32_t turn_bits(__m512i a, __m512i b) {
    return _cvtmask32_u32(turn_mask(a, b));
}

// Each organism's turns in a tile, one word each, from organism 0's draws at `lanes`, which
// move on by a tile.
inline void tile_words(const TileWalk& walk, uint32_t* lanes, uint64_t* words) {
    const __m512i mul = _mm512_set1_epi32(static_cast<int32_t>(kLcgMul));
    const __m512i add = _mm512_set1_epi32(static_cast<int32_t>(kLcgAdd));
    __m512i w[4];
    for (int v = 0; v < 4; ++v) w[v] = _mm512_load_si512(lanes + 16 * v);
    for (int32_t i = 0, n = walk.norgs; i < n; ++i) {
        words[i] = turn_bits(w[0], w[1]) | static_cast<uint64_t>(turn_bits(w[2], w[3])) << 32;
        for (int v = 0; v < 4; ++v) w[v] = mul_add(w[v], mul, add);
    }
    const __m512i tile_mul = _mm512_set1_epi32(static_cast<int32_t>(walk.tile_mul));
    const __m512i tile_add = _mm512_set1_epi32(static_cast<int32_t>(walk.tile_add));
    for (int v = 0; v < 4; ++v) {
        _mm512_store_si512(lanes + 16 * v,
                           mul_add(_mm512_load_si512(lanes + 16 * v), tile_mul, tile_add));
    }
}

// The walk of tile_walk.h for eight organisms' words of turns.
struct Walk8 {
    __m512i dir;
    __m512i counts;
};

inline void walk8(Walk8& o, __m512i turns, __m512i valid, __m512i steps) {
    turns = _mm512_and_si512(turns, valid);
    const __m512i p = _mm512_and_si512(_mm512_slli_epi64(prefix_xor(turns), 1), valid);
    const __m512i q =
        _mm512_and_si512(_mm512_slli_epi64(prefix_xor(_mm512_and_si512(turns, p)), 1), valid);
    const __m512i odd = _mm512_popcnt_epi64(p);
    const __m512i high = _mm512_popcnt_epi64(q);
    const __m512i n3 = _mm512_popcnt_epi64(_mm512_and_si512(p, q));
    const __m512i n1 = _mm512_sub_epi64(odd, n3);
    const __m512i n2 = _mm512_sub_epi64(high, n3);
    const __m512i n0 = _mm512_sub_epi64(_mm512_sub_epi64(steps, odd), n2);
    const __m512i relative =
        _mm512_or_si512(_mm512_or_si512(n0, _mm512_slli_epi64(n1, 16)),
                        _mm512_or_si512(_mm512_slli_epi64(n2, 32), _mm512_slli_epi64(n3, 48)));
    o.counts = _mm512_add_epi64(o.counts, _mm512_rolv_epi64(relative, _mm512_slli_epi64(o.dir, 4)));
    o.dir =
        _mm512_and_si512(_mm512_add_epi64(o.dir, _mm512_popcnt_epi64(turns)), _mm512_set1_epi64(3));
}

inline void walk_words(const TileWalk& walk, int32_t len) {
    const __m512i valid = _mm512_set1_epi64(static_cast<int64_t>(low_bits(len)));
    const __m512i steps = _mm512_set1_epi64(len);
    for (int32_t i = 0, n = walk.stretches * walk.norgs; i < n; i += kWalkPad) {
        Walk8 o{_mm512_loadu_si512(walk.dir + i), _mm512_loadu_si512(walk.counts + i)};
        walk8(o, _mm512_loadu_si512(walk.words + i), valid, steps);
        _mm512_storeu_si512(walk.dir + i, o.dir);
        _mm512_storeu_si512(walk.counts + i, o.counts);
    }
}

// Where one step leads from coordinate c facing heading h, at entry 32 * h + c: a two-register
// byte lookup moves and wraps in one instruction.
struct StepTargets {
    alignas(64) uint8_t x[128];
    alignas(64) uint8_t y[128];
    alignas(64) uint8_t turned[64];    // the heading after a turn, by heading, in each 16 bytes
    alignas(64) uint8_t unturned[64];  // and before one
};
constexpr StepTargets make_step_targets() {
    constexpr int32_t dx[4] = {0, -1, 0, 1};
    constexpr int32_t dy[4] = {-1, 0, 1, 0};
    StepTargets t{};
    for (int32_t h = 0; h < 4; ++h) {
        for (int32_t c = 0; c < kGridSize; ++c) {
            t.x[32 * h + c] = static_cast<uint8_t>((c + kGridSize + dx[h]) % kGridSize);
            t.y[32 * h + c] = static_cast<uint8_t>((c + kGridSize + dy[h]) % kGridSize);
        }
        for (int32_t q = 0; q < 64; q += 16) {
            t.turned[q + h] = static_cast<uint8_t>((h + 1) & 3);
            t.unturned[q + h] = static_cast<uint8_t>((h + 3) & 3);
        }
    }
    return t;
}
constexpr StepTargets kStepTargets = make_step_targets();

// The step targets held in registers.
struct StepMover {
    __m512i x_lo = _mm512_load_si512(kStepTargets.x);
    __m512i x_hi = _mm512_load_si512(kStepTargets.x + 64);
    __m512i y_lo = _mm512_load_si512(kStepTargets.y);
    __m512i y_hi = _mm512_load_si512(kStepTargets.y + 64);

    // Organisms i..i+63 one cell on, each facing the heading its byte of h holds.
    void move(OrgLanes& lanes, int32_t i, __m512i h) const {
        const __m512i by_heading = _mm512_slli_epi16(h, 5);  // headings are below 8: no carry
        _mm512_store_si512(
            lanes.x + i,
            _mm512_permutex2var_epi8(
                x_lo, _mm512_add_epi8(_mm512_load_si512(lanes.x + i), by_heading), x_hi));
        _mm512_store_si512(
            lanes.y + i,
            _mm512_permutex2var_epi8(
                y_lo, _mm512_add_epi8(_mm512_load_si512(lanes.y + i), by_heading), y_hi));
    }
};

// A step's turns of organisms i..i+63, a bit each, from the state s0 before it.
inline __mmask64 step_turns(__m512i seed, int32_t i) {
    __m512i st[4];
    for (int v = 0; v < 4; ++v) {
        st[v] = mul_add(_mm512_load_si512(kStepJumps.mul + i + 16 * v), seed,
                        _mm512_load_si512(kStepJumps.add + i + 16 * v));
    }
    return _mm512_kunpackd(static_cast<__mmask64>(turn_mask(st[2], st[3])),
                           static_cast<__mmask64>(turn_mask(st[0], st[1])));
}

}  // namespace

void step_lanes_avx512(OrgLanes& lanes, int32_t n, uint32_t s0) {
    const __m512i seed = _mm512_set1_epi32(static_cast<int32_t>(s0));
    const StepMover mover;
    const __m512i turned = _mm512_load_si512(kStepTargets.turned);
    for (int32_t i = 0; i < n; i += 64) {
        const __mmask64 turns = step_turns(seed, i);
        const __m512i d = _mm512_load_si512(lanes.dir + i);
        mover.move(lanes, i, d);
        _mm512_store_si512(lanes.dir + i, _mm512_mask_shuffle_epi8(d, turns, turned, d));
    }
}

// A step back moves the opposite way, as the opposite heading, h ^ 2, moves.
void unstep_lanes_avx512(OrgLanes& lanes, int32_t n, uint32_t s0) {
    const __m512i seed = _mm512_set1_epi32(static_cast<int32_t>(s0));
    const StepMover mover;
    const __m512i unturned = _mm512_load_si512(kStepTargets.unturned);
    for (int32_t i = 0; i < n; i += 64) {
        const __mmask64 turns = step_turns(seed, i);
        const __m512i d0 = _mm512_load_si512(lanes.dir + i);
        const __m512i d = _mm512_mask_shuffle_epi8(d0, turns, unturned, d0);
        mover.move(lanes, i, _mm512_xor_si512(d, _mm512_set1_epi8(2)));
        _mm512_store_si512(lanes.dir + i, d);
    }
}

void walk_tiles_avx512(const TileWalk& walk) {
    alignas(64) uint32_t first[kMaxStretches * kTileSteps];
    int natural[kTileSteps];
    for (int l = 0; l < kTileSteps; ++l) natural[l] = l;
    first_states(walk, natural, first);
    for (int64_t tile = 0; tile < walk.tiles; ++tile) {
        for (int32_t k = 0; k < walk.stretches; ++k) {
            tile_words(walk, first + k * kTileSteps, walk.words + k * walk.norgs);
        }
        walk_words(walk, tile + 1 == walk.tiles ? walk.last_len : kTileSteps);
    }
}

}  // namespace vornick::kernels
