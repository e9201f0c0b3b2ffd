// Placing a small window next to a point of interest without covering it.
#pragma once

#include "platform/Types.h"

class QWidget;

// Moves the window (keeping its size) gap pixels to the right of (x, y) when
// the point lies left of the bounds' centre, else to its left; below the
// point when it lies above the centre, else above it; and back inside the
// bounds where it would stick out. Returns false only for a null window.
bool PlaceWindowBesidePoint(QWidget* window, int x, int y, CRect bounds, int gap);
