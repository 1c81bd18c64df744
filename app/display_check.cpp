#include "app/display_check.h"

#include <QMessageLogContext>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace vornick {

namespace {

struct HeldMessage {
    QtMsgType type;
    std::string category;
    QString text;
};

std::vector<HeldMessage> g_held;
std::string g_platform;
QtMessageHandler g_previous = nullptr;

bool is_set(const char* value) {
    return value != nullptr && *value != '\0';
}

std::string display_named() {
    const char* display = std::getenv("DISPLAY");
    if (g_platform.empty() || g_platform.rfind("xcb", 0) == 0) {
        return is_set(display) ? "cannot connect to DISPLAY=" + std::string(display)
                               : "DISPLAY is not set";
    }
    return "the Qt platform \"" + g_platform + "\" did not start";
}

void hold_message(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        fail_start("no display to open the window on (" + display_named() + ")");
        std::_Exit(1);
    }
    g_held.push_back({type, context.category ? context.category : "", text});
}

}  // namespace

std::string requested_platform(int argc, char** argv, const char* env_platform) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            return argv[i + 1];
        }
    }
    return is_set(env_platform) ? env_platform : "";
}

std::optional<std::string> missing_display(const std::string& platform, const char* display,
                                           const char* wayland_display) {
    const bool x11_only = platform.rfind("xcb", 0) == 0 && platform.find(';') == std::string::npos;
    if (x11_only && !is_set(display)) {
        return "no display to open the window on (DISPLAY is not set)";
    }
    if (platform.empty() && !is_set(display) && !is_set(wayland_display)) {
        return "no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    }
    return std::nullopt;
}

std::optional<std::string> headless_platform(const QString& platform_name) {
    if (platform_name != QLatin1String("offscreen") && platform_name != QLatin1String("minimal")) {
        return std::nullopt;
    }
    return "no display to open the window on (the Qt platform \"" + platform_name.toStdString() +
           "\" shows no windows)";
}

int fail_start(const std::string& what) {
    std::fprintf(stderr, "vornick: %s\n", what.c_str());
    std::fflush(stderr);
    return 1;
}

DisplayOpenGuard::DisplayOpenGuard(std::string platform) {
    g_platform = std::move(platform);
    g_previous = qInstallMessageHandler(hold_message);
}

void DisplayOpenGuard::release() {
    if (!held_) return;
    held_ = false;
    qInstallMessageHandler(g_previous);
    for (const HeldMessage& m : g_held) {
        const QMessageLogContext context(nullptr, 0, nullptr, m.category.c_str());
        if (g_previous) {
            g_previous(m.type, context, m.text);
        } else {
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(m.type, context, m.text)));
        }
    }
    g_held.clear();
}

}  // namespace vornick
