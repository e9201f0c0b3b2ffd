// Point capture on a real page: what wins near nodes, crossings and
// curves, how the mask, the radius, auto snap and Ctrl steer it, the length
// prompts, and how a click becomes a shared point.
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"
#include "shell/CToolTable.h"
#include "app/CVectorTool.h"

#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"
#include "model/CTextFont.h"
#include "platform/CDC.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <functional>
#include <vector>

namespace {

// A tool that overrides nothing of the capture, with the state in reach
// and the point-position dialog replaced by a script.
class ProbeTool : public CVectorTool {
public:
    using CVectorTool::CVectorTool;
    using CVectorTool::m_bAfterNode;
    using CVectorTool::m_bCaptureOn;
    using CVectorTool::m_bSlideOnCurve;
    using CVectorTool::m_captureKind;
    using CVectorTool::m_captureMask;
    using CVectorTool::m_capturedPos;
    using CVectorTool::m_capturePoint;
    using CVectorTool::m_nStep;
    using CVectorTool::m_pCapturedElement;
    using CVectorTool::m_pCapturedNode;
    using CVectorTool::m_pReferenceCurve;
    using CVectorTool::m_pSecondElement;

    std::function<BOOL(const CPointList&, int, const CPoint&)> dialog;
    int slideFlagInDialog = -1;

protected:
    BOOL RunPointOnCurveDialog(const CPointList& outline, int length, const CPoint& end) override
    {
        slideFlagInDialog = m_bSlideOnCurve;
        return dialog ? dialog(outline, length, end) : TRUE;
    }
};

// Page (scale 1, so the capture radius of 15 pixels is 15 units):
//   A  open, corners (0, 1000) - (2000, 1000)
//   B  open, corners (1500, 0) - (1500, 2000), crossing A at (1500, 1000)
class VectorToolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toUtf8());
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toUtf8());
        Settings().SetDefaults();
        Settings().m_strBackupFile = dir.filePath(QStringLiteral("backup.vek")).toStdString();
        ASSERT_TRUE(doc.OnNewDocument());
        view = std::make_unique<CVEKView>(&doc, CToolTable());
        view->resize(400, 300);
        view->SetViewTransform(1.0, 0, 0);
        ASSERT_DOUBLE_EQ(view->GetScale(), 1.0);
        tool = std::make_unique<ProbeTool>(view.get());
        a = AddOpen({{0, 1000}, {2000, 1000}});
        b = AddOpen({{1500, 0}, {1500, 2000}});
    }

    CPageSet* Set() { return doc.GetPageSet(); }
    CPage* Page() { return Set()->GetCurrentPage(); }

    std::vector<CCurveNode*> Nodes(std::initializer_list<CPoint> points, int kind = NODE_CORNER)
    {
        std::vector<CCurveNode*> nodes;
        for (const CPoint& p : points) {
            auto* shared = new CSharedPoint(Page(), p.x, p.y);
            Page()->AddPoint(shared);
            nodes.push_back(new CCurveNode(shared, kind));
        }
        return nodes;
    }
    COpenCurveElement* AddOpen(std::initializer_list<CPoint> points, int kind = NODE_CORNER)
    {
        CCurveNodeList list;
        for (CCurveNode* n : Nodes(points, kind)) list.AddTail(n);
        list.GetHead()->SetKind(NODE_CORNER);
        list.GetTail()->SetKind(NODE_CORNER);
        auto* curve = new COpenCurveElement(Page(), 0, CLineAttr(), 0, list, 0, 0, 0.0, 0, 0, 0.0);
        Page()->AddElement(curve);
        return curve;
    }
    CClosedCurveElement* AddClosed(std::initializer_list<CPoint> points)
    {
        CCurveNodeList list;
        for (CCurveNode* n : Nodes(points)) list.AddTail(n);
        auto* curve = new CClosedCurveElement(Page(), 0, CLineAttr(), 0, list, nullptr);
        Page()->AddElement(curve);
        return curve;
    }
    CTextElement* AddText(int x, int y)
    {
        LogFont font = CSystemSettings::DefaultTextFont();
        font.lfHeight = -500;
        auto* text = new CTextElement(Page(), 0, CTextFont("WWWW", font, 0), x, y, TRANSPARENT);
        Page()->AddElement(text);
        return text;
    }
    BOOL Move(int x, int y, UINT flags = 0) { return tool->OnMouseMove(flags, x, y); }

    QTemporaryDir dir;
    CVEKDoc doc;
    std::unique_ptr<CVEKView> view;
    std::unique_ptr<ProbeTool> tool;
    COpenCurveElement* a = nullptr;
    COpenCurveElement* b = nullptr;
};

TEST_F(VectorToolTest, ResetCapturesAnythingFromScratch)
{
    tool->m_captureMask = 0x1A;
    tool->m_bCaptureOn = 0;
    tool->m_nStep = 3;
    tool->m_pReferenceCurve = a;
    tool->m_capturePoint = CCapturePoint(7, 8);
    tool->Activate();
    EXPECT_EQ(tool->m_captureMask, CAPTURE_MASK_ALL);
    EXPECT_EQ(tool->m_bCaptureOn, 1);
    EXPECT_EQ(tool->m_nStep, 0);
    EXPECT_EQ(tool->m_pReferenceCurve, nullptr);
    EXPECT_EQ(tool->m_captureKind, CAPTURED_NOTHING);
    // The last taken point outlives a reset: tools read it after the click.
    EXPECT_EQ(tool->m_capturePoint.GetPosition(), CPoint(7, 8));
}

TEST_F(VectorToolTest, NodeThenCrossingThenPointOnCurve)
{
    ASSERT_TRUE(Move(2004, 1003));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_NODE);
    EXPECT_EQ(tool->m_pCapturedNode, a->GetLastNode());
    EXPECT_EQ(tool->m_pCapturedElement, a);
    EXPECT_EQ(tool->m_capturedPos, CPoint(2000, 1000));

    ASSERT_TRUE(Move(1496, 1005));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_CROSSING);
    EXPECT_EQ(tool->m_capturedPos, CPoint(1500, 1000));
    EXPECT_EQ(tool->m_pCapturedNode, nullptr);
    EXPECT_TRUE((tool->m_pCapturedElement == a && tool->m_pSecondElement == b) ||
                (tool->m_pCapturedElement == b && tool->m_pSecondElement == a));

    ASSERT_TRUE(Move(500, 1008));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_POINT_ON_CURVE);
    EXPECT_EQ(tool->m_capturedPos, CPoint(500, 1000));
    EXPECT_EQ(tool->m_pCapturedElement, a);
    // The reference end is the nearer end along the curve.
    EXPECT_EQ(tool->m_pCapturedNode, a->GetFirstNode());
    EXPECT_EQ(tool->m_bAfterNode, 1);
}

TEST_F(VectorToolTest, ALaterCandidateMustBeNearerByWholeUnits)
{
    COpenCurveElement* c = AddOpen({{1504, 1003}, {1504, 1600}});
    struct Case {
        CPoint cursor;
        int kind;
    };
    // (1503, 1000): C's first node sqrt(10) = 3.16 away, the crossing of A
    // and B 3.0 away: both round to 3, so the node, found first, stays
    // although the crossing is nearer. (1501, 1001): crossing 1.4 (1),
    // node 3.6 (4): the crossing wins.
    const Case cases[] = {{{1503, 1000}, CAPTURED_NODE}, {{1501, 1001}, CAPTURED_CROSSING}};
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << k.cursor.x << "," << k.cursor.y);
        ASSERT_TRUE(Move(k.cursor.x, k.cursor.y));
        EXPECT_EQ(tool->m_captureKind, k.kind);
    }
    ASSERT_TRUE(Move(1503, 1000));
    EXPECT_EQ(tool->m_pCapturedNode, c->GetFirstNode());
}

TEST_F(VectorToolTest, MaskDecidesWhatIsCaptured)
{
    AddText(5000, 5000);
    struct Case {
        DWORD mask;
        UINT flags;
        CPoint cursor;
        BOOL result;
        int kind;
    };
    const Case cases[] = {
        // Nothing near: the bare position only where the mask allows it.
        {CAPTURE_MASK_ALL, 0, {8000, 8000}, TRUE, CAPTURED_FREE_POINT},
        {0xE0800000u, 0, {8000, 8000}, TRUE, CAPTURED_FREE_POINT},
        {0xE0000000u, 0, {8000, 8000}, FALSE, CAPTURED_NOTHING},
        // Points on curves only: an end node is just a point on the curve.
        {0x3000000u, 0, {2004, 1003}, TRUE, CAPTURED_POINT_ON_CURVE},
        // Ctrl takes the bare position where bit 23 or the full mask says so.
        {CAPTURE_MASK_ALL, MK_CONTROL, {2004, 1003}, TRUE, CAPTURED_FREE_POINT},
        {0xE0800000u, MK_CONTROL, {2004, 1003}, TRUE, CAPTURED_FREE_POINT},
        {0xE0000000u, MK_CONTROL, {2004, 1003}, TRUE, CAPTURED_NODE},
        // Element kinds: a curve by the element hit, a text under the cursor.
        {ELEMENT_CURVE, 0, {500, 1008}, TRUE, CAPTURED_POINT_ON_CURVE},
        {ELEMENT_TEXT, 0, {5100, 5100}, TRUE, CAPTURED_ELEMENT},
        {ELEMENT_TEXT, 0, {500, 1008}, FALSE, CAPTURED_NOTHING},
        {0, 0, {2004, 1003}, FALSE, CAPTURED_NOTHING},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.mask << " at " << std::dec << c.cursor.x
                                        << "," << c.cursor.y);
        tool->Reset();
        tool->m_captureMask = c.mask;
        EXPECT_EQ(Move(c.cursor.x, c.cursor.y, c.flags), c.result);
        EXPECT_EQ(tool->m_captureKind, c.kind);
        if (c.kind == CAPTURED_FREE_POINT || c.kind == CAPTURED_NOTHING) {
            EXPECT_EQ(tool->m_capturedPos, c.cursor);
        }
    }
}

TEST_F(VectorToolTest, CaptureOffTakesTheCursorWhateverTheMask)
{
    tool->m_captureMask = 0;
    tool->m_bCaptureOn = 0;
    EXPECT_TRUE(Move(2004, 1003));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_FREE_POINT);
    EXPECT_EQ(tool->m_capturedPos, CPoint(2004, 1003));
    EXPECT_EQ(tool->m_pCapturedElement, nullptr);
}

TEST_F(VectorToolTest, RadiusIsInPixelsAtEveryZoom)
{
    struct Case {
        double scale;
        int radius;
        int dx; // cursor right of A's last node (2000, 1000)
        int kind;
    };
    const Case cases[] = {
        {1.0, 15, 14, CAPTURED_NODE},
        {1.0, 15, 16, CAPTURED_FREE_POINT},
        {2.0, 15, 29, CAPTURED_NODE},
        {2.0, 15, 31, CAPTURED_FREE_POINT},
        {1.0, 5, 6, CAPTURED_FREE_POINT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.scale << " " << c.radius << " " << c.dx);
        view->SetViewTransform(c.scale, 0, 0);
        Settings().m_nCaptureRadius = c.radius;
        EXPECT_DOUBLE_EQ(tool->GetCaptureTolerance(), c.scale * c.radius);
        ASSERT_TRUE(Move(2000 + c.dx, 1000));
        EXPECT_EQ(tool->m_captureKind, c.kind);
    }
}

TEST_F(VectorToolTest, AutoSnapOffLeavesOnlyPointsOnCurves)
{
    Settings().m_bAutoSnap = 0;
    // Neither the node nor the crossing; the full mask's bit 29 still finds
    // the curve.
    ASSERT_TRUE(Move(2004, 1003));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_POINT_ON_CURVE);
    ASSERT_TRUE(Move(1496, 1005));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_POINT_ON_CURVE);

    // A curve found by the final element hit gives nothing.
    tool->m_captureMask = ELEMENT_CURVE;
    EXPECT_FALSE(Move(500, 1008));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_NOTHING);
    EXPECT_EQ(tool->m_pCapturedElement, nullptr);

    tool->m_captureMask = CAPTURE_ON_OPEN_CURVE;
    EXPECT_TRUE(Move(500, 1008));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_POINT_ON_CURVE);
}

TEST_F(VectorToolTest, ReferenceCurveBitsLookAtThatCurveOnly)
{
    tool->m_captureMask = CAPTURE_REF_NODES | CAPTURE_REF_CROSSINGS | CAPTURE_ON_REF_CURVE;
    tool->m_pReferenceCurve = b;

    EXPECT_FALSE(Move(2004, 1003)); // A's node
    EXPECT_EQ(tool->m_captureKind, CAPTURED_NOTHING);

    ASSERT_TRUE(Move(1503, 1996)); // B's node
    EXPECT_EQ(tool->m_captureKind, CAPTURED_NODE);
    EXPECT_EQ(tool->m_pCapturedNode, b->GetLastNode());

    ASSERT_TRUE(Move(1496, 1005)); // crossing with A
    EXPECT_EQ(tool->m_captureKind, CAPTURED_CROSSING);
    EXPECT_EQ(tool->m_pCapturedElement, b);
    EXPECT_EQ(tool->m_pSecondElement, a);

    ASSERT_TRUE(Move(1508, 500)); // on B
    EXPECT_EQ(tool->m_captureKind, CAPTURED_POINT_ON_CURVE);
    EXPECT_EQ(tool->m_pCapturedElement, b);
    EXPECT_EQ(tool->m_capturedPos, CPoint(1500, 500));

    EXPECT_FALSE(Move(500, 1008)); // on A
}

TEST_F(VectorToolTest, SelfCrossingOfACurve)
{
    // A bow tie crossing itself at (5500, 5500).
    COpenCurveElement* bow = AddOpen({{5000, 5000}, {6000, 6000}, {6000, 5000}, {5000, 6000}});
    tool->m_captureMask = CAPTURE_ON_CURVE;
    ASSERT_TRUE(Move(5503, 5505));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_CROSSING);
    EXPECT_EQ(tool->m_capturedPos, CPoint(5500, 5500));
    EXPECT_EQ(tool->m_pCapturedElement, bow);
    EXPECT_EQ(tool->m_pSecondElement, nullptr);
}

TEST_F(VectorToolTest, AlternativeModeTakesSmoothNodesToo)
{
    COpenCurveElement* wave = AddOpen({{5000, 5000}, {6000, 5400}, {7000, 5000}}, NODE_SMOOTH);
    const CPoint middle = wave->GetNodeAt(1)->GetPosition();

    // A smooth node is no corner: only a point on the curve.
    ASSERT_TRUE(Move(middle.x + 3, middle.y + 3));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_POINT_ON_CURVE);

    EXPECT_FALSE(tool->OnF4Down());
    EXPECT_EQ(Settings().m_bAltCaptureMode, 1);
    ASSERT_TRUE(Move(middle.x + 3, middle.y + 3));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_ANY_NODE);
    EXPECT_EQ(tool->m_pCapturedNode, wave->GetNodeAt(1));
    EXPECT_EQ(tool->m_pCapturedElement, wave);

    // The mode is one setting for every tool.
    ProbeTool other(view.get());
    ASSERT_TRUE(other.OnMouseMove(0, middle.x + 3, middle.y + 3));
    EXPECT_EQ(other.m_captureKind, CAPTURED_ANY_NODE);

    tool->OnF4Down();
    EXPECT_EQ(Settings().m_bAltCaptureMode, 0);
}

TEST_F(VectorToolTest, LengthPromptsAtAPointOnACurve)
{
    ASSERT_TRUE(Move(1000, 1006)); // the middle of A, 20 mm long
    ASSERT_EQ(tool->GetPrompts().GetCount(), 2);
    const CMeasurePrompt length = tool->GetPrompts().GetHead();
    const CMeasurePrompt ratio = tool->GetPrompts().GetTail();
    EXPECT_EQ(length.text, "L=1cm");
    EXPECT_EQ(CPoint(length.x, length.y), CPoint(1028, 1006));
    EXPECT_EQ(ratio.text, "P=0.5");
    EXPECT_EQ(CPoint(ratio.x, ratio.y), CPoint(1028, 1022));

    // The work unit applies from the next move on.
    Settings().m_nWorkUnit = 3;
    ASSERT_TRUE(Move(500, 1006));
    EXPECT_EQ(tool->GetPrompts().GetHead().text, "L=5mm");
    EXPECT_EQ(tool->GetPrompts().GetTail().text, "P=0.25");

    // The reference end is the nearer one: from the far end of A.
    ASSERT_TRUE(Move(1600, 1006));
    EXPECT_EQ(tool->m_pCapturedNode, a->GetLastNode());
    EXPECT_EQ(tool->GetPrompts().GetHead().text, "L=4mm");

    // Anything else empties the list.
    ASSERT_TRUE(Move(8000, 8000));
    EXPECT_TRUE(tool->GetPrompts().IsEmpty());
}

TEST_F(VectorToolTest, SwappingTheReferenceEndMeasuresFromTheOtherEnd)
{
    ASSERT_TRUE(Move(500, 1006));
    double total = 0, part = 0;
    tool->GetDistanceAlongCurve(total, part);
    EXPECT_DOUBLE_EQ(total, 2000.0);
    EXPECT_DOUBLE_EQ(part, 500.0);

    tool->SwapReferenceEnd();
    EXPECT_EQ(tool->m_pCapturedNode, a->GetLastNode());
    tool->GetDistanceAlongCurve(total, part);
    EXPECT_DOUBLE_EQ(part, 1500.0);

    tool->SwapReferenceEnd(CPoint(0, 1000));
    EXPECT_EQ(tool->m_pCapturedNode, a->GetFirstNode());
    tool->GetDistanceAlongCurve(total, part);
    EXPECT_DOUBLE_EQ(part, 500.0);
}

TEST_F(VectorToolTest, ClickOnABarePositionMakesANewPointEachTime)
{
    const int before = Page()->GetPointCount();
    ASSERT_TRUE(tool->OnLButtonDown(MK_LBUTTON, 8000, 8000));
    const CCapturePoint taken = tool->m_capturePoint;
    EXPECT_FALSE(taken.IsExisting());
    EXPECT_EQ(taken.GetPosition(), CPoint(8000, 8000));

    CSharedPoint* first = taken.GetSharedPoint(Set());
    CSharedPoint* second = taken.GetSharedPoint(Set());
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(first->GetPosition(), CPoint(8000, 8000));
    EXPECT_EQ(Page()->GetPointCount(), before + 2);
    EXPECT_TRUE(Page()->FindPoint(first));
}

TEST_F(VectorToolTest, ClickOnANodeReusesItsPoint)
{
    const int before = Page()->GetPointCount();
    ASSERT_TRUE(tool->OnLButtonDown(MK_LBUTTON, 2004, 1003));
    const CCapturePoint taken = tool->m_capturePoint;
    EXPECT_TRUE(taken.IsExisting());
    EXPECT_EQ(taken.m_pNode, a->GetLastNode());
    EXPECT_EQ(taken.GetPosition(), CPoint(2000, 1000));
    EXPECT_EQ(taken.GetSharedPoint(Set()), a->GetLastNode()->GetPoint());
    EXPECT_EQ(Page()->GetPointCount(), before);
}

TEST_F(VectorToolTest, ClickOnACrossingMakesANewPointThere)
{
    ASSERT_TRUE(tool->OnLButtonDown(MK_LBUTTON, 1496, 1005));
    EXPECT_FALSE(tool->m_capturePoint.IsExisting());
    EXPECT_EQ(tool->m_capturePoint.GetPosition(), CPoint(1500, 1000));
}

TEST_F(VectorToolTest, ClickOnNothingOrOnATextTakesNoPoint)
{
    AddText(5000, 5000);
    tool->m_capturePoint = CCapturePoint(1, 2);
    tool->m_captureMask = 0xE0000000u;
    EXPECT_FALSE(tool->OnLButtonDown(MK_LBUTTON, 8000, 8000));
    tool->m_captureMask = CAPTURE_MASK_ALL;
    EXPECT_FALSE(tool->OnLButtonDown(MK_LBUTTON, 5100, 5100));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_ELEMENT);
    EXPECT_EQ(tool->m_capturePoint.GetPosition(), CPoint(1, 2));
}

TEST_F(VectorToolTest, PointOnCurveIsTakenAtOnceWithoutValueDialogs)
{
    Settings().m_bValueDialogs = 0;
    bool asked = false;
    tool->dialog = [&](const CPointList&, int, const CPoint&) {
        asked = true;
        return FALSE;
    };
    ASSERT_TRUE(tool->OnLButtonDown(MK_LBUTTON, 500, 1008));
    EXPECT_FALSE(asked);
    EXPECT_EQ(tool->m_capturePoint.GetPosition(), CPoint(500, 1000));
    EXPECT_FALSE(tool->m_capturePoint.IsExisting());
    EXPECT_EQ(tool->m_bSlideOnCurve, 0);
}

TEST_F(VectorToolTest, PointOnCurveDialogSlidesThePointAndOkTakesIt)
{
    Settings().m_bValueDialogs = 1;
    tool->dialog = [&](const CPointList& outline, int length, const CPoint& end) {
        EXPECT_EQ(outline.GetCount(), a->Outline().GetCount());
        EXPECT_EQ(length, 500);
        EXPECT_EQ(end, CPoint(0, 1000));
        // The dialog moves the point along the curve, then measures from
        // the other end.
        tool->OnMouseMove(0, 800, 1000);
        tool->SwapReferenceEnd();
        return TRUE;
    };
    ASSERT_TRUE(tool->OnLButtonDown(MK_LBUTTON, 500, 1008));
    EXPECT_EQ(tool->slideFlagInDialog, 1);
    EXPECT_EQ(tool->m_bSlideOnCurve, 0);
    EXPECT_EQ(tool->m_capturePoint.GetPosition(), CPoint(800, 1000));
    EXPECT_EQ(tool->m_captureKind, CAPTURED_POINT_ON_CURVE);
    EXPECT_EQ(tool->m_pCapturedNode, a->GetLastNode());
    EXPECT_EQ(tool->GetPrompts().GetHead().text, "L=0.8cm");
}

TEST_F(VectorToolTest, WhileSlidingTheCaptureStaysOnTheCurve)
{
    Settings().m_bValueDialogs = 1;
    tool->dialog = [&](const CPointList&, int, const CPoint&) {
        // Near B's node: sliding ignores everything but the captured curve.
        EXPECT_TRUE(tool->OnMouseMove(0, 1504, 1004));
        EXPECT_EQ(tool->m_captureKind, CAPTURED_POINT_ON_CURVE);
        EXPECT_EQ(tool->m_pCapturedElement, a);
        EXPECT_EQ(tool->m_capturedPos, CPoint(1504, 1000));
        // Too far from the curve: the point stays.
        EXPECT_FALSE(tool->OnMouseMove(0, 1200, 1400));
        EXPECT_EQ(tool->m_capturedPos, CPoint(1504, 1000));
        return TRUE;
    };
    ASSERT_TRUE(tool->OnLButtonDown(MK_LBUTTON, 500, 1008));
    EXPECT_EQ(tool->m_capturePoint.GetPosition(), CPoint(1504, 1000));
}

TEST_F(VectorToolTest, CancellingThePointDialogTakesNothing)
{
    Settings().m_bValueDialogs = 1;
    tool->m_capturePoint = CCapturePoint(1, 2);
    tool->dialog = [](const CPointList&, int, const CPoint&) { return FALSE; };
    EXPECT_FALSE(tool->OnLButtonDown(MK_LBUTTON, 500, 1008));
    EXPECT_EQ(tool->m_capturePoint.GetPosition(), CPoint(1, 2));
    EXPECT_EQ(tool->m_bSlideOnCurve, 0);
}

TEST_F(VectorToolTest, ClickRunsTheDerivedToolsMouseMove)
{
    struct MovingTool : ProbeTool {
        using ProbeTool::ProbeTool;
        int moves = 0;
        BOOL OnMouseMove(UINT flags, int x, int y) override
        {
            ++moves;
            return ProbeTool::OnMouseMove(flags, x, y);
        }
    } moving(view.get());
    ASSERT_TRUE(moving.OnLButtonDown(MK_LBUTTON, 8000, 8000));
    EXPECT_EQ(moving.moves, 1);
}

TEST_F(VectorToolTest, NoPageSetNoCapture)
{
    ProbeTool orphan; // no view, no application
    EXPECT_FALSE(orphan.OnMouseMove(0, 10, 10));
    EXPECT_EQ(orphan.m_captureKind, CAPTURED_NOTHING);
    EXPECT_FALSE(orphan.OnLButtonDown(MK_LBUTTON, 10, 10));
}

TEST_F(VectorToolTest, NearestListPointWithinTheSquareAndTheRadius)
{
    struct Case {
        std::vector<CPoint> points;
        BOOL found;
        CPoint nearest;
    };
    // Cursor (100, 100), radius 15: the square runs from 85 to 114.
    const Case cases[] = {
        {{{100, 110}, {104, 100}, {120, 100}}, TRUE, {104, 100}},
        {{{115, 100}}, FALSE, {}},                 // right edge left out
        {{{85, 100}}, FALSE, {}},                  // 15 away is not within
        {{{111, 111}}, FALSE, {}},                 // in the square, 15.6 away
        {{{103, 104}, {104, 103}}, TRUE, {103, 104}}, // a tie keeps the first
    };
    for (const Case& c : cases) {
        CPointList list;
        for (const CPoint& p : c.points) list.AddTail(p);
        CPoint nearest;
        double distance = 0;
        EXPECT_EQ(tool->FindNearestListPoint(100, 100, list, nearest, distance), c.found);
        if (c.found) {
            EXPECT_EQ(nearest, c.nearest);
        }
    }
}

TEST_F(VectorToolTest, NearestCurveIntersectionAlongALine)
{
    CClosedCurveElement* box = AddClosed({{5000, 5000}, {6000, 5000}, {6000, 6000}, {5000, 6000}});
    (void)box;
    CPoint point;
    // The line y = 500 crosses B at (1500, 500), 200 away from (1700, 500).
    EXPECT_FALSE(tool->NearestCurveIntersection(0, 500, 1700, 500, 150.0, point));
    ASSERT_TRUE(tool->NearestCurveIntersection(0, 500, 1700, 500, 200.0, point));
    EXPECT_EQ(point, CPoint(1500, 500));
    // The closing side of a closed curve counts: x = 5000 from (5000, 5000)
    // to (5000, 6000) is only the closing side.
    ASSERT_TRUE(tool->NearestCurveIntersection(4000, 5500, 4900, 5500, 200.0, point));
    EXPECT_EQ(point, CPoint(5000, 5500));
}

// --- Feedback drawing ---------------------------------------------------------

class VectorToolDrawTest : public VectorToolTest {
protected:
    QImage Render()
    {
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        {
            CDC dc(&painter);
            dc.SelectPen(CPen{PS_SOLID, 1, RGB(255, 0, 0)});
            dc.SelectBrush(CBrush::Solid(RGB(255, 0, 0)));
            tool->Draw(&dc, 10.0, 0, 0, CRect(0, 0, 4000, 3000));
        }
        painter.end();
        return image;
    }
    static bool Red(const QImage& image, int x, int y)
    {
        const QColor c = image.pixelColor(x, y);
        return c.red() > 200 && c.green() < 80 && c.blue() < 80;
    }
    // Anti-aliased lines may fall on either of two pixel rows.
    static bool ReddishAround(const QImage& image, int x, int y)
    {
        for (int dy = -1; dy <= 1; ++dy) {
            const QColor c = image.pixelColor(x, y + dy);
            if (c.red() > 200 && c.green() < 200) return true;
        }
        return false;
    }
};

TEST_F(VectorToolDrawTest, MarksFollowTheCaptureKind)
{
    // Free point at (2000, 2000): device (200, 200), cross half size 5.
    ASSERT_TRUE(Move(2000, 2000));
    QImage image = Render();
    EXPECT_TRUE(Red(image, 195, 195));
    EXPECT_TRUE(Red(image, 205, 205));
    EXPECT_FALSE(Red(image, 200, 195)); // no upright arm

    // Node of A at (2000, 1000): key-point mark at device (200, 100).
    ASSERT_TRUE(Move(2004, 1003));
    image = Render();
    EXPECT_TRUE(Red(image, 200, 95));
    EXPECT_TRUE(Red(image, 195, 100));
    EXPECT_TRUE(Red(image, 195, 95));

    // Nothing captured: nothing drawn.
    tool->m_captureMask = 0;
    ASSERT_FALSE(Move(3000, 2500));
    image = Render();
    EXPECT_FALSE(Red(image, 300, 250));
    EXPECT_FALSE(Red(image, 295, 245));
}

TEST_F(VectorToolDrawTest, PointOnCurveHighlightsTheCurve)
{
    ASSERT_TRUE(Move(500, 1008));
    const QImage image = Render();
    EXPECT_TRUE(ReddishAround(image, 120, 100)); // the highlighted line y = 1000
    EXPECT_TRUE(Red(image, 0, 96));              // key-point mark at the reference node (0, 1000)
    EXPECT_TRUE(Red(image, 46, 96));             // cross at the captured point (500, 1000)
}

TEST_F(VectorToolDrawTest, AnyNodeMarksEveryNodeOfItsCurve)
{
    // Device (50, 250), (150, 280), (250, 250) at the drawing scale 10.
    AddOpen({{500, 2500}, {1500, 2800}, {2500, 2500}}, NODE_SMOOTH);
    Settings().m_bAltCaptureMode = 1;
    ASSERT_TRUE(Move(1503, 2803));
    ASSERT_EQ(tool->m_captureKind, CAPTURED_ANY_NODE);
    const QImage image = Render();
    EXPECT_TRUE(Red(image, 150, 275));  // key-point mark at the node
    EXPECT_TRUE(Red(image, 48, 250));   // point marks beyond both ends
    EXPECT_TRUE(Red(image, 252, 250));
    bool curveDrawn = false; // the highlighted curve crosses column 100
    for (int y = 245; y < 300; ++y) curveDrawn = curveDrawn || ReddishAround(image, 100, y);
    EXPECT_TRUE(curveDrawn);
}

} // namespace
