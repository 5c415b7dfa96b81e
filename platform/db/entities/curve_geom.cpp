// curve_geom.cpp - AcDbLine and AcDbCircle as curves: parameters, points, lengths, extents.
#include <cmath>

#include "dbents.h"
#include "db/entities/entity_util.h"
#include "db/entities/ocs.h"

namespace {

const double kTwoPi = 6.28318530717958647692;

double lineLength(const AcGePoint3d& a, const AcGePoint3d& b) {
  return pf::length(pf::sub(pf::toVec3(b), pf::toVec3(a)));
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// AcDbLine

Adesk::Boolean AcDbLine::isClosed() const {
  assertReadEnabled();
  return Adesk::kFalse;
}

Acad::ErrorStatus AcDbLine::getStartParam(double& param) const {
  assertReadEnabled();
  param = 0.0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getEndParam(double& param) const {
  assertReadEnabled();
  param = lineLength(mStart, mEnd);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getStartPoint(AcGePoint3d& point) const {
  assertReadEnabled();
  point = mStart;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getEndPoint(AcGePoint3d& point) const {
  assertReadEnabled();
  point = mEnd;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getPointAtParam(double param, AcGePoint3d& point) const {
  assertReadEnabled();
  const double len = lineLength(mStart, mEnd);
  if (!(param >= 0.0) || param > len) return Acad::eInvalidInput;
  if (len == 0.0 || param == len) {
    point = param == len ? mEnd : mStart;
    return Acad::eOk;
  }
  const double t = param / len;
  point = AcGePoint3d(mStart.x + (mEnd.x - mStart.x) * t, mStart.y + (mEnd.y - mStart.y) * t,
                      mStart.z + (mEnd.z - mStart.z) * t);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getDistAtParam(double param, double& dist) const {
  assertReadEnabled();
  if (!(param >= 0.0) || param > lineLength(mStart, mEnd)) return Acad::eInvalidInput;
  dist = param;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbLine::getGeomExtents(AcDbExtents& extents) const {
  assertReadEnabled();
  AcDbExtents box;
  box.addPoint(mStart);
  box.addPoint(mEnd);
  if (mThickness != 0.0) {
    box.addPoint(mStart + mNormal * mThickness);
    box.addPoint(mEnd + mNormal * mThickness);
  }
  extents = box;
  return Acad::eOk;
}

// ---------------------------------------------------------------------------------------------
// AcDbCircle

Adesk::Boolean AcDbCircle::isClosed() const {
  assertReadEnabled();
  return Adesk::kTrue;
}

Adesk::Boolean AcDbCircle::isPeriodic() const {
  assertReadEnabled();
  return Adesk::kTrue;
}

Acad::ErrorStatus AcDbCircle::getStartParam(double& param) const {
  assertReadEnabled();
  param = 0.0;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getEndParam(double& param) const {
  assertReadEnabled();
  param = kTwoPi;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getStartPoint(AcGePoint3d& point) const {
  return getPointAtParam(0.0, point);
}

Acad::ErrorStatus AcDbCircle::getEndPoint(AcGePoint3d& point) const {
  return getPointAtParam(0.0, point);  // closed: the end is the start
}

Acad::ErrorStatus AcDbCircle::getPointAtParam(double param, AcGePoint3d& point) const {
  assertReadEnabled();
  if (!pf::finite(param)) return Acad::eInvalidInput;
  const pf::Ocs ocs(pf::toVec3(mNormal));
  const pf::Vec3 c = ocs.toOcs(pf::toVec3(mCenter));
  point = pf::toPoint(ocs.toWorld(
      {c.x + mRadius * std::cos(param), c.y + mRadius * std::sin(param), c.z}));
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getDistAtParam(double param, double& dist) const {
  assertReadEnabled();
  if (!(param >= 0.0) || param > kTwoPi) return Acad::eInvalidInput;
  dist = mRadius * param;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbCircle::getGeomExtents(AcDbExtents& extents) const {
  assertReadEnabled();
  // Along each world axis the circle reaches r * sqrt(1 - n_axis^2) from its centre.
  const pf::Vec3 n = pf::normalized(pf::toVec3(mNormal));
  const AcGeVector3d half(mRadius * std::sqrt(std::fmax(0.0, 1.0 - n.x * n.x)),
                          mRadius * std::sqrt(std::fmax(0.0, 1.0 - n.y * n.y)),
                          mRadius * std::sqrt(std::fmax(0.0, 1.0 - n.z * n.z)));
  AcDbExtents box;
  box.addPoint(mCenter - half);
  box.addPoint(mCenter + half);
  if (mThickness != 0.0) {
    box.addPoint(mCenter - half + mNormal * mThickness);
    box.addPoint(mCenter + half + mNormal * mThickness);
  }
  extents = box;
  return Acad::eOk;
}
