// The script box: the scripts the default font's face offers, the one of
// its character set chosen, and the user's choice stored and reported.
#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include "platform/CodePage.h"
#include "ui/CCharsetComboBox.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

class CharsetComboTest : public ::testing::Test {
protected:
    void SetUp() override { Settings().SetDefaults(); }
    static void UseFont(const char* face, int charset)
    {
        Settings().m_lfDefaultFont.SetFaceName(QStringToGbk(QString::fromUtf8(face)));
        Settings().m_lfDefaultFont.lfCharSet = BYTE(charset);
    }
    static QStringList Texts(const CCharsetComboBox& combo)
    {
        QStringList texts;
        for (int i = 0; i < combo.count(); ++i) texts << combo.itemText(i);
        return texts;
    }
};

const QStringList kWithThai = {"阿拉伯文", "波罗的海文", "泰文", "土耳其文", "西方",
                               "西里尔文", "希伯来文",   "希腊文", "越南文",   "中欧"};
const QStringList kArial = {"阿拉伯文", "波罗的海文", "土耳其文", "西方", "西里尔文",
                            "希伯来文", "希腊文",     "越南文",   "中欧"};
const QStringList kAnyOther = {"波罗的海文", "韩文", "土耳其文", "西方", "西里尔文", "希腊文", "中欧"};

} // namespace

TEST_F(CharsetComboTest, EachFaceListsItsOwnScriptsAndShowsItsCharacterSet)
{
    const struct {
        const char* face;
        int charset;
        QStringList scripts;
        const char* shown;
    } cases[] = {
        {"Arial", 0, kArial, "西方"},
        {"Courier New", 178, kArial, "阿拉伯文"},
        {"Arial", 222, kArial, "西方"},  // no Thai: the western script
        {"Tahoma", 222, kWithThai, "泰文"},
        {"Times New Roman", 163, kWithThai, "越南文"},
        {"宋体", 134, {"CHINESE_GB2312", "西方"}, "CHINESE_GB2312"},
        {"@新宋体", 0, {"CHINESE_GB2312", "西方"}, "西方"},
        {"PMingLiU", 136, {"CHINESE_BIG5", "西方"}, "CHINESE_BIG5"},
        {"黑体", 0, {"CHINESE_GB2312"}, "CHINESE_GB2312"},  // one script: chosen
        {"Symbol", 0, {"符号"}, "符号"},
        {"Roman", 0, {"OEM/DOS"}, "OEM/DOS"},
        {"Lucida Console", 161, {"土耳其文", "西方", "西里尔文", "希腊文", "中欧"}, "希腊文"},
        {"Arial Black", 129, {"波罗的海文", "土耳其文", "西方", "西里尔", "希腊文", "中欧"}, "西里尔"},
        {"MS Gothic", 128, {"波罗的海文", "日文", "土耳其文", "西方", "西里尔文", "希腊文", "中欧"}, "日文"},
        {"Mangal", 0, {"其他"}, "其他"},
        {"DejaVu Sans", 130, kAnyOther, "韩文"},
        {"arial", 0, kAnyOther, "西方"},  // faces compare case-sensitively
    };
    for (const auto& c : cases) {
        UseFont(c.face, c.charset);
        CCharsetComboBox combo;
        EXPECT_EQ(Texts(combo), c.scripts) << c.face;
        EXPECT_EQ(combo.currentText(), QString::fromUtf8(c.shown)) << c.face << " " << c.charset;
    }
}

TEST_F(CharsetComboTest, ScriptsCarryTheirCharacterSets)
{
    UseFont("Arial", 0);
    CCharsetComboBox combo;
    QList<int> sets;
    for (int i = 0; i < combo.count(); ++i) sets << combo.itemData(i).toInt();
    EXPECT_EQ(sets, (QList<int>{178, 186, 162, 0, 129, 177, 161, 163, 238}));
}

TEST_F(CharsetComboTest, RefillingFollowsTheDefaultFont)
{
    UseFont("Arial", 0);
    CCharsetComboBox combo;
    UseFont("Tahoma", 222);
    combo.FillCharsets();
    EXPECT_EQ(Texts(combo), kWithThai);
    EXPECT_EQ(combo.currentText(), QStringLiteral("泰文"));
}

TEST_F(CharsetComboTest, TheUsersChoiceSetsTheCharacterSetAndIsReported)
{
    UseFont("Arial", 0);
    CCharsetComboBox combo;
    int reports = 0;
    QObject::connect(&CMessageHub::Instance(), &CMessageHub::FontChanged, &combo, [&reports] { ++reports; });
    const int cyrillic = combo.findText(QStringLiteral("西里尔文"));
    ASSERT_GE(cyrillic, 0);
    combo.setCurrentIndex(cyrillic);
    Q_EMIT combo.activated(cyrillic);
    EXPECT_EQ(Settings().m_lfDefaultFont.lfCharSet, 129);
    EXPECT_EQ(reports, 1);
    // Refilling is the program's: nothing reported.
    combo.FillCharsets();
    EXPECT_EQ(combo.currentText(), QStringLiteral("西里尔文"));
    EXPECT_EQ(reports, 1);
}
