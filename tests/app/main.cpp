// Application tests run the real windows on an X display (Xvfb in CI), with the preferences
// kept in a directory of their own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include "render/gl_surface.h"

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    vornick::use_compatibility_profile();
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
