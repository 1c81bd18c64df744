// Pictures at a device scale for tests: the unit picture enlarged as the screen would show it,
// and a scaled picture read back one pixel a unit where each unit is one colour.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <functional>
#include <vector>

#include "render/sprites.h"

namespace vornick::testing {

// Every pixel of `image` made an s x s block.
inline QImage nearest(const QImage& image, int s) {
    const QImage from = image.convertToFormat(QImage::Format_RGB32);
    QImage big(from.width() * s, from.height() * s, QImage::Format_RGB32);
    for (int y = 0; y < big.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(from.constScanLine(y / s));
        auto* out = reinterpret_cast<QRgb*>(big.scanLine(y));
        for (int x = 0; x < big.width(); ++x) out[x] = in[x / s];
    }
    return big;
}

// The top-left pixel of every s x s block.
inline QImage units_of(const QImage& device, int s) {
    QImage units(device.width() / s, device.height() / s, QImage::Format_RGB32);
    for (int y = 0; y < units.height(); ++y) {
        for (int x = 0; x < units.width(); ++x) units.setPixel(x, y, device.pixel(x * s, y * s));
    }
    return units;
}

inline QRect device_rect(const QRect& units, int s) {
    return QRect(units.x() * s, units.y() * s, units.width() * s, units.height() * s);
}

// One organism as the board shows it: its cell and the heading that picks its sprite.
struct BoardOrg {
    int x;
    int y;
    int dir;
};

// The 28 x 28 cells of the board at one pixel a unit, as they should look: ground tiles where
// `ground` says, plain green elsewhere, the organisms over them in table order.
inline QImage board_picture(const std::function<bool(int x, int y)>& ground,
                            const std::vector<BoardOrg>& orgs) {
    const SpriteImages icon = CreateBitmapImages();
    QImage board(280, 280, QImage::Format_RGB32);
    board.fill(qRgb(0, 128, 17));
    QPainter painter(&board);
    for (int x = 0; x < 28; ++x) {
        for (int y = 0; y < 28; ++y) {
            if (ground(x, y)) painter.drawImage(10 * x, 10 * y, icon[kGroundSprite]);
        }
    }
    for (const BoardOrg& o : orgs) painter.drawImage(10 * o.x, 10 * o.y, icon[o.dir]);
    return board;
}

}  // namespace vornick::testing
