// curve_test.cpp - polyline, line and circle as curves: parameters, points along them,
// lengths and extents.
#include <cmath>

#include "entity_fixture.h"
#include "gemat3d.h"

namespace {

const double kPi = 3.14159265358979323846;

using CurveTest = EntityTest;

TEST_F(CurveTest, PolylineParametersPointsAndLengths) {
  // (0,0) -> (4,0) straight, then a half circle of radius 1.5 bulging to +x up to (4,3).
  AcDbPolyline* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(0, 0));
  pl->addVertexAt(1, AcGePoint2d(4, 0), 1.0);
  pl->addVertexAt(2, AcGePoint2d(4, 3));
  double start = -1, end = -1;
  EXPECT_EQ(pl->getStartParam(start), Acad::eOk);
  EXPECT_EQ(pl->getEndParam(end), Acad::eOk);
  EXPECT_EQ(start, 0.0);
  EXPECT_EQ(end, 2.0);
  AcGePoint3d p;
  EXPECT_EQ(pl->getPointAtParam(0.5, p), Acad::eOk);
  EXPECT_NEAR(p.x, 2.0, 1e-15);
  EXPECT_EQ(pl->getPointAtParam(1.5, p), Acad::eOk);  // middle of the arc
  EXPECT_NEAR(p.x, 5.5, 1e-12);
  EXPECT_NEAR(p.y, 1.5, 1e-12);
  EXPECT_EQ(pl->getEndPoint(p), Acad::eOk);
  EXPECT_EQ(p.x, 4.0);
  EXPECT_EQ(p.y, 3.0);
  EXPECT_EQ(pl->getPointAtParam(2.5, p), Acad::eInvalidInput);
  double dist = 0;
  EXPECT_EQ(pl->getDistAtParam(2.0, dist), Acad::eOk);
  EXPECT_NEAR(dist, 4.0 + kPi * 1.5, 1e-12);
  EXPECT_EQ(pl->getDistAtParam(1.5, dist), Acad::eOk);
  EXPECT_NEAR(dist, 4.0 + kPi * 1.5 / 2.0, 1e-12);

  // Closed, the closing segment adds a parameter and ends where it started.
  pl->setClosed(Adesk::kTrue);
  EXPECT_EQ(pl->getEndParam(end), Acad::eOk);
  EXPECT_EQ(end, 3.0);
  EXPECT_EQ(pl->getEndPoint(p), Acad::eOk);
  EXPECT_EQ(p.x, 0.0);
  EXPECT_EQ(p.y, 0.0);
  EXPECT_EQ(pl->getDistAtParam(3.0, dist), Acad::eOk);
  EXPECT_NEAR(dist, 4.0 + kPi * 1.5 + 5.0, 1e-12);

  AcDbExtents box;
  EXPECT_EQ(pl->getGeomExtents(box), Acad::eOk);
  EXPECT_NEAR(box.maxPoint().x, 5.5, 1e-12);  // the arc, not only the vertices
  EXPECT_NEAR(box.maxPoint().y, 3.0, 1e-12);
  EXPECT_NEAR(box.minPoint().x, 0.0, 1e-12);
  delete pl;
}

TEST_F(CurveTest, ClockwiseArcBulgesToTheOtherSide) {
  AcDbPolyline* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(0, 0), -1.0);
  pl->addVertexAt(1, AcGePoint2d(2, 0));
  AcGePoint3d mid;
  EXPECT_EQ(pl->getPointAtParam(0.5, mid), Acad::eOk);
  EXPECT_NEAR(mid.x, 1.0, 1e-12);
  EXPECT_NEAR(mid.y, 1.0, 1e-12);  // clockwise from (0,0) to (2,0) passes above
  AcDbExtents box;
  EXPECT_EQ(pl->getGeomExtents(box), Acad::eOk);
  EXPECT_NEAR(box.maxPoint().y, 1.0, 1e-12);
  EXPECT_NEAR(box.minPoint().y, 0.0, 1e-12);
  delete pl;
}

TEST_F(CurveTest, EmptyPolylineHasNoCurve) {
  AcDbPolyline* pl = new AcDbPolyline();
  double param = 0;
  AcGePoint3d p;
  AcDbExtents box;
  EXPECT_NE(pl->getStartParam(param), Acad::eOk);
  EXPECT_NE(pl->getStartPoint(p), Acad::eOk);
  EXPECT_NE(pl->getGeomExtents(box), Acad::eOk);
  delete pl;
}

TEST_F(CurveTest, LineRunsOverItsLength) {
  AcDbLine* line = new AcDbLine(AcGePoint3d(1, 1, 0), AcGePoint3d(4, 5, 0));
  double end = 0, area = -1;
  EXPECT_EQ(line->getEndParam(end), Acad::eOk);
  EXPECT_EQ(end, 5.0);
  AcGePoint3d p;
  EXPECT_EQ(line->getPointAtParam(2.5, p), Acad::eOk);
  EXPECT_NEAR(p.x, 2.5, 1e-15);
  EXPECT_NEAR(p.y, 3.0, 1e-15);
  EXPECT_EQ(line->getPointAtParam(5.5, p), Acad::eInvalidInput);
  EXPECT_EQ(line->getArea(area), Acad::eOk);
  EXPECT_EQ(area, 0.0);
  EXPECT_FALSE(line->isClosed());
  delete line;
}

TEST_F(CurveTest, CircleInATiltedPlane) {
  // Normal along X: the circle lies in the world YZ plane.
  AcDbCircle* circle = new AcDbCircle(AcGePoint3d(1, 2, 3), AcGeVector3d(1, 0, 0), 2.0);
  AcDbExtents box;
  EXPECT_EQ(circle->getGeomExtents(box), Acad::eOk);
  EXPECT_NEAR(box.minPoint().x, 1.0, 1e-12);
  EXPECT_NEAR(box.maxPoint().x, 1.0, 1e-12);
  EXPECT_NEAR(box.minPoint().y, 0.0, 1e-12);
  EXPECT_NEAR(box.maxPoint().z, 5.0, 1e-12);
  AcGePoint3d p;
  EXPECT_EQ(circle->getPointAtParam(kPi / 2.0, p), Acad::eOk);
  EXPECT_NEAR(p.x, 1.0, 1e-12);  // stays in its plane
  const double d = std::hypot(p.y - 2.0, p.z - 3.0);
  EXPECT_NEAR(d, 2.0, 1e-12);
  double dist = 0;
  EXPECT_EQ(circle->getDistAtParam(kPi, dist), Acad::eOk);
  EXPECT_NEAR(dist, 2.0 * kPi, 1e-12);
  EXPECT_TRUE(circle->isClosed());
  EXPECT_EQ(circle->setRadius(0.0), Acad::eInvalidInput);
  EXPECT_EQ(circle->radius(), 2.0);
  delete circle;
}

}  // namespace

namespace {

const double kHalfPi = 1.57079632679489661923;

TEST_F(CurveTest, TextCircleAndReferenceFollowMovesRotationsAndScales) {
  const AcGeMatrix3d rotate = AcGeMatrix3d::rotation(kHalfPi, AcGeVector3d(0, 0, 1));
  const AcGeMatrix3d scale = AcGeMatrix3d::scaling(2.0, AcGePoint3d(1, 1, 0));
  AcGeMatrix3d stretch;
  stretch.entry[1][1] = 3.0;

  AcDbText* text = new AcDbText(AcGePoint3d(2, 0, 0), "t", AcDbObjectId::kNull, 0.5, 0.25);
  EXPECT_EQ(text->transformBy(rotate), Acad::eOk);
  EXPECT_NEAR(text->position().x, 0.0, 1e-12);
  EXPECT_NEAR(text->position().y, 2.0, 1e-12);
  EXPECT_NEAR(text->rotation(), 0.25 + kHalfPi, 1e-12);
  EXPECT_EQ(text->transformBy(scale), Acad::eOk);
  EXPECT_NEAR(text->height(), 1.0, 1e-12);
  EXPECT_NEAR(text->position().x, -1.0, 1e-12);
  EXPECT_NEAR(text->position().y, 3.0, 1e-12);
  EXPECT_EQ(text->transformBy(stretch), Acad::eCannotScaleNonUniformly);
  EXPECT_NEAR(text->height(), 1.0, 1e-12);
  delete text;

  AcDbCircle* circle = new AcDbCircle(AcGePoint3d(3, 1, 0), AcGeVector3d(0, 0, 1), 1.5);
  EXPECT_EQ(circle->transformBy(scale), Acad::eOk);
  EXPECT_NEAR(circle->center().x, 5.0, 1e-12);
  EXPECT_NEAR(circle->radius(), 3.0, 1e-12);
  EXPECT_EQ(circle->transformBy(stretch), Acad::eCannotScaleNonUniformly);
  EXPECT_NEAR(circle->radius(), 3.0, 1e-12);
  delete circle;

  AcDbBlockReference* ref = new AcDbBlockReference(AcGePoint3d(1, 0, 0), AcDbObjectId::kNull);
  EXPECT_EQ(ref->transformBy(rotate), Acad::eOk);
  EXPECT_NEAR(ref->rotation(), kHalfPi, 1e-12);
  EXPECT_NEAR(ref->position().y, 1.0, 1e-12);
  EXPECT_EQ(ref->transformBy(scale), Acad::eOk);
  EXPECT_NEAR(ref->scaleFactors().sx, 2.0, 1e-12);
  EXPECT_NEAR(ref->scaleFactors().sz, 2.0, 1e-12);
  // The block transform maps the block's (1,0,0) along the rotated, scaled X axis.
  const AcGePoint3d p = ref->blockTransform() * AcGePoint3d(1, 0, 0);
  EXPECT_NEAR(p.x, ref->position().x, 1e-12);
  EXPECT_NEAR(p.y, ref->position().y + 2.0, 1e-12);
  delete ref;
}

}  // namespace
