// bulge_arc.cpp - the arc through a bulged segment and its extreme points (pf/bulge.h).
#include <algorithm>
#include <cmath>

#include "pf/bulge.h"

namespace pf {

namespace {
const double kPi = 3.14159265358979323846;
}

bool bulgeArc(double x0, double y0, double x1, double y1, double bulge, BulgeArc& arc) {
  const double dx = x1 - x0, dy = y1 - y0;
  const double c = std::sqrt(dx * dx + dy * dy);
  if (bulge == 0.0 || c == 0.0) return false;
  arc.sweep = 4.0 * std::atan(bulge);
  arc.radius = c * (1.0 + bulge * bulge) / (4.0 * std::fabs(bulge));
  // A counter-clockwise arc lies to the right of its chord: its centre is found from the chord
  // midpoint along the right-hand normal, at sagitta minus radius.
  const double sagitta = bulge * c / 2.0;
  const double rx = dy / c, ry = -dx / c;
  const double off = sagitta - (bulge > 0 ? arc.radius : -arc.radius);
  arc.cx = (x0 + x1) / 2.0 + rx * off;
  arc.cy = (y0 + y1) / 2.0 + ry * off;
  arc.startAngle = std::atan2(y0 - arc.cy, x0 - arc.cx);
  return true;
}

void addArcAxisExtremes(const BulgeArc& arc, double& minX, double& minY, double& maxX, double& maxY) {
  const double from = std::fmin(arc.startAngle, arc.startAngle + arc.sweep);
  const double to = std::fmax(arc.startAngle, arc.startAngle + arc.sweep);
  for (int k = -8; k <= 8; ++k) {
    const double angle = k * kPi / 2.0;
    if (!(angle > from && angle < to)) continue;
    const double x = arc.cx + arc.radius * std::cos(angle), y = arc.cy + arc.radius * std::sin(angle);
    minX = std::min(minX, x);
    minY = std::min(minY, y);
    maxX = std::max(maxX, x);
    maxY = std::max(maxY, y);
  }
}

}  // namespace pf
