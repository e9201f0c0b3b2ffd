// A test of the main window with settings folders of its own: test
// programs run side by side, and each test starts without the settings
// files an earlier one left.
#pragma once

#include "settings/CSystemSettings.h"
#include "shell/CVEKApp.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

class ProgramHomeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toLocal8Bit());
        QFile::remove(CSystemSettings::ConfigFilePath());
        QFile::remove(CSystemSettings::LineTypeFilePath());
        QFile::remove(CVEKApp::ProfilePath());
    }

    QTemporaryDir home;
};
