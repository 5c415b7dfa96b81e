// geometry_test.cpp - the transformation matrix and the arbitrary-axis coordinate system.
#include <gtest/gtest.h>
#include <cmath>
#include "gemat3d.h"
#include "gepnt3d.h"
#include "dbmain.h"

namespace {

TEST(GeometryTest, RotationAboutACentreAndItsInverse) {
  AcGeMatrix3d rot = AcGeMatrix3d::rotation(M_PI / 2, AcGeVector3d::kZAxis, AcGePoint3d(1, 1, 0));
  AcGePoint3d p = rot * AcGePoint3d(2, 1, 0);
  EXPECT_NEAR(1.0, p.x, 1e-12);
  EXPECT_NEAR(2.0, p.y, 1e-12);
  AcGePoint3d back = rot.inverse() * p;
  EXPECT_TRUE(back.isEqualTo(AcGePoint3d(2, 1, 0)));
  EXPECT_TRUE(rot.isUniScaledOrtho());
  EXPECT_NEAR(1.0, rot.det(), 1e-12);
  // Vectors ignore the translation part.
  AcGeMatrix3d move = AcGeMatrix3d::translation(AcGeVector3d(5, 0, 0));
  EXPECT_TRUE((move * AcGeVector3d(1, 2, 3)).isEqualTo(AcGeVector3d(1, 2, 3)));
  EXPECT_TRUE((move * AcGePoint3d(1, 2, 3)).isEqualTo(AcGePoint3d(6, 2, 3)));
}

TEST(GeometryTest, ScalingAndProducts) {
  AcGeMatrix3d s = AcGeMatrix3d::scaling(2.0, AcGePoint3d(1, 0, 0));
  EXPECT_TRUE((s * AcGePoint3d(2, 1, 0)).isEqualTo(AcGePoint3d(3, 2, 0)));
  EXPECT_NEAR(2.0, s.scale(), 1e-12);
  AcGeMatrix3d m = AcGeMatrix3d::translation(AcGeVector3d(1, 0, 0)) * s;  // scale, then move
  EXPECT_TRUE((m * AcGePoint3d(2, 1, 0)).isEqualTo(AcGePoint3d(4, 2, 0)));
  AcGeMatrix3d flat;
  flat.entry[2][2] = 0.0;
  EXPECT_TRUE(flat.isSingular());
  EXPECT_FALSE(flat.isUniScaledOrtho());
}

TEST(GeometryTest, ArbitraryAxisFollowsTheDrawingFormatRule) {
  // Normal (0,0,-1): the object X axis is world -X.
  AcGeMatrix3d ocs = AcGeMatrix3d::planeToWorld(AcGeVector3d(0, 0, -1));
  EXPECT_TRUE((ocs * AcGeVector3d::kXAxis).isEqualTo(AcGeVector3d(-1, 0, 0)));
  EXPECT_TRUE((ocs * AcGeVector3d::kYAxis).isEqualTo(AcGeVector3d(0, 1, 0)));
  // The world normal gives the identity.
  EXPECT_TRUE(AcGeMatrix3d::planeToWorld(AcGeVector3d::kZAxis).isEqualTo(AcGeMatrix3d::kIdentity));
  AcGeMatrix3d there = AcGeMatrix3d::planeToWorld(AcGeVector3d(1, 1, 1));
  AcGeMatrix3d andBack = AcGeMatrix3d::worldToPlane(AcGeVector3d(1, 1, 1)) * there;
  EXPECT_TRUE(andBack.isEqualTo(AcGeMatrix3d::kIdentity));
}

TEST(GeometryTest, ExtentsGrowAndTransform) {
  AcDbExtents ext;
  EXPECT_TRUE(ext.isEmpty());
  ext.addPoint(AcGePoint3d(1, 2, 0));
  ext.addPoint(AcGePoint3d(-1, 5, 0));
  EXPECT_TRUE(ext.minPoint().isEqualTo(AcGePoint3d(-1, 2, 0)));
  EXPECT_TRUE(ext.maxPoint().isEqualTo(AcGePoint3d(1, 5, 0)));
  ext.transformBy(AcGeMatrix3d::rotation(M_PI, AcGeVector3d::kZAxis));
  EXPECT_TRUE(ext.minPoint().isEqualTo(AcGePoint3d(-1, -5, 0)));
  AcDbExtents bad;
  EXPECT_EQ(Acad::eInvalidExtents, bad.set(AcGePoint3d(1, 0, 0), AcGePoint3d(0, 0, 0)));
}

}  // namespace
