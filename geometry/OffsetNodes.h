// Curves parallel to a curve, worked on its nodes: the offset-line tool
// turns the nodes of a picked curve into the nodes of a new curve at a
// signed distance, and draws node lists as dense polylines for its preview.
//
// A node list is cut into runs: a straight run is a chain of corners drawn
// as a polyline, a smooth run goes from a corner (or the list's start)
// through smooth nodes to the next corner and is drawn as one spline.
// Neighbouring runs share their end node. A closed list may carry its first
// node once more at its end (the tool passes it so); it is the same ring
// either way. A closed ring whose nodes are all of one kind is one run all
// round, and so is a ring with a single corner (a spline from the corner
// round to itself).
//
// Distances follow OffsetPolyline: a positive distance goes to the left of
// the direction of travel as seen on the screen.
#pragma once

#include "geometry/CNodePoint.h"
#include "geometry/CRunNodePoint.h"

#include "platform/CList.h"
#include "platform/Types.h"

// The nodes of the curve parallel to `nodes` at `distance`. Every run is
// offset on its own (a smooth run through its dense spline, then fitted
// back to smooth nodes within 10 page units), the pieces are joined where
// runs meet by extending their end segments to a sharp corner, the loops
// that appear where the offset runs into the inside of a sharp bend are cut
// away, and repeated points are merged. An open result starts and ends with
// a corner; a closed one does not repeat its first node. Returns 0 with
// `out` empty for an empty list, else 1. `out` is always cleared first.
int OffsetCurveNodes(const CNodePointList& nodes, int closed, int distance, CNodePointList& out);

// Appends the dense polyline of the node list to `out` (a straight run's
// points as they are, a smooth run's spline); the point where two runs meet
// stands at the end of one and again at the start of the next. A single
// node gives its point. Returns 1.
int BuildNodePolyline(const CNodePointList& nodes, int closed, CPointList& out);

// Cuts loops out of an offset node list, in place. The list is scanned
// segment by segment from its start; a later segment that crosses or
// touches the scanned one closes a loop. The crossing point replaces the
// loop's nodes as a corner, and of the two outlines the one with the
// larger area is kept (so a small loop behind a sharp bend goes, but a
// list that is mostly loop keeps the loop). Segments that follow each
// other meet at their shared node and never count as a crossing. On a
// closed list the segment from the last node back to the first is scanned
// too. Lists of fewer than 4 nodes are left alone.
void RemoveOffsetLoops(CRunNodePointList& records, int closed);
