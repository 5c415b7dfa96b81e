// polyline_area.cpp - exact area of a lightweight polyline (see polyline_area.h).
#include "pf/bulge.h"

#include <cmath>
#include <limits>

namespace pf {

namespace {

// Neumaier's compensated sum: shoelace terms of a long outline of similar magnitude and
// opposite signs would otherwise lose the low digits the relative coordinates preserved.
class CompensatedSum {
 public:
  void add(double v) {
    const double t = sum_ + v;
    if (std::fabs(sum_) >= std::fabs(v))
      carry_ += (sum_ - t) + v;
    else
      carry_ += (v - t) + sum_;
    sum_ = t;
  }
  double value() const { return sum_ + carry_; }

 private:
  double sum_ = 0.0;
  double carry_ = 0.0;
};

// Below this bulge the closed form of the segment area cancels noticeably (it loses about a
// factor 1/b^2 of precision); the series converges quickly there (ratio b^2 <= 1/16).
constexpr double kSeriesLimit = 0.25;

// S(c, b) / c^2 = sum_{k>=1} (-1)^k b^(2k-1) / ((2k+1)(2k-1)(2k-3))
//               = b/3 + b^3/15 - b^5/105 + b^7/315 - ...
double segmentSeries(double b) {
  const double b2 = b * b;
  double power = b;  // b^(2k-1)
  double total = 0.0;
  for (int k = 1; k < 60; ++k) {
    const double denom = double(2 * k + 1) * double(2 * k - 1) * double(2 * k - 3);
    const double term = ((k % 2) ? -power : power) / denom;
    total += term;
    if (std::fabs(term) <= std::fabs(total) * 1e-18) break;
    power *= b2;
  }
  return total;
}

}  // namespace

double bulgeSegmentArea(double chordSq, double bulge) {
  if (bulge == 0.0 || chordSq == 0.0) return 0.0;
  if (std::fabs(bulge) < kSeriesLimit) return chordSq * segmentSeries(bulge);
  // c^2/(8 b^2) * [ (1+b^2)^2 atan(b) - b (1-b^2) ]  ==  sign(b) r^2/2 (theta - sin theta)
  const double b2 = bulge * bulge;
  const double onePlus = 1.0 + b2;
  return chordSq / (8.0 * b2) * (onePlus * onePlus * std::atan(bulge) - bulge * (1.0 - b2));
}

double polylineSignedArea(const BulgedVertex* v, std::size_t count, bool closed) {
  if (count == 0 || v == nullptr) return 0.0;
  for (std::size_t i = 0; i < count; ++i) {
    if (!std::isfinite(v[i].x) || !std::isfinite(v[i].y) || !std::isfinite(v[i].bulge))
      return std::numeric_limits<double>::quiet_NaN();
  }
  if (count == 1) return 0.0;

  // Shoelace relative to the first vertex: the terms touching vertex 0 vanish, and the others
  // are products of small differences instead of large absolute coordinates.
  const double x0 = v[0].x;
  const double y0 = v[0].y;
  CompensatedSum twice;
  for (std::size_t i = 1; i + 1 < count; ++i) {
    const double xi = v[i].x - x0, yi = v[i].y - y0;
    const double xj = v[i + 1].x - x0, yj = v[i + 1].y - y0;
    twice.add(xi * yj);
    twice.add(-xj * yi);
  }

  CompensatedSum area;
  area.add(0.5 * twice.value());

  // Bulged edges. An open outline is closed by a straight chord, so its last bulge is unused.
  const std::size_t edges = closed ? count : count - 1;
  for (std::size_t i = 0; i < edges; ++i) {
    const BulgedVertex& a = v[i];
    const BulgedVertex& b = v[(i + 1) % count];
    if (a.bulge == 0.0) continue;
    const double dx = b.x - a.x, dy = b.y - a.y;
    area.add(bulgeSegmentArea(dx * dx + dy * dy, a.bulge));
  }
  return area.value();
}

double polylineArea(const BulgedVertex* vertices, std::size_t count, bool closed) {
  return std::fabs(polylineSignedArea(vertices, count, closed));
}

}  // namespace pf
