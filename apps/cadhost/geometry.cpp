// Plane geometry for picking and drawing bulged polyline segments.
#include "geometry.h"

#include <algorithm>
#include <cmath>

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
  const double chord = dist(a, b);
  const double theta = 4 * std::atan(bulge);  // included angle, signed
  radius = chord / (2 * std::sin(std::fabs(theta) / 2));
  // The centre lies on the chord's perpendicular bisector, at distance d from the midpoint.
  const double d = radius * std::cos(theta / 2) * (bulge > 0 ? 1 : -1);
  const Pt mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
  const double ux = (b.x - a.x) / chord, uy = (b.y - a.y) / chord;
  // Left normal of the chord direction.
  center = Pt{mid.x - uy * d, mid.y + ux * d};
  const double sa = std::atan2(a.y - center.y, a.x - center.x);
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
  Pt c;
  double r, s, e;
  bulgeArc(a, b, bulge, c, r, s, e);
  for (int k = 0; k < 4; ++k) {
    const double angle = k * kPi / 2;
    if (angleOnSweep(angle, s, e)) box.add(Pt{c.x + r * std::cos(angle), c.y + r * std::sin(angle)});
  }
  return box;
}

}  // namespace cadhost
