// Where things stand in the window's picture, in units of one pixel at scale 1: the picture is
// 440 x 300 with the board at the left, and cell (x, y) covers 10 + 10x to 20 + 10x across and
// 10 + 10y to 20 + 10y down. The drawing, the press on the board and every picture made of a
// run read it from here.
#pragma once

#include <cstdint>

#include "sim/org.h"

namespace vornick {

inline constexpr int kSurfaceWidth = 440;
inline constexpr int kSurfaceHeight = 300;

inline constexpr int32_t kBoardOrigin = 10;
inline constexpr int32_t kCellSize = 10;
inline constexpr int32_t kBoardEnd = kBoardOrigin + kGridSize * kCellSize;  // 290
inline constexpr int32_t kBoardSize = kBoardEnd - kBoardOrigin;             // 280

// Sprite i is the image named 128 + i; 0..3 draw an organism by heading, 12 the ground tile.
inline constexpr int kSpriteCount = 13;
inline constexpr int kSpriteSize = 10;
inline constexpr int kGroundSprite = 12;

constexpr int32_t cell_left(int32_t x) {
    return kBoardOrigin + kCellSize * x;
}
constexpr int32_t cell_top(int32_t y) {
    return kBoardOrigin + kCellSize * y;
}

// A press at (h, v) lands on the board. The far edge counts, as it always has, though 290
// itself yields cell 28, outside the grid.
constexpr bool on_board(int32_t h, int32_t v) {
    return h >= kBoardOrigin && v >= kBoardOrigin && h <= kBoardEnd && v <= kBoardEnd;
}
constexpr int32_t cell_of(int32_t pixel) {
    return (pixel - kBoardOrigin) / kCellSize;
}

}  // namespace vornick
