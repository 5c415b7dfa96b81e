// polyline_test.cpp - AcDbPolyline as an entity: vertices, widths, flags, area through the
// object, fault injection and transformations.
#include <cmath>

#include "entity_fixture.h"
#include "gemat3d.h"

namespace {

const double kPi = 3.14159265358979323846;

// A 4 x 3 rectangle, counter-clockwise, optionally with a bulge on the right edge.
AcDbPolyline* rectangle(double bulge = 0.0) {
  AcDbPolyline* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(0, 0));
  pl->addVertexAt(1, AcGePoint2d(4, 0), bulge);
  pl->addVertexAt(2, AcGePoint2d(4, 3));
  pl->addVertexAt(3, AcGePoint2d(0, 3));
  pl->setClosed(Adesk::kTrue);
  return pl;
}

using PolylineTest = EntityTest;

TEST_F(PolylineTest, VerticesAreInsertedRemovedAndBoundsChecked) {
  AcDbPolyline* pl = new AcDbPolyline(8);
  EXPECT_EQ(pl->numVerts(), 0u);
  EXPECT_EQ(pl->addVertexAt(1, AcGePoint2d(1, 1)), Acad::eInvalidIndex);
  EXPECT_EQ(pl->addVertexAt(0, AcGePoint2d(2, 0)), Acad::eOk);
  EXPECT_EQ(pl->addVertexAt(0, AcGePoint2d(1, 0), 0.5), Acad::eOk);  // in front
  EXPECT_EQ(pl->addVertexAt(2, AcGePoint2d(3, 0)), Acad::eOk);       // at the end
  ASSERT_EQ(pl->numVerts(), 3u);
  AcGePoint2d p;
  double bulge = 0;
  EXPECT_EQ(pl->getPointAt(0, p), Acad::eOk);
  EXPECT_EQ(p.x, 1.0);
  EXPECT_EQ(pl->getBulgeAt(0, bulge), Acad::eOk);
  EXPECT_EQ(bulge, 0.5);
  EXPECT_EQ(pl->getPointAt(3, p), Acad::eInvalidIndex);
  EXPECT_EQ(pl->setBulgeAt(3, 1.0), Acad::eInvalidIndex);
  EXPECT_EQ(pl->removeVertexAt(0), Acad::eOk);
  EXPECT_EQ(pl->getPointAt(0, p), Acad::eOk);
  EXPECT_EQ(p.x, 2.0);
  EXPECT_EQ(pl->removeVertexAt(2), Acad::eInvalidIndex);
  // Non-numbers are refused and change nothing.
  EXPECT_EQ(pl->addVertexAt(0, AcGePoint2d(NAN, 0)), Acad::eInvalidInput);
  EXPECT_EQ(pl->setBulgeAt(0, INFINITY), Acad::eInvalidInput);
  EXPECT_EQ(pl->numVerts(), 2u);
  delete pl;
}

TEST_F(PolylineTest, ResetKeepsOrDropsVertices) {
  AcDbPolyline* pl = rectangle();
  pl->reset(Adesk::kTrue, 2);
  EXPECT_EQ(pl->numVerts(), 2u);
  pl->reset(Adesk::kTrue, 10);
  EXPECT_EQ(pl->numVerts(), 2u);
  pl->reset(Adesk::kFalse, 5);
  EXPECT_EQ(pl->numVerts(), 0u);
  delete pl;
}

TEST_F(PolylineTest, WidthsDefaultToTheConstantWidth) {
  AcDbPolyline* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(0, 0));
  double width = -1;
  EXPECT_EQ(pl->getConstantWidth(width), Acad::eOk);
  EXPECT_EQ(width, 0.0);
  EXPECT_EQ(pl->setConstantWidth(0.25), Acad::eOk);
  pl->addVertexAt(1, AcGePoint2d(1, 0));  // widths not given: the constant width
  double s = 0, e = 0;
  EXPECT_EQ(pl->getWidthsAt(1, s, e), Acad::eOk);
  EXPECT_EQ(s, 0.25);
  EXPECT_EQ(e, 0.25);
  EXPECT_EQ(pl->getConstantWidth(width), Acad::eOk);
  EXPECT_EQ(width, 0.25);
  EXPECT_EQ(pl->setWidthsAt(0, 0.1, 0.3), Acad::eOk);
  EXPECT_EQ(pl->getConstantWidth(width), Acad::eInvalidInput);  // the widths vary now
  EXPECT_EQ(pl->setWidthsAt(0, -1, 0), Acad::eInvalidInput);
  EXPECT_TRUE(pl->hasWidth());
  delete pl;
}

TEST_F(PolylineTest, SegmentTypes) {
  AcDbPolyline* pl = new AcDbPolyline();
  EXPECT_EQ(pl->segType(0), AcDbPolyline::kEmpty);
  pl->addVertexAt(0, AcGePoint2d(0, 0), 1.0);
  EXPECT_EQ(pl->segType(0), AcDbPolyline::kPoint);
  pl->addVertexAt(1, AcGePoint2d(2, 0));
  pl->addVertexAt(2, AcGePoint2d(2, 0));
  EXPECT_EQ(pl->segType(0), AcDbPolyline::kArc);
  EXPECT_EQ(pl->segType(1), AcDbPolyline::kCoincident);
  EXPECT_EQ(pl->segType(2), AcDbPolyline::kEmpty);  // open: no segment after the last vertex
  pl->setClosed(Adesk::kTrue);
  EXPECT_EQ(pl->segType(2), AcDbPolyline::kLine);
  EXPECT_EQ(pl->segType(3), AcDbPolyline::kEmpty);
  delete pl;
}

TEST_F(PolylineTest, AreaThroughTheDatabaseObject) {
  const AcDbObjectId id = appendClosed(rectangle(1.0));
  AcDbPolyline* pl = nullptr;
  ASSERT_EQ(acdbOpenObject(pl, id, AcDb::kForRead), Acad::eOk);
  double area = 0;
  EXPECT_EQ(pl->getArea(area), Acad::eOk);
  EXPECT_NEAR(area, 12.0 + kPi * 1.5 * 1.5 / 2.0, 1e-12);
  EXPECT_EQ(pl->close(), Acad::eOk);

  // Opened for write, the open outline ignores nothing but its last bulge.
  ASSERT_EQ(acdbOpenObject(pl, id, AcDb::kForWrite), Acad::eOk);
  pl->setClosed(Adesk::kFalse);
  pl->setBulgeAt(3, 1.0);
  EXPECT_EQ(pl->getArea(area), Acad::eOk);
  EXPECT_NEAR(area, 12.0 + kPi * 1.5 * 1.5 / 2.0, 1e-12);
  EXPECT_EQ(pl->close(), Acad::eOk);
}

TEST_F(PolylineTest, InjectedAreaFaultIsAnsweredAndLeavesTheResultAlone) {
  AcDbPolyline* pl = rectangle();
  double area = -7.0;
  pf::failNext("AcDbPolyline::getArea", Acad::eNotApplicable, 1);
  EXPECT_EQ(pl->getArea(area), Acad::eNotApplicable);
  EXPECT_EQ(area, -7.0);
  EXPECT_EQ(pl->getArea(area), Acad::eOk);  // only the next call was to fail
  EXPECT_EQ(area, 12.0);
  {
    pf::ScopedFault always("AcDbPolyline::getArea", Acad::eInvalidInput);
    EXPECT_EQ(pl->getArea(area), Acad::eInvalidInput);
    EXPECT_EQ(pl->getArea(area), Acad::eInvalidInput);
  }
  EXPECT_EQ(pl->getArea(area), Acad::eOk);
  delete pl;
}

TEST_F(PolylineTest, PointsInTheWorldFollowElevationAndNormal) {
  AcDbPolyline* pl = rectangle();
  pl->setElevation(5.0);
  AcGePoint3d w;
  EXPECT_EQ(pl->getPointAt(1, w), Acad::eOk);
  EXPECT_EQ(w.x, 4.0);
  EXPECT_EQ(w.y, 0.0);
  EXPECT_EQ(w.z, 5.0);
  // Normal -Z: the OCS X axis is world -X (arbitrary-axis rule), Y stays Y, Z is -Z.
  EXPECT_EQ(pl->setNormal(AcGeVector3d(0, 0, -2)), Acad::eOk);
  EXPECT_EQ(pl->getPointAt(2, w), Acad::eOk);
  EXPECT_NEAR(w.x, -4.0, 1e-12);
  EXPECT_NEAR(w.y, 3.0, 1e-12);
  EXPECT_NEAR(w.z, -5.0, 1e-12);
  EXPECT_NEAR(pl->normal().z, -1.0, 1e-15);  // stored with unit length
  EXPECT_EQ(pl->setNormal(AcGeVector3d(0, 0, 0)), Acad::eInvalidInput);
  double area = 0;
  EXPECT_EQ(pl->getArea(area), Acad::eOk);
  EXPECT_EQ(area, 12.0);  // the plane does not change the area
  delete pl;
}

TEST_F(PolylineTest, TranslateAndUniformScaleAboutAPoint) {
  AcDbPolyline* pl = rectangle(0.5);
  double before = 0, after = 0;
  ASSERT_EQ(pl->getArea(before), Acad::eOk);

  EXPECT_EQ(pl->transformBy(AcGeMatrix3d::translation(AcGeVector3d(2600000, 1200000, 0))),
            Acad::eOk);
  AcGePoint2d p;
  pl->getPointAt(2, p);
  EXPECT_EQ(p.x, 2600004.0);
  EXPECT_EQ(p.y, 1200003.0);
  ASSERT_EQ(pl->getArea(after), Acad::eOk);
  EXPECT_NEAR(after, before, before * 1e-12);

  // Scaling by 2 about the rectangle's far corner: that corner stays, areas grow fourfold,
  // widths double, bulges stay.
  pl->setConstantWidth(0.1);
  const AcGePoint3d corner(2600004, 1200003, 0);
  EXPECT_EQ(pl->transformBy(AcGeMatrix3d::scaling(2.0, corner)), Acad::eOk);
  pl->getPointAt(2, p);
  EXPECT_NEAR(p.x, 2600004.0, 1e-9);
  EXPECT_NEAR(p.y, 1200003.0, 1e-9);
  pl->getPointAt(0, p);
  EXPECT_NEAR(p.x, 2599996.0, 1e-9);
  ASSERT_EQ(pl->getArea(after), Acad::eOk);
  EXPECT_NEAR(after, 4.0 * before, before * 1e-9);
  double s = 0, e = 0, bulge = 0;
  pl->getWidthsAt(0, s, e);
  EXPECT_NEAR(s, 0.2, 1e-15);
  pl->getBulgeAt(1, bulge);
  EXPECT_EQ(bulge, 0.5);
  delete pl;
}

TEST_F(PolylineTest, MirrorKeepsTheArcsOnTheirSide) {
  AcDbPolyline* pl = rectangle(1.0);  // half disc bulging out to +x
  double before = 0, after = 0;
  pl->getArea(before);
  AcGeMatrix3d mirror;  // x -> -x
  mirror.entry[0][0] = -1.0;
  EXPECT_EQ(pl->transformBy(mirror), Acad::eOk);
  pl->getArea(after);
  EXPECT_NEAR(after, before, 1e-12);
  // The arc's midpoint now lies at world x = -(4 + 1.5).
  AcGePoint3d a, b;
  pl->getPointAt(1, a);
  pl->getPointAt(2, b);
  double bulge = 0;
  pl->getBulgeAt(1, bulge);
  const AcGeVector3d n = pl->normal();
  // Midpoint of the arc: chord midpoint moved by the sagitta to the right of the chord as seen
  // from the normal for a positive bulge.
  const AcGeVector3d chord = b - a;
  AcGeVector3d right = chord.crossProduct(n);
  right = right / right.length();
  const double sagitta = std::fabs(bulge) * chord.length() / 2.0;
  const AcGePoint3d mid = AcGePoint3d((a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2) +
                          right * (bulge > 0 ? sagitta : -sagitta);
  EXPECT_NEAR(mid.x, -5.5, 1e-12);
  EXPECT_NEAR(mid.y, 1.5, 1e-12);
  delete pl;
}

TEST_F(PolylineTest, NonUniformScaleIsRefusedAndChangesNothing) {
  AcDbPolyline* pl = rectangle(1.0);
  AcGeMatrix3d stretch;
  stretch.entry[0][0] = 2.0;
  EXPECT_EQ(pl->transformBy(stretch), Acad::eCannotScaleNonUniformly);
  AcGePoint2d p;
  pl->getPointAt(1, p);
  EXPECT_EQ(p.x, 4.0);
  delete pl;
}

}  // namespace
