// polyline_area.h - exact area of a lightweight polyline (straight and circular-arc edges).
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
