#include <QApplication>

#include <gtest/gtest.h>

// The widgets need one QApplication on the main thread for all tests.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Also when CTest lists the tests at build time, outside the test environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
