// geometry.h - plane geometry the host program needs for picking and drawing: polyline
// segments with bulges (arcs), distances from a point, bounding boxes and 2D transforms.
#pragma once
#include <string>
#include <vector>

namespace cadhost {

struct Pt {
  double x = 0, y = 0;
};

// One 2D primitive in world coordinates, as drawn and as picked.
struct Shape {
  enum Kind { Polyline, Line, Circle, Text } kind = Line;
  std::vector<Pt> points;       // polyline vertices, or the two ends of a line
  std::vector<double> bulges;   // polyline: bulge of the segment starting at each vertex
  bool closed = false;          // polyline
  Pt center;                    // circle centre, or text position
  double radius = 0;            // circle radius, or text height
  double rotation = 0;          // text rotation in radians
  std::string text;             // text contents
  std::string stroke;           // SVG colour of the shape; empty: black
};

struct Box {
  double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
  bool empty() const { return minX > maxX; }
  void add(const Pt& p);
  void add(const Box& b);
};

// Distance from p to the segment a-b with the given bulge (0: straight; else a circular arc
// whose included angle is 4*atan(bulge), positive counter-clockwise).
double distanceToSegment(const Pt& p, const Pt& a, const Pt& b, double bulge);

// Distance from p to a circle's outline.
double distanceToCircle(const Pt& p, const Pt& center, double radius);

// Bounding box of the segment a-b with its bulge (arcs include their extreme points).
Box segmentBox(const Pt& a, const Pt& b, double bulge);

// Centre, radius, start and end angles (radians) of the arc of a bulged segment.
void bulgeArc(const Pt& a, const Pt& b, double bulge, Pt& center, double& radius, double& startAngle,
              double& endAngle);

}  // namespace cadhost
