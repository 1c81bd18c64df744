// An animated GIF written as it is made, through giflib: GIF89a with one global palette, set to
// loop forever, frames drawn over the ones before (with a transparent index for what stays).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "picture/board_art.h"
#include "picture/board_picture.h"

struct GifFileType;

namespace vornick {

class GifStream {
  public:
    // Takes the next bytes of the file; false, with the reason in `why`, when they could not
    // be written.
    using Sink = std::function<bool(const uint8_t* data, std::size_t size, std::string& why)>;

    GifStream() = default;
    ~GifStream();
    GifStream(const GifStream&) = delete;
    GifStream& operator=(const GifStream&) = delete;

    // Writes the header, the palette and the looping extension. Every call returns false once
    // anything failed, with the reason in error().
    bool open(Sink sink, int width, int height, const std::vector<Rgb>& palette, int bits);
    // One frame of `rect`, its rect.width() x rect.height() indices row by row in `pixels`
    // (which giflib may change), shown for `delay` hundredths of a second. `transparent` is the
    // index that leaves the frame before showing, or -1 for none.
    bool frame(const PixelRect& rect, uint8_t* pixels, int delay, int transparent);
    // Ends the file and hands over its last bytes.
    bool close();

    const std::string& error() const { return error_; }
    // Bytes handed to the sink so far, and waiting to be.
    int64_t bytes() const { return flushed_ + static_cast<int64_t>(buffer_.size()); }

  private:
    static int output(GifFileType* gif, const unsigned char* data, int size);
    bool check(int giflib_result);
    bool flush();

    GifFileType* gif_ = nullptr;
    Sink sink_;
    std::vector<uint8_t> buffer_;
    int64_t flushed_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::string error_;
};

}  // namespace vornick
