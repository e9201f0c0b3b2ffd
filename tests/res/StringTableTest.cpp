#include "res/StringTable.h"

#include <gtest/gtest.h>

TEST(StringTable, KnownIdsGiveTheirChineseText)
{
    struct Case {
        int id;
        const char* text;
    };
    const Case cases[] = {
        {36000, "\"Morvane\"服装工艺单软件V1.0"},
        {36058, "非MorvaneVEK格式或者文件已经损坏。"},
        {36003, "页面 %d"},
        {38000, "单击两次左键选择放大的区域, 单击右键显示整页, 按Shift键转成缩小功能"},
        {57345, "如需帮助，请按F1键"},
    };
    for (const Case& c : cases) EXPECT_EQ(LoadResString(c.id), QString::fromUtf8(c.text)) << c.id;
}

TEST(StringTable, UnknownIdIsEmpty)
{
    EXPECT_TRUE(LoadResString(12345).isEmpty());
}
