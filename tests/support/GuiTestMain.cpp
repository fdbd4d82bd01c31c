// Test entry point for the widget layer: a QApplication with the program's style owns the
// main thread. Without a display the tests run on the offscreen platform unless the caller
// chose another one.
#include <gtest/gtest.h>
#include <QApplication>

#include "ui/TeskStyle.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    QApplication::setStyle(new tesk::TeskStyle);  // the program's own, as users see it
    return RUN_ALL_TESTS();
}
