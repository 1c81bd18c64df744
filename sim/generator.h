// The one random generator: a 32-bit linear congruential state from which everything random
// in a run is drawn, so a run is reproduced exactly from its starting state.
#pragma once

#include <array>
#include <cstdint>

namespace vornick {

inline constexpr uint32_t kLcgMul = 1103515245u;
inline constexpr uint32_t kLcgAdd = 12345u;

class Generator {
  public:
    uint32_t seed = 1;

    // Advances the state and yields bits 16..30 of the new state, 0..32767.
    int32_t draw() {
        seed = seed * kLcgMul + kLcgAdd;
        return static_cast<int32_t>((seed >> 16) & 0x7fff);
    }
};

// The state after k draws is mul[k] * s + add[k] (mod 2^32); lets the draws of one step be
// computed independently of each other.
struct JumpTable {
    std::array<uint32_t, 785> mul;
    std::array<uint32_t, 785> add;
};

constexpr JumpTable make_jump_table() {
    JumpTable t{};
    t.mul[0] = 1;
    t.add[0] = 0;
    for (std::size_t k = 1; k < t.mul.size(); ++k) {
        t.mul[k] = t.mul[k - 1] * kLcgMul;
        t.add[k] = t.add[k - 1] * kLcgMul + kLcgAdd;
    }
    return t;
}

inline constexpr JumpTable kJump = make_jump_table();

// What k draws do to the state, s -> mul * s + add (mod 2^32), for any k: a run can be
// advanced, or split into parts that start from their own states, without drawing one by one.
struct Jump {
    uint32_t mul = 1;
    uint32_t add = 0;

    constexpr uint32_t apply(uint32_t s) const { return mul * s + add; }
    // This jump followed by `next`.
    constexpr Jump then(Jump next) const { return {next.mul * mul, next.mul * add + next.add}; }
};

constexpr Jump jump_of(uint64_t draws) {
    Jump result;
    Jump power{kLcgMul, kLcgAdd};
    for (; draws != 0; draws >>= 1) {
        if (draws & 1) result = result.then(power);
        power = power.then(power);
    }
    return result;
}

}  // namespace vornick
