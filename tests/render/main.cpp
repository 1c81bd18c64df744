// Drawing tests need a GL context on a display (Xvfb in CI); listing them does not.
#include <gtest/gtest.h>

#include <QApplication>

#include "render/gl_surface.h"
#include "surface_fixture.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    vornick::use_compatibility_profile();
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    const int status = RUN_ALL_TESTS();
    vornick::testing::release_surface();
    return status;
}
