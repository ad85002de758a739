// The main of test executables that run real Qt windows: one application for all tests.
#include <gtest/gtest.h>

#include "platform/qt/qt_window_system.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    zonvex::qt::Application application(argc, argv);
    return RUN_ALL_TESTS();
}
