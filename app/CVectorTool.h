// The base of every tool: the tool interface plus point capture. On each
// mouse move it looks near the cursor for something to snap to (a node, a
// crossing of curves, a point on a curve, an element, or the bare cursor
// position), remembers it with a result kind, draws marks for it and shows
// the length along a curve. A left click turns the capture into a
// CCapturePoint, through which the tools put their new nodes on shared
// points.
//
// The search radius is the settings' capture radius in pixels times the
// view scale, so capture feels the same at every zoom.
#pragma once

#include "app/CCapturePoint.h"
#include "app/CDesignTool.h"

#include "platform/CList.h"
#include "platform/Types.h"

class CCurveElement;
class CCurveNode;
class CGraphElement;

// Capture mask bits (m_captureMask). CAPTURE_MASK_ALL captures anything and
// also switches the reference-curve bits off, since it names no curve.
constexpr DWORD CAPTURE_MASK_ALL = 0xFFFFFFFFu;
constexpr DWORD CAPTURE_NODES = 0x80000000u;            // nodes of all curves (auto snap)
constexpr DWORD CAPTURE_CROSSINGS = 0x40000000u;        // crossings of two curves (auto snap)
constexpr DWORD CAPTURE_ON_CURVE = 0x20000000u;         // a point on a curve or its self-crossing
constexpr DWORD CAPTURE_REF_NODES = 0x10000000u;        // nodes of the reference curve
constexpr DWORD CAPTURE_REF_CROSSINGS = 0x08000000u;    // crossings of the reference curve
constexpr DWORD CAPTURE_ON_REF_CURVE = 0x04000000u;     // a point on the reference curve
constexpr DWORD CAPTURE_ON_OPEN_CURVE = 0x02000000u;    // a point on an open curve
constexpr DWORD CAPTURE_ON_CLOSED_CURVE = 0x01000000u;  // a point on a closed curve
constexpr DWORD CAPTURE_FREE = 0x00800000u;             // the bare position (Ctrl, or nothing else)
// Bits 0-5 are element kinds (ELEMENT_CURVE ... ELEMENT_OLEOBJECT) for the
// final element hit.

// Capture result kinds (m_captureKind). A kind is a set of feedback bits.
constexpr int CAPTURE_FEEDBACK_CROSS = 1;       // diagonal cross at the position
constexpr int CAPTURE_FEEDBACK_NODE = 2;        // key-point mark at the node
constexpr int CAPTURE_FEEDBACK_HIGHLIGHT = 4;   // the element's highlight
constexpr int CAPTURE_FEEDBACK_KEYPOINT = 8;    // key-point mark at the position
constexpr int CAPTURE_FEEDBACK_ALL_NODES = 16;  // point marks on every node of the element

constexpr int CAPTURED_NOTHING = 0;
constexpr int CAPTURED_FREE_POINT = 1;
constexpr int CAPTURED_NODE = 2;
constexpr int CAPTURED_ELEMENT = 4;
constexpr int CAPTURED_POINT_ON_CURVE = 7;
constexpr int CAPTURED_CROSSING = 8;
constexpr int CAPTURED_ANY_NODE = 22;

class CVectorTool : public CDesignTool {
public:
    CVectorTool();
    explicit CVectorTool(CVEKView* view);
    ~CVectorTool() override;

    // The base reset, then slide mode off, capture on, mask all, no
    // reference curve, nothing captured, step 0. The captured position, the
    // direction flag and the capture point keep their values.
    void Reset() override;
    // Toggles the alternative capture mode (any node, not only corners and
    // ends); one flag in the settings for every tool, never written to file.
    BOOL OnF4Down() override;
    // The capture; TRUE when something was captured.
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    // Takes the capture as a point; TRUE when one was taken, and it is then
    // in m_capturePoint.
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    // The base drawing, the marks of the current capture kind, then the
    // measure prompts on top.
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    // Capture radius times view scale, in document units.
    double GetCaptureTolerance() const;

    // Searches on the current page within the capture tolerance; each
    // answers FALSE and writes nothing when it finds nothing.
    BOOL FindNearestCornerNode(int x, int y, CCurveElement*& curve, CCurveNode*& node,
                               double& distance) const;
    BOOL FindNearestNode(int x, int y, CCurveElement*& curve, CCurveNode*& node,
                         double& distance) const;
    BOOL HitTestElement(int x, int y, int kindMask, CGraphElement*& element, CPoint& point,
                        double& distance) const;
    BOOL FindNearestIntersection(int x, int y, CCurveElement*& curveA, CCurveElement*& curveB,
                                 CPoint& point, double& distance) const;
    // Crossings of the reference curve with other curves.
    BOOL FindNearestIntersectionWith(int x, int y, CCurveElement*& other, CPoint& point,
                                     double& distance) const;
    BOOL HitTestOpenCurve(int x, int y, CCurveElement*& curve, CPoint& point,
                          double& distance) const;
    BOOL HitTestClosedCurve(int x, int y, CCurveElement*& curve, CPoint& point,
                            double& distance) const;
    // Top-most element of the kind that contains the point; no tolerance.
    BOOL HitTestImage(int x, int y, CGraphElement*& element) const;
    BOOL HitTestText(int x, int y, CGraphElement*& element) const;
    BOOL HitTestTable(int x, int y, CGraphElement*& element) const;
    // The point of the list nearest (x, y) strictly within the tolerance;
    // of equal distances the later one.
    BOOL FindNearestListPoint(int x, int y, const CPointList& list, CPoint& point,
                              double& distance) const;
    // The crossing of the line through (x1, y1)-(x2, y2) with any curve of
    // the page that lies nearest (x2, y2), at most `maxDistance` away.
    BOOL NearestCurveIntersection(int x1, int y1, int x2, int y2, double maxDistance,
                                  CPoint& point) const;
    BOOL NearestCurveIntersection(const CPoint& p1, const CPoint& p2, double maxDistance,
                                  CPoint& point) const
    {
        return NearestCurveIntersection(p1.x, p1.y, p2.x, p2.y, maxDistance, point);
    }
    // For a point captured on a curve: the curve's whole length and the
    // length from the reference node to the captured position. Leaves both
    // alone when no curve and node are captured.
    void GetDistanceAlongCurve(double& total, double& part) const;
    // For a point on a curve: measures from the curve's other end from now
    // on, and repaints. Both ends of a loop (a closed outline) are its
    // start: there the length runs round the other way instead.
    void SwapReferenceEnd();
    // The same, naming the end: the curve's end node at `end` becomes the
    // reference (nothing when neither end lies there).
    void SwapReferenceEnd(const CPoint& end);

    // The capture state, for dialogs and owners of sub-tools.
    int GetCaptureKind() const { return m_captureKind; }
    CPoint GetCapturedPos() const { return m_capturedPos; }
    CCurveNode* GetCapturedNode() const { return m_pCapturedNode; }
    CGraphElement* GetCapturedElement() const { return m_pCapturedElement; }
    CGraphElement* GetSecondElement() const { return m_pSecondElement; }
    const CCapturePoint& GetCapturePoint() const { return m_capturePoint; }
    int GetStep() const { return m_nStep; }
    void SetCaptureMask(DWORD mask) { m_captureMask = mask; }
    DWORD GetCaptureMask() const { return m_captureMask; }
    void SetReferenceCurve(CCurveElement* curve) { m_pReferenceCurve = curve; }
    void SetCaptureOn(BOOL on) { m_bCaptureOn = on; }
    // The distance typed into the length prompt in offset mode; only a tool
    // that offsets by a distance (the offset-line tool) takes it.
    virtual void SetDistance(int distance) {}

protected:
    // The point-position prompt, for a point captured on a curve while
    // value dialogs are on: the view's (CVEKView::PointOnCurve); TRUE when
    // the user accepted. Without a view or prompt the point is taken as
    // captured. A seam for tests and for tools that ask differently.
    virtual BOOL RunPointOnCurveDialog(const CPointList& outline, int length,
                                       const CPoint& referenceEnd);

    int m_bSlideOnCurve = 0;
    int m_bCaptureOn = 1;
    DWORD m_captureMask = CAPTURE_MASK_ALL;
    CCurveElement* m_pReferenceCurve = nullptr;
    int m_captureKind = CAPTURED_NOTHING;
    CPoint m_capturedPos;
    CCurveNode* m_pCapturedNode = nullptr;
    CGraphElement* m_pCapturedElement = nullptr;
    CGraphElement* m_pSecondElement = nullptr;
    int m_bAfterNode = 0;
    CCapturePoint m_capturePoint;
    // The derived tool's input step: 0 idle; tools count their clicks here.
    int m_nStep = 0;

private:
    // One capture candidate of the nearest-wins contest.
    struct Candidate;

    BOOL Capture(UINT flags, int x, int y);
    BOOL SlideOnCurve(int x, int y);
    void ContestNearest(int x, int y, double tolerance, Candidate& best) const;
    BOOL CaptureOnCurves(int x, int y, double tolerance);
    BOOL CaptureElement(int x, int y, double tolerance);
    // Kind 7 (or 8 at a self-crossing) on the curve, with the reference end
    // node and direction.
    void TakePointOnCurve(CCurveElement* curve, const CPoint& point, int kind);
    void SetReferenceNodeFor(CCurveElement* curve, const CPoint& point);
    void TakeFreePoint(int x, int y);
    void ClearCapture(int x, int y);
    bool MaskNamesReference(DWORD bit) const;
    // Whether the curve's outline closes on itself.
    static bool IsLoop(CCurveElement& curve);
    // Where the length along the captured curve is measured from: the
    // reference node, or on a loop the start of its outline.
    CPoint ReferencePosition() const;
    void SetLengthPrompts(int x, int y);
    CCurveElement* CapturedCurve() const;
};
