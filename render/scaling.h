// Where the 440 x 300 picture sits in the widget's device pixels, and how pointer positions map
// back to picture units. A whole-number scale keeps the pixel art crisp on dense screens.
#pragma once

namespace vornick {

struct Placement {
    int scale;  // device pixels per picture unit, at least 1
    int left;   // device pixels of margin left of the picture
    int top;    // device pixels of margin above it
};

struct UnitPoint {
    int x;
    int y;
};

// device_width and device_height are the widget's framebuffer size for that ratio.
Placement place_picture(double device_pixel_ratio, int device_width, int device_height);

// A pointer position in the widget's logical pixels to picture units, rounding toward the
// top-left (so -0.5 is unit -1, off the picture).
UnitPoint to_picture_units(double logical_x, double logical_y, double device_pixel_ratio,
                           const Placement& placement);

}  // namespace vornick
