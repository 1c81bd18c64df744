// The board as the simulation sees it: whole redraws, per-step cell repaints and the selection
// frame, drawn into the surface's persistent picture. Only redraw_scr and present show it.
#pragma once

#include <cstdint>

#include "sim/ports.h"

namespace vornick {

class GlSurface;

class GlBoard : public BoardView {
  public:
    explicit GlBoard(GlSurface& surface) : surface_(surface) {}

    void redraw_scr(const World& w) override;
    void erase_cell(int32_t x, int32_t y, int32_t code) override;
    void draw_org(const Org& org) override;
    void draw_frame(int32_t x, int32_t y) override;
    void erase_frame(int32_t x, int32_t y) override;
    void present() override;
    // Does not present.
    void draw_sprite_at(int32_t h, int32_t v, int32_t sprite) override;

  private:
    void frame_strip(int32_t x, int32_t y);

    GlSurface& surface_;
};

}  // namespace vornick
