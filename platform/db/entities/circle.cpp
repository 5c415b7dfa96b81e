// circle.cpp - AcDbCircle: centre, radius and plane, with its DWG and DXF filing.
//
// DXF (subclass AcDbCircle): [39 thickness], 10/20/30 centre in the OCS, 40 radius, [210 normal].
#include "dbents.h"

#include "db/entities/entity_util.h"
#include "db/entities/filing_util.h"
#include "gemat3d.h"
#include "rx/rxinit.h"

ACRX_DXF_DEFINE_MEMBERS(AcDbCircle, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        CIRCLE, AutoCAD);
PF_REGISTER_CLASS(AcDbCircle);

AcDbCircle::AcDbCircle() : mNormal(0.0, 0.0, 1.0) {}

AcDbCircle::AcDbCircle(const AcGePoint3d& cntr, const AcGeVector3d& nrm, double radius)
    : mCenter(cntr), mRadius(pf::finite(radius) && radius > 0 ? radius : 0.0), mNormal(0, 0, 1) {
  AcGeVector3d unit;
  if (pf::unitNormal(nrm, unit)) mNormal = unit;
}

AcDbCircle::~AcDbCircle() {}

AcGePoint3d AcDbCircle::center() const {
  assertReadEnabled();
  return mCenter;
}

Acad::ErrorStatus AcDbCircle::setCenter(const AcGePoint3d& center) {
  if (!pf::finite(center)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mCenter = center;
  return Acad::eOk;
}

double AcDbCircle::radius() const {
  assertReadEnabled();
  return mRadius;
}

Acad::ErrorStatus AcDbCircle::setRadius(double radius) {
  if (!pf::finite(radius) || radius <= 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  mRadius = radius;
  return Acad::eOk;
}

double AcDbCircle::thickness() const {
  assertReadEnabled();
  return mThickness;
}

Acad::ErrorStatus AcDbCircle::setThickness(double thickness) {
  if (!pf::finite(thickness)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mThickness = thickness;
  return Acad::eOk;
}

AcGeVector3d AcDbCircle::normal() const {
  assertReadEnabled();
  return mNormal;
}

Acad::ErrorStatus AcDbCircle::setNormal(const AcGeVector3d& normal) {
  AcGeVector3d unit;
  if (!pf::unitNormal(normal, unit)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mNormal = unit;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getArea(double& area) const {
  PF_FAULT_CHECK("AcDbCircle::getArea");
  assertReadEnabled();
  area = 3.14159265358979323846 * mRadius * mRadius;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::transformBy(const AcGeMatrix3d& xform) {
  pf::Similarity sim;
  if (!pf::similarityOf(xform, sim)) return Acad::eCannotScaleNonUniformly;
  assertWriteEnabled();
  mCenter = pf::toPoint(sim.apply(pf::toVec3(mCenter)));
  mNormal = pf::toVector(pf::mapNormal(sim, pf::toVec3(mNormal)));
  mRadius *= sim.scale;
  mThickness *= sim.scale;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbCurve::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writePoint3d(mCenter);
  pFiler->writeDouble(mRadius);
  pFiler->writeDouble(mThickness);
  pFiler->writeVector3d(mNormal);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbCircle::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbCurve::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->readPoint3d(&mCenter);
  pFiler->readDouble(&mRadius);
  pFiler->readDouble(&mThickness);
  pFiler->readVector3d(&mNormal);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbCircle::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbCurve::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeString(AcDb::kDxfSubclass, "AcDbCircle");
  if (mThickness != 0.0) pFiler->writeDouble(AcDb::kDxfThickness, mThickness);
  pFiler->writePoint3d(AcDb::kDxfXCoord, pf::toOcsPoint(mNormal, mCenter));
  pFiler->writeDouble(AcDb::kDxfReal, mRadius);
  pf::writeNormal(pFiler, mNormal);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbCircle::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbCurve::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if ((es = pf::expectSubclass(pFiler, "AcDbCircle")) != Acad::eOk) return es;
  AcGePoint3d center;
  AcGeVector3d normal(0.0, 0.0, 1.0);
  double radius = 0.0, thickness = 0.0;
  es = pf::readGroups(pFiler, [&](const resbuf& rb) {
    switch (rb.restype) {
      case AcDb::kDxfThickness: return pf::groupReal(pFiler, rb, thickness);
      case AcDb::kDxfXCoord: return pf::groupPoint(pFiler, rb, center);
      case AcDb::kDxfReal: return pf::groupReal(pFiler, rb, radius);
      case AcDb::kDxfNormalX: return pf::groupNormal(pFiler, rb, normal);
      default: return pf::skipGroup(pFiler, rb);
    }
  });
  if (es != Acad::eOk) return es;
  if (!(radius >= 0.0)) return Acad::eInvalidInput;
  mNormal = normal;
  mCenter = pf::toWorldPoint(normal, center);  // the centre is filed in the OCS
  mRadius = radius;
  mThickness = thickness;
  return Acad::eOk;
}
