// Test entry point for the non-widget layers: a QCoreApplication owns the main
// thread, so timers and hand-overs to the "GUI" thread behave as in the program.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
