// What every picture of the board is drawn with: the sprites the window draws, decoded from the
// files built into the program, as palette indices, and the one palette all frames share.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "sim/board_geometry.h"

namespace vornick {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A cell's look: the sprite drawn in it, or kPlainLook for a plain cell's fill.
inline constexpr uint8_t kPlainLook = 13;
inline constexpr int kLooks = 14;

using SpriteTexels = std::array<uint8_t, kSpriteSize * kSpriteSize>;  // row by row, top first

struct BoardArt {
    // Why the sprites could not be used; the rest is empty then.
    std::string fault;
    // Padded with black to a power of two (giflib's rule): the colours in use, then one for
    // transparency.
    std::vector<Rgb> palette;
    int palette_bits = 1;
    uint8_t transparent = 0;
    // The caption's paper and ink: the white and black of the window's panel.
    uint8_t paper = 0;
    uint8_t ink = 0;
    // By look; only the looks a board shows are filled: the headings 0..3, the ground tile and
    // plain cells, which take the bottom-left texel of the ground tile, bound when the window
    // starts (every sprite has the board green there).
    std::array<SpriteTexels, kLooks> looks{};

    Rgb colour(uint8_t index) const { return palette[index]; }
};

// Decoded once, on first use; safe from any thread.
const BoardArt& board_art();

// The art made from thirteen PNG files' bytes, for tests of a broken or odd sprite: each must
// decode to a 10 x 10 opaque image.
BoardArt make_board_art(const std::array<std::vector<uint8_t>, kSpriteCount>& files);

}  // namespace vornick
