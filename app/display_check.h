// Whether there is a display to open the window on, asked before Qt opens one and while it
// does, so that a missing display is one line on stderr and exit status 1, never an abort.
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <string>
#include <vector>

namespace vornick {

// The Qt platform asked for with -platform or --platform, else by QT_QPA_PLATFORM; empty for
// Qt's default, which on this system is X11 (or Wayland first, in a Wayland session).
std::string requested_platform(int argc, char** argv, const char* env_platform);

// Why no window can be opened, judged from the environment alone; nothing when one may be.
std::optional<std::string> missing_display(const std::string& platform, const char* display,
                                           const char* wayland_display);

// A platform that runs without any screen: the window would exist, but nobody could see it.
std::optional<std::string> headless_platform(const QString& platform_name);

// Prints "vornick: <what>" as one line on stderr and gives the exit status of a failed start.
int fail_start(const std::string& what);

// While it is held, Qt's messages wait; a fatal one, which is how Qt reports a window system
// that did not start, becomes one line naming the display and ends the process with status 1.
// Released, it hands the messages that waited on to Qt's usual output.
class DisplayOpenGuard {
  public:
    explicit DisplayOpenGuard(std::string platform);
    ~DisplayOpenGuard() { release(); }
    DisplayOpenGuard(const DisplayOpenGuard&) = delete;
    DisplayOpenGuard& operator=(const DisplayOpenGuard&) = delete;
    void release();

  private:
    bool held_ = true;
};

}  // namespace vornick
