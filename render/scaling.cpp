#include "render/scaling.h"

#include <algorithm>
#include <cmath>

#include "render/gl_common.h"

namespace vornick {

int device_scale(double device_pixel_ratio, int zoom) {
    // A ratio below 1, NaN or infinity must not yield scale 0 or a huge one.
    int screen = 1;
    if (std::isfinite(device_pixel_ratio) && device_pixel_ratio >= 2.0) {
        screen = static_cast<int>(std::min(std::floor(device_pixel_ratio), 64.0));
    }
    return std::min(screen * std::clamp(zoom, 1, kMaxZoom), kMaxDeviceScale);
}

Placement place_picture(int scale, int device_width, int device_height) {
    scale = std::max(scale, 1);
    // The framebuffer of a fractional ratio is a little larger than the scaled picture;
    // centring spreads the spare pixels as an even white border.
    const int left = std::max(0, (device_width - kSurfaceWidth * scale) / 2);
    const int top = std::max(0, (device_height - kSurfaceHeight * scale) / 2);
    return Placement{scale, left, top};
}

UnitPoint to_picture_units(double logical_x, double logical_y, double device_pixel_ratio,
                           const Placement& placement) {
    const double ratio =
        std::isfinite(device_pixel_ratio) && device_pixel_ratio > 0 ? device_pixel_ratio : 1.0;
    const auto map = [&](double logical, int margin) {
        const double units = std::floor((logical * ratio - margin) / placement.scale);
        return static_cast<int>(std::clamp(units, -1.0e6, 1.0e6));
    };
    return UnitPoint{map(logical_x, placement.left), map(logical_y, placement.top)};
}

}  // namespace vornick
