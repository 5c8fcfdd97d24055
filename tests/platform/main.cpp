#include <QGuiApplication>

#include <gtest/gtest.h>

// The platform tests draw with Qt, which needs a QGuiApplication; the
// offscreen platform lets them run (and be listed at build time) without a
// display.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
