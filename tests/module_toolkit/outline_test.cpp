// outline_test.cpp - the plane geometry of outlines: area and length with arcs (checked
// against the polyline's own area), the boundary, and the grid's candidates.
#include <gtest/gtest.h>

#include <cmath>

#include "dbpl.h"
#include "toolkit/gridindex.h"
#include "toolkit/outline.h"

namespace {

const double kPi = 3.14159265358979323846;

TEST(OutlineTest, AreaAndPerimeterWithArcsAgreeWithThePolyline) {
  // A 10 x 4 rectangle whose right edge bows out by a half circle and bottom edge bows in.
  AcDbPolyline polyline;
  polyline.addVertexAt(0, AcGePoint2d(0, 0), -0.1);
  polyline.addVertexAt(1, AcGePoint2d(10, 0), 1.0);
  polyline.addVertexAt(2, AcGePoint2d(10, 4));
  polyline.addVertexAt(3, AcGePoint2d(0, 4));
  polyline.setClosed(true);
  double expected = 0.0;
  ASSERT_EQ(Acad::eOk, polyline.getArea(expected));
  const toolkit::Outline outline(&polyline);
  EXPECT_NEAR(expected, std::fabs(outline.signedArea()), 1e-9);
  EXPECT_GT(std::fabs(outline.signedArea()), 40.0) << "the half circle (6.28) outweighs the dent (3.35)";

  // Two half circles make a circle of radius 2.
  const toolkit::Outline circle({AcGePoint2d(0, 0), AcGePoint2d(4, 0)}, {1.0, 1.0}, AcGeVector3d(0, 0, 1), true);
  EXPECT_NEAR(4 * kPi, circle.signedArea(), 1e-9);
  EXPECT_NEAR(4 * kPi, circle.perimeter(), 1e-9);
  EXPECT_FALSE(circle.isDegenerate());
  EXPECT_TRUE(circle.strictlyContains(AcGePoint2d(2, -1.9)));
  EXPECT_FALSE(circle.strictlyContains(AcGePoint2d(2, -2.0))) << "on the arc";
  EXPECT_FALSE(circle.strictlyContains(AcGePoint2d(2, 2.1)));
}

TEST(OutlineTest, OpenOutlinesMeasureWithoutTheClosingEdgeButTestAsClosed) {
  const toolkit::Outline open({AcGePoint2d(0, 0), AcGePoint2d(3, 0), AcGePoint2d(3, 4)}, {}, AcGeVector3d(0, 0, 1),
                              false);
  EXPECT_NEAR(7.0, open.perimeter(), 1e-12);
  EXPECT_NEAR(6.0, std::fabs(open.signedArea()), 1e-12);
  EXPECT_TRUE(open.strictlyContains(AcGePoint2d(2, 1)));
  EXPECT_FALSE(open.isClosed());
}

TEST(OutlineTest, CollinearOrTooShortOutlinesAreDegenerate) {
  const AcGeVector3d z(0, 0, 1);
  EXPECT_TRUE(toolkit::Outline({AcGePoint2d(0, 0), AcGePoint2d(5, 0), AcGePoint2d(9, 0)}, {}, z, true).isDegenerate());
  EXPECT_TRUE(toolkit::Outline({AcGePoint2d(0, 0), AcGePoint2d(5, 5)}, {}, z, true).isDegenerate());
  EXPECT_FALSE(toolkit::Outline({AcGePoint2d(0, 0), AcGePoint2d(5, 0), AcGePoint2d(0, 5)}, {}, z, true).isDegenerate());
}

TEST(GridIndexTest, FindsEveryBoxAroundThePointAndNoOther) {
  std::vector<toolkit::Box> boxes;
  for (int i = 0; i < 100; ++i) boxes.push_back(toolkit::Box{i * 10.0, 0, i * 10.0 + 8, 8});
  boxes.push_back(toolkit::Box{-5, -5, 1005, 13});  // a zone around everything
  const toolkit::GridIndex grid(boxes);
  std::vector<int> found;
  grid.candidates(534, 4, found);
  EXPECT_EQ((std::vector<int>{53, 100}), found);
  grid.candidates(539, 4, found);
  EXPECT_EQ((std::vector<int>{100}), found) << "between rooms only the zone";
  grid.candidates(-1e300, 4, found);
  EXPECT_TRUE(found.empty());
  grid.candidates(std::nan(""), 4, found);
  EXPECT_TRUE(found.empty());
}

}  // namespace
