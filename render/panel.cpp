#include "render/panel.h"

#include "render/gl_surface.h"
#include "render/panel_text.h"

namespace vornick {

namespace {

constexpr int kTextLeft = 330;

constexpr PanelArea kRateArea{322, 36, 430, 50};
constexpr PanelArea kIterArea{322, 96, 436, 136};
constexpr PanelArea kSelOrgArea{322, 168, 420, 254};
constexpr PanelArea kCursorArea{322, 254, 420, 280};
// Wider than the cursor-cell area: also takes the strip above it and runs off the picture.
constexpr PanelArea kCursorClearArea{322, 252, 420, 338};

}  // namespace

bool GlPanel::begin_area(const PanelArea& area) {
    if (!surface_.begin_draw()) return false;
    glDisable(kTexRect);
    glColor3f(1.0f, 1.0f, 1.0f);
    glRecti(area.left, area.top, area.right, area.bottom);
    return true;
}

// Glyphs are clipped to the area: whatever is written there, the next clear removes all of it.
void GlPanel::write_line(const PanelArea& area, int baseline, std::string_view text) {
    if (font_list_ == 0) return;
    glEnable(GL_SCISSOR_TEST);
    glScissor(area.left, kSurfaceHeight - area.bottom, area.right - area.left,
              area.bottom - area.top);
    glRasterPos3d(kTextLeft, baseline, 0);
    // Codes index the lists as unsigned bytes: Latin-1 above 127 stays within the 256 lists.
    glListBase(font_list_);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
    glDisable(GL_SCISSOR_TEST);
}

void GlPanel::end_area() {
    glEnable(kTexRect);
    surface_.present();
}

void GlPanel::clear_only(const PanelArea& area) {
    if (!begin_area(area)) return;
    end_area();
}

void GlPanel::outext(int32_t shown_iters) {
    const PanelArea& area = kIterArea;
    if (!begin_area(area)) return;
    glColor3f(0.0f, 0.0f, 0.0f);
    write_line(area, 108, iter_text(shown_iters));
    end_area();
}

void GlPanel::outext2(int32_t x, int32_t y) {
    const PanelArea& area = kSelOrgArea;
    if (!begin_area(area)) return;
    glColor3f(0.0f, 0.0f, 0.0f);
    write_line(area, 180, "selected org:");
    write_line(area, 204, coord_text('x', x));
    write_line(area, 216, coord_text('y', y));
    end_area();
}

void GlPanel::outext3(int32_t x, int32_t y, int32_t mode) {
    const PanelArea& area = kCursorArea;
    if (!begin_area(area)) return;
    if (mode == 2) glColor3f(0.0f, 0.0f, 1.0f);
    write_line(area, 264, coord_text('x', x));
    write_line(area, 276, coord_text('y', y));
    end_area();
}

void GlPanel::outext4(double rate, RateUnit unit) {
    const PanelArea& area = kRateArea;
    if (!begin_area(area)) return;
    glColor3f(0.0f, 0.0f, 0.0f);
    write_line(area, 48, rate_text(rate, unit));
    end_area();
}

void GlPanel::clr_FPS_text() {
    clear_only(kRateArea);
}

void GlPanel::clr_selorg_text() {
    clear_only(kSelOrgArea);
}

void GlPanel::clr_cursor_text() {
    clear_only(kCursorClearArea);
}

}  // namespace vornick
