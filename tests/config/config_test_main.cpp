#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char **argv) {
    // Listing the cases must work without a display: the offscreen platform unless the
    // caller chose one.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
