#include "picture/caption_font.h"

#include <cstring>

namespace vornick {

namespace {

struct Glyph {
    char c;
    const char* rows[kGlyphHeight];
};

// Only what a caption says. Lower-case letters stand on the baseline (row 6); p reaches below.
constexpr Glyph kGlyphs[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###.", ".....", "....."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###.", ".....", "....."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####", ".....", "....."}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###.", ".....", "....."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#.", ".....", "....."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###.", ".....", "....."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###.", ".....", "....."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#...", ".....", "....."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###.", ".....", "....."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##..", ".....", "....."}},
    {'s', {".....", ".....", ".####", "#....", ".###.", "....#", "####.", ".....", "....."}},
    {'e', {".....", ".....", ".###.", "#...#", "#####", "#....", ".###.", ".....", "....."}},
    {'d', {"....#", "....#", ".####", "#...#", "#...#", "#...#", ".####", ".....", "....."}},
    {'t', {".#...", ".#...", "####.", ".#...", ".#...", ".#..#", "..##.", ".....", "....."}},
    {'p', {".....", ".....", "####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {' ', {".....", ".....", ".....", ".....", ".....", ".....", ".....", ".....", "....."}},
};

const Glyph* glyph_of(char c) {
    for (const Glyph& g : kGlyphs) {
        if (g.c == c) return &g;
    }
    return nullptr;
}

}  // namespace

std::string caption_text(uint32_t seed, int32_t iters) {
    return "seed " + std::to_string(seed) + "  step " + std::to_string(iters);
}

bool has_glyph(char c) {
    return glyph_of(c) != nullptr;
}

void draw_caption_text(std::string_view text, int left, int top, int s, uint8_t ink,
                       uint8_t* pixels, int stride) {
    for (std::size_t n = 0; n < text.size(); ++n) {
        const Glyph* g = glyph_of(text[n]);
        if (!g) continue;
        const int x0 = left + static_cast<int>(n) * kGlyphAdvance;
        for (int row = 0; row < kGlyphHeight; ++row) {
            for (int col = 0; col < kGlyphWidth; ++col) {
                if (g->rows[row][col] != '#') continue;
                for (int dy = 0; dy < s; ++dy) {
                    uint8_t* line =
                        pixels + static_cast<std::ptrdiff_t>((top + row) * s + dy) * stride;
                    std::memset(line + (x0 + col) * s, ink, static_cast<std::size_t>(s));
                }
            }
        }
    }
}

}  // namespace vornick
