#include "settings/CMessageHub.h"

#include "ui/CArrowTypeMenuButton.h"
#include "ui/CColorMenuButton.h"
#include "ui/CTFTypeMenuButton.h"
#include "res/CommandIds.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QToolButton>

#include <vector>

namespace {

// Everything the hub carried while a test ran.
struct HubLog : QObject {
    std::vector<std::pair<qint64, int>> colours;
    std::vector<std::pair<int, int>> arrows;
    std::vector<int> alignments;
    HubLog()
    {
        CMessageHub& hub = CMessageHub::Instance();
        connect(&hub, &CMessageHub::ColorChanged, this, [this](COLORREF c, int id) { colours.emplace_back(c, id); });
        connect(&hub, &CMessageHub::ArrowTypeChanged, this, [this](int k, int id) { arrows.emplace_back(k, id); });
        connect(&hub, &CMessageHub::TextAlignmentChanged, this, [this](int a) { alignments.push_back(a); });
    }
};

// The popup's cells in grid order (the automatic entry and wide entries
// carry text, the cells do not).
std::vector<QToolButton*> Cells(const CPickerMenuButton& button)
{
    std::vector<QToolButton*> cells;
    for (QToolButton* b : button.PopupWidget()->findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly))
        if (b->text().isEmpty()) cells.push_back(b);
    return cells;
}

QToolButton* EntryWithText(const CPickerMenuButton& button, const QString& text)
{
    for (QToolButton* b : button.PopupWidget()->findChildren<QToolButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

} // namespace

TEST(PickerMenuButtonTest, ColourCellSendsItsColourAndCommandAndShowsOnEveryButtonOfTheCommand)
{
    HubLog log;
    CColorMenuButton picker(ID_GRADIENT_START);
    CColorMenuButton sameCommand(ID_GRADIENT_START);
    CColorMenuButton otherCommand(ID_GRADIENT_END);
    otherCommand.SetColor(0x123456, TRUE);

    const auto cells = Cells(picker);
    ASSERT_EQ(cells.size(), 40u);
    cells[18]->click(); // row 3, column 3: 32CD32

    ASSERT_EQ(log.colours.size(), 1u);
    EXPECT_EQ(log.colours[0], std::make_pair(qint64(0x32CD32), ID_GRADIENT_START)); // 0x00BBGGRR of (50,205,50)
    EXPECT_EQ(picker.GetColor(), 0x32CD32u);
    EXPECT_EQ(sameCommand.GetColor(), 0x32CD32u);
    EXPECT_EQ(otherCommand.GetColor(), 0x123456u);
}

TEST(PickerMenuButtonTest, ColourGridHoldsTheFortyColoursInRowOrder)
{
    const auto& colours = CColorMenuButton::PopupColors();
    EXPECT_EQ(colours[0], 0x000000u);
    EXPECT_EQ(colours[5], 0x8B0000u);  // 00008B: dark blue
    EXPECT_EQ(colours[16], 0x0000FFu); // FF0000: red
    EXPECT_EQ(colours[39], 0xFFFFFFu);
}

TEST(PickerMenuButtonTest, AutomaticColourSendsMinusOneOnlyWhenOffered)
{
    HubLog log;
    CColorMenuButton picker(ID_LINE_COLOR);
    QToolButton* automatic = EntryWithText(picker, QStringLiteral("自动颜色"));
    ASSERT_NE(automatic, nullptr);
    EXPECT_TRUE(automatic->isHidden());
    picker.SetShowAutomatic(true);
    EXPECT_FALSE(automatic->isHidden());
    automatic->click();
    ASSERT_EQ(log.colours.size(), 1u);
    EXPECT_EQ(log.colours[0], std::make_pair(qint64(0xFFFFFFFF), ID_LINE_COLOR));
    EXPECT_EQ(picker.GetColor(), CColorMenuButton::kAutomaticColor);
}

TEST(PickerMenuButtonTest, DefineColourAsksTheFrameAndSendsNothing)
{
    HubLog log;
    CColorMenuButton picker(ID_FONT_COLOR);
    picker.SetColor(0x00FF00, TRUE);
    int requested = 0;
    QObject::connect(&picker, &CColorMenuButton::OtherColorRequested, [&requested](int id) { requested = id; });
    QToolButton* define = EntryWithText(picker, QStringLiteral("定义颜色......"));
    ASSERT_NE(define, nullptr);
    define->click();
    // The request follows once the popup is gone.
    EXPECT_EQ(requested, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(requested, ID_FONT_COLOR);
    EXPECT_TRUE(log.colours.empty());
    EXPECT_EQ(picker.GetColor(), 0x00FF00u);
}

TEST(PickerMenuButtonTest, OpeningThePopupMarksTheCurrentColourOnly)
{
    CColorMenuButton picker(ID_LINE_COLOR);
    picker.SetColor(0x0000FF, FALSE); // red, cell 16
    picker.UpdateSelection();
    const auto cells = Cells(picker);
    for (std::size_t i = 0; i < cells.size(); ++i) EXPECT_EQ(cells[i]->isChecked(), i == 16) << i;
    picker.SetColor(0x010203, FALSE);
    picker.UpdateSelection();
    for (QToolButton* c : Cells(picker)) EXPECT_FALSE(c->isChecked());
}

TEST(PickerMenuButtonTest, ArrowCellsSendKindAndTheirEndsCommand)
{
    struct Case {
        int command;
        int cell;
    };
    for (const Case c : {Case{ID_START_ARROW, 1}, Case{ID_END_ARROW, 3}, Case{ID_END_ARROW, 0}}) {
        HubLog log;
        CArrowTypeMenuButton picker(c.command);
        picker.SetArrowType(2, TRUE);
        const auto cells = Cells(picker);
        ASSERT_EQ(cells.size(), 4u);
        cells[std::size_t(c.cell)]->click();
        ASSERT_EQ(log.arrows.size(), 1u);
        EXPECT_EQ(log.arrows[0], std::make_pair(c.cell, c.command));
        EXPECT_EQ(picker.GetArrowType(), c.cell);
    }
}

TEST(PickerMenuButtonTest, ArrowAutomaticEntryIsAlwaysOfferedAndMeansNoHead)
{
    HubLog log;
    CArrowTypeMenuButton picker(ID_START_ARROW);
    picker.SetArrowType(3, TRUE);
    QToolButton* automatic = EntryWithText(picker, QStringLiteral("自动"));
    ASSERT_NE(automatic, nullptr);
    EXPECT_FALSE(automatic->isHidden());
    automatic->click();
    ASSERT_EQ(log.arrows.size(), 1u);
    EXPECT_EQ(log.arrows[0], std::make_pair(0, ID_START_ARROW));
}

TEST(PickerMenuButtonTest, AlignmentCellsSendTheirValueInRowOrder)
{
    HubLog log;
    CTFTypeMenuButton picker(ID_ALIGNMENT);
    CTFTypeMenuButton mirror(ID_ALIGNMENT);
    const auto cells = Cells(picker);
    ASSERT_EQ(cells.size(), 9u);
    cells[7]->click(); // bottom row, centre
    ASSERT_EQ(log.alignments, std::vector<int>{7});
    EXPECT_EQ(picker.GetTFType(), 7);
    EXPECT_EQ(mirror.GetTFType(), 7);
    EXPECT_TRUE(EntryWithText(picker, QStringLiteral("自动"))->isHidden());
}
