#include "picture/board_picture.h"

#include <algorithm>
#include <cstring>

#include "picture/caption_font.h"

namespace vornick {

namespace {

constexpr uint8_t kUnpainted = 255;
constexpr int kCaptionLeft = 3;  // units from the band's left edge
constexpr int kCaptionTop = 2;   // units below the board

}  // namespace

void PixelRect::add(const PixelRect& r) {
    if (r.empty()) return;
    if (empty()) {
        *this = r;
        return;
    }
    left = std::min(left, r.left);
    top = std::min(top, r.top);
    right = std::max(right, r.right);
    bottom = std::max(bottom, r.bottom);
}

BoardPicture::BoardPicture(const BoardArt& art, int scale, bool caption)
    : art_(art),
      s_(std::clamp(scale, kMinPictureScale, kMaxPictureScale)),
      caption_(caption),
      width_(kBoardSize * s_),
      height_((kBoardSize + (caption ? kCaptionHeight : 0)) * s_),
      pixels_(static_cast<std::size_t>(width_) * height_, art.paper) {
    const int side = kSpriteSize * s_;
    for (int look = 0; look < kLooks; ++look) {
        std::vector<uint8_t>& big = scaled_[look];
        big.resize(static_cast<std::size_t>(side) * side);
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                big[static_cast<std::size_t>(y) * side + x] =
                    art.looks[look][(y / s_) * kSpriteSize + x / s_];
            }
        }
    }
    shown_.fill(kUnpainted);
}

void BoardPicture::paint_cell(int32_t cell, uint8_t look) {
    const int side = kSpriteSize * s_;
    const int left = (cell / kGridSize) * side;
    const int top = (cell % kGridSize) * side;
    const uint8_t* from = scaled_[look].data();
    for (int y = 0; y < side; ++y) {
        std::memcpy(&pixels_[static_cast<std::size_t>(top + y) * width_ + left], from + y * side,
                    static_cast<std::size_t>(side));
    }
    repainted_.add({left, top, left + side, top + side});
}

void BoardPicture::paint_caption(const std::string& text) {
    const int top = kBoardSize * s_;
    std::memset(&pixels_[static_cast<std::size_t>(top) * width_], art_.paper,
                static_cast<std::size_t>(kCaptionHeight * s_) * width_);
    draw_caption_text(text, kCaptionLeft, kBoardSize + kCaptionTop, s_, art_.ink, pixels_.data(),
                      width_);
    repainted_.add({0, top, width_, height_});
}

void BoardPicture::draw(const World& w, uint32_t seed, int32_t iters) {
    // The window draws only codes 12 and 13 on a board, and organisms on the grid with a
    // heading; no run makes anything else.
    for (int32_t i = 0; i < kCells; ++i) {
        look_[i] = w.world[i] == kGroundCode ? static_cast<uint8_t>(kGroundSprite) : kPlainLook;
    }
    const int32_t n = w.live_count();
    for (int32_t i = 0; i < n; ++i) {
        const Org o = w.orgs.get(i);
        if (on_grid(o.x, o.y) && valid_heading(o.dir)) {
            look_[o.x * kGridSize + o.y] = static_cast<uint8_t>(o.dir);
        }
    }
    for (int32_t i = 0; i < kCells; ++i) {
        if (look_[i] != shown_[i]) {
            paint_cell(i, look_[i]);
            shown_[i] = look_[i];
        }
    }
    if (caption_) {
        std::string text = caption_text(seed, iters);
        if (text != caption_text_) {
            paint_caption(text);
            caption_text_ = std::move(text);
        }
    }
}

PixelRect BoardPicture::take_repainted() {
    const PixelRect r = repainted_;
    repainted_ = PixelRect{};
    return r;
}

std::vector<uint8_t> BoardPicture::rgb() const {
    std::vector<uint8_t> out(pixels_.size() * 3);
    for (std::size_t i = 0; i < pixels_.size(); ++i) {
        const Rgb c = art_.colour(pixels_[i]);
        out[3 * i] = c.r;
        out[3 * i + 1] = c.g;
        out[3 * i + 2] = c.b;
    }
    return out;
}

}  // namespace vornick
