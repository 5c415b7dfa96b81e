// Geometry of bulged segments: arc centres, distances for picking, bounding boxes, SVG arcs.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry.h"
#include "svg.h"

namespace {
using cadhost::Pt;

TEST(CadhostGeometry, SemicircleBulgeHasItsCentreMidChord) {
  Pt c;
  double r, s, e;
  // Bulge 1 from (0,0) to (2,0): a half circle of radius 1 about (1,0), counter-clockwise, i.e.
  // below the chord when walking from a to b.
  cadhost::bulgeArc(Pt{0, 0}, Pt{2, 0}, 1.0, c, r, s, e);
  EXPECT_NEAR(c.x, 1, 1e-12);
  EXPECT_NEAR(c.y, 0, 1e-12);
  EXPECT_NEAR(r, 1, 1e-12);
  EXPECT_NEAR(cadhost::distanceToSegment(Pt{1, -1}, Pt{0, 0}, Pt{2, 0}, 1.0), 0, 1e-12);
  EXPECT_NEAR(cadhost::distanceToSegment(Pt{1, 1}, Pt{0, 0}, Pt{2, 0}, 1.0), std::sqrt(2.0), 1e-12)
      << "a point on the other side is nearest to an end point";
  cadhost::Box box = cadhost::segmentBox(Pt{0, 0}, Pt{2, 0}, 1.0);
  EXPECT_NEAR(box.minY, -1, 1e-12);
  EXPECT_NEAR(box.maxY, 0, 1e-12);
  // The opposite bulge bends the other way.
  box = cadhost::segmentBox(Pt{0, 0}, Pt{2, 0}, -1.0);
  EXPECT_NEAR(box.maxY, 1, 1e-12);
}

TEST(CadhostGeometry, StraightSegmentDistanceClampsToTheEnds) {
  EXPECT_DOUBLE_EQ(cadhost::distanceToSegment(Pt{5, 3}, Pt{0, 0}, Pt{10, 0}, 0), 3);
  EXPECT_DOUBLE_EQ(cadhost::distanceToSegment(Pt{-3, 4}, Pt{0, 0}, Pt{10, 0}, 0), 5);
  EXPECT_DOUBLE_EQ(cadhost::distanceToCircle(Pt{0, 5}, Pt{0, 0}, 2), 3);
  EXPECT_DOUBLE_EQ(cadhost::distanceToCircle(Pt{0, 0}, Pt{0, 0}, 2), 2);
}

TEST(CadhostSvg, ArcsFlipWithTheYAxisAndTextIsEscaped) {
  cadhost::Shape pl;
  pl.kind = cadhost::Shape::Polyline;
  pl.points = {Pt{0, 0}, Pt{2, 0}};
  pl.bulges = {1.0, 0};
  cadhost::Shape text;
  text.kind = cadhost::Shape::Text;
  text.center = Pt{0, 1};
  text.radius = 0.2;
  text.text = "A<B & \"C\"";
  const std::string svg = cadhost::svgText({pl, text}, 400, 400);
  EXPECT_NE(svg.find(" A "), std::string::npos) << svg;
  // Counter-clockwise in the drawing is clockwise on screen: sweep flag 0.
  EXPECT_NE(svg.find(" 0 0 0 "), std::string::npos) << svg;
  EXPECT_NE(svg.find("A&lt;B &amp; &quot;C&quot;"), std::string::npos);
  EXPECT_EQ(svg.find("A<B"), std::string::npos);
}

}  // namespace
