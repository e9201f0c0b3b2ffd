// The component-stitching tool. The user marks a fixed segment (P1, P2) on
// the component that stays, a moving segment (P3, P4) on the component to
// attach, and drags a box round that component: the shared points of every
// curve in the box are turned, scaled and moved so that P3 lands on P1 and
// P4 on P2. A point several curves share moves once, and so do curves
// outside the box that stand on it. Mirror images move with their sources:
// a root point moves once, and an axis that only mirrors moved points
// moves with them, so a symmetric component keeps its shape. Pictures,
// texts and tables in the box stay. One undo step per move; Space zooms.
#pragma once

#include "tools/CPickingTool.h"

#include "platform/CList.h"
#include "platform/Types.h"

class CGraphElement;

class CVTSpliceParts : public CPickingTool {
public:
    // Steps 0-3 take P1-P4, step 4 the box's first corner, step 5 its
    // second, which moves the component.
    enum Step { kBoxStartStep = 4, kBoxEndStep = 5 };

    static constexpr int kCursor = 352;
    static constexpr UINT kPrompt = 38081;

    explicit CVTSpliceParts(CVEKView* view);
    ~CVTSpliceParts() override;

    void Reset() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    const CPointList& GetMarks() const { return m_marks; }
    const CList<CGraphElement*>& GetBoxElements() const { return m_boxElements; }
    double GetRatio() const { return m_dRatio; }
    double GetAngle() const { return m_dAngle; }

    // Where the move puts a point: turned about P3 by the angle, scaled
    // about P3 by the ratio, then moved by P1 - P3.
    CPoint Transform(const CPoint& p) const;

private:
    bool TakeSegmentPoint(const CPoint& p);
    void FillBox();
    void MoveComponent();

    CPoint m_pt[4];
    double m_dFixedLength = 0.0;
    double m_dMovingLength = 0.0;
    double m_dRatio = 1.0;
    double m_dAngle = 0.0;
    int m_bBox = 0;
    CPoint m_ptBoxStart;
    CPoint m_ptBoxEnd;
    CPointList m_marks;
    CList<CGraphElement*> m_boxElements;
};
