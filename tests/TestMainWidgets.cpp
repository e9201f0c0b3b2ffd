// Test entry for widget tests on the offscreen platform.
#include "ModalDialogWatchdog.h"

#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const ModalDialogWatchdog watchdog;
    return RUN_ALL_TESTS();
}
