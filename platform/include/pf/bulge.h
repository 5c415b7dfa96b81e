// pf/bulge.h - the geometry of bulged segments, for the platform's polylines and the host
// program alike: the arc through a bulge, its extents, and the exact area of an outline of
// straight and circular-arc edges.
//
// The area is the shoelace sum over the vertices plus, for every bulged edge, the circular
// segment between the chord and the arc. The computation is kept free of the database so that
// it can be checked on its own and reused by anything that holds vertices and bulges.
//
// Accuracy:
//  - coordinates are taken relative to the first vertex, so a room drawn in survey coordinates
//    (millions of metres from the origin) keeps the digits of a room drawn at the origin;
//  - the segment of a small bulge is computed from its power series, because the closed form
//    cancels almost completely when the bulge is tiny (1e-6, 1e-9);
//  - the terms are summed with compensation.
#pragma once
#include <cstddef>

namespace pf {

// The arc of the segment (x0, y0)-(x1, y1) whose start vertex has `bulge` (tan of a quarter of
// the included angle): centre (cx, cy), radius, the angle of the start point seen from the
// centre, and the signed sweep to the end point (> 0 counter-clockwise).
struct BulgeArc {
  double cx = 0, cy = 0, radius = 0, startAngle = 0, sweep = 0;
};

// The arc of a bulged segment; false (arc untouched) for a straight one: bulge 0 or the two
// ends at one point.
bool bulgeArc(double x0, double y0, double x1, double y1, double bulge, BulgeArc& arc);

// Widens the box (minX, minY)-(maxX, maxY) by the points where the arc crosses the axis
// directions (its ends are not added: they are the segment's vertices).
void addArcAxisExtremes(const BulgeArc& arc, double& minX, double& minY, double& maxX, double& maxY);

struct BulgedVertex {
  double x;
  double y;
  double bulge;  // tan(included angle / 4) of the edge that starts here; > 0 is counter-clockwise
};

// Signed area of the circular segment between a chord of squared length chordSq and the arc
// of bulge b. Positive for b > 0: a counter-clockwise arc lies to the right of its chord, so on
// a counter-clockwise outline it bulges outwards and adds area; a negative bulge takes it away.
double bulgeSegmentArea(double chordSq, double bulge);

// Signed area enclosed by the polyline (counter-clockwise positive). An open polyline is
// measured as if closed by a straight edge from its last vertex to its first, so the last
// vertex's bulge is not used; a closed one uses every bulge, the last shaping the closing edge.
// Fewer than two vertices enclose nothing (0). Two vertices enclose only the segments of their
// bulged edges. Answers NaN if any coordinate or bulge is not finite.
double polylineSignedArea(const BulgedVertex* vertices, std::size_t count, bool closed);

// The area as the host reports it: the absolute value of the signed area.
double polylineArea(const BulgedVertex* vertices, std::size_t count, bool closed);

}  // namespace pf
