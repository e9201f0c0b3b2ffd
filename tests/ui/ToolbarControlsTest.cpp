#include "settings/CMessageHub.h"
#include "settings/CSystemSettings.h"

#include "ui/CEndArrowAngleCombo.h"
#include "ui/CFillTypeCombo.h"
#include "ui/CFontSizeCombo.h"
#include "ui/CLineTypeCombo.h"
#include "ui/CStartArrowAngleCombo.h"
#include "ui/CToolbarCombo.h"
#include "ui/CToolbarEdit.h"
#include "res/CommandIds.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>

#include <vector>

namespace {

struct HubLog : QObject {
    std::vector<std::pair<int, int>> params;
    std::vector<int> lineTypes;
    int fills = 0;
    int fonts = 0;
    int answer = 1;
    HubLog()
    {
        CMessageHub& hub = CMessageHub::Instance();
        connect(&hub, &CMessageHub::LineParamChanged, this, [this](int id, int v) {
            params.emplace_back(id, v);
            return answer;
        });
        connect(&hub, &CMessageHub::LineTypeChanged, this, [this](int i) { lineTypes.push_back(i); });
        connect(&hub, &CMessageHub::FillTypeChanged, this, [this] { ++fills; });
        connect(&hub, &CMessageHub::FontChanged, this, [this] { ++fonts; });
    }
};

void Type(QWidget* w, const QString& text)
{
    for (QChar c : text) {
        const int key = c.isDigit() ? Qt::Key_0 + c.digitValue() : (c == QLatin1Char('.') ? Qt::Key_Period : Qt::Key_A);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(w, &press);
    }
}

CLineAttr CustomLineType()
{
    CPointList points;
    points.AddTail(CPoint(0, 0));
    points.AddTail(CPoint(1200, 300));
    CLineTypeShapeArray shapes{CLineTypeShape(10, 0, points)};
    return CLineAttr::Custom(10, 50, shapes);
}

class ToolbarControlsTest : public ::testing::Test {
protected:
    void SetUp() override { Settings().SetDefaults(); }
};

} // namespace

TEST_F(ToolbarControlsTest, HubAnswersWhatTheViewAnswers)
{
    EXPECT_EQ(CMessageHub::Instance().SendLineParamChange(ID_OFFSET_DISTANCE, 5), 0); // nobody listens
    HubLog log;
    log.answer = 0;
    EXPECT_EQ(CMessageHub::Instance().SendLineParamChange(ID_PARAM_1, 0), 0);
    log.answer = 1;
    EXPECT_EQ(CMessageHub::Instance().SendLineParamChange(ID_PARAM_2, 0), 1);
}

TEST_F(ToolbarControlsTest, LengthBoxSendsEveryKeystrokeInPageUnitsAndRefusesLetters)
{
    HubLog log;
    CToolbarEdit edit(ID_OFFSET_DISTANCE);
    Type(&edit, QStringLiteral("1.5"));
    const std::vector<std::pair<int, int>> sent = {
        {ID_OFFSET_DISTANCE, 1000}, {ID_OFFSET_DISTANCE, 1000}, {ID_OFFSET_DISTANCE, 1500}};
    EXPECT_EQ(log.params, sent); // centimetres: "1" and "1." are 10 mm
    Type(&edit, QStringLiteral("x"));
    EXPECT_EQ(edit.text(), QStringLiteral("1.5"));
    EXPECT_EQ(log.params.size(), 3u);
}

TEST_F(ToolbarControlsTest, LengthBoxReadsTheWorkUnit)
{
    struct Case {
        int unit;
        const char* text;
        int value;
    };
    for (const Case c : {Case{2, "2", 2000}, Case{3, "2", 200}, Case{1, "1", 2540}, Case{0, "1/2", 1270}}) {
        Settings().m_nWorkUnit = c.unit;
        CToolbarEdit edit(ID_PARAM_2);
        edit.SetValueText(QString::fromLatin1(c.text));
        EXPECT_EQ(edit.Value(), c.value) << c.unit;
    }
}

TEST_F(ToolbarControlsTest, AngleBoxSendsWholeDegreesAndEnterSends)
{
    HubLog log;
    CToolbarEdit edit(ID_END_ARROW_ANGLE);
    edit.SetValueText(QStringLiteral("45.7"));
    EXPECT_TRUE(log.params.empty());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&edit, &enter);
    ASSERT_EQ(log.params.size(), 1u);
    EXPECT_EQ(log.params[0], std::make_pair(ID_END_ARROW_ANGLE, 45));
}

TEST_F(ToolbarControlsTest, LineWidthChoiceSendsTheWidthOfTheWorkUnit)
{
    struct Case {
        int unit;
        int index;
        int width;
    };
    for (const Case c : {Case{2, 0, 10}, Case{2, 5, 130}, Case{3, 9, 89}, Case{1, 3, 127}}) {
        Settings().m_nWorkUnit = c.unit;
        HubLog log;
        CToolbarCombo combo;
        ASSERT_EQ(combo.count(), 10);
        Q_EMIT combo.activated(c.index);
        ASSERT_EQ(log.params.size(), 1u);
        EXPECT_EQ(log.params[0], std::make_pair(ID_LINE_WIDTH, c.width)) << c.unit;
    }
}

TEST_F(ToolbarControlsTest, LineWidthShowsTheCurrentLineTypesWidth)
{
    CToolbarCombo centimetres;
    EXPECT_EQ(centimetres.currentText(), QStringLiteral("1")); // default width 10 = 0.1 mm
    Settings().m_nWorkUnit = 3;
    CToolbarCombo millimetres;
    EXPECT_EQ(millimetres.currentIndex(), -1);
}

TEST_F(ToolbarControlsTest, LineTypeComboHoldsTheListAndReportsOnlyTheUsersChoice)
{
    HubLog log;
    Settings().m_nCurLineType = 2;
    CLineTypeCombo combo;
    EXPECT_EQ(combo.count(), int(Settings().m_aLineTypes.size()));
    EXPECT_EQ(combo.currentIndex(), 2);
    combo.SyncWithSettings();
    EXPECT_TRUE(log.lineTypes.empty());
    combo.setCurrentIndex(4);
    EXPECT_EQ(log.lineTypes, std::vector<int>{4});
}

TEST_F(ToolbarControlsTest, DeleteRemovesOnlyCustomLineTypesThatAreNotCurrent)
{
    CSystemSettings& s = Settings();
    ASSERT_TRUE(s.AddLineType(CustomLineType())); // 9
    ASSERT_TRUE(s.AddLineType(CustomLineType())); // 10
    s.m_nCurLineType = 10;
    CLineTypeCombo combo;
    auto pressDelete = [&combo](int index) {
        combo.SelectQuietly(index);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
        QCoreApplication::sendEvent(&combo, &release);
    };
    pressDelete(4); // built in
    pressDelete(10); // current
    EXPECT_EQ(s.m_aLineTypes.size(), 11u);
    pressDelete(9);
    EXPECT_EQ(s.m_aLineTypes.size(), 10u);
    EXPECT_EQ(s.m_aLineTypePreviews.size(), 5u);
    EXPECT_EQ(s.m_nCurLineType, 9); // the same line type, one place down
    EXPECT_EQ(combo.count(), 10);
    EXPECT_EQ(combo.currentIndex(), 9);
}

TEST_F(ToolbarControlsTest, FillChoiceIsStoredAndReportedButNotWhenTheProgramSelects)
{
    HubLog log;
    CFillTypeCombo combo;
    ASSERT_EQ(combo.count(), 8);
    EXPECT_EQ(combo.itemText(7), QStringLiteral("线条填充"));
    combo.SelectFillType(3);
    EXPECT_EQ(Settings().m_nFillType, 0);
    EXPECT_EQ(log.fills, 0);
    combo.setCurrentIndex(5);
    EXPECT_EQ(Settings().m_nFillType, 5);
    EXPECT_EQ(log.fills, 1);
}

TEST_F(ToolbarControlsTest, FontSizeSetsTheDefaultFontsHeightAndReports)
{
    HubLog log;
    CFontSizeCombo combo;
    EXPECT_EQ(combo.currentText(), QStringLiteral("12")); // 318 hundredths of a mm: the last entry within 4
    const int twelve = combo.findText(QStringLiteral("12"));
    combo.setCurrentIndex(twelve);
    Q_EMIT combo.activated(twelve);
    EXPECT_EQ(Settings().m_lfDefaultFont.lfHeight, 318);
    EXPECT_EQ(log.fonts, 1);
    combo.SelectCurrentSize();
    EXPECT_EQ(combo.currentText(), QStringLiteral("小四")); // the first size within 4
}

TEST_F(ToolbarControlsTest, ArrowSizeChoiceIsStoredWithoutReport)
{
    HubLog log;
    CStartArrowAngleCombo start;
    CEndArrowAngleCombo end;
    EXPECT_EQ(start.currentIndex(), -1); // 600 has no entry
    EXPECT_EQ(start.placeholderText(), QStringLiteral("0.6")); // but shows
    start.setCurrentIndex(2);
    Q_EMIT start.activated(2);
    end.setCurrentIndex(9);
    Q_EMIT end.activated(9);
    EXPECT_EQ(Settings().m_nStartArrowSize, 3000);
    EXPECT_EQ(Settings().m_nEndArrowSize, 10000);
    EXPECT_TRUE(log.params.empty());
}

// At the default size 600 the box is not blank: it shows the size as an
// entry would show it, and choosing an entry then shows that entry.
TEST_F(ToolbarControlsTest, ArrowSizeBetweenTheEntriesStillShowsInTheBox)
{
    auto render = [](QComboBox& box) {
        box.resize(60, 22);
        QImage image(box.size(), QImage::Format_RGB32);
        box.render(&image);
        return image;
    };
    QComboBox plain;
    plain.addItem(QStringLiteral("0.6"));
    CStartArrowAngleCombo start;
    CEndArrowAngleCombo end;
    EXPECT_EQ(render(start), render(plain));
    EXPECT_EQ(render(end), render(plain));

    const int three = start.findText(QStringLiteral("3"));
    start.setCurrentIndex(three);
    Q_EMIT start.activated(three);
    start.SyncWithSettings();
    EXPECT_EQ(start.currentText(), QStringLiteral("3"));
    EXPECT_TRUE(start.placeholderText().isEmpty());

    struct Case {
        int size;
        const char* text;
    };
    for (const Case& c : {Case{600, "0.6"}, Case{1000, "1"}, Case{1250, "1.25"}, Case{10000, "10"}})
        EXPECT_EQ(CStartArrowAngleCombo::SizeText(c.size), QString::fromUtf8(c.text)) << c.size;
}
