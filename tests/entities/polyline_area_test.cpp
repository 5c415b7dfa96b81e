// polyline_area_test.cpp - the exact polyline area against closed forms.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "pf/bulge.h"

namespace {

using pf::BulgedVertex;

const double kPi = 3.14159265358979323846;

double signedArea(const std::vector<BulgedVertex>& v, bool closed) {
  return pf::polylineSignedArea(v.data(), v.size(), closed);
}
double area(const std::vector<BulgedVertex>& v, bool closed) {
  return pf::polylineArea(v.data(), v.size(), closed);
}

// Circular segment of chord c and bulge b from the radius/angle form, independent of the form
// the implementation uses: r^2/2 (theta - sin theta), theta = 4 atan|b|, r = c (1+b^2) / (4|b|).
double segmentByAngle(double c, double b) {
  const double theta = 4.0 * std::atan(std::fabs(b));
  const double r = c * (1.0 + b * b) / (4.0 * std::fabs(b));
  return (b > 0 ? 1.0 : -1.0) * r * r / 2.0 * (theta - std::sin(theta));
}

// Leading terms of the small-bulge series, exact to far below double precision for |b| <= 1e-6.
double segmentSmall(double c, double b) { return c * c * b * (1.0 / 3.0 + b * b / 15.0); }

// 4 x 3 rectangle, counter-clockwise, with bulge b on the right edge (chord 3).
std::vector<BulgedVertex> rectangleCcw(double b) {
  return {{0, 0, 0}, {4, 0, b}, {4, 3, 0}, {0, 3, 0}};
}
// The same rectangle clockwise, with bulge b on the right edge (now run downwards).
std::vector<BulgedVertex> rectangleCw(double b) {
  return {{0, 0, 0}, {0, 3, 0}, {4, 3, b}, {4, 0, 0}};
}

TEST(PolylineArea, RectangleInBothOrientations) {
  EXPECT_DOUBLE_EQ(signedArea(rectangleCcw(0), true), 12.0);
  EXPECT_DOUBLE_EQ(signedArea(rectangleCw(0), true), -12.0);
  EXPECT_DOUBLE_EQ(area(rectangleCcw(0), true), 12.0);
  EXPECT_DOUBLE_EQ(area(rectangleCw(0), true), 12.0);
}

TEST(PolylineArea, HalfCircleBulges) {
  const double half = kPi * 1.5 * 1.5 / 2.0;
  // Counter-clockwise outline: +1 bulges outwards, -1 cuts into the rectangle.
  EXPECT_NEAR(area(rectangleCcw(1.0), true), 12.0 + half, 1e-13);
  EXPECT_NEAR(area(rectangleCcw(-1.0), true), 12.0 - half, 1e-13);
  // Clockwise outline: the roles of the signs swap.
  EXPECT_NEAR(area(rectangleCw(-1.0), true), 12.0 + half, 1e-13);
  EXPECT_NEAR(area(rectangleCw(1.0), true), 12.0 - half, 1e-13);
}

TEST(PolylineArea, HalfBulges) {
  const double s = segmentByAngle(3.0, 0.5);
  EXPECT_GT(s, 0.0);
  EXPECT_NEAR(area(rectangleCcw(0.5), true), 12.0 + s, 1e-13);
  EXPECT_NEAR(area(rectangleCcw(-0.5), true), 12.0 - s, 1e-13);
  EXPECT_NEAR(area(rectangleCw(-0.5), true), 12.0 + s, 1e-13);
  EXPECT_NEAR(area(rectangleCw(0.5), true), 12.0 - s, 1e-13);
}

TEST(PolylineArea, IndependentlyCheckedShapes) {
  // 10 x 6 rectangle with an outward arc b = 0.5 on a long edge, value checked by dense
  // sampling of the true arc. Clockwise ring: the closing edge runs leftwards along the bottom,
  // and its clockwise (negative) arc lies below it, outside the rectangle.
  std::vector<BulgedVertex> cw{{0, 0, 0}, {0, 6, 0}, {10, 6, 0}, {10, 0, -0.5}};
  EXPECT_NEAR(area(cw, true), 77.472469453188, 1e-11);
  // Open half circle of radius 2 whose last bulge is ignored.
  std::vector<BulgedVertex> open{{0, 0, 1.0}, {4, 0, 3.0}};
  EXPECT_NEAR(area(open, false), 6.283185307180, 1e-12);
}

TEST(PolylineArea, SegmentFormsAgreeAcrossTheSeriesLimit) {
  for (double b : {0.2, 0.249999, 0.25, 0.250001, 0.3, 0.7, 1.0, 2.0, 10.0}) {
    for (double sign : {1.0, -1.0}) {
      const double want = segmentByAngle(2.0, sign * b);
      EXPECT_NEAR(pf::bulgeSegmentArea(4.0, sign * b), want, std::fabs(want) * 1e-13) << b;
    }
  }
}

TEST(PolylineArea, TinyBulgesKeepTheirDigits) {
  for (double b : {1e-6, -1e-6, 1e-9, -1e-9, 1e-12}) {
    const double want = segmentSmall(3.0, b);
    EXPECT_NEAR(pf::bulgeSegmentArea(9.0, b), want, std::fabs(want) * 1e-13) << b;
    // A two-vertex polyline with a bulge encloses exactly that segment, so the whole
    // computation must keep the digits, not only the segment helper.
    std::vector<BulgedVertex> lens{{1, 1, b}, {1, 4, 0}};
    EXPECT_NEAR(signedArea(lens, false), want, std::fabs(want) * 1e-13) << b;
  }
  // Inside a rectangle the tiny segment still shows in the total.
  const double s = segmentSmall(3.0, 1e-6);
  EXPECT_NEAR(area(rectangleCcw(1e-6), true) - 12.0, s, 1e-14);
}

TEST(PolylineArea, OpenPolylineIsClosedByAStraightEdge) {
  // Open square whose last vertex carries a bulge: the closing edge stays straight.
  std::vector<BulgedVertex> square{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 1.0}};
  EXPECT_DOUBLE_EQ(area(square, false), 16.0);
  // Closed, the same bulge shapes the closing edge: half circle of diameter 4 outwards.
  EXPECT_NEAR(area(square, true), 16.0 + kPi * 2.0, 1e-13);
  // Bulges on the other edges of an open outline still count.
  square[1].bulge = -1.0;
  EXPECT_NEAR(area(square, false), 16.0 - kPi * 2.0, 1e-13);
}

TEST(PolylineArea, FewerThanThreeVertices) {
  EXPECT_EQ(pf::polylineArea(nullptr, 0, true), 0.0);
  std::vector<BulgedVertex> one{{5, 5, 1.0}};
  EXPECT_EQ(area(one, true), 0.0);
  std::vector<BulgedVertex> straight{{0, 0, 0}, {3, 4, 0}};
  EXPECT_EQ(area(straight, true), 0.0);
  EXPECT_EQ(area(straight, false), 0.0);
  // Open, with a bulge: the half circle on the chord (radius 2.5).
  std::vector<BulgedVertex> half{{0, 0, 1.0}, {3, 4, 0}};
  EXPECT_NEAR(area(half, false), kPi * 2.5 * 2.5 / 2.0, 1e-13);
  // Closed with both bulges 1: a full circle.
  std::vector<BulgedVertex> circle{{0, 0, 1.0}, {3, 4, 1.0}};
  EXPECT_NEAR(area(circle, true), kPi * 2.5 * 2.5, 1e-13);
  // Coincident vertices enclose nothing whatever the bulge.
  std::vector<BulgedVertex> point{{2, 2, 1.0}, {2, 2, 1.0}};
  EXPECT_EQ(area(point, true), 0.0);
}

TEST(PolylineArea, RoomFarFromTheOriginKeepsRelativeAccuracy) {
  // An L-shaped room with an arc window bay, in survey coordinates and at the origin.
  const double w = 12.345, h = 6.789, notch = 2.5;
  auto room = [&](double x0, double y0) {
    return std::vector<BulgedVertex>{{x0, y0, 0},
                                     {x0 + w, y0, 0.5},
                                     {x0 + w, y0 + h, 0},
                                     {x0 + notch, y0 + h, 0},
                                     {x0 + notch, y0 + h - notch, 0},
                                     {x0, y0 + h - notch, 1e-6}};
  };
  const double expected = w * h - notch * notch + segmentByAngle(h, 0.5) +
                          segmentSmall(h - notch, 1e-6);
  const double near = area(room(0, 0), true);
  const double far = area(room(2600000.0, 1200000.0), true);
  EXPECT_NEAR(near, expected, expected * 1e-12);
  EXPECT_NEAR(far, expected, expected * 1e-9);
}

TEST(PolylineArea, SelfIntersectingOutlineGivesTheNetArea) {
  // Bow tie: the two triangles wind in opposite senses, so their areas subtract.
  std::vector<BulgedVertex> bow{{0, 0, 0}, {4, 2, 0}, {4, 0, 0}, {0, 3, 0}};
  const double left = 0.5 * 3.0 * (4.0 * 3.0 / 5.0);  // crossing at x = 12/5
  const double right = 0.5 * 2.0 * (4.0 - 12.0 / 5.0);
  EXPECT_NEAR(area(bow, true), std::fabs(left - right), 1e-13);
}

TEST(PolylineArea, NonFiniteInputGivesNaN) {
  std::vector<BulgedVertex> bad{{0, 0, 0}, {4, 0, std::nan("")}, {4, 3, 0}};
  EXPECT_TRUE(std::isnan(area(bad, true)));
  bad[1].bulge = 0;
  bad[2].x = INFINITY;
  EXPECT_TRUE(std::isnan(area(bad, true)));
}

}  // namespace

// The arc through a bulge, which the polylines and the host program share.
TEST(BulgeArc, CentreRadiusAndSweepOfASegment) {
  pf::BulgeArc arc;
  // A half circle from (0,0) to (2,0) counter-clockwise runs below its chord.
  ASSERT_TRUE(pf::bulgeArc(0, 0, 2, 0, 1.0, arc));
  EXPECT_NEAR(1.0, arc.cx, 1e-15);
  EXPECT_NEAR(0.0, arc.cy, 1e-15);
  EXPECT_NEAR(1.0, arc.radius, 1e-15);
  EXPECT_NEAR(kPi, std::fabs(arc.startAngle), 1e-15);
  EXPECT_NEAR(kPi, arc.sweep, 1e-15);
  double minX = 0, minY = 0, maxX = 2, maxY = 0;
  pf::addArcAxisExtremes(arc, minX, minY, maxX, maxY);
  EXPECT_NEAR(-1.0, minY, 1e-15);
  EXPECT_EQ(0.0, maxY);

  // The clockwise one runs above it; a quarter circle's centre is off the chord.
  ASSERT_TRUE(pf::bulgeArc(0, 0, 2, 0, -1.0, arc));
  minX = 0, minY = 0, maxX = 2, maxY = 0;
  pf::addArcAxisExtremes(arc, minX, minY, maxX, maxY);
  EXPECT_NEAR(1.0, maxY, 1e-15);
  EXPECT_EQ(0.0, minY);
  ASSERT_TRUE(pf::bulgeArc(1, 0, 0, 1, std::tan(kPi / 8), arc));
  EXPECT_NEAR(0.0, arc.cx, 1e-15);
  EXPECT_NEAR(0.0, arc.cy, 1e-15);
  EXPECT_NEAR(kPi / 2, arc.sweep, 1e-15);

  // Straight segments have no arc.
  EXPECT_FALSE(pf::bulgeArc(0, 0, 2, 0, 0.0, arc));
  EXPECT_FALSE(pf::bulgeArc(3, 3, 3, 3, 1.0, arc));
}
