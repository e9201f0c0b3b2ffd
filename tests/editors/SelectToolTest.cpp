// The select tool driven through the view: hover and click with the
// order of kinds, the hand-over to each editor and back, Shift and Ctrl
// building the list, the rubber band, moves by drag and by the arrow
// keys, the list's tool bar commands as one undo step each, Delete, Copy,
// Cut and Paste.
#include "tests/editors/EditorTestSupport.h"

#include "editors/CVTModifyCurve.h"
#include "editors/CVTModifyPicture.h"
#include "editors/CVTFill.h"
#include "editors/CVTSelect.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

#include <QKeyEvent>

namespace {

class SelectToolTest : public EditorViewFixture {
protected:
    void SetUp() override
    {
        EditorViewFixture::SetUp();
        SelectTool(CVEKView::kSelectTool);
        select = Tool<CVTSelect>(CVEKView::kSelectTool);
    }
    void Arrow(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false)
    {
        QKeyEvent e(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
        QCoreApplication::sendEvent(view.get(), &e);
    }
    std::vector<CGraphElement*> Listed() const
    {
        std::vector<CGraphElement*> out;
        for (CGraphElement* e : select->GetMultiSelection().Elements()) out.push_back(e);
        return out;
    }

    CVTSelect* select = nullptr;
};

using Elements = std::vector<CGraphElement*>;

} // namespace

TEST_F(SelectToolTest, TextsAndCurvesWinOverPicturesAndTablesWhereBothLie)
{
    CImageElement* picture = AddPicture({CPoint(1000, 1000), CPoint(7000, 1000), CPoint(7000, 5000), CPoint(1000, 5000)});
    CTextElement* text = AddText("AB", {CPoint(2000, 2000), CPoint(4000, 2000), CPoint(4000, 3000), CPoint(2000, 3000)});
    MoveTo(3000, 2500);
    EXPECT_EQ(select->GetHovered(), text);
    EXPECT_EQ(view->GetToolCursorId(), CVTSelect::kCursorText);
    MoveTo(6000, 4000);
    EXPECT_EQ(select->GetHovered(), picture);
    EXPECT_EQ(view->GetToolCursorId(), CVTSelect::kCursor);
    Click(3000, 2500);
    EXPECT_EQ(select->GetSelected(), text);
    EXPECT_EQ(select->GetTextEditor()->GetElement(), text);

    // A click off the text lets it go and selects the picture under the
    // click at once.
    Click(6000, 4000);
    EXPECT_EQ(select->GetSelected(), picture);
    EXPECT_EQ(select->GetTextEditor()->GetElement(), nullptr);
    EXPECT_EQ(select->GetPictureEditor()->GetElement(), picture);

    // Without table matching pictures cannot be hovered or selected.
    Click(8500, 6500);
    EXPECT_EQ(select->GetSelected(), nullptr);
    // With nothing selected the status bar shows the idle text again.
    MoveTo(8400, 6500);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVEKView::kIdlePrompt));
    Settings().m_bTableMatching = 0;
    MoveTo(6000, 4000);
    EXPECT_EQ(select->GetHovered(), nullptr);
    Click(6000, 4000);
    EXPECT_EQ(select->GetSelected(), nullptr);
}

TEST_F(SelectToolTest, CurvesAreOfferedOnlyWhileAutoSnapIsOn)
{
    CCurveElement* curve = AddCurve({{1000, 1000}, {5000, 1000}}, 0);
    MoveTo(3000, 1050);
    EXPECT_EQ(select->GetHovered(), curve);
    Settings().m_bAutoSnap = 0;
    MoveTo(3000, 1040);
    EXPECT_EQ(select->GetHovered(), nullptr);
    Settings().m_bAutoSnap = 1;
    Click(3000, 1050);
    ASSERT_EQ(select->GetSelected(), curve);
    EXPECT_EQ(select->GetCurveEditor()->GetCurve(), curve);
    // The next click on the curve goes to its editor: a node is inserted
    // and picked up.
    Click(2000, 1000);
    EXPECT_EQ(curve->GetNodeCount(), 3);
    EXPECT_EQ(select->GetCurveEditor()->IsDragging(), 1);
}

// A rotated text is hit inside its turned box only, not in the corners of
// the rectangle around it.
TEST_F(SelectToolTest, ATurnedTextIsHoveredInsideItsBoxOnly)
{
    // A box turned 45 degrees: a diamond about (4000, 4000).
    CTextElement* text = AddText("AB", {CPoint(3000, 4000), CPoint(4000, 3000), CPoint(5000, 4000), CPoint(4000, 5000)}, 450);
    MoveTo(4000, 4000);
    EXPECT_EQ(select->GetHovered(), text);
    MoveTo(3300, 3300);
    EXPECT_EQ(select->GetHovered(), nullptr);
    MoveTo(4600, 4600);
    EXPECT_EQ(select->GetHovered(), nullptr);
    MoveTo(4400, 4400);
    EXPECT_EQ(select->GetHovered(), text);
}

// Shift+click lists three curves; a colour, a line type and an arrowhead
// each recolour or restyle all of them in one undo step that marks the
// document modified, and a choice that changes nothing costs nothing.
TEST_F(SelectToolTest, TheListsCommandsAreOneUndoStepEach)
{
    CCurveElement* a = AddCurve({{1000, 1000}, {3000, 1000}}, 0);
    CCurveElement* b = AddCurve({{1000, 2000}, {3000, 2000}}, 0);
    CCurveElement* c = AddCurve({{1000, 3000}, {3000, 3000}, {2000, 4000}}, 1);
    for (const CPoint& p : {CPoint(2000, 1000), CPoint(2000, 2000), CPoint(2000, 3000)})
        Click(p.x, p.y, Qt::ShiftModifier);
    EXPECT_EQ(Listed(), (Elements{a, b, c}));
    EXPECT_EQ(select->GetSelected(), nullptr);
    doc.SetModifiedFlag(false);
    const int steps = doc.UndoCount();

    view->OnColorSelChange(RGB(0, 128, 0), ID_LINE_COLOR);
    for (CCurveElement* curve : {a, b, c}) EXPECT_EQ(curve->GetColor(), RGB(0, 128, 0));
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    EXPECT_TRUE(doc.IsModified());
    view->OnColorSelChange(RGB(0, 128, 0), ID_LINE_COLOR);
    EXPECT_EQ(doc.UndoCount(), steps + 1);

    Settings().m_nEndArrowType = 2;
    view->OnCommand(ID_END_ARROW);
    EXPECT_EQ(doc.UndoCount(), steps + 2);
    int sk = 0, ss = 0, ek = 0, es = 0;
    double sa = 0, ea = 0;
    static_cast<COpenCurveElement*>(a)->GetArrowHeads(sk, ss, sa, ek, es, ea);
    EXPECT_EQ(ek, 2);

    // The page shows the new colour.
    const QImage page = RenderPage();
    EXPECT_TRUE(ColourNear(page, 2000, 2000, qRgb(0, 128, 0)));

    // One Undo takes the arrowheads back, the next the colour of all three.
    view->OnEditUndo();
    view->OnEditUndo();
    for (CGraphElement* e : Page()->Elements()) EXPECT_EQ(static_cast<CCurveElement*>(e)->GetColor(), RGB(0, 0, 0));
}

TEST_F(SelectToolTest, EscClearsTheNodeMarksOfEveryListedCurve)
{
    std::vector<CCurveElement*> curves;
    for (int y : {1000, 2000, 3000}) curves.push_back(AddCurve({{1000, y}, {3000, y}}, 0));
    for (CCurveElement* curve : curves) {
        for (CCurveNode* node : curve->Nodes()) node->SetMark(1);
        Click(2000, curve->GetFirstNode()->GetPosition().y, Qt::ShiftModifier);
    }
    ASSERT_EQ(select->GetMultiSelection().GetCount(), 3);
    Key(Qt::Key_Escape);
    for (CCurveElement* curve : curves)
        for (CCurveNode* node : curve->Nodes()) EXPECT_EQ(node->GetMark(), 0);
}

TEST_F(SelectToolTest, AMirrorImageShowsItsAxis)
{
    CCurveElement* source = AddCurve({{2000, 1000}, {3000, 3000}}, 0);
    COpenCurveElement* image = AddMirrorImage(source, CPoint(4000, 500), CPoint(4000, 5000));

    Click(5500, 2000);
    ASSERT_EQ(select->GetSelected(), image);
    ASSERT_TRUE(select->HasMirrorAxis());
    EXPECT_EQ(select->GetMirrorAxis1(), CPoint(4000, 500));
    EXPECT_EQ(select->GetMirrorAxis2(), CPoint(4000, 5000));
    const QImage shown = RenderView();
    EXPECT_TRUE(ColourNear(shown, 4000, 4500, qRgb(255, 0, 0)));
    // The source shows it too.
    Click(2500, 2000);
    ASSERT_EQ(select->GetSelected(), source);
    EXPECT_TRUE(select->HasMirrorAxis());
}

// A band over empty paper takes what lies wholly inside it; with Shift it
// adds to the list.
TEST_F(SelectToolTest, TheRubberBandTakesWhatLiesWhollyInside)
{
    CCurveElement* inside = AddCurve({{2000, 2000}, {3000, 2500}}, 0);
    CTextElement* text = AddText("AB", {CPoint(2000, 3000), CPoint(3000, 3000), CPoint(3000, 3500), CPoint(2000, 3500)});
    CCurveElement* across = AddCurve({{2500, 1500}, {8000, 1500}}, 0);
    CImageElement* outside = AddPicture({CPoint(6000, 5000), CPoint(7000, 5000), CPoint(7000, 6000), CPoint(6000, 6000)});

    MoveTo(1000, 1000);
    Press(1000, 1000);
    MoveTo(2000, 2000, Qt::NoModifier, Qt::LeftButton);
    MoveTo(4000, 4000, Qt::NoModifier, Qt::LeftButton);
    EXPECT_TRUE(select->IsBandShown());
    // The band is drawn while it is dragged.
    const QImage shown = RenderView();
    EXPECT_TRUE(ColourNear(shown, 4000, 3000, qRgb(255, 0, 0)));
    Release(4000, 4000);
    EXPECT_FALSE(select->IsBandShown());
    EXPECT_EQ(Listed(), (Elements{inside, text}));

    Drag(CPoint(5500, 4500), CPoint(7500, 6500), Qt::ShiftModifier);
    EXPECT_EQ(Listed(), (Elements{inside, text, outside}));
    // A plain band replaces the list.
    Drag(CPoint(2000, 1000), CPoint(8500, 2000));
    EXPECT_EQ(Listed(), (Elements{across}));
    // A plain click on empty paper takes no band.
    Click(8500, 6500);
    EXPECT_EQ(Listed(), (Elements{across}));
    EXPECT_EQ(doc.UndoCount(), 0);
}

// Pressing on a listed element and dragging moves the whole list (curves
// by their points, pictures and texts by their corners) in one undo step;
// a press that is let go where it went down selects the element instead.
TEST_F(SelectToolTest, DraggingAListedElementMovesTheList)
{
    CCurveElement* curve = AddCurve({{2000, 2000}, {3000, 2500}}, 0);
    CTextElement* text = AddText("AB", {CPoint(2000, 3000), CPoint(3000, 3000), CPoint(3000, 3500), CPoint(2000, 3500)});
    CImageElement* picture = AddPicture({CPoint(3500, 2000), CPoint(4500, 2000), CPoint(4500, 3000), CPoint(3500, 3000)});
    Drag(CPoint(1500, 1500), CPoint(5000, 4000));
    ASSERT_EQ(select->GetMultiSelection().GetCount(), 3);
    const int steps = doc.UndoCount();

    Drag(CPoint(4000, 2500), CPoint(5000, 2000));
    EXPECT_EQ(Positions(curve), (std::vector<CPoint>{{3000, 1500}, {4000, 2000}}));
    EXPECT_EQ(BoxOf(text)[0], CPoint(3000, 2500));
    EXPECT_EQ(CornersOf(picture)[0], CPoint(4500, 1500));
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    EXPECT_EQ(select->GetSelected(), nullptr);
    const QImage page = RenderPage();
    EXPECT_TRUE(ColourAt(page, 5400, 2400, QColor(0, 0, 255)));
    EXPECT_FALSE(ColourAt(page, 3600, 2100, QColor(0, 0, 255)));

    view->OnEditUndo();
    EXPECT_EQ(Positions(Curves()[0]), (std::vector<CPoint>{{2000, 2000}, {3000, 2500}}));

    // The list is gone with the undo; list the picture again and click it.
    Click(4000, 2500, Qt::ShiftModifier);
    CGraphElement* restored = Page()->ElementAt(2);
    ASSERT_EQ(Listed(), (Elements{restored}));
    Click(4000, 2500);
    EXPECT_EQ(select->GetSelected(), restored);
    EXPECT_EQ(doc.UndoCount(), steps);
}

TEST_F(SelectToolTest, ArrowKeysMoveTheListOrTheSelectedElementOneStepPerPress)
{
    CCurveElement* a = AddCurve({{2000, 2000}, {3000, 2000}}, 0);
    CCurveElement* b = AddCurve({{2000, 3000}, {3000, 3000}}, 0);
    // Nothing selected: the arrows pan.
    const CPoint origin = view->GetOriginPoint();
    Arrow(Qt::Key_Right);
    EXPECT_NE(view->GetOriginPoint(), origin);
    view->SetViewTransform(kScale, 0, 0);

    Click(2500, 2000, Qt::ShiftModifier);
    Click(2500, 3000, Qt::ShiftModifier);
    const int steps = doc.UndoCount();
    Arrow(Qt::Key_Right);
    EXPECT_EQ(view->GetOriginPoint(), CPoint(0, 0));
    EXPECT_EQ(Positions(a)[0], CPoint(2010, 2000));
    EXPECT_EQ(Positions(b)[0], CPoint(2010, 3000));
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    // A held key moves on in the same step; Ctrl moves ten pixels.
    Arrow(Qt::Key_Down, Qt::ControlModifier, true);
    Arrow(Qt::Key_Down, Qt::ControlModifier, true);
    EXPECT_EQ(Positions(a)[0], CPoint(2010, 2200));
    EXPECT_EQ(doc.UndoCount(), steps + 1);
    Arrow(Qt::Key_Left);
    EXPECT_EQ(doc.UndoCount(), steps + 2);

    // A selected curve moves alone, and its editor follows it.
    Click(2500, 2200);
    ASSERT_EQ(select->GetSelected(), a);
    Arrow(Qt::Key_Up);
    EXPECT_EQ(Positions(a)[0], CPoint(2000, 2190));
    EXPECT_EQ(Positions(b)[0], CPoint(2000, 3200));
    EXPECT_EQ(select->GetCurveEditor()->GetRecords().GetHead().y, 2190);
}

TEST_F(SelectToolTest, DeleteTakesTheListOrTheSelectedCurveInOneStep)
{
    AddCurve({{1000, 1000}, {3000, 1000}}, 0);
    AddCurve({{1000, 2000}, {3000, 2000}}, 0);
    CCurveElement* kept = AddCurve({{1000, 3000}, {2000, 3000}, {3000, 3000}}, 0);
    Click(2000, 1000, Qt::ShiftModifier);
    Click(2000, 2000, Qt::ShiftModifier);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Curves(), (std::vector<CCurveElement*>{kept}));
    EXPECT_EQ(select->GetMultiSelection().GetCount(), 0);
    EXPECT_EQ(doc.UndoCount(), 1);

    // A selected curve loses the node under the mouse...
    Click(2500, 3000);
    ASSERT_EQ(select->GetSelected(), kept);
    MoveTo(2000, 3000);
    Key(Qt::Key_Delete);
    EXPECT_EQ(kept->GetNodeCount(), 2);
    // ...and goes as a whole when no node is under it.
    MoveTo(1500, 3000);
    Key(Qt::Key_Delete);
    EXPECT_TRUE(Curves().empty());
    EXPECT_EQ(select->GetSelected(), nullptr);
    EXPECT_EQ(doc.UndoCount(), 3);
    view->OnEditUndo();
    EXPECT_EQ(Curves().size(), 1u);
}

// The mouse rests on a listed curve, which is therefore highlighted, when
// Delete or Cut takes the list away: the highlight must go with it, or the
// next paint draws an element that no longer exists.
TEST_F(SelectToolTest, DeletingOrCuttingTheListForgetsTheHoveredElement)
{
    CCurveElement* kept = AddCurve({{1000, 5000}, {3000, 5000}}, 0);
    AddCurve({{2000, 2000}, {4000, 2000}}, 0);
    AddCurve({{2000, 3000}, {4000, 3000}}, 0);
    const auto listAndMoveUnderTheMouse = [&] {
        Drag(CPoint(1500, 1500), CPoint(4800, 3500));
        ASSERT_EQ(select->GetMultiSelection().GetCount(), 2);
        Drag(CPoint(3000, 2000), CPoint(3500, 2000));
        MoveTo(3600, 2000);
        ASSERT_NE(select->GetHovered(), nullptr);
    };
    const auto nothingLeftUnderTheMouse = [&] {
        EXPECT_EQ(Curves(), (std::vector<CCurveElement*>{kept}));
        EXPECT_EQ(select->GetHovered(), nullptr);
        EXPECT_EQ(select->GetCapturedElement(), nullptr);
        EXPECT_EQ(select->GetCapturedNode(), nullptr);
        const QImage shown = RenderView();
        EXPECT_TRUE(ColourAt(shown, 3600, 2000, QColor(255, 255, 255)));
        EXPECT_FALSE(ColourAt(shown, 2000, 5000, QColor(255, 255, 255)));
    };

    listAndMoveUnderTheMouse();
    Key(Qt::Key_Delete);
    nothingLeftUnderTheMouse();

    view->OnEditUndo();
    ASSERT_EQ(Curves().size(), 3u);
    kept = Curves()[0];
    listAndMoveUnderTheMouse();
    ASSERT_TRUE(view->OnCommand(ID_EDIT_CUT));
    nothingLeftUnderTheMouse();
}

// Copied elements paste as copies at their own places and become the
// list, so the arrows move the copies away from the originals.
TEST_F(SelectToolTest, CopyAndPasteRoundTripsTheList)
{
    CCurveElement* curve = AddCurve({{2000, 2000}, {3000, 2500}}, 0);
    CTextElement* text = AddText("AB", {CPoint(2000, 3000), CPoint(3000, 3000), CPoint(3000, 3500), CPoint(2000, 3500)});
    Drag(CPoint(1500, 1500), CPoint(4000, 4000));
    ASSERT_EQ(select->GetMultiSelection().GetCount(), 2);
    ASSERT_TRUE(view->IsCommandEnabled(ID_EDIT_COPY));
    ASSERT_TRUE(view->OnCommand(ID_EDIT_COPY));
    ASSERT_TRUE(view->OnCommand(ID_EDIT_PASTE));
    ASSERT_EQ(Page()->GetElementCount(), 4);
    CGraphElement* curveCopy = Page()->ElementAt(2);
    CGraphElement* textCopy = Page()->ElementAt(3);
    EXPECT_EQ(Listed(), (Elements{curveCopy, textCopy}));
    ASSERT_EQ(textCopy->GetType(), ELEMENT_TEXT);
    EXPECT_EQ(static_cast<CTextElement*>(textCopy)->GetTextFont().GetText(), "AB");

    Arrow(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Positions(static_cast<CCurveElement*>(curveCopy))[0], CPoint(2100, 2000));
    EXPECT_EQ(Positions(curve)[0], CPoint(2000, 2000));
    EXPECT_EQ(BoxOf(text)[0], CPoint(2000, 3000));

    // Cut takes the copies away and keeps them on the clipboard.
    ASSERT_TRUE(view->OnCommand(ID_EDIT_CUT));
    EXPECT_EQ(Page()->GetElementCount(), 2);
    EXPECT_EQ(select->GetMultiSelection().GetCount(), 0);
    ASSERT_TRUE(view->OnCommand(ID_EDIT_PASTE));
    EXPECT_EQ(Page()->GetElementCount(), 4);
    EXPECT_EQ(Positions(static_cast<CCurveElement*>(Page()->ElementAt(2)))[0], CPoint(2100, 2000));
}

TEST_F(SelectToolTest, ARightClickEmptiesTheListAndResetLetsEverythingGo)
{
    CCurveElement* curve = AddCurve({{1000, 1000}, {3000, 1000}}, 0);
    CTextElement* text = AddText("AB", {CPoint(2000, 3000), CPoint(3000, 3000), CPoint(3000, 3500), CPoint(2000, 3500)});
    Click(2000, 1000, Qt::ShiftModifier);
    Click(2500, 3200);
    ASSERT_EQ(select->GetSelected(), text);
    ASSERT_EQ(Listed(), (Elements{curve}));
    RightClick(8000, 6000);
    EXPECT_EQ(select->GetMultiSelection().GetCount(), 0);
    EXPECT_EQ(select->GetSelected(), text);

    // Another tool: nothing stays selected.
    SelectTool(CVEKView::kCurveTool);
    EXPECT_EQ(select->GetSelected(), nullptr);
    EXPECT_EQ(select->GetTextEditor()->GetElement(), nullptr);
}

// A fill chosen while a closed curve is selected goes to the fill tool,
// which takes the curve as if it had been clicked there.
TEST_F(SelectToolTest, AFillChoiceHandsTheClosedCurveToTheFillTool)
{
    CCurveElement* open = AddCurve({{1000, 1000}, {3000, 1000}}, 0);
    CCurveElement* closed = AddCurve({{1000, 3000}, {3000, 3000}, {2000, 5000}}, 1);
    Click(2000, 1000);
    ASSERT_EQ(select->GetSelected(), open);
    Settings().m_nFillType = FILL_SOLID;
    view->OnFillTypeSelChange();
    EXPECT_EQ(view->GetCurrentTool(), select);
    EXPECT_EQ(doc.UndoCount(), 0);

    Click(2000, 3000);
    ASSERT_EQ(select->GetSelected(), closed);
    view->OnFillTypeSelChange();
    auto* fill = dynamic_cast<CVTFill*>(view->GetCurrentTool());
    ASSERT_NE(fill, nullptr);
    EXPECT_EQ(fill->GetPickedCurve(), closed);
    EXPECT_EQ(static_cast<CClosedCurveElement*>(closed)->GetFillKind(), FILL_SOLID);
    EXPECT_EQ(doc.UndoCount(), 1);
    EXPECT_EQ(select->GetSelected(), nullptr);
    EXPECT_TRUE(view->IsToolCommandChecked(ID_TOOL_FILL));
}
