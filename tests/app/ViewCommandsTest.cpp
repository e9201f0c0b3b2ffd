#include "ViewTestSupport.h"

#include "PageContent.h"

#include "settings/CMessageHub.h"
#include "app/CSheetTabBar.h"
#include "app/CVEKSrvrItem.h"
#include "model/COleObjectElement.h"
#include "model/CVEKCntrItem.h"
#include "app/CPageSizeDlg.h"
#include "res/CommandIds.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QTimer>

#include <memory>

namespace {

// Logs the attribute, clipboard and table operations that reach it.
class CommandSpyTool : public CDesignTool {
public:
    CommandSpyTool(CVEKView* view, std::vector<std::string>* log) : CDesignTool(view), m_log(log) {}

    BOOL canMerge = FALSE;
    BOOL canInsertColumn = FALSE;
    // What Copy and Cut work on; null leaves them disabled.
    CGraphElement* selected = nullptr;

    void Reset() override { Log("Reset"); }
    void OnEditCopy() override
    {
        Log("OnEditCopy");
        CVEKSrvrItem::GetEmbeddedItem(GetDocument())->CopyElementToClipboard(selected);
    }
    void OnEditCut() override { Log("OnEditCut"); }
    BOOL CanCopy() override { return selected ? TRUE : FALSE; }
    void OnLineColorChanged() override { Log("OnLineColorChanged"); }
    void OnLineColor() override { Log("OnLineColor"); }
    void OnFontColor() override { Log("OnFontColor"); }
    void OnCellColor() override { Log("OnCellColor"); }
    void OnFont() override { Log("OnFont"); }
    void OnLineType() override { Log("OnLineType"); }
    void OnStartArrow() override { Log("OnStartArrow"); }
    void OnEndArrow() override { Log("OnEndArrow"); }
    void OnAlignment() override { Log("OnAlignment"); }
    BOOL CanMergeCells() override { return canMerge; }
    void MergeCells() override { Log("MergeCells"); }
    void SplitCells() override { Log("SplitCells"); }
    void InsertColumnLeft() override { Log("InsertColumnLeft"); }
    BOOL CanInsertColumn() override { return canInsertColumn; }
    void InsertColumnRight() override { Log("InsertColumnRight"); }
    void InsertRowBefore() override { Log("InsertRowBefore"); }
    void InsertRowAfter() override { Log("InsertRowAfter"); }
    void ToggleDiagonalA() override { Log("ToggleDiagonalA"); }
    void ToggleDiagonalB() override { Log("ToggleDiagonalB"); }
    void DeleteRow() override { Log("DeleteRow"); }
    void DeleteColumn() override { Log("DeleteColumn"); }
    void TableProperties() override { Log("TableProperties"); }
    void OnFillType() override { Log("OnFillType"); }
    void OnGradientStartColor() override { Log("OnGradientStartColor"); }
    void OnGradientEndColor() override { Log("OnGradientEndColor"); }

private:
    void Log(const char* what) { m_log->push_back(what); }
    std::vector<std::string>* m_log;
};

class ViewCommandsTest : public ViewFixture {
protected:
    void SetUp() override
    {
        ViewFixture::SetUp();
        QGuiApplication::clipboard()->clear();
        auto spy = std::make_unique<CommandSpyTool>(view.get(), &log);
        tool = spy.get();
        view->ReplaceTool(CVEKView::kCurveTool, std::move(spy));
    }

    // The index of the first line type of a kind, made when the list has
    // none.
    int LineTypeOfKind(int kind, const CLineAttr& made)
    {
        std::vector<CLineAttr>& types = Settings().m_aLineTypes;
        for (std::size_t i = 0; i < types.size(); ++i)
            if (types[i].GetKind() == kind) return int(i);
        types[1] = made;
        return 1;
    }

    CLineAttr& CurrentLineType() { return Settings().m_aLineTypes[std::size_t(Settings().m_nCurLineType)]; }

    bool Enabled(int id)
    {
        view->UpdateCommandActions();
        QAction* action = view->CommandAction(id);
        EXPECT_NE(action, nullptr) << id;
        return action && action->isEnabled();
    }

    CommandSpyTool* tool = nullptr;
};

using Log = std::vector<std::string>;

} // namespace

// --- The choices of the tool-bar controls --------------------------------------------

TEST_F(ViewCommandsTest, AColourChosenInTheHubLandsInTheSettingsAndReachesTheTool)
{
    struct Case {
        int command;
        COLORREF CSystemSettings::*field;
        const char* operation;
    };
    const Case cases[] = {
        {ID_LINE_COLOR, &CSystemSettings::m_crLineColor, "OnLineColorChanged"},
        {ID_FONT_COLOR, &CSystemSettings::m_crFontColor, "OnFontColor"},
        {ID_CELL_COLOR, &CSystemSettings::m_crCellBackColor, "OnCellColor"},
        {ID_GRADIENT_START, &CSystemSettings::m_crGradientStart, "OnGradientStartColor"},
        {ID_GRADIENT_END, &CSystemSettings::m_crGradientEnd, "OnGradientEndColor"},
    };
    COLORREF colour = RGB(10, 20, 30);
    for (const Case& c : cases) {
        log.clear();
        CMessageHub::Instance().SendColorChange(colour, c.command);
        EXPECT_EQ(Settings().*c.field, colour) << c.command;
        EXPECT_EQ(log, Log({c.operation})) << c.command;
        colour += RGB(1, 1, 1);
    }

    // A button the view does not know changes nothing.
    const CSystemSettings before = Settings();
    log.clear();
    CMessageHub::Instance().SendColorChange(RGB(1, 2, 3), ID_EDIT_CANCEL);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Settings().m_crLineColor, before.m_crLineColor);
}

TEST_F(ViewCommandsTest, ALineTypeInsideTheListBecomesCurrentAndReachesTheTool)
{
    CMessageHub::Instance().SendLineTypeChange(3);
    EXPECT_EQ(Settings().m_nCurLineType, 3);
    EXPECT_EQ(log, Log({"OnLineType"}));

    log.clear();
    const int count = int(Settings().m_aLineTypes.size());
    for (int outside : {count, count + 10, -1}) {
        CMessageHub::Instance().SendLineTypeChange(outside);
        EXPECT_EQ(Settings().m_nCurLineType, 3) << outside;
    }
    EXPECT_TRUE(log.empty());
}

TEST_F(ViewCommandsTest, AWidthChangesTheCurrentLineTypeAndReachesTheTool)
{
    Settings().m_nCurLineType = LineTypeOfKind(LINE_DOT, CLineAttr::Dotted(30));
    EXPECT_EQ(CMessageHub::Instance().SendLineParamChange(ID_LINE_WIDTH, 45), 1);
    EXPECT_EQ(CurrentLineType().GetWidth(), 45);
    // Dots are as long as the line is wide.
    EXPECT_EQ(CurrentLineType().GetParam(1), 45);
    EXPECT_EQ(log, Log({"OnLineType"}));

    // The same width again changes nothing, so the tool is not bothered.
    log.clear();
    EXPECT_EQ(CMessageHub::Instance().SendLineParamChange(ID_LINE_WIDTH, 45), 1);
    EXPECT_TRUE(log.empty());

    // Below 1 is refused.
    EXPECT_EQ(CMessageHub::Instance().SendLineParamChange(ID_LINE_WIDTH, 0), 0);
    EXPECT_EQ(CurrentLineType().GetWidth(), 45);
    EXPECT_TRUE(log.empty());
}

TEST_F(ViewCommandsTest, LineParametersGoWhereTheKindHasThem)
{
    Settings().m_nCurLineType = LineTypeOfKind(LINE_DASH, CLineAttr::Dashed(20));
    const CLineAttr before = CurrentLineType();
    CMessageHub& hub = CMessageHub::Instance();

    // A plain dash has no third parameter: taken, but nothing changes.
    EXPECT_EQ(hub.SendLineParamChange(ID_PARAM_3, 77), 1);
    EXPECT_EQ(CurrentLineType().GetParam(3), before.GetParam(3));

    EXPECT_EQ(hub.SendLineParamChange(ID_PARAM_1, 500), 1);
    EXPECT_EQ(CurrentLineType().GetParam(1), 500);
    // Gaps may be 0 or negative; a dash may not.
    EXPECT_EQ(hub.SendLineParamChange(ID_PARAM_2, 0), 1);
    EXPECT_EQ(CurrentLineType().GetParam(2), 0);
    EXPECT_EQ(hub.SendLineParamChange(ID_PARAM_2, -30), 1);
    EXPECT_EQ(CurrentLineType().GetParam(2), -30);
    EXPECT_EQ(hub.SendLineParamChange(ID_PARAM_1, 0), 0);
    EXPECT_EQ(CurrentLineType().GetParam(1), 500);

    // The single settings.
    EXPECT_EQ(hub.SendLineParamChange(ID_OFFSET_DISTANCE, 250), 1);
    EXPECT_EQ(Settings().m_nOffsetDistance, 250);
    EXPECT_EQ(hub.SendLineParamChange(ID_START_ARROW_ANGLE, 30), 1);
    EXPECT_DOUBLE_EQ(Settings().m_dStartArrowAngle, 30.0);
    EXPECT_EQ(hub.SendLineParamChange(ID_END_ARROW_ANGLE, 45), 1);
    EXPECT_DOUBLE_EQ(Settings().m_dEndArrowAngle, 45.0);

    // Typed values arrive key by key: they wait for the next curve instead
    // of taking an undo step per key.
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(doc.UndoCount(), 0);
}

TEST_F(ViewCommandsTest, DashTriplesTakeAllSixParameters)
{
    Settings().m_nCurLineType = LineTypeOfKind(LINE_DASH_TRIPLE, CLineAttr::DashTriple(20));
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(CMessageHub::Instance().SendLineParamChange(ID_PARAM_1 + n - 1, 102 + n), 1);
        EXPECT_EQ(CurrentLineType().GetParam(n), 102 + n);
    }
}

TEST_F(ViewCommandsTest, ArrowheadsLandInTheSettingsAndReachTheTool)
{
    CMessageHub::Instance().SendArrowTypeChange(2, ID_START_ARROW);
    EXPECT_EQ(Settings().m_nStartArrowType, 2);
    CMessageHub::Instance().SendArrowTypeChange(3, ID_END_ARROW);
    EXPECT_EQ(Settings().m_nEndArrowType, 3);
    EXPECT_EQ(log, Log({"OnStartArrow", "OnEndArrow"}));

    log.clear();
    CMessageHub::Instance().SendArrowTypeChange(1, ID_EDIT_CANCEL);
    EXPECT_EQ(Settings().m_nStartArrowType, 2);
    EXPECT_EQ(Settings().m_nEndArrowType, 3);
    EXPECT_TRUE(log.empty());
}

TEST_F(ViewCommandsTest, AlignmentFontAndFillChoicesReachTheTool)
{
    CMessageHub::Instance().SendTextAlignmentChange(7);
    EXPECT_EQ(Settings().m_nTextAlignment, 7);
    CMessageHub::Instance().SendFontChange();
    CMessageHub::Instance().SendFillTypeChange();
    EXPECT_EQ(log, Log({"OnAlignment", "OnFont", "OnFillType"}));
}

// --- Commands forwarded to the current tool -----------------------------------------

TEST_F(ViewCommandsTest, ForwardedCommandsReachTheirOperations)
{
    tool->canMerge = TRUE;
    tool->canInsertColumn = TRUE;
    const std::pair<int, const char*> cases[] = {
        {ID_LINE_COLOR, "OnLineColor"},         {ID_LINE_TYPE, "OnLineType"},
        {ID_START_ARROW, "OnStartArrow"},       {ID_END_ARROW, "OnEndArrow"},
        {ID_ALIGNMENT, "OnAlignment"},          {ID_FONT_COLOR, "OnFontColor"},
        {ID_CELL_COLOR, "OnCellColor"},         {ID_GRADIENT_START, "OnGradientStartColor"},
        {ID_GRADIENT_END, "OnGradientEndColor"}, {ID_MERGE_CELLS, "MergeCells"},
        {ID_SPLIT_CELLS, "SplitCells"},         {ID_ROW_BEFORE, "InsertRowBefore"},
        {ID_ROW_AFTER, "InsertRowAfter"},       {ID_COLUMN_LEFT, "InsertColumnLeft"},
        {ID_COLUMN_RIGHT, "InsertColumnRight"}, {ID_DIAGONAL_A, "ToggleDiagonalA"},
        {ID_DIAGONAL_B, "ToggleDiagonalB"},     {ID_DELETE_ROW, "DeleteRow"},
        {ID_DELETE_COLUMN, "DeleteColumn"},     {ID_TABLE_PROPERTIES, "TableProperties"},
    };
    for (const auto& [id, operation] : cases) {
        log.clear();
        ASSERT_NE(view->CommandAction(id), nullptr) << id;
        EXPECT_TRUE(Enabled(id)) << id;
        view->CommandAction(id)->trigger();
        EXPECT_EQ(log, Log({operation})) << id;
    }
    // The font combos' entries do nothing themselves.
    log.clear();
    EXPECT_TRUE(view->OnCommand(ID_FONT_NAME));
    EXPECT_TRUE(view->OnCommand(ID_FONT_SIZE));
    EXPECT_TRUE(log.empty());
}

TEST_F(ViewCommandsTest, FontStylesToggleTheDefaultFontThenReachTheTool)
{
    LogFont& font = Settings().m_lfDefaultFont;
    font.lfWeight = 600;
    EXPECT_TRUE(view->OnCommand(ID_FONT_BOLD));
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_TRUE(view->CommandAction(ID_FONT_BOLD)->isChecked());
    EXPECT_TRUE(view->OnCommand(ID_FONT_BOLD));
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_FALSE(view->CommandAction(ID_FONT_BOLD)->isChecked());

    font.lfItalic = 0;
    font.lfUnderline = 1;
    view->OnCommand(ID_FONT_ITALIC);
    view->OnCommand(ID_FONT_UNDERLINE);
    EXPECT_EQ(font.lfItalic, 1);
    EXPECT_EQ(font.lfUnderline, 0);
    EXPECT_TRUE(view->CommandAction(ID_FONT_ITALIC)->isChecked());
    EXPECT_FALSE(view->CommandAction(ID_FONT_UNDERLINE)->isChecked());
    EXPECT_EQ(log, Log({"OnFont", "OnFont", "OnFont", "OnFont"}));
}

// --- Pages through the tab bar -------------------------------------------------------

// A document of thousands of pages opens with its tabs measured once, not
// once for every page (which grows with the square of the pages).
TEST_F(ViewCommandsTest, OpeningManyPagesMeasuresTheTabsOnce)
{
    const QString path = home.filePath(QStringLiteral("pages.vek"));
    {
        CVEKDoc many;
        ASSERT_TRUE(many.OnNewDocument());
        while (many.GetPageSet()->GetPageCount() < 3000) many.GetPageSet()->AppendPage();
        many.GetPageSet()->SetCurrentPageIndex(2);
        ASSERT_TRUE(many.OnSaveDocument(path));
    }
    const int before = view->GetSheetTabBar()->GetTabMeasureCount();
    ASSERT_EQ(doc.OnOpenDocument(path), CVEKDoc::LoadResult::Ok);
    EXPECT_LE(view->GetSheetTabBar()->GetTabMeasureCount() - before, 2);
    EXPECT_EQ(view->GetSheetCount(), 3000);
    EXPECT_EQ(view->GetCurrentSheet(), Pages().GetCurrentPageIndex() + 1);
    EXPECT_EQ(view->GetSheetTabBar()->GetButtonText(),
              QStringLiteral("3000 的 %1").arg(Pages().GetCurrentPageIndex() + 1));

    // And back to a document of one page.
    ASSERT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(view->GetSheetCount(), 1);
    EXPECT_EQ(view->GetCurrentSheet(), 1);
}

TEST_F(ViewCommandsTest, InsertingPagesKeepsPagesCurrentPageAndTabsInStep)
{
    CPage* first = Pages().GetPageAt(0);

    // After the current page: the new page becomes current.
    view->InsertSheetAfterAndSelect(1);
    ASSERT_EQ(Pages().GetPageCount(), 2);
    EXPECT_EQ(Pages().GetPageAt(0), first);
    EXPECT_EQ(Pages().GetCurrentPageIndex(), 1);
    EXPECT_EQ(view->GetSheetCount(), 2);
    EXPECT_EQ(view->GetCurrentSheet(), 2);
    EXPECT_EQ(doc.UndoCount(), 1);
    CPage* second = Pages().GetPageAt(1);

    // Before the current page: the same page stays current, one further on.
    view->GetSheetTabBar()->InsertSheet(2, CSheetTabBar::INSERT_BEFORE, true);
    ASSERT_EQ(Pages().GetPageCount(), 3);
    EXPECT_EQ(Pages().GetPageAt(2), second);
    EXPECT_EQ(Pages().GetCurrentPageIndex(), 2);
    EXPECT_EQ(view->GetCurrentSheet(), 3);
    EXPECT_EQ(doc.UndoCount(), 2);

    // After a page before the current one (by its 0-based index), keeping
    // the current one.
    view->InsertSheetAfter(0);
    ASSERT_EQ(Pages().GetPageCount(), 4);
    EXPECT_EQ(Pages().GetCurrentPage(), second);
    EXPECT_EQ(view->GetCurrentSheet(), 4);
    EXPECT_EQ(view->GetSheetCount(), 4);
    EXPECT_EQ(doc.UndoCount(), 3);

    // Undo takes the page back and the tabs follow.
    view->OnEditUndo();
    EXPECT_EQ(doc.GetPageSet()->GetPageCount(), 3);
    EXPECT_EQ(view->GetSheetCount(), 3);
    EXPECT_EQ(view->GetCurrentSheet(), doc.GetPageSet()->GetCurrentPageIndex() + 1);
}

// A caller that changes the page and then needs a new page (a table row
// continued onto the next page) makes one undo step of both, whether it
// took its snapshot at once or holds a deferred one.
TEST_F(ViewCommandsTest, APageInsertedInTheCallersStepIsPartOfThatStep)
{
    for (const bool deferred : {false, true}) {
        SCOPED_TRACE(deferred ? "deferred step" : "snapshot");
        ASSERT_TRUE(doc.OnNewDocument());
        doc.SetModifiedFlag(false);
        const int undoBefore = doc.UndoCount();
        if (deferred)
            doc.BeginUndoStep();
        else
            doc.SaveUndoState();
        AddBox(CRect(100, 100, 500, 500), RGB(0, 0, 255));
        view->InsertSheetAfterInStep(0);
        ASSERT_EQ(Pages().GetPageCount(), 2);
        EXPECT_EQ(view->GetSheetCount(), 2);
        EXPECT_EQ(Pages().GetCurrentPageIndex(), 0);
        EXPECT_EQ(doc.UndoCount(), undoBefore + 1);
        EXPECT_FALSE(doc.HasPendingUndoStep());
        EXPECT_TRUE(doc.IsModified());

        // One undo takes back the page and the change before it.
        view->OnEditUndo();
        EXPECT_EQ(Pages().GetPageCount(), 1);
        EXPECT_EQ(Pages().GetElementCount(), 0);
        EXPECT_EQ(view->GetSheetCount(), 1);
    }
}

TEST_F(ViewCommandsTest, APageInsertedOnItsOwnIsAStepOfItsOwn)
{
    doc.SetModifiedFlag(false);
    view->InsertSheetAfter(0);
    EXPECT_EQ(Pages().GetPageCount(), 2);
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_TRUE(doc.IsModified());
    // An index that names no page inserts nothing.
    view->InsertSheetAfter(2);
    view->InsertSheetAfterInStep(-1);
    EXPECT_EQ(Pages().GetPageCount(), 2);
    EXPECT_EQ(doc.UndoCount(), 1);
}

TEST_F(ViewCommandsTest, DeletingPagesKeepsPagesCurrentPageAndTabsInStep)
{
    view->InsertSheetAfterAndSelect(1);
    view->InsertSheetAfterAndSelect(2);
    ASSERT_EQ(Pages().GetPageCount(), 3);
    CPage* pages[] = {Pages().GetPageAt(0), Pages().GetPageAt(1), Pages().GetPageAt(2)};
    const int undoBefore = doc.UndoCount();

    // Deleting the current last page: the new last page becomes current.
    log.clear();
    view->DeleteSheet(3);
    ASSERT_EQ(Pages().GetPageCount(), 2);
    EXPECT_EQ(Pages().GetCurrentPage(), pages[1]);
    EXPECT_EQ(view->GetSheetCount(), 2);
    EXPECT_EQ(view->GetCurrentSheet(), 2);
    EXPECT_EQ(doc.UndoCount(), undoBefore + 1);
    // The tool lets go of what lay on the page before it goes.
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "Reset");

    // Deleting a page before the current one keeps the current page.
    view->DeleteSheet(1);
    ASSERT_EQ(Pages().GetPageCount(), 1);
    EXPECT_EQ(Pages().GetCurrentPage(), pages[1]);
    EXPECT_EQ(view->GetCurrentSheet(), 1);
    EXPECT_EQ(doc.UndoCount(), undoBefore + 2);
}

TEST_F(ViewCommandsTest, SelectingATabMakesItsPageCurrentAndResetsTheTool)
{
    view->InsertSheetAfterAndSelect(1);
    view->InsertSheetAfterAndSelect(2);
    log.clear();
    view->GetSheetTabBar()->OnFirstSheet();
    EXPECT_EQ(Pages().GetCurrentPageIndex(), 0);
    EXPECT_EQ(log, Log({"Reset"}));
    view->GetSheetTabBar()->OnLastSheet();
    EXPECT_EQ(Pages().GetCurrentPageIndex(), 2);
    EXPECT_EQ(view->GetCurrentSheet(), 3);
    EXPECT_EQ(doc.UndoCount(), 2);
}

// --- Clipboard -----------------------------------------------------------------------

TEST_F(ViewCommandsTest, CopyThenPastePutsTheElementIntoThePageAsOneUndoStep)
{
    EXPECT_FALSE(Enabled(ID_EDIT_COPY));
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE));

    tool->selected = AddFilledSquare(Pages().GetCurrentPage(), 1000, 1000, 2000, RGB(255, 0, 0));
    ASSERT_TRUE(Enabled(ID_EDIT_COPY));
    EXPECT_TRUE(Enabled(ID_EDIT_CUT));
    ASSERT_TRUE(view->OnCommand(ID_EDIT_COPY));
    EXPECT_EQ(log, Log({"OnEditCopy"}));
    EXPECT_EQ(doc.UndoCount(), 0);

    ASSERT_TRUE(view->CommandAction(ID_EDIT_PASTE)->isEnabled());
    view->CommandAction(ID_EDIT_PASTE)->trigger();
    ASSERT_EQ(Pages().GetCurrentPage()->GetElementCount(), 2);
    EXPECT_EQ(doc.UndoCount(), 1);
    // A copy of its own, on points of its own, at the same place.
    const auto* pasted = dynamic_cast<const CCurveElement*>(ElementAt(*Pages().GetCurrentPage(), 1));
    ASSERT_NE(pasted, nullptr);
    EXPECT_NE(pasted, tool->selected);
    EXPECT_EQ(NodePositions(*pasted), NodePositions(*static_cast<CCurveElement*>(tool->selected)));
    EXPECT_EQ(Pages().GetCurrentPage()->GetPointCount(), 8);

    tool->selected = nullptr;
    view->OnEditUndo();
    EXPECT_EQ(doc.GetPageSet()->GetCurrentPage()->GetElementCount(), 1);
}

TEST_F(ViewCommandsTest, CutReachesTheToolOnlyWhenItCanCopy)
{
    EXPECT_FALSE(view->OnCommand(ID_EDIT_CUT));
    EXPECT_TRUE(log.empty());
    tool->selected = AddFilledSquare(Pages().GetCurrentPage(), 0, 0, 1000, RGB(0, 0, 255));
    EXPECT_TRUE(view->OnCommand(ID_EDIT_CUT));
    EXPECT_EQ(log, Log({"OnEditCut"}));
}

// --- Page setup ------------------------------------------------------------------------

TEST_F(ViewCommandsTest, PageSetupChangesThePaperAfterOneSnapshot)
{
    bool shown = false;
    QTimer::singleShot(0, [&shown] {
        auto* dialog = qobject_cast<CPageSizeDlg*>(QApplication::activeModalWidget());
        if (!dialog) return;
        shown = true;
        dialog->Edit(CPageSizeDlg::IDC_WIDTH)->setText(QStringLiteral("30"));
        dialog->Edit(CPageSizeDlg::IDC_HEIGHT)->setText(QStringLiteral("40"));
        dialog->Edit(CPageSizeDlg::IDC_LEFT)->setText(QStringLiteral("2"));
        dialog->accept();
    });
    ASSERT_TRUE(view->OnCommand(ID_PAGE_SETUP));
    EXPECT_TRUE(shown);
    EXPECT_EQ(Pages().GetPaperSize(), CSize(30000, 40000));
    int top, bottom, left, right;
    Pages().GetMargins(top, bottom, left, right);
    EXPECT_EQ(left, 2000);
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_TRUE(doc.IsModified());

    view->OnEditUndo();
    EXPECT_EQ(doc.GetPageSet()->GetPaperSize(), CSize(21000, 29700));
}

TEST_F(ViewCommandsTest, ACancelledPageSetupTakesNoSnapshot)
{
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<CPageSizeDlg*>(QApplication::activeModalWidget())) dialog->reject();
    });
    view->OnCommand(ID_PAGE_SETUP);
    EXPECT_EQ(Pages().GetPaperSize(), CSize(21000, 29700));
    EXPECT_EQ(doc.UndoCount(), 0);
}

// --- Embedded objects ---------------------------------------------------------------------

class EmbeddedObjectTest : public ViewCommandsTest {
protected:
    void SetUp() override
    {
        ViewCommandsTest::SetUp();
        view->SetViewTransform(10.0, 0, 0);
        object = new COleObjectElement(Pages().GetCurrentPage(), 0, std::make_shared<CVEKCntrItem>());
        object->SetRect(CRect(1000, 1000, 3000, 2000)); // pixels 100,100 - 300,200
        Pages().AddElementToPage(object);
        view->OnToolCommand(ID_TOOL_OLE_ITEM);
    }

    void Drag(QPoint from, QPoint to)
    {
        SendMouse(*view, QEvent::MouseButtonPress, from, Qt::LeftButton);
        SendMouse(*view, QEvent::MouseMove, (from + to) / 2, Qt::NoButton);
        SendMouse(*view, QEvent::MouseMove, to, Qt::NoButton);
        SendMouse(*view, QEvent::MouseButtonRelease, to, Qt::LeftButton);
    }

    COleObjectElement* object = nullptr;
};

TEST_F(EmbeddedObjectTest, AnObjectMovesUnderTheMouseAsOneUndoStep)
{
    Drag(QPoint(150, 150), QPoint(180, 170));
    EXPECT_EQ(view->GetSelection(), object);
    EXPECT_EQ(object->GetRect(), CRect(1300, 1200, 3300, 2200));
    EXPECT_EQ(object->GetClientItem()->GetRect(), CRect(130, 120, 330, 220));
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_TRUE(doc.IsModified());

    view->OnEditUndo();
    const auto* restored = dynamic_cast<const COleObjectElement*>(ElementAt(*doc.GetPageSet()->GetCurrentPage(), 0));
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->GetRect(), CRect(1000, 1000, 3000, 2000));
}

TEST_F(EmbeddedObjectTest, AHandleResizesTheObject)
{
    // The bottom-right handle lies inside the frame's corner.
    Drag(QPoint(298, 198), QPoint(348, 248));
    EXPECT_EQ(object->GetRect(), CRect(1000, 1000, 3500, 2500));
    EXPECT_EQ(doc.UndoCount(), 1);
}

TEST_F(EmbeddedObjectTest, AClickOnlySelectsAndTakesNoSnapshot)
{
    Click(*view, QPoint(200, 150));
    EXPECT_EQ(view->GetSelection(), object);
    EXPECT_TRUE(view->IsSelected(object));
    EXPECT_EQ(object->GetRect(), CRect(1000, 1000, 3000, 2000));
    EXPECT_EQ(doc.UndoCount(), 0);

    Click(*view, QPoint(500, 400));
    EXPECT_EQ(view->GetSelection(), nullptr);
}

TEST_F(EmbeddedObjectTest, EscapePutsADraggedObjectBack)
{
    SendMouse(*view, QEvent::MouseButtonPress, QPoint(150, 150), Qt::LeftButton);
    SendMouse(*view, QEvent::MouseMove, QPoint(250, 250), Qt::NoButton);
    EXPECT_TRUE(view->GetTracker().IsTracking());
    SendKey(*view, QEvent::KeyPress, Qt::Key_Escape);
    SendMouse(*view, QEvent::MouseButtonRelease, QPoint(250, 250), Qt::LeftButton);
    EXPECT_EQ(object->GetRect(), CRect(1000, 1000, 3000, 2000));
    EXPECT_EQ(doc.UndoCount(), 0);

    // Through the Cancel command, as the main window's Esc sends it.
    SendMouse(*view, QEvent::MouseButtonPress, QPoint(150, 150), Qt::LeftButton);
    SendMouse(*view, QEvent::MouseMove, QPoint(250, 250), Qt::NoButton);
    EXPECT_TRUE(Enabled(ID_EDIT_CANCEL));
    EXPECT_TRUE(view->OnCommand(ID_EDIT_CANCEL));
    SendMouse(*view, QEvent::MouseButtonRelease, QPoint(250, 250), Qt::LeftButton);
    EXPECT_EQ(object->GetRect(), CRect(1000, 1000, 3000, 2000));
    EXPECT_EQ(doc.UndoCount(), 0);
}

TEST_F(EmbeddedObjectTest, OtherToolsLeaveObjectsAlone)
{
    view->OnToolCommand(ID_TOOL_CURVE);
    Drag(QPoint(150, 150), QPoint(180, 170));
    EXPECT_EQ(object->GetRect(), CRect(1000, 1000, 3000, 2000));
    EXPECT_EQ(view->GetSelection(), nullptr);
}

// --- Actions and their update pass -----------------------------------------------------

TEST_F(ViewCommandsTest, EveryCommandHasOneActionCarryingItsId)
{
    for (const CVEKView::CommandEntry& c : view->Commands()) {
        QAction* action = view->CommandAction(int(c.id));
        ASSERT_NE(action, nullptr) << c.id;
        EXPECT_EQ(action->data().toInt(), int(c.id));
        EXPECT_FALSE(action->text().isEmpty()) << c.id;
    }
    EXPECT_EQ(view->CommandAction(12345), nullptr);
    EXPECT_EQ(view->CommandAction(ID_EDIT_PASTE)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));
    EXPECT_EQ(view->CommandAction(ID_SAVE_AS_IMAGE)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_J));
    EXPECT_EQ(view->CommandAction(ID_TABLE_MATCHING)->shortcut(), QKeySequence(Qt::Key_F2));
}

TEST_F(ViewCommandsTest, ToolActionsSwitchToolsAndShowWhichIsCurrent)
{
    view->CommandAction(ID_TOOL_SELECT)->trigger();
    EXPECT_EQ(view->GetCurrentTool(), view->GetTool(CVEKView::kSelectTool));
    EXPECT_TRUE(view->CommandAction(ID_TOOL_SELECT)->isChecked());
    EXPECT_FALSE(view->CommandAction(ID_TOOL_CURVE)->isChecked());
}

TEST_F(ViewCommandsTest, TableMatchingToggles)
{
    Settings().m_bTableMatching = 1;
    EXPECT_TRUE(view->OnCommand(ID_TABLE_MATCHING));
    EXPECT_EQ(Settings().m_bTableMatching, 0);
    view->CommandAction(ID_TABLE_MATCHING)->trigger();
    EXPECT_EQ(Settings().m_bTableMatching, 1);
}

TEST_F(ViewCommandsTest, DisabledCommandsStayDisabled)
{
    // The grading commands that need grading tables on the pages, Insert
    // Object, and the library commands while no drawing is selected in the
    // library tool.
    std::vector<int> disabled = {ID_GRADING, ID_CONDITION_INDEX, ID_SERIAL_SORT, ID_NAME_BY_HAND, ID_NAME_AUTOMATICALLY,
                                 ID_OLE_INSERT_NEW, ID_COPY_BITMAP, ID_SAVE_TO_LIBRARY, ID_SAVE_AS_LINE_TYPE};
    // Table commands the tool does not offer, copy without a selection,
    // paste with an empty clipboard, redo without anything undone, the
    // table clipboard outside the select and table tools.
    disabled.insert(disabled.end(), {ID_MERGE_CELLS, ID_COLUMN_LEFT, ID_COLUMN_RIGHT, ID_EDIT_COPY, ID_EDIT_CUT,
                                     ID_EDIT_PASTE, ID_EDIT_REDO, ID_COPY_TABLE, ID_CUT_TABLE});
    for (int round = 0; round < 2; ++round) {
        if (round == 1) view->OnToolCommand(ID_TOOL_PROCESS_DRAWING); // the library tool, still with nothing selected
        for (int id : disabled) {
            const bool askedOfTheTool = id == ID_MERGE_CELLS || id == ID_COLUMN_LEFT || id == ID_COLUMN_RIGHT ||
                                        id == ID_EDIT_COPY || id == ID_EDIT_CUT;
            if (round == 1 && askedOfTheTool) continue;
            EXPECT_FALSE(Enabled(id)) << id;
            log.clear();
            view->CommandAction(id)->trigger();
            EXPECT_FALSE(view->OnCommand(UINT(id))) << id;
            EXPECT_TRUE(log.empty()) << id;
        }
    }
    EXPECT_EQ(Pages().GetElementCount(), 0);
    EXPECT_EQ(doc.UndoCount(), 0);

    // The table clipboard comes on with the select tool.
    view->OnToolCommand(ID_TOOL_SELECT);
    EXPECT_TRUE(Enabled(ID_COPY_TABLE));
    EXPECT_TRUE(Enabled(ID_CUT_TABLE));
}

TEST_F(ViewCommandsTest, PrintPreviewNeedsAPage)
{
    EXPECT_TRUE(Enabled(ID_FILE_PRINT_PREVIEW));
    EXPECT_TRUE(Enabled(ID_FILE_PRINT));
    EXPECT_TRUE(Enabled(ID_SAVE_AS_IMAGE));
    Pages().RemovePage(0);
    EXPECT_FALSE(Enabled(ID_FILE_PRINT_PREVIEW));
    EXPECT_FALSE(view->OnCommand(ID_FILE_PRINT_PREVIEW));
    Pages().AppendPage();
    Pages().SetCurrentPageIndex(0);
}
