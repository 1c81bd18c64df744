#include "picture/frame_encoder.h"

#include <cstring>

namespace vornick {

namespace {

// The first and one past the last index at which rows a and b differ within [from, to), or
// from == to when they do not: compared by words, since most rows of a frame are unchanged.
void differing_span(const uint8_t* a, const uint8_t* b, int& from, int& to) {
    if (std::memcmp(a + from, b + from, static_cast<std::size_t>(to - from)) == 0) {
        to = from;
        return;
    }
    while (from + 8 <= to) {
        uint64_t x, y;
        std::memcpy(&x, a + from, 8);
        std::memcpy(&y, b + from, 8);
        if (x != y) break;
        from += 8;
    }
    while (a[from] == b[from]) ++from;
    while (to - 8 >= from) {
        uint64_t x, y;
        std::memcpy(&x, a + to - 8, 8);
        std::memcpy(&y, b + to - 8, 8);
        if (x != y) break;
        to -= 8;
    }
    while (a[to - 1] == b[to - 1]) --to;
}

}  // namespace

FrameEncoder::FrameEncoder(const BoardArt& art, int scale, bool caption, int delay)
    : art_(art), picture_(art, scale, caption), delay_(delay) {}

bool FrameEncoder::open(GifStream::Sink sink) {
    shown_.assign(static_cast<std::size_t>(picture_.width()) * picture_.height(), 0);
    patch_.resize(shown_.size());
    return gif_.open(std::move(sink), picture_.width(), picture_.height(), art_.palette,
                     art_.palette_bits);
}

PixelRect FrameEncoder::changed_within(const PixelRect& r) const {
    PixelRect changed;
    const int w = picture_.width();
    for (int y = r.top; y < r.bottom; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * w;
        int from = r.left, to = r.right;
        differing_span(picture_.pixels() + row, shown_.data() + row, from, to);
        if (from < to) changed.add({from, y, to, y + 1});
    }
    return changed;
}

bool FrameEncoder::add(const World& w, uint32_t seed, int32_t iters) {
    picture_.draw(w, seed, iters);
    const PixelRect repainted = picture_.take_repainted();
    const int width = picture_.width();
    const uint8_t* now = picture_.pixels();
    if (frames_ == 0) {
        rect_ = {0, 0, width, picture_.height()};
        std::memcpy(shown_.data(), now, shown_.size());
        std::memcpy(patch_.data(), now, patch_.size());
        ++frames_;
        return gif_.frame(rect_, patch_.data(), delay_, -1);
    }
    rect_ = changed_within(repainted);
    const uint8_t clear = art_.transparent;
    if (rect_.empty()) {
        // A frame must hold a pixel: one that leaves the picture as it is.
        rect_ = {0, 0, 1, 1};
        patch_[0] = clear;
    } else {
        uint8_t* out = patch_.data();
        const auto n = static_cast<std::size_t>(rect_.width());
        for (int y = rect_.top; y < rect_.bottom; ++y) {
            const std::size_t row = static_cast<std::size_t>(y) * width + rect_.left;
            const uint8_t* a = now + row;
            uint8_t* b = shown_.data() + row;
            for (std::size_t x = 0; x < n; ++x) out[x] = a[x] != b[x] ? a[x] : clear;
            std::memcpy(b, a, n);
            out += n;
        }
    }
    ++frames_;
    return gif_.frame(rect_, patch_.data(), delay_, clear);
}

bool FrameEncoder::close() {
    return gif_.close();
}

}  // namespace vornick
