// The panel's bitmap font: 256 display lists, one per Latin-1 code, each drawing its glyph at
// the raster position and advancing it. Base 0 means no font could be built.
#pragma once

#include <QFont>
#include <QImage>

#include "render/gl_common.h"

namespace vornick {

// A glyph as glBitmap takes it: one bit a pixel, rows bottom first, rows byte-padded.
struct GlyphBitmap {
    int width = 0;
    int height = 0;
    int x_origin = 0;  // the raster position's distance from the bitmap's left edge
    int y_origin = 0;  // and from its bottom edge (the descent)
    int advance = 0;
    QByteArray bits;
};

// The font the panel uses: a small sans serif, unsmoothed, `scale` times the size of the
// picture at one device pixel a unit, so that text stays as sharp as the screen allows.
QFont panel_font(int scale = 1);

// The glyph of Latin-1 code `code` in `font`, thresholded to two levels. Control codes give an
// empty glyph with no advance.
GlyphBitmap rasterize_glyph(const QFont& font, int code);

// Needs the drawing context current. Returns the first of 256 lists, or 0 when the font gave
// no usable glyphs or no lists could be reserved.
GLuint build_font_lists(const QFont& font);

}  // namespace vornick
