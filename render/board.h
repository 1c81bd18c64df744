// The board as the simulation sees it: whole redraws, per-step cell repaints and the selection
// frame, drawn into the surface's persistent picture. Only redraw_scr and present show it.
#pragma once

#include <cstdint>
#include <memory>

#include "render/board_log.h"
#include "render/sprites.h"
#include "sim/ports.h"

namespace vornick {

class GlSurface;

// A step's cell repaints and frames are recorded, and drawn when the picture is next shown or
// read; what no longer shows by then is not drawn at all. Every other drawing first draws
// what was recorded, so the picture and the GL state are always those of drawing at once.
class GlBoard : public BoardView {
  public:
    explicit GlBoard(GlSurface& surface);
    ~GlBoard() override;

    void redraw_scr(const World& w) override;
    void erase_cell(int32_t x, int32_t y, int32_t code) override;
    void draw_org(const Org& org) override;
    void draw_frame(int32_t x, int32_t y) override;
    void erase_frame(int32_t x, int32_t y) override;
    void present() override;
    // Does not present.
    void draw_sprite_at(int32_t h, int32_t v, int32_t sprite) override;

    // The sprites as their textures hold them, with sprite 12 bound and no quad drawn yet.
    // Recording is exact only when they are opaque; otherwise everything is drawn at once.
    void set_sprites(const SpriteImages& staged);
    // Draws what was recorded. Needs nothing of the caller; the surface calls it before any
    // other drawing and before the picture is shown or read.
    void flush_pending();
    // Drawing everything at once, as a picture to compare the recorded drawing with.
    void draw_at_once(bool on);
    bool records_steps() const { return recording_; }
    // Recorded cell repaints not yet drawn into the picture.
    bool has_pending() const;

  private:
    bool begin_record();
    bool record_redraw(const World& w);
    void sprite_quad(int sprite, int left, int top, int right, int bottom);
    void frame_strip(int32_t x, int32_t y);
    void draw_frame_now(int32_t x, int32_t y, bool erase);
    void replay(const BoardLog::Plan& plan);

    GlSurface& surface_;
    std::unique_ptr<BoardLog> log_;
    std::unique_ptr<BoardLog::Plan> plan_;
    bool opaque_ = false;                // the sprites are, so recording is exact
    bool recording_ = false;             // steps are recorded
    TexState gl_{kGroundSprite, false};  // the texture state GL is in
};

}  // namespace vornick
