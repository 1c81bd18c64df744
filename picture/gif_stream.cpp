#include "picture/gif_stream.h"

#include <gif_lib.h>

namespace vornick {

namespace {

// The sink is handed bytes in pieces of about this size, not giflib's blocks of 255.
constexpr std::size_t kFlushBytes = std::size_t{1} << 16;

}  // namespace

GifStream::~GifStream() {
    if (gif_) {
        sink_ = nullptr;  // abandoned: nothing more reaches the file
        int ignored = 0;
        EGifCloseFile(gif_, &ignored);
    }
}

int GifStream::output(GifFileType* gif, const unsigned char* data, int size) {
    auto* self = static_cast<GifStream*>(gif->UserData);
    if (!self->sink_) return size;
    self->buffer_.insert(self->buffer_.end(), data, data + size);
    if (self->buffer_.size() >= kFlushBytes && !self->flush()) return 0;
    return size;
}

bool GifStream::flush() {
    if (buffer_.empty()) return true;
    std::string why;
    if (!sink_(buffer_.data(), buffer_.size(), why)) {
        error_ = why.empty() ? "the file could not be written" : why;
        return false;
    }
    flushed_ += static_cast<int64_t>(buffer_.size());
    buffer_.clear();
    return true;
}

bool GifStream::check(int giflib_result) {
    if (giflib_result == GIF_OK) return true;
    if (error_.empty()) {
        const char* text = GifErrorString(gif_ ? gif_->Error : 0);
        error_ = text ? text : "the picture could not be encoded";
    }
    return false;
}

bool GifStream::open(Sink sink, int width, int height, const std::vector<Rgb>& palette, int bits) {
    if (gif_ || !error_.empty()) return false;
    sink_ = std::move(sink);
    width_ = width;
    height_ = height;
    int err = 0;
    gif_ = EGifOpen(this, &GifStream::output, &err);
    if (!gif_) {
        const char* text = GifErrorString(err);
        error_ = text ? text : "giflib could not start a file";
        return false;
    }
    // Delays, transparency and looping are GIF89a's.
    EGifSetGifVersion(gif_, true);
    ColorMapObject* map = GifMakeMapObject(1 << bits, nullptr);
    if (!map) {
        error_ = "out of memory";
        return false;
    }
    for (int i = 0; i < map->ColorCount && i < static_cast<int>(palette.size()); ++i) {
        map->Colors[i] = GifColorType{palette[i].r, palette[i].g, palette[i].b};
    }
    const bool ok = check(EGifPutScreenDesc(gif_, width, height, bits, 0, map));
    GifFreeMapObject(map);
    if (!ok) return false;
    // Looping forever: the application extension that every viewer reads as such.
    static const unsigned char kLoopApp[] = "NETSCAPE2.0";
    const unsigned char loop[3] = {1, 0, 0};
    return check(EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE)) &&
           check(EGifPutExtensionBlock(gif_, 11, kLoopApp)) &&
           check(EGifPutExtensionBlock(gif_, 3, loop)) && check(EGifPutExtensionTrailer(gif_));
}

bool GifStream::frame(const PixelRect& rect, uint8_t* pixels, int delay, int transparent) {
    if (!gif_ || !error_.empty()) return false;
    if (rect.empty() || rect.left < 0 || rect.top < 0 || rect.right > width_ ||
        rect.bottom > height_) {
        error_ = "a frame lies outside the picture";
        return false;
    }
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay;
    control.TransparentColor = transparent < 0 ? NO_TRANSPARENT_COLOR : transparent;
    GifByteType extension[4];
    const std::size_t n = EGifGCBToExtension(&control, extension);
    return check(EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), extension)) &&
           check(EGifPutImageDesc(gif_, rect.left, rect.top, rect.width(), rect.height(), false,
                                  nullptr)) &&
           check(EGifPutLine(gif_, pixels, rect.width() * rect.height()));
}

bool GifStream::close() {
    if (!gif_) return false;
    int err = 0;
    const int result = EGifCloseFile(gif_, &err);
    gif_ = nullptr;
    if (result != GIF_OK && error_.empty()) {
        const char* text = GifErrorString(err);
        error_ = text ? text : "the file could not be ended";
    }
    return error_.empty() && flush();
}

}  // namespace vornick
