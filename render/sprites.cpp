#include "render/sprites.h"

#include <QPainter>
#include <algorithm>

namespace vornick {

SpriteImages CreateBitmapImages(const QString& dir) {
    SpriteImages icon;
    for (int i = 0; i < kSpriteCount; ++i) {
        icon[i] = QImage(QStringLiteral("%1/%2.png").arg(dir).arg(128 + i));
    }
    return icon;
}

SpriteImages stage_sprites(const SpriteImages& icon, int width, int height) {
    SpriteImages staged;
    width = std::max(width, 1);
    height = std::max(height, 1);
    QImage staging(width, height, QImage::Format_RGBA8888_Premultiplied);
    staging.fill(Qt::transparent);
    for (int i = 0; i < kSpriteCount; ++i) {
        if (!icon[i].isNull()) {
            QPainter painter(&staging);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            // Nearest sampling: a larger image is reduced to whole source pixels, not smeared.
            painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
            painter.drawImage(QRect(0, 0, width, height), icon[i]);
        }
        staged[i] = staging.copy();
    }
    return staged;
}

void CreateTextures(const SpriteImages& icon, int width, int height, SpriteTextures& texture) {
    const SpriteImages staged = stage_sprites(icon, width, height);
    glEnable(kTexRect);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_DECAL);
    glGenTextures(kSpriteCount, texture.data());
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);  // staged rows are 4 bytes a pixel
    for (int i = 0; i < kSpriteCount; ++i) {
        glBindTexture(kTexRect, texture[i]);
        glTexImage2D(kTexRect, 0, GL_RGBA, staged[i].width(), staged[i].height(), 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, staged[i].constBits());
        // A texel is a block of whole pixels at any scale. At one pixel a texel every pixel
        // centre falls on a texel centre, where nearest and linear sampling agree.
        glTexParameteri(kTexRect, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(kTexRect, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    }
}

}  // namespace vornick
