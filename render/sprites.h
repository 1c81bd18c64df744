// The thirteen board sprites: decoded from the bundled PNG files, staged at a fixed texel size
// and uploaded as rectangle textures. A missing or broken file never stops the program.
#pragma once

#include <QImage>
#include <QString>
#include <array>

#include "render/gl_common.h"

namespace vornick {

using SpriteImages = std::array<QImage, kSpriteCount>;
using SpriteTextures = std::array<GLuint, kSpriteCount>;

// Sprite i is the file named 128 + i with suffix ".png" in `dir` (the bundled resources by
// default). Entries that are missing or undecodable stay null.
SpriteImages CreateBitmapImages(const QString& dir = QStringLiteral(":/sprites"));

// The bitmaps the textures receive: each image drawn, scaled to width x height, over the
// staging bitmap as the previous image left it (transparent black before the first). A null
// image changes nothing, so its sprite repeats the previous one. Premultiplied RGBA bytes.
SpriteImages stage_sprites(const SpriteImages& icon, int width, int height);

// Needs the drawing context current. Nearest filtering; leaves rectangle texturing on, the
// decal environment in force and the last sprite's texture bound.
void CreateTextures(const SpriteImages& icon, int width, int height, SpriteTextures& texture);

}  // namespace vornick
