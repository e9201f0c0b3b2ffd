// Rounding to page units, distances and angles.
#pragma once

#include "platform/CList.h"
#include "platform/Types.h"

// Nearest integer, halves away from zero, saturated at 2147483646 and
// -2147483647; a NaN gives 0.
int RoundToInt(double v);

int PointDistance(int x1, int y1, int x2, int y2, double& distance);
int PointDistanceRounded(int x1, int y1, int x2, int y2);

// Direction of the line from point 1 to point 2, in [0, 2 pi).
double LineAngleXY(int x1, int y1, int x2, int y2);
double LineAngle(int x1, int y1, int x2, int y2);
// Angle turned from line 1's direction to line 2's, in [0, 2 pi).
double AngleBetweenLines(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);

double DistancePointToLineEquation(int x, int y, double a, double b, double c);
double DistancePointToLine(int x, int y, int x1, int y1, int x2, int y2);
double DistancePointToSegment(int x, int y, int x1, int y1, int x2, int y2);
double DistancePointToPolyline(int x, int y, const CPointList& list);

int IsPointInSegmentBox(int x, int y, int x1, int y1, int x2, int y2);
int Gcd(int a, int b);
