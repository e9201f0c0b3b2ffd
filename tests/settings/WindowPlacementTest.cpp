// The main window's placement in "Vek.ini": the ten numbers either program
// writes, read back from the profile whether quoted or not, and every text
// that cannot be a window's placement refused.
#include "settings/CWindowPlacement.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>

TEST(WindowPlacement, TextsThatAreNoPlacementAreRefused)
{
    const struct {
        const char* what;
        const char* text;
    } cases[] = {
        {"empty", ""},
        {"nine numbers", "0,1,-1,-1,-1,-1,100,120,1000"},
        {"eleven numbers", "0,1,-1,-1,-1,-1,100,120,1000,820,5"},
        {"not a number", "0,1,-1,-1,-1,-1,100,120,1000,8x0"},
        {"negative flags", "-1,1,-1,-1,-1,-1,100,120,1000,820"},
        {"negative show state", "0,-1,-1,-1,-1,-1,100,120,1000,820"},
        {"no width", "0,1,-1,-1,-1,-1,100,120,100,820"},
        {"no height", "0,1,-1,-1,-1,-1,100,820,1000,820"},
        {"wider than any int", "0,1,-1,-1,-1,-1,-2147483648,0,2147483647,600"},
        {"beyond any screen", "0,1,-1,-1,-1,-1,100,120,1000,1048577"},
        {"a number past int", "0,1,-1,-1,-1,-1,100,120,1000,4294967296"},
        {"garbage", "garbage"},
    };
    for (const auto& c : cases) {
        CWindowPlacement placement;
        placement.flags = 7;
        EXPECT_FALSE(CWindowPlacement::Parse(QString::fromLatin1(c.text), &placement)) << c.what;
        EXPECT_EQ(placement.flags, 7u) << c.what << ": a refused text changes nothing";
    }
}

TEST(WindowPlacement, TheTenNumbersReadAndWriteInTheirOrder)
{
    CWindowPlacement placement;
    ASSERT_TRUE(CWindowPlacement::Parse(QStringLiteral("2, 3,-1,-1,-8,-9,100,120,1000,1048576"), &placement));
    EXPECT_EQ(placement.length, CWindowPlacement::kLength);
    EXPECT_EQ(placement.flags, CWindowPlacement::WPF_RESTORETOMAXIMIZED);
    EXPECT_EQ(placement.showCmd, CWindowPlacement::SW_SHOWMAXIMIZED);
    EXPECT_EQ(placement.ptMinPosition, CPoint(-1, -1));
    EXPECT_EQ(placement.ptMaxPosition, CPoint(-8, -9));
    EXPECT_EQ(placement.rcNormalPosition, CRect(100, 120, 1000, 1048576));
    EXPECT_EQ(placement.Format(), QStringLiteral("2,3,-1,-1,-8,-9,100,120,1000,1048576"));
}

TEST(WindowPlacement, TheProfileGivesItQuotedOrAsAList)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Vek.ini"));
    const struct {
        const char* what;
        const char* line;
        bool sound;
    } cases[] = {
        {"written by this program", "WindowPos=\"0,1,-1,-1,-1,-1,50,60,850,660\"", true},
        {"written by hand, unquoted", "WindowPos=0,1,-1,-1,-1,-1,50,60,850,660", true},
        {"an empty entry", "WindowPos=", false},
        {"no entry", "Other=1", false},
    };
    for (const auto& c : cases) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[Settings]\r\n" + QByteArray(c.line) + "\r\n");
        file.close();
        QSettings profile(path, QSettings::IniFormat);
        CWindowPlacement placement;
        EXPECT_EQ(CWindowPlacement::FromProfileValue(profile.value(CWindowPlacement::ProfileKey()), &placement),
                  c.sound)
            << c.what;
        if (c.sound) EXPECT_EQ(placement.rcNormalPosition, CRect(50, 60, 850, 660)) << c.what;
    }
}
