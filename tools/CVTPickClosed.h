// The pick-closed-line tool: traces a closed outline along pieces of
// existing curves. The user clicks a start point, then for each piece a
// point on the curve to follow and the piece's end, which starts the next
// piece; the right button turns the traced outline into a new closed curve
// of corners on new points (a region bounded by existing lines, to be
// filled, say). The traced curves are left as they are. Space zooms.
#pragma once

#include "tools/CPickingTool.h"

#include "platform/CList.h"
#include "platform/Types.h"

class CCurveElement;

class CVTPickClosed : public CPickingTool {
public:
    enum Step { kStartStep = 0, kViaStep = 1, kEndStep = 2 };

    static constexpr int kCursor = 214;
    static constexpr UINT kPrompt = 38042;

    explicit CVTPickClosed(CVEKView* view);
    ~CVTPickClosed() override;

    void Reset() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    const CPointList& GetOutline() const { return m_outline; }
    const CList<CCurveElement*>& GetPickedCurves() const { return m_picked; }
    CCurveElement* GetLastResult() const { return m_pLastResult; }

private:
    void AddPiece();
    void BuildClosedCurve();

    CPoint m_ptStart;
    CPoint m_ptVia;
    CPoint m_ptEnd;
    CCurveElement* m_pFollowed = nullptr;
    CList<CCurveElement*> m_picked;
    CPointList m_outline;
    CCurveElement* m_pLastResult = nullptr;
};
