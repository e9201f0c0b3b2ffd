// What a mirror image needs beside its reflected points: directions
// reflected across the line through two points.
#pragma once

#include "platform/Types.h"

// The direction `degrees` (0 along +x, turning towards +y) at `centre`,
// reflected across the line through axis1 and axis2: the angle, in degrees
// in [0, 360), from the reflected centre to the reflection of a point on
// the direction (whole units away from the centre). The angle comes back
// unchanged when the axis points coincide.
double MirrorAngleDegrees(double degrees, const CPoint& centre, const CPoint& axis1, const CPoint& axis2);
