// The information panel right of the board: each area is cleared to white, written in the
// bitmap font and presented. Text never leaves its area, so the next clear removes all of it.
#pragma once

#include <cstdint>
#include <string_view>

#include "render/gl_common.h"
#include "sim/ports.h"

namespace vornick {

class GlSurface;

// A rectangle of the picture: left and top inclusive, right and bottom exclusive.
struct PanelArea {
    int left, top, right, bottom;
};

class GlPanel : public PanelView {
  public:
    explicit GlPanel(GlSurface& surface) : surface_(surface) {}

    void outext(int32_t shown_iters) override;
    void outext2(int32_t x, int32_t y) override;
    void clr_selorg_text() override;
    void outext4(double rate, RateUnit unit) override;
    void clr_FPS_text() override;

    // The cell under a dragged organism; mode 2 writes in blue, any other mode leaves the
    // clearing white in force.
    void outext3(int32_t x, int32_t y, int32_t mode);
    // Blanks the cursor-cell area (and the strip above it) when a drag ends.
    void clr_cursor_text();

    // The first glyph list in use; 0 draws no text. The surface sets it once the font exists.
    void set_font_list(GLuint base) { font_list_ = base; }
    GLuint font_list() const { return font_list_; }

  private:
    bool begin_area(const PanelArea& area);
    void write_line(const PanelArea& area, int baseline, std::string_view text);
    void end_area();
    void clear_only(const PanelArea& area);

    GlSurface& surface_;
    GLuint font_list_ = 0;
};

}  // namespace vornick
