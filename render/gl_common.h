// The GL names and sprite sizes every drawing file shares; the picture's geometry is the
// board's (sim/board_geometry.h).
// Drawing is OpenGL 1.x immediate mode into the surface's own 440 x 300 framebuffer.
#pragma once

#include <qopengl.h>

#include "sim/board_geometry.h"

namespace vornick {

// GL_TEXTURE_RECTANGLE; spelled out because not every gl.h names it.
inline constexpr GLenum kTexRect = 0x84F5;

inline constexpr int kSpriteCount = 13;
inline constexpr int kSpriteSize = 10;
inline constexpr int kGroundSprite = 12;

}  // namespace vornick
