// line.cpp - AcDbLine: a straight segment between two WCS points, with its DWG and DXF filing.
//
// DXF (subclass AcDbLine): [39 thickness], 10/20/30 start, 11/21/31 end, [210 normal].
#include "dbents.h"

#include "db/entities/entity_util.h"
#include "db/entities/filing_util.h"
#include "gemat3d.h"
#include "rx/rxinit.h"

ACRX_DXF_DEFINE_MEMBERS(AcDbLine, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, LINE,
                        AutoCAD);
PF_REGISTER_CLASS(AcDbLine);

AcDbLine::AcDbLine() : mNormal(0.0, 0.0, 1.0) {}

AcDbLine::AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end)
    : mStart(start), mEnd(end), mNormal(0.0, 0.0, 1.0) {}

AcDbLine::~AcDbLine() {}

AcGePoint3d AcDbLine::startPoint() const {
  assertReadEnabled();
  return mStart;
}

Acad::ErrorStatus AcDbLine::setStartPoint(const AcGePoint3d& point) {
  if (!pf::finite(point)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mStart = point;
  return Acad::eOk;
}

AcGePoint3d AcDbLine::endPoint() const {
  assertReadEnabled();
  return mEnd;
}

Acad::ErrorStatus AcDbLine::setEndPoint(const AcGePoint3d& point) {
  if (!pf::finite(point)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mEnd = point;
  return Acad::eOk;
}

double AcDbLine::thickness() const {
  assertReadEnabled();
  return mThickness;
}

Acad::ErrorStatus AcDbLine::setThickness(double thickness) {
  if (!pf::finite(thickness)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mThickness = thickness;
  return Acad::eOk;
}

AcGeVector3d AcDbLine::normal() const {
  assertReadEnabled();
  return mNormal;
}

Acad::ErrorStatus AcDbLine::setNormal(const AcGeVector3d& normal) {
  AcGeVector3d unit;
  if (!pf::unitNormal(normal, unit)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mNormal = unit;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getArea(double& area) const {
  PF_FAULT_CHECK("AcDbLine::getArea");
  assertReadEnabled();
  area = 0.0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::transformBy(const AcGeMatrix3d& xform) {
  // Any affine map keeps a line a line; only the thickness needs a uniform scale to stay
  // meaningful, so the thickness is scaled by the normal's stretch.
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (!std::isfinite(xform.entry[r][c])) return Acad::eInvalidInput;
  assertWriteEnabled();
  mStart = xform * mStart;
  mEnd = xform * mEnd;
  const AcGeVector3d n = xform * mNormal;
  const double stretch = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
  AcGeVector3d unit;
  if (pf::unitNormal(n, unit)) {
    mNormal = unit;
    mThickness *= stretch;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbCurve::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writePoint3d(mStart);
  pFiler->writePoint3d(mEnd);
  pFiler->writeDouble(mThickness);
  pFiler->writeVector3d(mNormal);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbLine::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbCurve::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->readPoint3d(&mStart);
  pFiler->readPoint3d(&mEnd);
  pFiler->readDouble(&mThickness);
  pFiler->readVector3d(&mNormal);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbLine::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbCurve::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeString(AcDb::kDxfSubclass, "AcDbLine");
  if (mThickness != 0.0) pFiler->writeDouble(AcDb::kDxfThickness, mThickness);
  pFiler->writePoint3d(AcDb::kDxfXCoord, mStart);
  pFiler->writePoint3d(AcDb::kDxfXCoord + 1, mEnd);
  pf::writeNormal(pFiler, mNormal);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbLine::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbCurve::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if ((es = pf::expectSubclass(pFiler, "AcDbLine")) != Acad::eOk) return es;
  AcGePoint3d start, end;
  AcGeVector3d normal(0.0, 0.0, 1.0);
  double thickness = 0.0;
  es = pf::readGroups(pFiler, [&](const resbuf& rb) {
    switch (rb.restype) {
      case AcDb::kDxfThickness: return pf::groupReal(pFiler, rb, thickness);
      case AcDb::kDxfXCoord: return pf::groupPoint(pFiler, rb, start);
      case AcDb::kDxfXCoord + 1: return pf::groupPoint(pFiler, rb, end);
      case AcDb::kDxfNormalX: return pf::groupNormal(pFiler, rb, normal);
      default: return pf::skipGroup(pFiler, rb);
    }
  });
  if (es != Acad::eOk) return es;
  mStart = start;
  mEnd = end;
  mThickness = thickness;
  mNormal = normal;
  return Acad::eOk;
}
