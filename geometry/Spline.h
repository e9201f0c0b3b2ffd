// Smooth curves through control points and the reverse: fitting a few
// control points to a dense stroke.
//
// The smooth curve is a cubic spline through the control points with
// chord-length parameters, flattened so that no chord of the output strays
// more than the flatness (half a page unit by default) from the curve.
// A closed control list repeats its first point at the end; the outline of a
// closed curve does not. Every function that fills an output list builds it
// aside first, so the output may be the input list.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

#include <vector>

// A point of the flattening list: the curve point and its parameter within
// its own segment (0 at the segment's first knot, the chord length at its
// last).
struct CSplineKnot {
    double x = 0.0;
    double y = 0.0;
    double t = 0.0;
};

// One row of a tridiagonal system: lower * m[i-1] + diag * m[i] +
// upper * m[i+1] = rhs[i]. In the cyclic system the first row's `lower`
// multiplies the last unknown and the last row's `upper` the first one; the
// plain solver ignores those two.
struct CTridiagonalRow {
    double lower = 0.0;
    double diag = 0.0;
    double upper = 0.0;
};

// The outline of a curve: a spline through more than three points (or
// three with the closed flag), the quadratic curve through three open
// points, a copy of fewer than three. 0 when the spline fell back to a copy.
int MakeSmoothCurve(const CPointList& points, int closed, CPointList& out);

// What MakeSmoothCurveWithin left out of a curve.
struct CCurveCut {
    // Whether some piece was replaced by its chord.
    bool shortened = false;
    // The bounds (as PolylineBoundRect gives them) of the whole curve as
    // MakeSmoothCurve flattens it.
    CRect bounds;
};

// MakeSmoothCurve as far as it can be seen in `area`: a piece of a spline
// segment whose control polygon lies wholly beyond one side of the area is
// not flattened but left as its chord. That chord lies beyond the same
// side (the piece lies in the hull of its control points), so within the
// area the curve is MakeSmoothCurve's point for point, and a closed curve
// keeps the same inside there: the curve and its chord enclose nothing of
// the area. Painting a curve thus costs what is painted, however far its
// nodes lie. The bounds of the whole curve come along, worked out without
// flattening what was left out.
CCurveCut MakeSmoothCurveWithin(const CPointList& points, int closed, const CRect& area, CPointList& out);
// The same for the union of `areas`: a piece is left as its chord only when
// its control polygon lies beyond every one of them.
CCurveCut MakeSmoothCurveWithin(const CPointList& points, int closed, const std::vector<CRect>& areas,
                                CPointList& out);

// Cubic spline through the points, flattened to `flatness` (at least 0.5).
// A closed list repeats its first point at its end. 0, with a copy of the
// input in `out`, when fewer than three distinct points (four with the
// closing repeat) remain, a closed list lacks its closing repeat, or the
// system of tangents cannot be solved.
int CubicSplineCurve(const CPointList& points, int closed, double flatness, CPointList& out);

// The quadratic curve from the first point to the third that passes
// through the second, sampled at t = 0, 0.025, ... 0.975 and closed with
// the third point. A list of fewer than three points is copied (result 0).
int ThreePointCurve(const CPointList& points, CPointList& out);

// Solve the tridiagonal system of `count` rows; the solution replaces `rhs`.
// 0 (rhs unchanged) on a zero pivot or an empty system.
int SolveTridiagonal(const CTridiagonalRow* rows, int count, double* rhs);
// The same for the cyclic system whose first and last rows wrap around.
int SolveCyclicTridiagonal(const CTridiagonalRow* rows, int count, double* rhs);

// Control points of a smooth curve that follows the dense stroke within
// 10 mm, beginning and ending at the stroke's ends. 0 (out unchanged) when
// the stroke has fewer than two points.
int SimplifyToSmoothCurve(const CPointList& dense, CPointList& out);

// Grows `control` (a start set, possibly empty) until the open smooth curve
// through it follows `dense` within `tolerance`. 0 (control unchanged) when
// `dense` has fewer than two points.
int FitCurveControlPoints(const CPointList& dense, double tolerance, CPointList& control);

// The same for a closed stroke (first point not repeated); the fitted
// control list does not repeat its first point either. 0 (control
// unchanged) when `dense` has fewer than three points.
int FitClosedCurveControlPoints(const CPointList& dense, double tolerance, CPointList& control);

// The point of `a` that lies farthest from `b`, measured along the normal
// of `a` at that point, and that distance. Returns a's first point and 0
// when either list is empty or nothing deviates.
CPoint MaxCurveDeviation(const CPointList& a, const CPointList& b, double& distance);
