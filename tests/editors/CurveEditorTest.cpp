// The curve control-point editor, reached as the user reaches it: a curve
// drawn with the curve tools goes to the editor, which then takes the
// clicks (pick a node up, put it down, insert on the curve), Shift (smooth
// or corner), Delete, digits (spread the nodes evenly), Esc, and the tool
// bar's line choices.
#include "tests/tools/CurveTestSupport.h"

#include "editors/CVTModifyCurve.h"
#include "geometry/Polyline.h"
#include "res/StringTable.h"
#include "tools/CVTClosedCurve.h"
#include "tools/CVTCurve.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// How far along the path its point nearest `p` lies.
double LengthAlong(const CPointList& path, const CPoint& p)
{
    double best = 1e300;
    double at = 0.0;
    double run = 0.0;
    POSITION pos = path.GetHeadPosition();
    if (!pos) return 0.0;
    CPoint prev = path.GetNext(pos);
    while (pos) {
        const CPoint q = path.GetNext(pos);
        const double dx = q.x - prev.x;
        const double dy = q.y - prev.y;
        const double len = std::hypot(dx, dy);
        double t = len > 0 ? ((p.x - prev.x) * dx + (p.y - prev.y) * dy) / (len * len) : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const double d = std::hypot(prev.x + t * dx - p.x, prev.y + t * dy - p.y);
        if (d < best) {
            best = d;
            at = run + t * len;
        }
        run += len;
        prev = q;
    }
    return at;
}

class CurveEditorTest : public CurveViewFixture {
protected:
    // Draws a curve with the open or closed tool (a leading 'S' in `modes`
    // enters corners) and leaves it in the editor.
    CCurveElement* Draw(const std::vector<CPoint>& points, bool closed = false, bool corners = false)
    {
        SelectTool(closed ? CVEKView::kClosedCurveTool : CVEKView::kCurveTool);
        tool = Tool<CVTCurve>(closed ? CVEKView::kClosedCurveTool : CVEKView::kCurveTool);
        if (corners) Shift();
        for (const CPoint& p : points) Click(p.x, p.y);
        RightClick(points.back().x, points.back().y + 2000);
        editor = tool->GetEditor();
        EXPECT_EQ(tool->IsEditing(), 1);
        return editor->GetCurve();
    }

    CVTCurve* tool = nullptr;
    CVTModifyCurve* editor = nullptr;
};

} // namespace

TEST_F(CurveEditorTest, ANodeIsPickedUpByOneClickAndPutDownByTheNext)
{
    // Another curve ends where the middle node will be: they share it.
    CCurveElement* other = AddCurve({{2000, 8000}, {5000, 3000}}, 0);
    CCurveElement* curve = Draw({{2000, 5000}, {5000, 3000}, {8000, 5000}});
    ASSERT_NE(curve, nullptr);
    CCurveNode* middle = curve->GetNodeAt(1);
    ASSERT_EQ(middle->GetPoint(), other->GetLastNode()->GetPoint());
    const int snapshots = doc.UndoCount();

    Click(5040, 3030);
    EXPECT_EQ(editor->IsDragging(), 1);
    EXPECT_TRUE(view->CanEditCancel());
    // The pick-up holds its step until the node is put down elsewhere.
    EXPECT_EQ(doc.UndoCount(), snapshots);
    EXPECT_TRUE(doc.HasPendingUndoStep());
    MoveTo(5500, 2500);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTModifyCurve::kPromptDragging));
    // The point follows the mouse at once, on both curves.
    EXPECT_EQ(middle->GetPosition(), CPoint(5500, 2500));
    EXPECT_EQ(other->GetLastNode()->GetPosition(), CPoint(5500, 2500));
    const QImage dragged = RenderPage();
    EXPECT_TRUE(DarkNear(dragged, 5500, 2500));

    Click(5500, 2500);
    EXPECT_EQ(editor->IsDragging(), 0);
    EXPECT_EQ(editor->IsCurveModified(), 1);
    EXPECT_EQ(curve->GetNodeAt(1)->GetPosition(), CPoint(5500, 2500));
    EXPECT_EQ(Kinds(curve), (std::vector<int>{0, 1, 0}));
    // One snapshot for the move.
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
    MoveTo(4000, 7000);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTModifyCurve::kPromptHover));

    view->OnEditUndo();
    ASSERT_EQ(Curves().size(), 2u);
    EXPECT_EQ(Curves()[1]->GetNodeAt(1)->GetPosition(), CPoint(5000, 3000));
    EXPECT_EQ(Curves()[0]->GetLastNode()->GetPosition(), CPoint(5000, 3000));
}

TEST_F(CurveEditorTest, ANodePutDownWhereItWasCostsNoStep)
{
    CCurveElement* curve = Draw({{2000, 5000}, {5000, 3000}, {8000, 5000}});
    ASSERT_NE(curve, nullptr);
    doc.SetModifiedFlag(false);
    const int snapshots = doc.UndoCount();

    Click(5040, 3030);
    ASSERT_EQ(editor->IsDragging(), 1);
    Click(5000, 3000);
    EXPECT_EQ(editor->IsDragging(), 0);
    EXPECT_EQ(curve->GetNodeAt(1)->GetPosition(), CPoint(5000, 3000));
    EXPECT_EQ(doc.UndoCount(), snapshots);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.HasPendingUndoStep());
}

TEST_F(CurveEditorTest, AClickOnTheCurveInsertsASmoothNodeAndPicksItUp)
{
    CCurveElement* curve = Draw({{2000, 5000}, {5000, 5000}, {8000, 5000}}, false, true);
    ASSERT_EQ(Kinds(curve), (std::vector<int>{0, 0, 0}));
    const int snapshots = doc.UndoCount();

    Click(3500, 5050);
    ASSERT_EQ(curve->GetNodeCount(), 4);
    EXPECT_EQ(curve->GetNodeAt(1)->GetPosition(), CPoint(3500, 5000));
    EXPECT_EQ(curve->GetNodeAt(1)->GetKind(), NODE_SMOOTH);
    EXPECT_EQ(editor->IsDragging(), 1);
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
    MoveTo(3500, 4000);
    Click(3500, 4000);
    EXPECT_EQ(curve->GetNodeAt(1)->GetPosition(), CPoint(3500, 4000));

    // Two Undo steps take the node away: the move, then the insertion.
    view->OnEditUndo();
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Curves()[0]->GetNodeCount(), 4);
    EXPECT_EQ(Curves()[0]->GetNodeAt(1)->GetPosition(), CPoint(3500, 5000));
    view->OnEditUndo();
    EXPECT_EQ(Curves()[0]->GetNodeCount(), 3);
}

TEST_F(CurveEditorTest, AClickAwayFromTheCurveIsLeftToTheOwner)
{
    Draw({{2000, 5000}, {5000, 5000}, {8000, 5000}});
    const int snapshots = doc.UndoCount();
    MoveTo(5000, 8000);
    EXPECT_EQ(editor->OnLButtonDown(0, 5000, 8000), FALSE);
    Click(5000, 8000);
    EXPECT_EQ(doc.UndoCount(), snapshots);
    EXPECT_EQ(tool->IsEditing(), 1);
}

struct DeleteCase {
    const char* name;
    bool closed;
    std::vector<CPoint> points;
    int nodesLeft; // 0: the whole curve goes
};

class CurveEditorDelete : public CurveEditorTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(CurveEditorDelete, DeleteRemovesTheHoveredNodeOrTheWholeCurve)
{
    const DeleteCase& c = GetParam();
    CCurveElement* curve = Draw(c.points, c.closed);
    ASSERT_NE(curve, nullptr);
    const int snapshots = doc.UndoCount();
    MoveTo(c.points[1].x + 30, c.points[1].y - 30);
    ASSERT_NE(editor->GetHoveredNode(), nullptr);
    Key(Qt::Key_Delete);
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
    EXPECT_EQ(editor->IsCurveModified(), 1);
    if (c.nodesLeft == 0) {
        EXPECT_TRUE(Curves().empty());
        EXPECT_EQ(editor->IsCurveRemoved(), 1);
        EXPECT_EQ(tool->IsEditing(), 0);
    } else {
        ASSERT_EQ(Curves().size(), 1u);
        EXPECT_EQ(curve->GetNodeCount(), c.nodesLeft);
        EXPECT_EQ(editor->IsCurveRemoved(), 0);
        EXPECT_EQ(tool->IsEditing(), 1);
        if (!c.closed) {
            EXPECT_EQ(curve->GetFirstNode()->GetKind(), NODE_CORNER);
            EXPECT_EQ(curve->GetLastNode()->GetKind(), NODE_CORNER);
        }
    }
    // Without a node under the cursor Delete does nothing.
    const int after = doc.UndoCount();
    MoveTo(500, 9000);
    Key(Qt::Key_Delete);
    EXPECT_EQ(doc.UndoCount(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Curves, CurveEditorDelete,
    ::testing::Values(DeleteCase{"OpenOfFour", false, {{2000, 5000}, {4000, 4000}, {6000, 5000}, {8000, 4000}}, 3},
                      DeleteCase{"OpenOfTwo", false, {{2000, 5000}, {6000, 5000}}, 0},
                      DeleteCase{"ClosedOfFour", true, {{3000, 3000}, {6000, 3000}, {6000, 6000}, {3000, 6000}}, 3},
                      DeleteCase{"ClosedOfThree", true, {{3000, 3000}, {6000, 3000}, {4500, 6000}}, 0}),
    [](const ::testing::TestParamInfo<DeleteCase>& info) { return std::string(info.param.name); });

TEST_F(CurveEditorTest, ShiftTogglesTheHoveredNodeButNotTheEndsOfAnOpenCurve)
{
    CCurveElement* curve = Draw({{2000, 5000}, {4000, 4000}, {6000, 5000}, {8000, 4000}});
    ASSERT_EQ(Kinds(curve), (std::vector<int>{0, 1, 1, 0}));
    int snapshots = doc.UndoCount();
    MoveTo(4000, 4000);
    Shift();
    EXPECT_EQ(Kinds(curve), (std::vector<int>{0, 0, 1, 0}));
    EXPECT_EQ(doc.UndoCount(), ++snapshots);
    Shift();
    EXPECT_EQ(Kinds(curve), (std::vector<int>{0, 1, 1, 0}));
    EXPECT_EQ(doc.UndoCount(), ++snapshots);

    for (const CPoint& end : {CPoint(2000, 5000), CPoint(8000, 4000)}) {
        MoveTo(end.x, end.y);
        ASSERT_NE(editor->GetHoveredNode(), nullptr);
        Shift();
        EXPECT_EQ(Kinds(curve), (std::vector<int>{0, 1, 1, 0}));
        EXPECT_EQ(doc.UndoCount(), snapshots);
    }
}

TEST_F(CurveEditorTest, ShiftTogglesEveryNodeOfAClosedCurve)
{
    CCurveElement* curve = Draw({{3000, 3000}, {6000, 3000}, {6000, 6000}, {3000, 6000}}, true);
    ASSERT_EQ(Kinds(curve), (std::vector<int>{1, 1, 1, 1}));
    MoveTo(3000, 3000);
    Shift();
    EXPECT_EQ(Kinds(curve), (std::vector<int>{0, 1, 1, 1}));
    // The editor shows the curve as the page draws it.
    CPointList shown;
    CPointList outline;
    editor->GetPolyline(shown);
    curve->GetOutlinePoints(outline);
    EXPECT_EQ(shown.GetCount(), outline.GetCount());
}

struct SpreadCase {
    const char* name;
    const char* keys;
    bool closed;
    bool cornerInside;
    int nodes; // after the keys
};

class CurveEditorSpread : public CurveEditorTest, public ::testing::WithParamInterface<SpreadCase> {};

TEST_P(CurveEditorSpread, DigitsSpreadTheNodesEvenly)
{
    const SpreadCase& c = GetParam();
    std::vector<CPoint> points = c.closed
                                     ? std::vector<CPoint>{{3000, 3000}, {7000, 3500}, {6000, 7000}, {3500, 6500}}
                                     : std::vector<CPoint>{{2000, 5000}, {4000, 4200}, {6000, 4200}, {8000, 5000}};
    CCurveElement* curve = Draw(points, c.closed);
    if (c.cornerInside) {
        MoveTo(points[1].x, points[1].y);
        Shift();
    }
    const std::vector<CPoint> before = Positions(curve);
    CPointList outline;
    curve->GetOutlinePoints(outline);
    double length = 0.0;
    PolylineLength(outline, length);
    if (c.closed) length += Distance(outline.GetTail(), outline.GetHead());
    const int snapshots = doc.UndoCount();

    MoveTo(500, 9000);
    for (const char* k = c.keys; *k; ++k) Key(Qt::Key_0 + (*k - '0'));
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(curve->GetNodeCount(), c.nodes);
    if (c.nodes == int(before.size()) && Positions(curve) == before) {
        EXPECT_EQ(doc.UndoCount(), snapshots);
        return;
    }

    // One snapshot: the first Undo shows the curve as it was.
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
    const std::vector<CPoint> after = Positions(curve);
    const double step = length / (c.closed ? c.nodes : c.nodes - 1);
    if (!c.closed) {
        EXPECT_EQ(after.front(), before.front());
        EXPECT_EQ(after.back(), before.back());
    }
    // Equal steps along the curve as it was.
    CPointList path = outline;
    if (c.closed) path.AddTail(CPoint(outline.GetHead()));
    std::vector<double> at;
    for (const CPoint& p : after) at.push_back(LengthAlong(path, p));
    if (c.closed) at.push_back(length + at.front());
    for (std::size_t i = 1; i < at.size(); ++i) EXPECT_NEAR(at[i] - at[i - 1], step, step * 0.01 + 2.0) << i;
    // Shown as dots until Esc (which the closed-curve tool keeps to
    // itself).
    for (const CCurveNode* n : curve->Nodes()) EXPECT_EQ(n->GetMark(), 1);
    Key(Qt::Key_Escape);
    for (const CCurveNode* n : curve->Nodes()) EXPECT_EQ(n->GetMark(), c.closed ? 1 : 0);

    view->OnEditUndo();
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Positions(Curves()[0]), before);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, CurveEditorSpread,
    ::testing::Values(SpreadCase{"FifteenOnAnOpenCurve", "15", false, false, 15},
                      SpreadCase{"SevenOnAnOpenCurve", "7", false, false, 7},
                      SpreadCase{"ThreeOnAnOpenCurve", "3", false, false, 3},
                      SpreadCase{"TwentyNine", "29", false, false, 29},
                      SpreadCase{"ZeroDoesNothing", "0", false, false, 4},
                      SpreadCase{"OneAloneWaitsForTheSecondDigit", "1", false, false, 4},
                      SpreadCase{"ACornerInsideForbidsIt", "7", false, true, 4},
                      SpreadCase{"TwelveOnAClosedCurve", "12", true, false, 12},
                      SpreadCase{"ThreeOnAClosedCurve", "3", true, false, 3}),
    [](const ::testing::TestParamInfo<SpreadCase>& info) { return std::string(info.param.name); });

TEST_F(CurveEditorTest, EscDuringADragPutsTheNodeBackAndDropsItsSnapshot)
{
    CCurveElement* curve = Draw({{2000, 5000}, {5000, 3000}, {8000, 5000}});
    const int snapshots = doc.UndoCount();
    Click(5000, 3000);
    MoveTo(6000, 2000);
    EXPECT_EQ(curve->GetNodeAt(1)->GetPosition(), CPoint(6000, 2000));
    KeyDown(Qt::Key_Escape);
    EXPECT_EQ(curve->GetNodeAt(1)->GetPosition(), CPoint(5000, 3000));
    EXPECT_EQ(doc.UndoCount(), snapshots);
    EXPECT_EQ(tool->IsEditing(), 0);
}

TEST_F(CurveEditorTest, UndoDuringADragEndsItAndTheNextUndoPutsTheNodeBack)
{
    CCurveElement* curve = Draw({{2000, 5000}, {5000, 3000}, {8000, 5000}});
    const int snapshots = doc.UndoCount();
    Click(5000, 3000);
    MoveTo(6000, 2000);
    view->OnEditUndo();
    EXPECT_EQ(editor->IsDragging(), 0);
    EXPECT_EQ(tool->IsEditing(), 1);
    EXPECT_EQ(curve->GetNodeAt(1)->GetPosition(), CPoint(6000, 2000));
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
    view->OnEditUndo();
    ASSERT_EQ(Curves().size(), 1u);
    EXPECT_EQ(Curves()[0]->GetNodeAt(1)->GetPosition(), CPoint(5000, 3000));
}

TEST_F(CurveEditorTest, ToolBarChoicesApplyToTheCurveWithOneSnapshotEach)
{
    auto* curve = static_cast<COpenCurveElement*>(Draw({{2000, 5000}, {5000, 3000}, {8000, 5000}}));
    int snapshots = doc.UndoCount();

    // The same colour again is no step.
    tool->OnLineColor();
    EXPECT_EQ(doc.UndoCount(), snapshots);
    Settings().m_crLineColor = RGB(200, 0, 0);
    tool->OnLineColor();
    EXPECT_EQ(curve->GetColor(), RGB(200, 0, 0));
    EXPECT_EQ(doc.UndoCount(), ++snapshots);

    Settings().m_nCurLineType = 1;
    tool->OnLineType();
    EXPECT_EQ(curve->GetLineAttr(), Settings().m_aLineTypes[1]);
    EXPECT_EQ(doc.UndoCount(), ++snapshots);

    Settings().m_nStartArrowType = 2;
    Settings().m_nStartArrowSize = 500;
    Settings().m_dStartArrowAngle = 40.0;
    tool->OnStartArrow();
    Settings().m_nEndArrowType = 3;
    tool->OnEndArrow();
    int sk, ss, ek, es;
    double sa, ea;
    curve->GetArrowHeads(sk, ss, sa, ek, es, ea);
    EXPECT_EQ(sk, 2);
    EXPECT_EQ(ss, 500);
    EXPECT_DOUBLE_EQ(sa, 40.0);
    EXPECT_EQ(ek, 3);
    snapshots += 2;
    EXPECT_EQ(doc.UndoCount(), std::min(snapshots, CVEKDoc::kUndoDepth));

    // Nothing while a node is being dragged.
    Click(5000, 3000);
    Settings().m_crLineColor = RGB(0, 0, 200);
    tool->OnLineColor();
    EXPECT_EQ(curve->GetColor(), RGB(200, 0, 0));
}

TEST_F(CurveEditorTest, CutRemovesTheCurveAndEndsTheEditing)
{
    Draw({{2000, 5000}, {5000, 3000}, {8000, 5000}});
    EXPECT_TRUE(tool->CanCopy());
    const int snapshots = doc.UndoCount();
    tool->OnEditCut();
    EXPECT_TRUE(Curves().empty());
    EXPECT_EQ(tool->IsEditing(), 0);
    EXPECT_FALSE(tool->CanCopy());
    EXPECT_EQ(doc.UndoCount(), snapshots + 1);
    // The tool draws again at once.
    Click(2000, 2000);
    EXPECT_EQ(tool->GetPointCount(), 1);
}

TEST_F(CurveEditorTest, TheEditorShowsTheCurveThroughItsNodesWithMarks)
{
    CCurveElement* curve = Draw({{2000, 5000}, {4000, 3500}, {6000, 5500}, {8000, 4000}});
    MoveTo(4000, 3500);
    ASSERT_EQ(editor->GetHoveredNode(), curve->GetNodeAt(1));
    const QImage image = RenderView();
    const QRgb prompt = qRgb(255, 0, 0);
    CPointList shown;
    editor->GetPolyline(shown);
    int index = 0;
    for (const CPoint& p : shown)
        if (index++ % 5 == 0) EXPECT_TRUE(ColourNear(image, p.x, p.y, prompt)) << p.x << "," << p.y;
    for (const CPoint& p : Positions(curve)) EXPECT_TRUE(ColourNear(image, p.x, p.y, prompt, 2));
    // The hovered node has its key-point mark: crosses five pixels out.
    EXPECT_TRUE(ColourNear(image, 4000 + 50, 3500, prompt, 0));
    EXPECT_TRUE(ColourNear(image, 4000, 3500 + 50, prompt, 0));

    // Over the curve between nodes: an X mark at the outline point.
    CPointList outline;
    curve->GetOutlinePoints(outline);
    const CPoint between = outline.GetAt(outline.FindIndex(outline.GetCount() / 6));
    MoveTo(between.x + 30, between.y + 30);
    EXPECT_EQ(editor->GetHoveredNode(), nullptr);
    EXPECT_EQ(editor->HasOutlinePoint(), 1);
}

TEST_F(CurveEditorTest, DeleteDuringADragRemovesTheDraggedNode)
{
    CCurveElement* curve = Draw({{2000, 5000}, {4000, 4000}, {6000, 5000}, {8000, 4000}});
    Click(4000, 4000);
    ASSERT_EQ(editor->IsDragging(), 1);
    Key(Qt::Key_Delete);
    EXPECT_EQ(curve->GetNodeCount(), 3);
    EXPECT_EQ(editor->IsDragging(), 0);
    EXPECT_FALSE(view->CanEditCancel());
}

// Deleting down to one node removes the curve, and with it the mirror that
// lost the same node: no one-node curve stays on the page.
TEST_F(CurveEditorTest, ACurveDeletedToOneNodeTakesItsMirrorWithIt)
{
    CCurveElement* root = AddCurve({{2000, 3000}, {6000, 3000}}, 0);
    auto* a1 = new CSharedPoint(Page(), 0, 5000);
    auto* a2 = new CSharedPoint(Page(), 10000, 5000);
    Page()->AddPoint(a1);
    Page()->AddPoint(a2);
    CCurveNodeList nodes;
    for (CCurveNode* n : root->Nodes()) {
        auto* p = new CSharedPoint(Page(), n->GetPoint(), a1, a2);
        Page()->AddPoint(p);
        nodes.AddTail(new CCurveNode(p, n->GetKind()));
    }
    auto* mirror = new COpenCurveElement(Page(), 0, CLineAttr(10), 0, nodes, 0, 600, 53.0, 0, 600, 53.0, root);
    Pages().AddElementToPage(mirror);
    ASSERT_EQ(Curves().size(), 2u);

    CVTModifyCurve own(view.get(), nullptr);
    own.SetCurve(root);
    own.OnMouseMove(0, 2000, 3000);
    own.OnDeleteDown();
    EXPECT_EQ(own.IsCurveRemoved(), 1);
    EXPECT_TRUE(Curves().empty());
    view->OnEditUndo();
    EXPECT_EQ(Curves().size(), 2u);
}

TEST_F(CurveEditorTest, EditsOfAMirrorCurveReachItsSource)
{
    CCurveElement* root = AddCurve({{2000, 3000}, {4000, 3000}, {6000, 3000}}, 0);
    // Mirrored across the line y = 5000.
    auto* a1 = new CSharedPoint(Page(), 0, 5000);
    auto* a2 = new CSharedPoint(Page(), 10000, 5000);
    Page()->AddPoint(a1);
    Page()->AddPoint(a2);
    CCurveNodeList nodes;
    for (CCurveNode* n : root->Nodes()) {
        auto* p = new CSharedPoint(Page(), n->GetPoint(), a1, a2);
        Page()->AddPoint(p);
        nodes.AddTail(new CCurveNode(p, n->GetKind()));
    }
    auto* mirror = new COpenCurveElement(Page(), 0, CLineAttr(10), 0, nodes, 0, 600, 53.0, 0, 600, 53.0, root);
    Pages().AddElementToPage(mirror);
    ASSERT_EQ(mirror->GetNodeAt(1)->GetPosition(), CPoint(4000, 7000));

    CVTModifyCurve own(view.get(), nullptr);
    own.SetCurve(mirror);
    // Insert on the mirror: the source gets the node too.
    EXPECT_TRUE(own.OnLButtonDown(0, 3000, 7040));
    ASSERT_EQ(mirror->GetNodeCount(), 4);
    ASSERT_EQ(root->GetNodeCount(), 4);
    EXPECT_EQ(root->GetNodeAt(1)->GetPosition(), CPoint(3000, 3000));
    // Dragging the mirror's node moves the source's.
    ASSERT_EQ(own.IsDragging(), 1);
    own.OnMouseMove(0, 3000, 7500);
    EXPECT_EQ(root->GetNodeAt(1)->GetPosition(), CPoint(3000, 2500));
    EXPECT_EQ(mirror->GetNodeAt(1)->GetPosition(), CPoint(3000, 7500));
    own.OnLButtonDown(0, 3000, 7500);
    EXPECT_EQ(own.IsDragging(), 0);
    // Removing a node of the mirror removes it from the source.
    own.OnMouseMove(0, 4000, 7000);
    own.OnDeleteDown();
    EXPECT_EQ(mirror->GetNodeCount(), 3);
    EXPECT_EQ(root->GetNodeCount(), 3);
    // Without an owner the editor ends its own editing.
    own.OnRButtonDown(0, 0, 0);
    EXPECT_EQ(own.GetCurve(), nullptr);
}
