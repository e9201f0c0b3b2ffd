// The point a tool took with a click: either an existing node's shared
// point (so a new curve drawn from a captured node shares that node's
// point) or a bare position that becomes a new shared point when the tool
// builds its nodes.
#pragma once

#include "platform/Types.h"

class CCurveNode;
class CPageSet;
class CSharedPoint;

class CCapturePoint {
public:
    CCapturePoint() = default;
    // A bare position: not existing, no node.
    CCapturePoint(int px, int py) : x(px), y(py) {}
    // An existing node: its position now, and the node.
    explicit CCapturePoint(CCurveNode* node);

    CPoint GetPosition() const { return CPoint(x, y); }
    BOOL IsExisting() const { return m_bExisting; }

    // The node's shared point for an existing point; otherwise a new shared
    // point at (x, y) appended to the pool of the page set's current page,
    // which owns it. Every call for a bare position makes another point.
    // Null without a page set or for an existing point without a node.
    CSharedPoint* GetSharedPoint(CPageSet* pageSet) const;

    int m_bExisting = 0;
    int x = 0;
    int y = 0;
    CCurveNode* m_pNode = nullptr;
};
