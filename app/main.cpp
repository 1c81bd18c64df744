#include <QApplication>
#include <QIcon>

#include "app/vornick_app.h"
#include "render/gl_surface.h"

int main(int argc, char** argv) {
    vornick::use_compatibility_profile();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vornick"));
    QApplication::setApplicationVersion(QStringLiteral(VORNICK_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vornick"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vornick.png")));
    QApplication::setQuitOnLastWindowClosed(false);

    vornick::VornickApp vornick;
    vornick.start();
    vornick.open_from_arguments(QApplication::arguments());
    QApplication::exec();
    return 0;
}
