// Where the picture sits in the widget's device pixels, and how pointer positions map back to
// picture units. A whole-number scale keeps the pixel art crisp on dense screens and zoomed.
#pragma once

namespace vornick {

inline constexpr int kMaxZoom = 4;
// The largest picture drawn, in device pixels per unit; beyond it the picture is centred in
// white margins rather than made larger. 8 is a 3520 x 2400 framebuffer.
inline constexpr int kMaxDeviceScale = 8;

struct Placement {
    int scale;  // device pixels per picture unit, at least 1
    int left;   // device pixels of margin left of the picture
    int top;    // device pixels of margin above it
};

struct UnitPoint {
    int x;
    int y;
};

// Device pixels per picture unit: the whole part of the screen's ratio times the zoom (1 to
// kMaxZoom), at most kMaxDeviceScale.
int device_scale(double device_pixel_ratio, int zoom);

// The picture at `scale`, centred in a widget framebuffer of device_width x device_height.
Placement place_picture(int scale, int device_width, int device_height);

// A pointer position in the widget's logical pixels to picture units, rounding toward the
// top-left (so -0.5 is unit -1, off the picture).
UnitPoint to_picture_units(double logical_x, double logical_y, double device_pixel_ratio,
                           const Placement& placement);

}  // namespace vornick
