// A written GIF read back with giflib itself, and its frames put together as a viewer shows
// them, for tests that hold every frame to the picture of its step.
#pragma once

#include <gif_lib.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "picture/board_picture.h"

namespace vornick::testing {

struct ShownFrame {
    PixelRect rect;
    int delay = 0;
    int transparent = -1;
    int disposal = 0;
    std::vector<uint8_t> rgb;  // the whole picture once this frame is drawn
};

struct ReadGif {
    std::string error;
    std::string version;  // "GIF89a"
    int width = 0;
    int height = 0;
    std::vector<Rgb> palette;
    int loop_count = -1;  // from the looping extension; -1 without one
    std::vector<ShownFrame> frames;
};

inline ReadGif read_gif(const std::vector<uint8_t>& bytes) {
    ReadGif out;
    struct Source {
        const std::vector<uint8_t>* bytes;
        std::size_t at;
    } source{&bytes, 0};
    const auto input = [](GifFileType* g, GifByteType* to, int n) {
        auto* s = static_cast<Source*>(g->UserData);
        const std::size_t k =
            std::min<std::size_t>(static_cast<std::size_t>(n), s->bytes->size() - s->at);
        std::memcpy(to, s->bytes->data() + s->at, k);
        s->at += k;
        return static_cast<int>(k);
    };
    if (bytes.size() >= 6) out.version.assign(bytes.begin(), bytes.begin() + 6);
    int err = 0;
    GifFileType* gif = DGifOpen(&source, input, &err);
    if (!gif) {
        out.error = GifErrorString(err);
        return out;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        out.error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &err);
        return out;
    }
    out.width = gif->SWidth;
    out.height = gif->SHeight;
    if (gif->SColorMap) {
        for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
            const GifColorType c = gif->SColorMap->Colors[i];
            out.palette.push_back(Rgb{c.Red, c.Green, c.Blue});
        }
    }
    std::vector<uint8_t> canvas(static_cast<std::size_t>(out.width) * out.height,
                                static_cast<uint8_t>(gif->SBackGroundColor));
    for (int i = 0; i < gif->ImageCount; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        for (int e = 0; e + 1 < image.ExtensionBlockCount; ++e) {
            const ExtensionBlock& b = image.ExtensionBlocks[e];
            const ExtensionBlock& next = image.ExtensionBlocks[e + 1];
            if (b.Function == APPLICATION_EXT_FUNC_CODE && b.ByteCount == 11 &&
                std::memcmp(b.Bytes, "NETSCAPE2.0", 11) == 0 && next.ByteCount == 3 &&
                next.Bytes[0] == 1) {
                out.loop_count = next.Bytes[1] | (next.Bytes[2] << 8);
            }
        }
        ShownFrame f;
        const GifImageDesc& d = image.ImageDesc;
        f.rect = {d.Left, d.Top, d.Left + d.Width, d.Top + d.Height};
        GraphicsControlBlock gcb{};
        if (DGifSavedExtensionToGCB(gif, i, &gcb) == GIF_OK) {
            f.delay = gcb.DelayTime;
            f.transparent = gcb.TransparentColor;
            f.disposal = gcb.DisposalMode;
        }
        for (int y = 0; y < d.Height; ++y) {
            for (int x = 0; x < d.Width; ++x) {
                const uint8_t v = image.RasterBits[y * d.Width + x];
                if (v == f.transparent) continue;
                canvas[static_cast<std::size_t>(d.Top + y) * out.width + d.Left + x] = v;
            }
        }
        f.rgb.resize(canvas.size() * 3);
        for (std::size_t p = 0; p < canvas.size(); ++p) {
            const Rgb c = canvas[p] < out.palette.size() ? out.palette[canvas[p]] : Rgb{};
            f.rgb[3 * p] = c.r;
            f.rgb[3 * p + 1] = c.g;
            f.rgb[3 * p + 2] = c.b;
        }
        out.frames.push_back(std::move(f));
    }
    DGifCloseFile(gif, &err);
    return out;
}

}  // namespace vornick::testing
