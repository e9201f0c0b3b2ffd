#include "tests/tools/ShapeTestSupport.h"

#include "ui/CCalculatorDlg.h"

#include "settings/CSystemSettings.h"
#include "geometry/WorkUnits.h"

#include <QLabel>
#include <QPushButton>

namespace {

class CalculatorDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings().SetDefaults();  // centimetres, two decimals
    }
    // Opens the calculator on a length, as a prompt does.
    void Open(int value)
    {
        dialog = std::make_unique<CCalculatorDlg>(100);
        dialog->m_nValue = value;
        dialog->show();
    }
    void Press(int id)
    {
        QPushButton* button = dialog->Button(id);
        ASSERT_NE(button, nullptr) << id;
        button->click();
    }
    QString Expression() const { return dialog->ExpressionEdit()->text(); }
    QString Result() const { return dialog->ResultLabel()->text(); }

    std::unique_ptr<CCalculatorDlg> dialog;
};

} // namespace

TEST_F(CalculatorDlgTest, OpensOnTheLengthInTheWorkUnit)
{
    Open(12500);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("计算器"));
    EXPECT_EQ(dialog->Button(1)->text(), QStringLiteral("确定(&O)"));
    EXPECT_EQ(Expression(), QStringLiteral("12.5"));
    EXPECT_EQ(dialog->ExpressionEdit()->selectedText(), QStringLiteral("12.5"));
    EXPECT_EQ(Result(), QStringLiteral("=12.5cm"));
    EXPECT_FALSE(dialog->Button(1046)->isEnabled()) << "no inch mark in centimetres";
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->m_nValue, 12500);
}

TEST_F(CalculatorDlgTest, KeysEditAtTheCaretAndTheResultFollows)
{
    Open(0);
    // The opening text is selected: the first key replaces it.
    Press(1031);  // 2
    Press(1042);  // x inserts *
    Press(1044);  // (
    Press(1032);  // 3
    Press(1040);  // +
    Press(1033);  // 4
    Press(1045);  // )
    EXPECT_EQ(Expression(), QStringLiteral("2*(3+4)"));
    EXPECT_EQ(Result(), QStringLiteral("=14cm"));
    Press(1002);  // backspace
    EXPECT_EQ(Expression(), QStringLiteral("2*(3+4"));
    EXPECT_EQ(Result(), QStringLiteral("? "));
    dialog->ExpressionEdit()->setCursorPosition(1);
    Press(1039);  // .
    Press(1029);  // 0
    Press(1030);  // 1
    EXPECT_EQ(Expression(), QStringLiteral("2.01*(3+4"));
    dialog->ExpressionEdit()->setSelection(0, 4);
    Press(1038);  // 9 replaces the selection
    EXPECT_EQ(Expression(), QStringLiteral("9*(3+4"));
    Press(1022);  // clear
    EXPECT_EQ(Expression(), QString());
    EXPECT_EQ(Result(), QStringLiteral("? "));
    EXPECT_EQ(dialog->focusWidget(), dialog->ExpressionEdit());
}

TEST_F(CalculatorDlgTest, InvalidOrInfiniteResultsAreNotHandedBack)
{
    Open(1000);
    for (const char* text : {"1/0", "0/0", "2*-3", "", "1e400", "100001", "(5"}) {
        dialog->ExpressionEdit()->setText(QString::fromLatin1(text));
        EXPECT_EQ(Result(), QStringLiteral("? ")) << text;
        dialog->accept();
        EXPECT_NE(dialog->result(), QDialog::Accepted) << text;
        EXPECT_EQ(dialog->m_nValue, 1000) << text;
    }
    dialog->ExpressionEdit()->setText(QStringLiteral("1/3"));
    EXPECT_EQ(Result(), QStringLiteral("=0.333333cm"));
    dialog->accept();
    EXPECT_EQ(dialog->m_nValue, 333);
}

TEST_F(CalculatorDlgTest, InchFractionsShowSixtyFourths)
{
    Settings().m_nWorkUnit = kWorkUnitInchFraction;
    Settings().m_nPrecision = 16;
    Open(2540);
    EXPECT_EQ(Expression(), QStringLiteral("1"));
    EXPECT_TRUE(dialog->Button(1046)->isEnabled());
    dialog->ExpressionEdit()->setCursorPosition(1);
    Press(1040);                 // +
    Press(1030);                 // 1
    Press(1046);                 // "
    Press(1032);                 // 3
    Press(1043);                 // /
    Press(1033);                 // 4
    EXPECT_EQ(Expression(), QStringLiteral("1+1\"3/4"));
    EXPECT_EQ(Result(), QStringLiteral("=2.75(2\"3/4)in."));
    dialog->accept();
    EXPECT_EQ(dialog->m_nValue, 6985);
}
