// The board's picture made in software from a run's state, as the window draws it: 28 x 28
// cells of 10 x 10 units, ground tiles, organisms by heading with later ones on top, never the
// selection frame; every unit an s x s block of palette indices, with an optional caption.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "picture/board_art.h"
#include "sim/world.h"

namespace vornick {

inline constexpr int kMinPictureScale = 1;
inline constexpr int kMaxPictureScale = 4;

// Pixels [left, right) x [top, bottom); empty when right <= left.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    void add(const PixelRect& r);
    bool operator==(const PixelRect&) const = default;
};

class BoardPicture {
  public:
    // `art` must be without fault and outlive the picture; scale is limited to 1..4.
    BoardPicture(const BoardArt& art, int scale, bool caption);

    int scale() const { return s_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Row by row from the top, width() indices a row.
    const uint8_t* pixels() const { return pixels_.data(); }
    uint8_t at(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }

    // The picture of `w` after step `iters` of the run begun at `seed`. Repaints only the cells
    // whose look changed since the last call, and the caption when its text did.
    void draw(const World& w, uint32_t seed, int32_t iters);
    // What draw has repainted since the last call; then forgets it.
    PixelRect take_repainted();

    // Red, green and blue bytes of every pixel, for comparing with other pictures.
    std::vector<uint8_t> rgb() const;

  private:
    void paint_cell(int32_t cell, uint8_t look);
    void paint_caption(const std::string& text);

    const BoardArt& art_;
    int s_;
    bool caption_;
    int width_;
    int height_;
    std::vector<uint8_t> pixels_;
    // Each look enlarged to (10s)^2 indices, so a cell is painted by rows.
    std::array<std::vector<uint8_t>, kLooks> scaled_;
    std::array<uint8_t, kCells> shown_{};  // the look each cell has; 255 before the first draw
    std::array<uint8_t, kCells> look_{};   // the looks being worked out
    std::string caption_text_;
    PixelRect repainted_;
};

}  // namespace vornick
