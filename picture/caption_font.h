// The line under a frame, "seed N  step M", in a small bitmap font of its own: the same pixels
// on every machine, with no font files or toolkit to find.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vornick {

// In units of the board: the band under the board, and the glyphs' cell.
inline constexpr int kCaptionHeight = 12;
inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 9;  // seven above the baseline, two below
inline constexpr int kGlyphAdvance = 6;

std::string caption_text(uint32_t seed, int32_t iters);

// Draws `text` with its top-left glyph cell at unit (left, top), every unit an s x s block of
// `ink`, into rows of `stride` indices. Characters without a glyph are left blank.
void draw_caption_text(std::string_view text, int left, int top, int s, uint8_t ink,
                       uint8_t* pixels, int stride);

// Whether the font draws this character (space counts).
bool has_glyph(char c);

}  // namespace vornick
