#include "app/CMainFrame.h"

#include <gtest/gtest.h>

TEST(CMainFrame, TitledWithTheApplicationName)
{
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle(), QString::fromUtf8("\"Morvane\"服装工艺单软件V1.0"));
    EXPECT_NE(frame.centralWidget(), nullptr);
}
