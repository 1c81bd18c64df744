// Pictures at a device scale for tests: the unit picture enlarged as the screen would show it,
// and a scaled picture read back one pixel a unit where each unit is one colour.
#pragma once

#include <QImage>
#include <QRect>

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

}  // namespace vornick::testing
