#include "render/font.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace vornick {

namespace {

constexpr int kGlyphCount = 256;
// At 10 pixels the hinted glyphs of this face touch ("it" in "iter"); 11 stays clear and still
// fits the longest panel line, "iter = 2147483647", inside its area.
constexpr int kPanelFontPixels = 11;

bool is_control(int code) {
    return code < 0x20 || (code >= 0x7f && code < 0xa0);
}

}  // namespace

QFont panel_font(int scale) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Sans")});
    font.setPixelSize(kPanelFontPixels * std::max(scale, 1));
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

GlyphBitmap rasterize_glyph(const QFont& font, int code) {
    GlyphBitmap glyph;
    if (code < 0 || code >= kGlyphCount || is_control(code)) return glyph;
    const QFontMetrics metrics(font);
    const QChar ch(static_cast<char16_t>(code));
    glyph.advance = std::max(0, metrics.horizontalAdvance(ch));

    // Room for ink that overhangs the advance on either side.
    const QRect ink = metrics.boundingRect(ch);
    const int left = std::min(0, ink.left());
    const int right = std::max(glyph.advance, ink.right() + 1);
    const int ascent = std::max(metrics.ascent(), -ink.top());
    const int descent = std::max(metrics.descent(), ink.bottom() + 1);
    const int width = right - left;
    const int height = ascent + descent;
    if (width <= 0 || height <= 0) return glyph;

    QImage image(width, height, QImage::Format_Grayscale8);
    image.fill(255);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(-left, ascent), QString(ch));
    }

    const int row_bytes = (width + 7) / 8;
    QByteArray bits(row_bytes * height, '\0');
    bool inked = false;
    for (int row = 0; row < height; ++row) {
        const uchar* line = image.constScanLine(height - 1 - row);  // bottom row first
        for (int x = 0; x < width; ++x) {
            if (line[x] < 128) {
                bits[row * row_bytes + x / 8] = static_cast<char>(
                    static_cast<uchar>(bits[row * row_bytes + x / 8]) | (0x80u >> (x % 8)));
                inked = true;
            }
        }
    }
    if (!inked) return glyph;  // a blank: advance only
    glyph.width = width;
    glyph.height = height;
    glyph.x_origin = -left;
    glyph.y_origin = descent;
    glyph.bits = bits;
    return glyph;
}

GLuint build_font_lists(const QFont& font) {
    // Without ink in the digits the panel would show nothing useful; treat it as no font.
    const GlyphBitmap probe = rasterize_glyph(font, '0');
    if (probe.bits.isEmpty()) return 0;

    // Only errors raised while building should count against the font.
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
    const GLuint base = glGenLists(kGlyphCount);
    if (base == 0) return 0;
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    for (int code = 0; code < kGlyphCount; ++code) {
        const GlyphBitmap glyph = rasterize_glyph(font, code);
        // Exactly one bitmap in every list, blanks included: the GL can then draw a whole
        // string of lists from one atlas texture instead of bitmap by bitmap.
        static const GLubyte kBlank = 0;
        const bool inked = !glyph.bits.isEmpty();
        glNewList(base + code, GL_COMPILE);
        glBitmap(inked ? glyph.width : 1, inked ? glyph.height : 1,
                 static_cast<GLfloat>(glyph.x_origin), static_cast<GLfloat>(glyph.y_origin),
                 static_cast<GLfloat>(glyph.advance), 0.0f,
                 inked ? reinterpret_cast<const GLubyte*>(glyph.bits.constData()) : &kBlank);
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    if (glGetError() != GL_NO_ERROR) {
        glDeleteLists(base, kGlyphCount);
        return 0;
    }
    return base;
}

}  // namespace vornick
