// The transform frame of the process-drawing tool: a rectangle around the
// selection that the user moves (inside), turns (at a corner), and scales
// from an edge or, with Shift, from a corner while the opposite side stays.
// It keeps the base rectangle Q1..Q4 of the selection, the current corners
// P1..P4, the centre C, the angle and the current width and height, and
// maps points of the selection from the base onto the current frame.
//
// Handles: 0 none, 1-4 the edges P1-P2, P2-P3, P3-P4, P4-P1, 5 move,
// 6 turn, 7-10 the corners P1..P4.
//
// Page units throughout; y grows downwards.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

#include <array>

class CTransformFrame {
public:
    enum Handle {
        kNone = 0,
        kEdgeTop = 1,
        kEdgeRight = 2,
        kEdgeBottom = 3,
        kEdgeLeft = 4,
        kMove = 5,
        kRotate = 6,
        kCorner1 = 7,
        kCorner2 = 8,
        kCorner3 = 9,
        kCorner4 = 10,
    };
    static bool IsEdge(int kind) { return kind >= kEdgeTop && kind <= kEdgeLeft; }
    static bool IsCorner(int kind) { return kind >= kCorner1 && kind <= kCorner4; }
    static bool IsScaling(int kind) { return IsEdge(kind) || IsCorner(kind); }

    // A scaling drag makes the selection at most this many times its size,
    // and no side longer than kMaxSide (a hundred metres).
    static constexpr double kMaxScale = 1000.0;
    static constexpr int kMaxSide = 10000000;
    // Hover tolerance: a third of the shorter side, at most this many pixels.
    static constexpr int kMaxTolerancePixels = 10;

    // The base frame around the selection's bounds: right and bottom come
    // one unit in when the rectangle is more than one unit wide or high.
    void Reset(const CRect& bounds);

    const CPoint& Q(int i) const { return m_q[std::size_t(i)]; }
    const CPoint& P(int i) const { return m_p[std::size_t(i)]; }
    const std::array<CPoint, 4>& Corners() const { return m_p; }
    const CPoint& BaseCentre() const { return m_c0; }
    const CPoint& Centre() const { return m_c; }
    double Angle() const { return m_theta; }
    int Width() const { return m_w; }
    int Height() const { return m_h; }
    // Nothing moved, turned or scaled since Reset.
    bool IsUnchanged() const;

    // The handle under the mouse (page units per pixel for the tolerance).
    int Tolerance(double unitsPerPixel) const;
    int HitTest(const CPoint& mouse, double unitsPerPixel, bool shift) const;

    // A drag of the handle starts at the point: the corners at its start
    // and, for scaling handles, where the point falls on the sides.
    void BeginDrag(int kind, const CPoint& at);
    // One step of the drag from the anchor to the mouse: the point the
    // step goes to (a corner drag follows the diagonal, keeping the
    // proportions), or the anchor when the step would take the dragged
    // side across the fixed one. False when refused.
    bool StepTo(int kind, const CPoint& anchor, const CPoint& mouse, CPoint& current) const;
    // Moves, turns or scales the frame by the step from anchor to current.
    // A turn whose points lie within a pixel of the centre has no angle and
    // changes nothing.
    void Update(int kind, const CPoint& anchor, const CPoint& current, double unitsPerPixel);
    // The foot of a point on the dragged edge of the current frame.
    CPoint FootOnEdge(int kind, const CPoint& p) const;

    // Scale factors from the base to the current frame (1 along a side the
    // base has no length on).
    double ScaleX() const;
    double ScaleY() const;
    // A point of a curve or text: scaled about the base centre, placed
    // about the current centre and turned by the angle.
    CPoint MapPoint(const CPoint& p) const;
    void MapPoints(const CPointList& in, CPointList& out) const;
    // A picture corner: scaled about Q1, moved with P1 and turned about it.
    CPoint MapPictureCorner(const CPoint& p) const;
    // A table point: scaled about Q1 and moved with P1, never turned.
    CPoint MapTablePoint(const CPoint& p) const;

private:
    void Rebuild(int kind);

    std::array<CPoint, 4> m_q{};
    std::array<CPoint, 4> m_p{};
    std::array<CPoint, 4> m_s{};
    CPoint m_f;
    CPoint m_g;
    CPoint m_c0;
    CPoint m_c;
    double m_theta = 0.0;
    int m_w = 0;
    int m_h = 0;
    int m_baseW = 0;
    int m_baseH = 0;
};
