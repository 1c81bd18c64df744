#include "render/panel.h"

#include "render/gl_surface.h"
#include "render/panel_text.h"

namespace vornick {

namespace {

constexpr int kTextLeft = 330;
constexpr int kPanelLeft = 322;

constexpr PanelArea kRateArea{322, 36, 430, 50};
constexpr PanelArea kIterArea{322, 96, 436, 136};
constexpr PanelArea kSelOrgArea{322, 168, 420, 254};
constexpr PanelArea kCursorArea{322, 254, 420, 280};
// Wider than the cursor-cell area: also takes the strip above it and runs off the picture.
constexpr PanelArea kCursorClearArea{322, 252, 420, 338};

}  // namespace

// Takes into `kept` every area that `p` changes, with its values.
void GlPanel::keep_drawn(Pending& kept, const Pending& p) {
    if (p.iter != Slot::kUnchanged) {
        kept.iter = p.iter;
        kept.iters = p.iters;
    }
    if (p.selorg != Slot::kUnchanged) {
        kept.selorg = p.selorg;
        kept.sel_x = p.sel_x;
        kept.sel_y = p.sel_y;
    }
    if (p.cursor != Slot::kUnchanged) {
        kept.cursor = p.cursor;
        kept.cur_x = p.cur_x;
        kept.cur_y = p.cur_y;
        kept.cur_mode = p.cur_mode;
    }
    if (p.rate != Slot::kUnchanged) {
        kept.rate = p.rate;
        kept.rate_value = p.rate_value;
        kept.rate_unit = p.rate_unit;
    }
}

QRect GlPanel::count_area() {
    return QRect(kIterArea.left, kIterArea.top, kIterArea.right - kIterArea.left,
                 kIterArea.bottom - kIterArea.top);
}

void GlPanel::mark(Slot& slot, Slot content, const PanelArea& area) {
    slot = content;
    pending_ = true;
    surface_.touch(QRect(area.left, area.top, area.right - area.left, area.bottom - area.top));
    surface_.present();
}

void GlPanel::clear_area(const PanelArea& area) {
    glColor3f(1.0f, 1.0f, 1.0f);
    glRecti(area.left, area.top, area.right, area.bottom);
}

// Glyphs are clipped to the area: whatever is written there, the next clear removes all of it.
void GlPanel::write_line(const PanelArea& area, int baseline, std::string_view text) {
    if (font_list_ == 0) return;
    const int s = surface_.device_scale();
    glEnable(GL_SCISSOR_TEST);
    glScissor(area.left * s, (kSurfaceHeight - area.bottom) * s, (area.right - area.left) * s,
              (area.bottom - area.top) * s);
    glRasterPos3d(kTextLeft, baseline, 0);
    // Codes index the lists as unsigned bytes: Latin-1 above 127 stays within the 256 lists.
    glListBase(font_list_);
    glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
    glDisable(GL_SCISSOR_TEST);
}

void GlPanel::flush() {
    if (!pending_) return;
    pending_ = false;
    Pending p = next_;
    next_ = Pending{};
    keep_drawn(drawn_, p);
    glDisable(kTexRect);
    if (p.rate != Slot::kUnchanged) {
        clear_area(kRateArea);
        if (p.rate == Slot::kWritten) {
            glColor3f(0.0f, 0.0f, 0.0f);
            write_line(kRateArea, 48, rate_text(p.rate_value, p.rate_unit));
        }
    }
    if (p.iter == Slot::kWritten) {
        clear_area(kIterArea);
        glColor3f(0.0f, 0.0f, 0.0f);
        write_line(kIterArea, 108, iter_text(p.iters));
    }
    if (p.selorg != Slot::kUnchanged) {
        clear_area(kSelOrgArea);
        if (p.selorg == Slot::kWritten) {
            glColor3f(0.0f, 0.0f, 0.0f);
            write_line(kSelOrgArea, 180, "selected org:");
            write_line(kSelOrgArea, 204, coord_text('x', p.sel_x));
            write_line(kSelOrgArea, 216, coord_text('y', p.sel_y));
        }
    }
    if (p.cursor == Slot::kCleared) clear_area(kCursorClearArea);
    if (p.cursor == Slot::kWritten) {
        clear_area(kCursorArea);
        // Any mode but 2 leaves the clearing white in force.
        if (p.cur_mode == 2) glColor3f(0.0f, 0.0f, 1.0f);
        write_line(kCursorArea, 264, coord_text('x', p.cur_x));
        write_line(kCursorArea, 276, coord_text('y', p.cur_y));
    }
    glEnable(kTexRect);
}

void GlPanel::rewrite_all() {
    Pending again = drawn_;
    keep_drawn(again, next_);
    next_ = again;
    pending_ = true;
    surface_.touch(QRect(kPanelLeft, 0, kSurfaceWidth - kPanelLeft, kSurfaceHeight));
    surface_.present();
}

void GlPanel::outext(int32_t shown_iters) {
    next_.iters = shown_iters;
    mark(next_.iter, Slot::kWritten, kIterArea);
}

void GlPanel::outext2(int32_t x, int32_t y) {
    next_.sel_x = x;
    next_.sel_y = y;
    mark(next_.selorg, Slot::kWritten, kSelOrgArea);
}

void GlPanel::outext3(int32_t x, int32_t y, int32_t mode) {
    next_.cur_x = x;
    next_.cur_y = y;
    next_.cur_mode = mode;
    mark(next_.cursor, Slot::kWritten, kCursorArea);
}

void GlPanel::outext4(double rate, RateUnit unit) {
    next_.rate_value = rate;
    next_.rate_unit = unit;
    mark(next_.rate, Slot::kWritten, kRateArea);
}

void GlPanel::clr_FPS_text() {
    mark(next_.rate, Slot::kCleared, kRateArea);
}

void GlPanel::clr_selorg_text() {
    mark(next_.selorg, Slot::kCleared, kSelOrgArea);
}

void GlPanel::clr_cursor_text() {
    mark(next_.cursor, Slot::kCleared, kCursorClearArea);
}

}  // namespace vornick
