#include "render/board.h"

#include "render/gl_surface.h"

namespace vornick {

namespace {

constexpr int kBoardOrigin = 10;
constexpr int kCellSize = 10;
constexpr int kBoardEnd = kBoardOrigin + kGridSize * kCellSize;

int cell_left(int32_t x) {
    return kBoardOrigin + kCellSize * x;
}
int cell_top(int32_t y) {
    return kBoardOrigin + kCellSize * y;
}

bool is_sprite(int32_t number) {
    return number >= 0 && number < kSpriteCount;
}

// Deliberately sets no colour and no texture coordinate: with rectangle texturing still on, the
// fill takes the texel that the last quad's final coordinate addresses, the bottom-left texel
// of the last sprite bound, which every sprite has in the board green.
void fill_cell(int32_t x, int32_t y) {
    glRecti(cell_left(x), cell_top(y), cell_left(x) + kCellSize, cell_top(y) + kCellSize);
}

void sprite_quad(GLuint texture, int left, int top, int right, int bottom) {
    glBindTexture(kTexRect, texture);
    glBegin(GL_QUADS);
    glTexCoord2i(0, 0);
    glVertex2i(left, top);
    glTexCoord2i(kSpriteSize, 0);
    glVertex2i(right, top);
    glTexCoord2i(kSpriteSize, kSpriteSize);
    glVertex2i(right, bottom);
    glTexCoord2i(0, kSpriteSize);  // the coordinate later fills sample
    glVertex2i(left, bottom);
    glEnd();
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

void GlBoard::redraw_scr(const World& w) {
    if (!surface_.begin_draw()) return;
    const SpriteTextures& texture = surface_.textures();
    whiten_board_ring();
    glRecti(kBoardOrigin, kBoardOrigin, kBoardEnd, kBoardEnd);
    for (int32_t x = 0; x < kGridSize; ++x) {
        for (int32_t y = 0; y < kGridSize; ++y) {
            const int32_t code = w.cell(x, y);
            if (code != kEmptyCode && is_sprite(code)) {
                sprite_quad(texture[code], cell_left(x), cell_top(y), cell_left(x) + kCellSize,
                            cell_top(y) + kCellSize);
            } else {
                fill_cell(x, y);
            }
        }
    }
    const int32_t norgs = w.norgs < 0 ? 0 : (w.norgs > kMaxOrgs ? kMaxOrgs : w.norgs);
    for (int32_t i = 0; i < norgs; ++i) {
        const Org& org = w.orgs[i];
        if (is_sprite(org.dir)) {
            sprite_quad(texture[org.dir], cell_left(org.x), cell_top(org.y),
                        cell_left(org.x) + kCellSize, cell_top(org.y) + kCellSize);
        }
    }
    surface_.present();
}

void GlBoard::erase_cell(int32_t x, int32_t y, int32_t code) {
    if (!surface_.begin_draw()) return;
    fill_cell(x, y);
    if (code == kGroundCode) {
        sprite_quad(surface_.textures()[kGroundSprite], cell_left(x), cell_top(y),
                    cell_left(x) + kCellSize, cell_top(y) + kCellSize);
    }
}

void GlBoard::draw_org(const Org& org) {
    if (!surface_.begin_draw()) return;
    fill_cell(org.x, org.y);
    if (is_sprite(org.dir)) {
        sprite_quad(surface_.textures()[org.dir], cell_left(org.x), cell_top(org.y),
                    cell_left(org.x) + kCellSize, cell_top(org.y) + kCellSize);
    }
}

void GlBoard::draw_sprite_at(int32_t h, int32_t v, int32_t sprite) {
    if (!is_sprite(sprite) || !surface_.begin_draw()) return;
    const int half = kSpriteSize / 2;
    sprite_quad(surface_.textures()[sprite], h - half, v - half, h + half, v + half);
}

void GlBoard::draw_frame(int32_t x, int32_t y) {
    if (!surface_.begin_draw()) return;
    glColor3ub(0, 0, 0);
    frame_strip(x, y);
}

// The board green hides the frame on the board; where its lines reach into the white margin
// they are erased in white.
void GlBoard::erase_frame(int32_t x, int32_t y) {
    if (!surface_.begin_draw()) return;
    glColor3ub(255, 255, 255);
    frame_strip(x, y);
    glEnable(GL_SCISSOR_TEST);
    glScissor(kBoardOrigin, kSurfaceHeight - kBoardEnd, kBoardEnd - kBoardOrigin,
              kBoardEnd - kBoardOrigin);
    glColor3ub(0, 128, 17);
    frame_strip(x, y);
    glDisable(GL_SCISSOR_TEST);
}

// The top edge sits one unit inside the cell; the other three lie on its boundary lines.
void GlBoard::frame_strip(int32_t x, int32_t y) {
    const int left = cell_left(x);
    const int top = cell_top(y);
    glDisable(kTexRect);
    glBegin(GL_LINE_STRIP);
    glVertex2i(left, top + 1);
    glVertex2i(left + kCellSize, top + 1);
    glVertex2i(left + kCellSize, top + kCellSize);
    glVertex2i(left, top + kCellSize);
    glVertex2i(left, top + 1);
    glEnd();
    glEnable(kTexRect);
}

void GlBoard::present() {
    surface_.present();
}

}  // namespace vornick
