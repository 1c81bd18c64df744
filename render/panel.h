// The information panel right of the board: each area is cleared to white, written in the
// bitmap font and presented. Text never leaves its area, so the next clear removes all of it.
// An area is drawn only when the picture is about to be shown, with its latest content: a run
// writing its step count thousands of times a second pays for one text drawing per frame.
#pragma once

#include <QRect>
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
    void outext3(int32_t x, int32_t y, int32_t mode) override;
    // Blanks the cursor-cell area (and the strip above it) when a drag ends.
    void clr_cursor_text() override;

    // Where the step count is written, in picture units: the panel's part that changes most.
    static QRect count_area();

    // Draws what was written since the last flush into the picture, which must be the target.
    void flush();
    bool pending() const { return pending_; }
    // Writes every area again as it was last written or cleared: for a new, blank picture.
    void rewrite_all();

    // The first glyph list in use; 0 draws no text. The surface sets it once the font exists.
    void set_font_list(GLuint base) { font_list_ = base; }
    GLuint font_list() const { return font_list_; }

  private:
    // The latest content of one area: nothing new, cleared, or written with these values.
    enum class Slot : uint8_t { kUnchanged, kCleared, kWritten };
    struct Pending {
        Slot iter = Slot::kUnchanged, selorg = Slot::kUnchanged, cursor = Slot::kUnchanged,
             rate = Slot::kUnchanged;
        int32_t iters = 0, sel_x = 0, sel_y = 0, cur_x = 0, cur_y = 0, cur_mode = 0;
        double rate_value = 0;
        RateUnit rate_unit = RateUnit::kFramesPerSecond;
    };

    static void keep_drawn(Pending& kept, const Pending& p);
    void mark(Slot& slot, Slot content, const PanelArea& area);
    void clear_area(const PanelArea& area);
    void write_line(const PanelArea& area, int baseline, std::string_view text);

    GlSurface& surface_;
    GLuint font_list_ = 0;
    Pending next_;
    Pending drawn_;  // the latest content of each area as drawn
    bool pending_ = false;
};

}  // namespace vornick
