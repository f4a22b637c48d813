// The main of the run-time's own window tests: the offscreen platform unless the caller chose
// one (so that listing the cases needs no display), and the run-time started around the cases.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QtGlobal>

#include "runtime/ui.h"

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (InitRunTime(argc, argv) < 0) return 1;
    ::testing::InitGoogleTest(&argc, argv);
    const int r = RUN_ALL_TESTS();
    CloseRunTime();
    return r;
}
