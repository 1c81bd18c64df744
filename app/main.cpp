#include <QApplication>
#include <QIcon>
#include <QSurfaceFormat>

#include "app/vornick_app.h"

int main(int argc, char** argv) {
    // Immediate-mode drawing needs the compatibility profile; set before the application exists.
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setSwapInterval(0);
    QSurfaceFormat::setDefaultFormat(format);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vornick"));
    QApplication::setApplicationVersion(QStringLiteral(VORNICK_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vornick"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vornick.png")));
    QApplication::setQuitOnLastWindowClosed(false);

    vornick::VornickApp vornick;
    vornick.start();
    QApplication::exec();
    return 0;
}
