// One control node of a curve: it stands on a shared point of the page and
// says whether the curve has a corner or runs smooth through it.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

class CDC;
class CSharedPoint;

constexpr int NODE_CORNER = 0;
constexpr int NODE_SMOOTH = 1;

class CCurveNode {
public:
    CCurveNode(CSharedPoint* point, int kind);

    CCurveNode(const CCurveNode&) = delete;
    CCurveNode& operator=(const CCurveNode&) = delete;

    // Curves hold their nodes by the million.
    VEK_POOLED_CLASS(CCurveNode)

    CSharedPoint* GetPoint() const { return m_point; }
    int GetKind() const { return m_kind; }
    void SetKind(int kind) { m_kind = kind; }
    int GetMark() const { return m_mark; }
    void SetMark(int mark)
    {
        m_mark = mark;
        ++s_markChanges;
    }

    // The shared point's position; (0, 0) for a node without a point.
    CPoint GetPosition() const;

    // A marked node is drawn as a filled black dot.
    void DrawMark(CDC* dc, double scale, int originX, int originY, const CRect& clip) const;
    // Kind and mark flag; the point stays.
    void CopyAttributes(const CCurveNode& other);

    // Counts every setting of a mark flag on any node, so a curve can know
    // its nodes' marks are as it last saw them without visiting each node.
    static unsigned MarkChanges() { return s_markChanges; }

private:
    static unsigned s_markChanges;

    CSharedPoint* m_point;
    int m_kind;
    int m_mark = 0;
};

using CNodeList = CList<CCurveNode*>;
