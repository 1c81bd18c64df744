// Frames of the board's picture into a GIF: the first whole, each later one only as the
// rectangle that changed since the frame before, its unchanged pixels transparent.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture/board_picture.h"
#include "picture/gif_stream.h"

namespace vornick {

class FrameEncoder {
  public:
    // `art` must be without fault and outlive the encoder.
    FrameEncoder(const BoardArt& art, int scale, bool caption, int delay);

    bool open(GifStream::Sink sink);
    // The picture of `w` after step `iters` of the run begun at `seed`, as the next frame.
    bool add(const World& w, uint32_t seed, int32_t iters);
    bool close();

    const std::string& error() const { return gif_.error(); }
    const BoardPicture& picture() const { return picture_; }
    int64_t frames() const { return frames_; }
    int64_t bytes() const { return gif_.bytes(); }
    // Where the last frame was placed.
    const PixelRect& last_rect() const { return rect_; }

  private:
    PixelRect changed_within(const PixelRect& r) const;

    const BoardArt& art_;
    BoardPicture picture_;
    std::vector<uint8_t> shown_;  // the picture as the frames so far show it
    std::vector<uint8_t> patch_;  // the next frame's indices
    GifStream gif_;
    int delay_;
    int64_t frames_ = 0;
    PixelRect rect_;
};

}  // namespace vornick
