#include "render/board.h"

#include "render/gl_surface.h"

namespace vornick {

namespace {

bool is_sprite(int32_t number) {
    return number >= 0 && number < kSpriteCount;
}

int32_t live_orgs(const World& w) {
    return w.norgs < 0 ? 0 : (w.norgs > kMaxOrgs ? kMaxOrgs : w.norgs);
}

// Deliberately sets no colour and no texture coordinate: with rectangle texturing still on, the
// fill takes the texel that the last quad's final coordinate addresses, the bottom-left texel
// of the last sprite bound, which every sprite has in the board green.
void fill_cell(int32_t x, int32_t y) {
    glRecti(cell_left(x), cell_top(y), cell_left(x) + kCellSize, cell_top(y) + kCellSize);
}

void quad_vertices(int left, int top, int right, int bottom) {
    glTexCoord2i(0, 0);
    glVertex2i(left, top);
    glTexCoord2i(kSpriteSize, 0);
    glVertex2i(right, top);
    glTexCoord2i(kSpriteSize, kSpriteSize);
    glVertex2i(right, bottom);
    glTexCoord2i(0, kSpriteSize);  // the coordinate later fills sample
    glVertex2i(left, bottom);
}

bool opaque(const SpriteImages& staged) {
    for (const QImage& image : staged) {
        if (image.isNull()) return false;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(image.pixel(x, y)) != 255) return false;
            }
        }
    }
    return true;
}

// The picture units a recorded operation may change: its cell, and for a frame the cells and
// margin its lines can reach.
QRect reach_of(const BoardOp& op) {
    const QRect cell(cell_left(op.x), cell_top(op.y), kCellSize, kCellSize);
    if (op.kind == BoardOp::kFill || op.kind == BoardOp::kQuad) return cell;
    return cell.adjusted(-kCellSize - 1, -kCellSize - 1, kCellSize + 1, kCellSize + 1);
}

// The selection frame's lines reach one pixel past the board on its left and bottom edges, into
// the margin that must stay white; a redraw removes whatever a frame left there. The current
// colour is left as it was.
void whiten_board_ring() {
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glDisable(kTexRect);
    glColor3f(1.0f, 1.0f, 1.0f);
    glRecti(kBoardOrigin - 1, kBoardOrigin - 1, kBoardEnd + 1, kBoardEnd + 1);
    glEnable(kTexRect);
    glColor4fv(colour);
}

}  // namespace

GlBoard::GlBoard(GlSurface& surface)
    : surface_(surface),
      log_(std::make_unique<BoardLog>()),
      plan_(std::make_unique<BoardLog::Plan>()) {}

GlBoard::~GlBoard() = default;

void GlBoard::set_sprites(const SpriteImages& staged) {
    opaque_ = opaque(staged);
    recording_ = opaque_;
    gl_ = TexState{kGroundSprite, false};
}

void GlBoard::draw_at_once(bool on) {
    flush_pending();
    recording_ = opaque_ && !on;
}

void GlBoard::sprite_quad(int sprite, int left, int top, int right, int bottom) {
    glBindTexture(kTexRect, surface_.textures()[sprite]);
    glBegin(GL_QUADS);
    quad_vertices(left, top, right, bottom);
    glEnd();
    gl_ = TexState{static_cast<uint8_t>(sprite), true};
}

// Recorded like a step's repaints, so that a redraw made for each of many keys or pointer
// moves between two display frames costs one drawing, at the frame.
void GlBoard::redraw_scr(const World& w) {
    if (record_redraw(w)) {
        surface_.present();
        return;
    }
    if (!surface_.begin_draw()) return;
    whiten_board_ring();
    glRecti(kBoardOrigin, kBoardOrigin, kBoardEnd, kBoardEnd);
    for (int32_t x = 0; x < kGridSize; ++x) {
        for (int32_t y = 0; y < kGridSize; ++y) {
            const int32_t code = w.cell(x, y);
            if (code != kEmptyCode && is_sprite(code)) {
                sprite_quad(code, cell_left(x), cell_top(y), cell_left(x) + kCellSize,
                            cell_top(y) + kCellSize);
            } else {
                fill_cell(x, y);
            }
        }
    }
    for (int32_t i = 0; i < live_orgs(w); ++i) {
        const Org org = w.orgs.get(i);
        if (is_sprite(org.dir)) {
            sprite_quad(org.dir, cell_left(org.x), cell_top(org.y), cell_left(org.x) + kCellSize,
                        cell_top(org.y) + kCellSize);
        }
    }
    surface_.present();
}

// The board's fill under the cells is hidden by them, so the record is the ring, then each
// cell as a fill or a ground quad, then the organisms. An organism off the grid would be drawn
// in the margin, which the log has no cell for: such a table is drawn at once.
bool GlBoard::record_redraw(const World& w) {
    if (!recording_ || !surface_.is_ready()) return false;
    const int32_t norgs = live_orgs(w);
    for (int32_t i = 0; i < norgs; ++i) {
        const Org org = w.orgs.get(i);
        if (is_sprite(org.dir) && !BoardLog::on_grid(org.x, org.y)) return false;
    }
    if (log_->empty()) log_->start(gl_);
    log_->redraw();
    for (int32_t x = 0; x < kGridSize; ++x) {
        for (int32_t y = 0; y < kGridSize; ++y) {
            const int32_t code = w.cell(x, y);
            if (code != kEmptyCode && is_sprite(code)) {
                log_->quad(x, y, static_cast<uint8_t>(code));
            } else {
                log_->fill(x, y);
            }
        }
    }
    for (int32_t i = 0; i < norgs; ++i) {
        const Org org = w.orgs.get(i);
        if (is_sprite(org.dir)) log_->quad(org.x, org.y, static_cast<uint8_t>(org.dir));
    }
    return true;
}

bool GlBoard::begin_record() {
    if (!recording_ || !surface_.is_ready()) return false;
    if (log_->full()) flush_pending();
    if (log_->empty()) log_->start(gl_);
    return true;
}

void GlBoard::erase_cell(int32_t x, int32_t y, int32_t code) {
    if (BoardLog::on_grid(x, y) && begin_record()) {
        if (code == kGroundCode) {
            log_->quad(x, y, kGroundSprite);
        } else {
            log_->fill(x, y);
        }
        return;
    }
    if (!surface_.begin_draw()) return;
    fill_cell(x, y);
    if (code == kGroundCode) {
        sprite_quad(kGroundSprite, cell_left(x), cell_top(y), cell_left(x) + kCellSize,
                    cell_top(y) + kCellSize);
    }
}

void GlBoard::draw_org(const Org& org) {
    if (BoardLog::on_grid(org.x, org.y) && begin_record()) {
        if (is_sprite(org.dir)) {
            log_->quad(org.x, org.y, static_cast<uint8_t>(org.dir));
        } else {
            log_->fill(org.x, org.y);
        }
        return;
    }
    if (!surface_.begin_draw()) return;
    fill_cell(org.x, org.y);
    if (is_sprite(org.dir)) {
        sprite_quad(org.dir, cell_left(org.x), cell_top(org.y), cell_left(org.x) + kCellSize,
                    cell_top(org.y) + kCellSize);
    }
}

void GlBoard::draw_sprite_at(int32_t h, int32_t v, int32_t sprite) {
    if (!is_sprite(sprite) || !surface_.begin_draw()) return;
    const int half = kSpriteSize / 2;
    sprite_quad(sprite, h - half, v - half, h + half, v + half);
}

void GlBoard::draw_frame(int32_t x, int32_t y) {
    if (BoardLog::on_grid(x, y) && begin_record()) {
        log_->frame(x, y, false);
        return;
    }
    if (surface_.begin_draw()) draw_frame_now(x, y, false);
}

void GlBoard::erase_frame(int32_t x, int32_t y) {
    if (BoardLog::on_grid(x, y) && begin_record()) {
        log_->frame(x, y, true);
        return;
    }
    if (surface_.begin_draw()) draw_frame_now(x, y, true);
}

// The board green hides the frame on the board; where its lines reach into the white margin
// they are erased in white.
void GlBoard::draw_frame_now(int32_t x, int32_t y, bool erase) {
    if (!erase) {
        glColor3ub(0, 0, 0);
        frame_strip(x, y);
        return;
    }
    glColor3ub(255, 255, 255);
    frame_strip(x, y);
    const int s = surface_.device_scale();
    glEnable(GL_SCISSOR_TEST);
    glScissor(kBoardOrigin * s, (kSurfaceHeight - kBoardEnd) * s, (kBoardEnd - kBoardOrigin) * s,
              (kBoardEnd - kBoardOrigin) * s);
    glColor3ub(0, 128, 17);
    frame_strip(x, y);
    glDisable(GL_SCISSOR_TEST);
}

// The top edge sits one unit inside the cell; the other three lie on its boundary lines. A line
// on a boundary lights the pixels on one side of it: at one device pixel a unit the rasteriser
// decides which; at larger scales the frame is made of bars a unit wide over exactly those
// pixels, so that it looks as it always has, only larger.
void GlBoard::frame_strip(int32_t x, int32_t y) {
    const int left = cell_left(x);
    const int top = cell_top(y);
    glDisable(kTexRect);
    if (surface_.device_scale() == 1) {
        glBegin(GL_LINE_STRIP);
        glVertex2i(left, top + 1);
        glVertex2i(left + kCellSize, top + 1);
        glVertex2i(left + kCellSize, top + kCellSize);
        glVertex2i(left, top + kCellSize);
        glVertex2i(left, top + 1);
        glEnd();
    } else {
        const int right = left + kCellSize;
        const int bottom = top + kCellSize;
        glRecti(left - 1, top + 1, right, top + 2);  // top, over the left edge's column
        glRecti(right - 1, top + 1, right, bottom);  // right
        glRecti(left, bottom, right, bottom + 1);    // bottom
        glRecti(left - 1, top + 1, left, bottom);    // left
    }
    glEnable(kTexRect);
}

void GlBoard::present() {
    surface_.present();
}

bool GlBoard::has_pending() const {
    return !log_->empty();
}

void GlBoard::flush_pending() {
    if (log_->empty()) return;
    const TexState drawn = log_->state();
    const bool framed = log_->framed();
    const bool erased = framed && log_->last_frame_erased();
    log_->take(*plan_);
    if (!surface_.make_target()) return;
    if (plan_->ring) {
        whiten_board_ring();
        surface_.touch(QRect(kBoardOrigin - 1, kBoardOrigin - 1, kBoardEnd - kBoardOrigin + 2,
                             kBoardEnd - kBoardOrigin + 2));
    }
    replay(*plan_);
    const SpriteTextures& texture = surface_.textures();
    if (gl_.sprite != drawn.sprite) glBindTexture(kTexRect, texture[drawn.sprite]);
    if (gl_.tc_bottom != drawn.tc_bottom) glTexCoord2i(0, drawn.tc_bottom ? kSpriteSize : 0);
    gl_ = drawn;
    if (framed) {
        if (erased) {
            glColor3ub(0, 128, 17);
        } else {
            glColor3ub(0, 0, 0);
        }
    }
}

// Free cell operations go in one primitive per texture state, the others one by one.
void GlBoard::replay(const BoardLog::Plan& plan) {
    const SpriteTextures& texture = surface_.textures();
    QRect touched;
    const auto use = [&](uint8_t sprite, bool tc_bottom) {
        if (gl_.sprite != sprite) glBindTexture(kTexRect, texture[sprite]);
        if (gl_.tc_bottom != tc_bottom) glTexCoord2i(0, tc_bottom ? kSpriteSize : 0);
        gl_ = TexState{sprite, tc_bottom};
    };
    constexpr int kGroups = kSpriteCount * 3;  // quads, then fills at either coordinate
    const auto group_of = [](const BoardOp& op) {
        return op.kind == BoardOp::kQuad ? op.sprite
                                         : kSpriteCount + 2 * op.sprite + (op.tc_bottom ? 1 : 0);
    };
    int in_group[kGroups] = {};
    for (int i = 0; i < plan.free_count; ++i) ++in_group[group_of(*plan.op[i])];
    for (int g = 0; g < kGroups; ++g) {
        if (in_group[g] == 0) continue;
        const bool quads = g < kSpriteCount;
        const auto sprite = static_cast<uint8_t>(quads ? g : (g - kSpriteCount) / 2);
        // A quad's own coordinates leave the coordinate at the bottom whatever it was before.
        if (quads) {
            if (gl_.sprite != sprite) glBindTexture(kTexRect, texture[sprite]);
        } else {
            use(sprite, (g - kSpriteCount) % 2 == 1);
        }
        glBegin(GL_QUADS);
        for (int i = 0; i < plan.free_count; ++i) {
            const BoardOp& op = *plan.op[i];
            if (group_of(op) != g) continue;
            const int left = cell_left(op.x), top = cell_top(op.y);
            if (quads) {
                quad_vertices(left, top, left + kCellSize, top + kCellSize);
            } else {
                glVertex2i(left, top);
                glVertex2i(left + kCellSize, top);
                glVertex2i(left + kCellSize, top + kCellSize);
                glVertex2i(left, top + kCellSize);
            }
            touched |= reach_of(op);
        }
        glEnd();
        if (quads) gl_ = TexState{sprite, true};
    }
    for (int i = plan.free_count; i < plan.count; ++i) {
        const BoardOp& op = *plan.op[i];
        switch (op.kind) {
            case BoardOp::kFill:
                use(op.sprite, op.tc_bottom);
                fill_cell(op.x, op.y);
                break;
            case BoardOp::kQuad:
                sprite_quad(op.sprite, cell_left(op.x), cell_top(op.y), cell_left(op.x) + kCellSize,
                            cell_top(op.y) + kCellSize);
                break;
            case BoardOp::kFrame:
            case BoardOp::kUnframe:
                draw_frame_now(op.x, op.y, op.kind == BoardOp::kUnframe);
                break;
        }
        touched |= reach_of(op);
    }
    surface_.touch(touched);
}

}  // namespace vornick
