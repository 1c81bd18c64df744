// The fixed geometry of the drawing surface and the GL names every drawing file shares.
// Drawing is OpenGL 1.x immediate mode into the surface's own 440 x 300 framebuffer.
#pragma once

#include <qopengl.h>

namespace vornick {

inline constexpr int kSurfaceWidth = 440;
inline constexpr int kSurfaceHeight = 300;

// GL_TEXTURE_RECTANGLE; spelled out because not every gl.h names it.
inline constexpr GLenum kTexRect = 0x84F5;

inline constexpr int kSpriteCount = 13;
inline constexpr int kSpriteSize = 10;
inline constexpr int kGroundSprite = 12;

}  // namespace vornick
