#include "render/scaling.h"

#include <algorithm>
#include <cmath>

#include "render/gl_common.h"

namespace vornick {

namespace {

// A ratio of NaN, infinity, zero or below must not yield scale 0, a huge scale or a widget of
// millions of pixels; a real screen lies well inside these bounds.
double usable_ratio(double device_pixel_ratio) {
    if (!std::isfinite(device_pixel_ratio) || device_pixel_ratio <= 0) return 1.0;
    return std::clamp(device_pixel_ratio, 0.125, 64.0);
}

// The scale before the cap: it decides the widget's size, so that at whole ratios the widget is
// the zoomed picture whether or not the picture itself is capped.
int rounded_scale(double device_pixel_ratio, int zoom) {
    const double wanted = usable_ratio(device_pixel_ratio) * std::clamp(zoom, 1, kMaxZoom);
    return std::max(1, static_cast<int>(std::floor(wanted + 0.5)));
}

// Qt shows a logical length at a fractional ratio as that many device pixels, rounded.
int device_pixels(int logical, double ratio) {
    return static_cast<int>(std::floor(logical * ratio + 0.5));
}

// The fewest logical pixels whose device pixels cover `device`.
int logical_cover(int device, double ratio) {
    int logical = std::max(1, static_cast<int>(std::ceil(device / ratio)));
    while (logical > 1 && device_pixels(logical - 1, ratio) >= device) --logical;
    while (device_pixels(logical, ratio) < device) ++logical;
    return logical;
}

}  // namespace

int device_scale(double device_pixel_ratio, int zoom) {
    return std::min(rounded_scale(device_pixel_ratio, zoom), kMaxDeviceScale);
}

LogicalSize widget_size(double device_pixel_ratio, int zoom) {
    const double ratio = usable_ratio(device_pixel_ratio);
    const int scale = rounded_scale(ratio, zoom);
    return LogicalSize{logical_cover(kSurfaceWidth * scale, ratio),
                       logical_cover(kSurfaceHeight * scale, ratio)};
}

Placement place_picture(int scale, int device_width, int device_height) {
    scale = std::max(scale, 1);
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
