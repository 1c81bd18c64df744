// An organism's record and the grid it walks: what a heading means and which values are valid.
#pragma once

#include <cstdint>

namespace vornick {

inline constexpr int32_t kGridSize = 28;
inline constexpr int32_t kCells = kGridSize * kGridSize;
inline constexpr int32_t kMaxOrgs = kCells;  // one slot per cell

// Headings double as the sprite numbers that draw them.
enum Heading : int32_t { kUp = 0, kLeft = 1, kDown = 2, kRight = 3 };

// An offset seen from heading 0 (up), as seen from heading d: d quarter turns the way organisms
// turn (up, left, down, right), each taking (x, y) to (y, -x).
struct Offset {
    int32_t x;
    int32_t y;
};
constexpr Offset turned_offset(int32_t d, int32_t x, int32_t y) {
    switch (d & 3) {
        case kUp:
            return {x, y};
        case kLeft:
            return {y, -x};
        case kDown:
            return {-x, -y};
        default:
            return {-y, x};
    }
}

struct Org {
    int32_t x;    // column, 0..27 from the left
    int32_t y;    // row, 0..27 from the top
    int32_t dir;  // Heading
};

// No step leaves a heading outside 0..3 or a cell off the grid; only a hand-made table has one.
constexpr bool valid_heading(int32_t dir) {
    return (dir & ~3) == 0;
}
constexpr bool on_grid(int32_t x, int32_t y) {
    return static_cast<uint32_t>(x) < kGridSize && static_cast<uint32_t>(y) < kGridSize;
}

}  // namespace vornick
