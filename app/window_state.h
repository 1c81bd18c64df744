// How the main window was left: its zoom, whether the status bar shows, and where it stood.
// Kept in its own file "Vornick.conf" beside the preferences, whose keys it never touches.
#pragma once

#include <QPoint>
#include <QString>
#include <optional>

namespace vornick {

struct WindowState {
    int zoom = 1;  // 1 to 4
    bool status_bar = true;
    std::optional<QPoint> position;  // the frame's top-left corner; none: the platform places it
};

// Follows XDG_CONFIG_HOME at every call.
QString window_state_path();

// What is absent or unreadable takes its default; a zoom out of 1..4 its nearest end.
WindowState load_window_state();
void save_window_state(const WindowState& state);

}  // namespace vornick
