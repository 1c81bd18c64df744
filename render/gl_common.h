// The GL names every drawing file shares; the picture's geometry and the sprites' sizes are the
// board's (sim/board_geometry.h).
// Drawing is OpenGL 1.x immediate mode into the surface's own 440 x 300 framebuffer.
#pragma once

#include <qopengl.h>

#include "sim/board_geometry.h"

namespace vornick {

// GL_TEXTURE_RECTANGLE; spelled out because not every gl.h names it.
inline constexpr GLenum kTexRect = 0x84F5;

}  // namespace vornick
