// The board's drawing recorded instead of drawn: what each operation leaves on its cell, and at
// replay only what is still visible, in an order that leaves the same picture. No GL here.
#pragma once

#include <cstdint>

#include "sim/world.h"

namespace vornick {

// Every board operation overwrites the pixels it touches whatever they held, provided the
// sprites are opaque: a cell then ends as its last fill or quad painted it, whatever came
// before, and a frame's lines as the last frame drawn at that cell. The one state a recorded
// result depends on is that of a fill: the texture bound and the texture coordinate, which
// take the texel the fill shows; the log keeps them with it.
struct BoardOp {
    enum Kind : uint8_t {
        kFill,     // the cell filled with the texel of `sprite` at the coordinate `tc_bottom` says
        kQuad,     // the cell covered by sprite `sprite`
        kFrame,    // the selection frame in black
        kUnframe,  // the frame erased: white, then green on the board
    };
    Kind kind;
    uint8_t x;
    uint8_t y;
    uint8_t sprite;
    bool tc_bottom;  // the texture coordinate a quad leaves; before any quad it is the origin
};

// The texture state as the drawing left it: the sprite bound and whether a quad has been drawn.
struct TexState {
    uint8_t sprite;
    bool tc_bottom;
    bool operator==(const TexState&) const = default;
};

class BoardLog {
  public:
    static constexpr int kCapacity = 1 << 16;

    // The state in force when the first of the next operations is drawn.
    void start(TexState drawn) { state_ = drawn; }
    bool empty() const { return count_ == 0 && !ring_; }
    bool full() const { return count_ == kCapacity; }
    // Only cells of the grid are recorded.
    static bool on_grid(int32_t x, int32_t y) {
        return x >= 0 && x < kGridSize && y >= 0 && y < kGridSize;
    }

    void fill(int32_t x, int32_t y);
    void quad(int32_t x, int32_t y, uint8_t sprite);
    void frame(int32_t x, int32_t y, bool erase);
    // A full redraw begins: it covers every cell and the ring of margin around them that a
    // frame's lines reach, so nothing recorded before it still shows. Its cells follow as
    // fills and quads; the ring is whitened first when the plan is drawn.
    void redraw();

    // What the operations leave: the texture state, and the frame colour if one was drawn.
    TexState state() const { return state_; }
    bool framed() const { return frame_colour_ != kNoFrame; }
    bool last_frame_erased() const { return frame_colour_ == kErased; }

    // The operations still visible: first `free_count` cell operations that no live frame
    // touches, in any order (each on a cell of its own), then the rest in their order.
    struct Plan {
        const BoardOp* op[kCapacity];
        int count = 0;
        int free_count = 0;
        bool ring = false;  // whiten the board's ring before anything else
    };
    // Empties the log.
    void take(Plan& plan);

  private:
    enum FrameColour : uint8_t { kNoFrame, kDrawn, kErased };

    BoardOp ops_[kCapacity];
    int count_ = 0;
    bool ring_ = false;
    FrameColour frame_colour_ = kNoFrame;  // the colour the last frame left current
    TexState state_{};
};

}  // namespace vornick
