#include "picture/board_art.h"

#include <png.h>

#include <algorithm>

#include "picture/sprite_files.h"

namespace vornick {

namespace {

constexpr Rgb kPaper{255, 255, 255};
constexpr Rgb kInk{0, 0, 0};
constexpr int kDrawnSprites[] = {0, 1, 2, 3, kGroundSprite};

// A sprite's pixels, RGBA row by row, or a fault.
bool decode_sprite(const unsigned char* data, std::size_t size, int number,
                   std::array<uint8_t, kSpriteSize * kSpriteSize * 4>& rgba, std::string& fault) {
    const std::string name = "sprite " + std::to_string(128 + number);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) {
        fault = name + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    if (image.width != kSpriteSize || image.height != kSpriteSize) {
        fault = name + " is " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                ", not 10 x 10";
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        fault = name + ": " + image.message;
        png_image_free(&image);
        return false;
    }
    for (std::size_t i = 3; i < rgba.size(); i += 4) {
        // The window draws a transparent texel over what the sprite before it left, which a
        // picture made cell by cell cannot follow.
        if (rgba[i] != 255) {
            fault = name + " has transparent pixels";
            return false;
        }
    }
    return true;
}

uint8_t index_of(std::vector<Rgb>& palette, Rgb c) {
    const auto at = std::find(palette.begin(), palette.end(), c);
    if (at != palette.end()) return static_cast<uint8_t>(at - palette.begin());
    palette.push_back(c);
    return static_cast<uint8_t>(palette.size() - 1);
}

BoardArt faulty(std::string why) {
    BoardArt art;
    art.fault = std::move(why);
    return art;
}

BoardArt art_from(const EmbeddedFile* files) {
    BoardArt art;
    std::vector<Rgb> colours;
    for (const int sprite : kDrawnSprites) {
        std::array<uint8_t, kSpriteSize * kSpriteSize * 4> rgba{};
        const EmbeddedFile& f = files[sprite];
        if (!decode_sprite(f.data, f.size, sprite, rgba, art.fault)) return faulty(art.fault);
        for (int i = 0; i < kSpriteSize * kSpriteSize; ++i) {
            const Rgb c{rgba[4 * i], rgba[4 * i + 1], rgba[4 * i + 2]};
            // Five sprites of 100 texels: at most 500 colours, more than an index holds.
            if (colours.size() == 253 &&
                std::find(colours.begin(), colours.end(), c) == colours.end()) {
                return faulty("the sprites have more than 253 colours");
            }
            art.looks[sprite][i] = index_of(colours, c);
        }
    }
    art.looks[kPlainLook].fill(art.looks[kGroundSprite][(kSpriteSize - 1) * kSpriteSize]);
    art.paper = index_of(colours, kPaper);
    art.ink = index_of(colours, kInk);
    art.transparent = static_cast<uint8_t>(colours.size());
    int bits = 1;
    while ((1u << bits) < colours.size() + 1) ++bits;
    art.palette_bits = bits;
    art.palette = colours;
    art.palette.resize(std::size_t{1} << bits, Rgb{});
    return art;
}

}  // namespace

BoardArt make_board_art(const std::array<std::vector<uint8_t>, kSpriteCount>& files) {
    EmbeddedFile views[kSpriteCount];
    for (int i = 0; i < kSpriteCount; ++i) views[i] = {files[i].data(), files[i].size()};
    return art_from(views);
}

const BoardArt& board_art() {
    static const BoardArt art = art_from(kSpriteFiles);
    return art;
}

}  // namespace vornick
