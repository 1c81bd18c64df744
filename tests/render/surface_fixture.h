// One shown and set-up drawing surface per test process, and helpers to read its picture.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <functional>

#include "render/gl_surface.h"
#include "tests/picture_testing.h"

namespace vornick::testing {

inline constexpr QRgb kBoardGreen = qRgb(0, 128, 17);

class SurfaceTest : public ::testing::Test {
  protected:
    static GlSurface& surface();
    // Device pixels per unit of the shared surface's picture: the screen's scale at zoom 1.
    static int scale() { return surface().device_scale(); }
    void SetUp() override;
};

// Destroys the shared surface; must run while the application object still exists.
void release_surface();

// Every pixel of `rect` in `image` for which `pred` is true.
int count_pixels(const QImage& image, const QRect& rect, const std::function<bool(QRgb)>& pred);
// Whether a and b agree in colour inside rect; if not, where they first differ.
bool same_pixels(const QImage& a, const QImage& b, const QRect& rect, QPoint* first_difference);

inline bool is_white(QRgb c) {
    return (c & 0xffffff) == 0xffffff;
}
inline QRgb rgb(QRgb c) {
    return c | 0xff000000;
}

}  // namespace vornick::testing
