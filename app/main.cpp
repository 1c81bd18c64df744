#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>

#include "app/display_check.h"
#include "app/thread_setting.h"
#include "app/vornick_app.h"
#include "render/gl_surface.h"

int main(int argc, char** argv) {
    // Qt aborts when it finds no display; tell the user plainly instead, before it tries.
    const std::string platform =
        vornick::requested_platform(argc, argv, std::getenv("QT_QPA_PLATFORM"));
    if (const auto missing = vornick::missing_display(platform, std::getenv("DISPLAY"),
                                                      std::getenv("WAYLAND_DISPLAY"))) {
        return vornick::fail_start(*missing);
    }
    vornick::use_compatibility_profile();

    vornick::DisplayOpenGuard guard(platform);
    QApplication app(argc, argv);
    guard.release();
    if (const auto missing = vornick::headless_platform(QGuiApplication::platformName())) {
        return vornick::fail_start(*missing);
    }
    QApplication::setApplicationName(QStringLiteral("Vornick"));
    QApplication::setApplicationVersion(QStringLiteral(VORNICK_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vornick"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vornick.png")));
    QApplication::setQuitOnLastWindowClosed(false);

    // Made once, before the first long work needs them.
    if (const auto why = vornick::use_threads_setting(std::getenv("VORNICK_THREADS"))) {
        std::fprintf(stderr, "vornick: %s\n", why->c_str());
    }
    vornick::VornickApp vornick;
    if (!vornick.start()) {
        const QString why = vornick.main_window().surface()->setup_failure();
        return vornick::fail_start("no usable OpenGL: " + why.toStdString());
    }
    // argv as the system gave it, less the options Qt took: a file name need not be text.
    QList<QByteArray> arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QByteArray(argv[i]));
    vornick.open_from_arguments(arguments);
    QApplication::exec();
    return 0;
}
