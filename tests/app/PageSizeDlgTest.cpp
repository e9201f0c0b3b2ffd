#include "app/CPageSizeDlg.h"

#include "settings/CSystemSettings.h"
#include "res/StringTable.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>

namespace {

using Forms = std::vector<CPageSizeDlg::PaperForm>;

const Forms kForms{
    {QStringLiteral("Letter"), 2159, 2794},
    {QStringLiteral("A4"), 2100, 2970},
    {QStringLiteral("A4 again"), 2100, 2970},
    {QStringLiteral("A3"), 2970, 4200},
};

class PageSizeDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings().SetDefaults();
        Settings().m_nWorkUnit = 3; // millimetres
        Settings().m_nPrecision = 100;
        dlg.SetPaperForms(kForms);
        dlg.m_nPaperWidth = 21000;
        dlg.m_nPaperHeight = 29700;
        dlg.m_nMarginTop = 500;
        dlg.m_nMarginBottom = 600;
        dlg.m_nMarginLeft = 700;
        dlg.m_nMarginRight = 800;
        dlg.OnInitDialog();
    }

    QLineEdit* Edit(int id) const { return dlg.Edit(id); }
    void Type(int id, const QString& text)
    {
        Edit(id)->setText(text);
        dlg.OnChangeSize();
    }

    CPageSizeDlg dlg;
};

} // namespace

TEST(PageSizeDlgMatch, AFormMatchesWithinHalfAMillimetre)
{
    struct Case {
        int width;
        int height;
        int form;
    };
    const Case cases[] = {
        {21000, 29700, 1}, // the first of two equal forms
        {21040, 29700, 1},
        {21050, 29700, 4}, // none: the custom entry
        {29700, 42000, 3},
        {21590, 27940, 0},
        {29700, 21000, 4}, // forms are portrait
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPageSizeDlg::MatchPaperForm(kForms, c.width, c.height, 100), c.form) << c.width << "x" << c.height;
    // Another unit: ten units per millimetre.
    EXPECT_EQ(CPageSizeDlg::MatchPaperForm(kForms, 2100, 2970, 10), 1);
    EXPECT_EQ(CPageSizeDlg::MatchPaperForm(Forms(), 21000, 29700, 100), 0);
}

TEST_F(PageSizeDlgTest, OpeningShowsTheDocumentsPaperInTheWorkUnit)
{
    EXPECT_EQ(Edit(CPageSizeDlg::IDC_WIDTH)->text(), QStringLiteral("210"));
    EXPECT_EQ(Edit(CPageSizeDlg::IDC_HEIGHT)->text(), QStringLiteral("297"));
    EXPECT_EQ(Edit(CPageSizeDlg::IDC_TOP)->text(), QStringLiteral("5"));
    EXPECT_EQ(Edit(CPageSizeDlg::IDC_RIGHT)->text(), QStringLiteral("8"));
    ASSERT_EQ(dlg.PaperList()->count(), int(kForms.size()) + 1);
    EXPECT_EQ(dlg.PaperList()->itemText(int(kForms.size())), LoadResString(CPageSizeDlg::IDS_CUSTOM_PAPER));
    EXPECT_EQ(dlg.PaperList()->currentIndex(), 1);
    EXPECT_EQ(dlg.GetSelectedPaper(), 1);

    Settings().m_nWorkUnit = 2; // centimetres
    dlg.OnInitDialog();
    EXPECT_EQ(Edit(CPageSizeDlg::IDC_WIDTH)->text(), QStringLiteral("21"));
    int unitLabels = 0;
    for (const QLabel* label : dlg.findChildren<QLabel*>())
        if (label->text() == QStringLiteral("cm")) ++unitLabels;
    EXPECT_EQ(unitLabels, 6);
}

TEST_F(PageSizeDlgTest, AChosenFormFillsWidthAndHeight)
{
    dlg.OnSelChangePaper(3);
    EXPECT_EQ(Edit(CPageSizeDlg::IDC_WIDTH)->text(), QStringLiteral("297"));
    EXPECT_EQ(Edit(CPageSizeDlg::IDC_HEIGHT)->text(), QStringLiteral("420"));
    // The custom entry changes nothing.
    dlg.OnSelChangePaper(4);
    EXPECT_EQ(Edit(CPageSizeDlg::IDC_WIDTH)->text(), QStringLiteral("297"));
}

TEST_F(PageSizeDlgTest, TypedSizesSelectTheMatchingForm)
{
    Type(CPageSizeDlg::IDC_WIDTH, QStringLiteral("215.9"));
    Type(CPageSizeDlg::IDC_HEIGHT, QStringLiteral("279.4"));
    EXPECT_EQ(dlg.PaperList()->currentIndex(), 0);
    Type(CPageSizeDlg::IDC_WIDTH, QStringLiteral("100"));
    EXPECT_EQ(dlg.PaperList()->currentIndex(), 4);
}

TEST_F(PageSizeDlgTest, OkTakesSizesThatLeaveRoom)
{
    struct Case {
        const char* name;
        int field;
        QString text;
        bool accepted;
    };
    const Case cases[] = {
        {"width of 50 mm", CPageSizeDlg::IDC_WIDTH, QStringLiteral("50"), false},
        {"width of 50.01 mm", CPageSizeDlg::IDC_WIDTH, QStringLiteral("50.01"), true},
        {"height of 50 mm", CPageSizeDlg::IDC_HEIGHT, QStringLiteral("50"), false},
        {"width of 10 m", CPageSizeDlg::IDC_WIDTH, QStringLiteral("10000"), true},
        {"width past 10 m", CPageSizeDlg::IDC_WIDTH, QStringLiteral("10000.01"), false},
        {"height past any int", CPageSizeDlg::IDC_HEIGHT, QStringLiteral("99999999999"), false},
        {"margins filling the width", CPageSizeDlg::IDC_LEFT, QStringLiteral("202"), false},
        {"margins filling the height", CPageSizeDlg::IDC_BOTTOM, QStringLiteral("292"), false},
        {"margins just inside", CPageSizeDlg::IDC_LEFT, QStringLiteral("201.99"), true},
        {"not a number", CPageSizeDlg::IDC_HEIGHT, QStringLiteral("abc"), false},
    };
    for (const Case& c : cases) {
        dlg.OnInitDialog();
        dlg.setResult(QDialog::Rejected);
        Edit(c.field)->setText(c.text);
        EXPECT_EQ(dlg.OnOK(), c.accepted) << c.name;
        EXPECT_EQ(dlg.result() == QDialog::Accepted, c.accepted) << c.name;
        if (c.accepted) {
            EXPECT_EQ(dlg.m_nMarginTop, 500) << c.name;
        } else {
            EXPECT_EQ(dlg.m_nPaperWidth, 21000) << c.name;
            EXPECT_EQ(dlg.m_nMarginLeft, 700) << c.name;
        }
        // Back to the document's values for the next case.
        dlg.m_nPaperWidth = 21000;
        dlg.m_nPaperHeight = 29700;
        dlg.m_nMarginLeft = 700;
        dlg.m_nMarginBottom = 600;
    }
    dlg.OnInitDialog();
    Edit(CPageSizeDlg::IDC_WIDTH)->setText(QStringLiteral("300"));
    ASSERT_TRUE(dlg.OnOK());
    EXPECT_EQ(dlg.m_nPaperWidth, 30000);
    EXPECT_EQ(dlg.m_nMarginRight, 800);
}

TEST_F(PageSizeDlgTest, ANegativeMarginIsRefusedWithAMessage)
{
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->close();
        }
    });
    Edit(CPageSizeDlg::IDC_RIGHT)->setText(QStringLiteral("-1"));
    EXPECT_FALSE(dlg.OnOK());
    EXPECT_EQ(shown, QStringLiteral("右边距不能小于0!"));
    EXPECT_EQ(dlg.m_nMarginRight, 800);
}
