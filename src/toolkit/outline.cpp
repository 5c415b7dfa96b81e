// outline.cpp - plane geometry of room outlines: containment, area and length with arcs.
#include "toolkit/outline.h"

#include <algorithm>
#include <cmath>

#include "dbpl.h"

namespace toolkit {
namespace {

// Points closer to the outline than this fraction of its size count as on it.
const double kRelativeTolerance = 1e-9;

// Geometry of the arc from a to b with bulge (tan of a quarter of the included angle,
// positive counter-clockwise).
struct Arc {
  double cx, cy, radius;
  double sweep;  // included angle, signed
};

Arc arcOf(double ax, double ay, double bx, double by, double bulge) {
  const double dx = bx - ax, dy = by - ay;
  const double chord = std::hypot(dx, dy);
  const double sweep = 4.0 * std::atan(bulge);
  const double radius = chord * (1.0 + bulge * bulge) / (4.0 * std::fabs(bulge));
  // The centre lies on the chord's perpendicular bisector; a counter-clockwise arc from a to b
  // has it on the left of a->b when the arc is less than a half circle.
  const double mx = (ax + bx) / 2.0, my = (ay + by) / 2.0;
  const double sagitta = chord / 2.0 * std::fabs(bulge);
  const double offset = radius - sagitta;  // from the midpoint towards the centre side
  const double nx = -dy / chord, ny = dx / chord;  // unit left normal
  const double side = bulge > 0 ? 1.0 : -1.0;
  return Arc{mx + side * offset * nx, my + side * offset * ny, radius, sweep};
}

// Which side of the line a->b the point is on: > 0 left, < 0 right.
double sideOf(double ax, double ay, double bx, double by, double px, double py) {
  return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

double distanceToSegment(double ax, double ay, double bx, double by, double px, double py) {
  const double dx = bx - ax, dy = by - ay;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

// True when p lies on the arc's side of its chord: the arc of a positive bulge runs on the
// right of a->b.
bool onArcSide(double ax, double ay, double bx, double by, double bulge, double px, double py) {
  const double side = sideOf(ax, ay, bx, by, px, py);
  return bulge > 0 ? side < 0 : side > 0;
}

}  // namespace

Outline::Outline(const AcDbPolyline* polyline) {
  const unsigned count = polyline->numVerts();
  m_vertices.reserve(count);
  for (unsigned i = 0; i < count; ++i) {
    AcGePoint2d point;
    double bulge = 0.0;
    polyline->getPointAt(i, point);
    polyline->getBulgeAt(i, bulge);
    if (i == 0) m_origin = point;
    m_vertices.push_back(Vertex{point.x - m_origin.x, point.y - m_origin.y, bulge});
  }
  m_normal = polyline->normal();
  m_closed = polyline->isClosed();
  build();
}

Outline::Outline(const std::vector<AcGePoint2d>& points, const std::vector<double>& bulges,
                 const AcGeVector3d& normal, bool closed)
    : m_normal(normal), m_closed(closed) {
  if (!points.empty()) m_origin = points.front();
  for (size_t i = 0; i < points.size(); ++i)
    m_vertices.push_back(Vertex{points[i].x - m_origin.x, points[i].y - m_origin.y,
                                i < bulges.size() ? bulges[i] : 0.0});
  build();
}

void Outline::build() {
  if (m_normal.length() == 0.0) m_normal = AcGeVector3d(0, 0, 1);
  m_worldToPlane = AcGeMatrix3d::worldToPlane(m_normal);
  Box box{0, 0, 0, 0};
  const size_t n = m_vertices.size();
  for (size_t i = 0; i < n; ++i) {
    const Vertex& a = m_vertices[i];
    box.minX = std::min(box.minX, a.x);
    box.minY = std::min(box.minY, a.y);
    box.maxX = std::max(box.maxX, a.x);
    box.maxY = std::max(box.maxY, a.y);
    const Vertex& b = m_vertices[(i + 1) % n];
    if (a.bulge != 0.0 && (a.x != b.x || a.y != b.y)) {
      // A minor arc stays within its sagitta of the chord; a major one within its circle.
      double lowX = std::min(a.x, b.x), highX = std::max(a.x, b.x);
      double lowY = std::min(a.y, b.y), highY = std::max(a.y, b.y);
      if (std::fabs(a.bulge) <= 1.0) {
        const double sagitta = std::hypot(b.x - a.x, b.y - a.y) / 2.0 * std::fabs(a.bulge);
        lowX -= sagitta, lowY -= sagitta, highX += sagitta, highY += sagitta;
      } else {
        const Arc arc = arcOf(a.x, a.y, b.x, b.y, a.bulge);
        lowX = arc.cx - arc.radius, highX = arc.cx + arc.radius;
        lowY = arc.cy - arc.radius, highY = arc.cy + arc.radius;
      }
      box.minX = std::min(box.minX, lowX);
      box.minY = std::min(box.minY, lowY);
      box.maxX = std::max(box.maxX, highX);
      box.maxY = std::max(box.maxY, highY);
    }
  }
  const double size = std::max(box.maxX - box.minX, box.maxY - box.minY);
  m_tolerance = std::max(size, 1e-6) * kRelativeTolerance;
  m_box = Box{box.minX + m_origin.x - m_tolerance, box.minY + m_origin.y - m_tolerance,
              box.maxX + m_origin.x + m_tolerance, box.maxY + m_origin.y + m_tolerance};
}

bool Outline::isDegenerate() const {
  const size_t n = m_vertices.size();
  bool anyArc = false;
  for (const Vertex& v : m_vertices) anyArc = anyArc || v.bulge != 0.0;
  if (n < 2 || (n < 3 && !anyArc)) return true;
  // The area cannot tell: the two lobes of a bow tie cancel. A box without width or height
  // holds no point strictly inside.
  const double width = m_box.maxX - m_box.minX - 2 * m_tolerance;
  const double height = m_box.maxY - m_box.minY - 2 * m_tolerance;
  return width <= m_tolerance || height <= m_tolerance;
}

AcGePoint2d Outline::toPlane(const AcGePoint3d& world) const {
  const AcGePoint3d plane = m_worldToPlane * world;
  return AcGePoint2d(plane.x, plane.y);
}

bool Outline::strictlyContains(const AcGePoint2d& planePoint) const {
  const size_t n = m_vertices.size();
  if (n < 2) return false;
  if (!m_box.contains(planePoint.x, planePoint.y)) return false;
  const double px = planePoint.x - m_origin.x, py = planePoint.y - m_origin.y;
  bool inside = false;
  for (size_t i = 0; i < n; ++i) {
    const Vertex& a = m_vertices[i];
    const Vertex& b = m_vertices[(i + 1) % n];
    // The closing segment of an open outline is straight.
    const double bulge = (!m_closed && i + 1 == n) ? 0.0 : a.bulge;
    if (distanceToSegment(a.x, a.y, b.x, b.y, px, py) <= m_tolerance && bulge == 0.0) return false;
    // Even-odd crossing of a ray towards +x with the chord.
    if ((a.y > py) != (b.y > py)) {
      const double x = a.x + (py - a.y) * (b.x - a.x) / (b.y - a.y);
      if (x > px) inside = !inside;
    }
    if (bulge == 0.0 || (a.x == b.x && a.y == b.y)) continue;
    // An arc adds (or, bowing inwards, removes) the circular segment between it and its chord:
    // a point in that segment changes sides.
    const Arc arc = arcOf(a.x, a.y, b.x, b.y, bulge);
    const double distance = std::hypot(px - arc.cx, py - arc.cy);
    const bool arcSide = onArcSide(a.x, a.y, b.x, b.y, bulge, px, py);
    if (arcSide && std::fabs(distance - arc.radius) <= m_tolerance) return false;
    if (arcSide && distance < arc.radius) inside = !inside;
  }
  return inside;
}

double Outline::signedArea() const {
  const size_t n = m_vertices.size();
  if (n < 2) return 0.0;
  double twice = 0.0;
  double segments = 0.0;
  for (size_t i = 0; i < n; ++i) {
    const Vertex& a = m_vertices[i];
    const Vertex& b = m_vertices[(i + 1) % n];
    twice += a.x * b.y - b.x * a.y;
    const double bulge = (!m_closed && i + 1 == n) ? 0.0 : a.bulge;
    if (bulge == 0.0) continue;
    if (a.x == b.x && a.y == b.y) continue;
    // The circular segment between the arc and its chord, r^2/2 (theta - sin theta). A positive
    // bulge bows to the right of the walk, which is outwards for a counter-clockwise outline
    // (positive area), so the segment's sign is the bulge's.
    const Arc arc = arcOf(a.x, a.y, b.x, b.y, bulge);
    const double theta = std::fabs(arc.sweep);
    const double segment = arc.radius * arc.radius / 2.0 * (theta - std::sin(theta));
    segments += bulge > 0 ? segment : -segment;
  }
  return twice / 2.0 + segments;
}

double Outline::perimeter() const {
  const size_t n = m_vertices.size();
  if (n < 2) return 0.0;
  const size_t segmentCount = m_closed ? n : n - 1;
  double length = 0.0;
  for (size_t i = 0; i < segmentCount; ++i) {
    const Vertex& a = m_vertices[i];
    const Vertex& b = m_vertices[(i + 1) % n];
    const double chord = std::hypot(b.x - a.x, b.y - a.y);
    if (a.bulge == 0.0 || chord == 0.0) {
      length += chord;
      continue;
    }
    const Arc arc = arcOf(a.x, a.y, b.x, b.y, a.bulge);
    length += arc.radius * std::fabs(arc.sweep);
  }
  return length;
}

}  // namespace toolkit
