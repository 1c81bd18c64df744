// Where the picture sits in the widget's device pixels, and how pointer positions map back to
// picture units. A whole-number scale keeps the pixel art crisp on dense screens and zoomed; the
// widget is sized so that the picture at that scale fills it, at any screen ratio.
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

struct LogicalSize {
    int width;
    int height;
};

// Device pixels per picture unit: the screen's ratio times the zoom (1 to kMaxZoom), rounded to
// the nearest whole number with halves up, from 1 to kMaxDeviceScale. So 1.25 gives 1, 1.5
// gives 2 and 1.5 at zoom 2 gives 3.
int device_scale(double device_pixel_ratio, int zoom);

// The widget's size in logical pixels: the fewest that cover the picture at that rounded scale
// (before the cap) in device pixels. At whole ratios it is the picture's 440 x 300 times the
// zoom; elsewhere up to one device pixel is left over at the right and the bottom.
LogicalSize widget_size(double device_pixel_ratio, int zoom);

// The picture at `scale`, centred in a widget framebuffer of device_width x device_height. A
// spare pixel goes to the right or the bottom.
Placement place_picture(int scale, int device_width, int device_height);

// A pointer position in the widget's logical pixels to picture units, rounding toward the
// top-left (so -0.5 is unit -1, off the picture).
UnitPoint to_picture_units(double logical_x, double logical_y, double device_pixel_ratio,
                           const Placement& placement);

}  // namespace vornick
