// Plane geometry for picking and drawing bulged polyline segments.
#include "geometry.h"

#include <algorithm>
#include <cmath>

#include "pf/bulge.h"

namespace cadhost {
namespace {
const double kPi = 3.14159265358979323846;

double dist(const Pt& a, const Pt& b) { return std::hypot(a.x - b.x, a.y - b.y); }

double distanceToLine(const Pt& p, const Pt& a, const Pt& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  if (len2 == 0) return dist(p, a);
  double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
  t = std::clamp(t, 0.0, 1.0);
  return dist(p, Pt{a.x + t * dx, a.y + t * dy});
}

// True when angle lies on the counter-clockwise sweep from start to end.
bool angleOnSweep(double angle, double start, double end) {
  auto norm = [](double a) {
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
  };
  const double sweep = norm(end - start);
  return norm(angle - start) <= sweep + 1e-12;
}
}  // namespace

void Box::add(const Pt& p) {
  minX = std::min(minX, p.x);
  minY = std::min(minY, p.y);
  maxX = std::max(maxX, p.x);
  maxY = std::max(maxY, p.y);
}

void Box::add(const Box& b) {
  if (b.empty()) return;
  add(Pt{b.minX, b.minY});
  add(Pt{b.maxX, b.maxY});
}

void bulgeArc(const Pt& a, const Pt& b, double bulge, Pt& center, double& radius, double& startAngle,
              double& endAngle) {
  pf::BulgeArc arc;
  pf::bulgeArc(a.x, a.y, b.x, b.y, bulge, arc);
  center = Pt{arc.cx, arc.cy};
  radius = arc.radius;
  const double sa = arc.startAngle;
  const double sb = std::atan2(b.y - center.y, b.x - center.x);
  // Always report the counter-clockwise sweep.
  if (bulge > 0) {
    startAngle = sa;
    endAngle = sb;
  } else {
    startAngle = sb;
    endAngle = sa;
  }
}

double distanceToSegment(const Pt& p, const Pt& a, const Pt& b, double bulge) {
  if (std::fabs(bulge) < 1e-12 || dist(a, b) == 0) return distanceToLine(p, a, b);
  Pt c;
  double r, s, e;
  bulgeArc(a, b, bulge, c, r, s, e);
  const double angle = std::atan2(p.y - c.y, p.x - c.x);
  if (angleOnSweep(angle, s, e)) return std::fabs(dist(p, c) - r);
  return std::min(dist(p, a), dist(p, b));
}

double distanceToCircle(const Pt& p, const Pt& center, double radius) {
  return std::fabs(dist(p, center) - radius);
}

Box segmentBox(const Pt& a, const Pt& b, double bulge) {
  Box box;
  box.add(a);
  box.add(b);
  if (std::fabs(bulge) < 1e-12 || dist(a, b) == 0) return box;
  pf::BulgeArc arc;
  if (pf::bulgeArc(a.x, a.y, b.x, b.y, bulge, arc))
    pf::addArcAxisExtremes(arc, box.minX, box.minY, box.maxX, box.maxY);
  return box;
}

}  // namespace cadhost
