#include "surface_fixture.h"

#include <memory>

namespace vornick::testing {

namespace {

std::unique_ptr<GlSurface>& shared_surface() {
    static std::unique_ptr<GlSurface> instance;
    return instance;
}

}  // namespace

GlSurface& SurfaceTest::surface() {
    std::unique_ptr<GlSurface>& instance = shared_surface();
    if (!instance) {
        instance = std::make_unique<GlSurface>();
        instance->show();
        instance->setup();
    }
    return *instance;
}

void release_surface() {
    shared_surface().reset();
}

void SurfaceTest::SetUp() {
    if (!surface().is_ready()) GTEST_FAIL() << "no GL drawing surface (is a display set?)";
    surface().set_zoom(1);
}

int count_pixels(const QImage& image, const QRect& rect, const std::function<bool(QRgb)>& pred) {
    int n = 0;
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (pred(image.pixel(x, y))) ++n;
        }
    }
    return n;
}

bool same_pixels(const QImage& a, const QImage& b, const QRect& rect, QPoint* first_difference) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (rgb(a.pixel(x, y)) != rgb(b.pixel(x, y))) {
                if (first_difference != nullptr) *first_difference = QPoint(x, y);
                return false;
            }
        }
    }
    return true;
}

}  // namespace vornick::testing
