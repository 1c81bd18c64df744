// Drawing tests need a GL context on a display (Xvfb in CI); listing them does not.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSurfaceFormat>

#include "surface_fixture.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setSwapInterval(0);
    QSurfaceFormat::setDefaultFormat(format);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    const int status = RUN_ALL_TESTS();
    vornick::testing::release_surface();
    return status;
}
