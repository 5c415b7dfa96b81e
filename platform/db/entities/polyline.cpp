// polyline.cpp - AcDbPolyline: vertices, bulges, widths, flags, area and transformation.
// The filing (DWG and DXF) is in polyline_filing.cpp.
#include "dbpl.h"

#include <cmath>

#include "db/entities/entity_util.h"
#include "db/entities/ocs.h"
#include "pf/bulge.h"
#include "gemat3d.h"
#include "pf/faults.h"
#include "rx/rxinit.h"

ACRX_DXF_DEFINE_MEMBERS(AcDbPolyline, AcDbCurve, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        LWPOLYLINE, AutoCAD);
PF_REGISTER_CLASS(AcDbPolyline);

AcDbPolyline::AcDbPolyline() : mNormal(0.0, 0.0, 1.0) {}

AcDbPolyline::AcDbPolyline(unsigned int num_verts) : mNormal(0.0, 0.0, 1.0) {
  // The count is a capacity hint: the polyline starts empty either way.
  mVertices.reserve(num_verts);
}

AcDbPolyline::~AcDbPolyline() {}

unsigned int AcDbPolyline::numVerts() const {
  assertReadEnabled();
  return static_cast<unsigned int>(mVertices.size());
}

double AcDbPolyline::defaultWidth() const { return mConstantWidth; }

Acad::ErrorStatus AcDbPolyline::addVertexAt(unsigned int index, const AcGePoint2d& pt,
                                            double bulge, double startWidth, double endWidth) {
  PF_FAULT_CHECK("AcDbPolyline::addVertexAt");
  if (index > mVertices.size()) return Acad::eInvalidIndex;
  if (!pf::finite(pt.x) || !pf::finite(pt.y) || !pf::finite(bulge) || !pf::finite(startWidth) ||
      !pf::finite(endWidth))
    return Acad::eInvalidInput;
  assertWriteEnabled();
  // A negative width means "not given": the vertex takes the polyline's constant width.
  Vertex v{pt, bulge, startWidth < 0 ? defaultWidth() : startWidth,
           endWidth < 0 ? defaultWidth() : endWidth};
  mVertices.insert(mVertices.begin() + index, v);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::removeVertexAt(unsigned int index) {
  if (!validIndex(index)) return Acad::eInvalidIndex;
  assertWriteEnabled();
  mVertices.erase(mVertices.begin() + index);
  return Acad::eOk;
}

void AcDbPolyline::reset(Adesk::Boolean reuse, unsigned int numVerts) {
  assertWriteEnabled();
  if (reuse) {
    // Keep the first numVerts vertices (all of them if there are fewer).
    if (numVerts < mVertices.size()) mVertices.resize(numVerts);
  } else {
    mVertices.clear();
    mVertices.reserve(numVerts);
  }
}

AcDbPolyline::SegType AcDbPolyline::segType(unsigned int index) const {
  assertReadEnabled();
  const size_t n = mVertices.size();
  if (n == 0) return kEmpty;
  if (index >= n) return kEmpty;
  if (n == 1) return kPoint;
  // The segment after the last vertex exists only when the polyline is closed.
  if (index == n - 1 && !mClosed) return kEmpty;
  const Vertex& a = mVertices[index];
  const Vertex& b = mVertices[(index + 1) % n];
  if (a.pt.x == b.pt.x && a.pt.y == b.pt.y) return kCoincident;
  return a.bulge != 0.0 ? kArc : kLine;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint2d& pt) const {
  assertReadEnabled();
  if (!validIndex(index)) return Acad::eInvalidIndex;
  pt = mVertices[index].pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getPointAt(unsigned int index, AcGePoint3d& pt) const {
  assertReadEnabled();
  if (!validIndex(index)) return Acad::eInvalidIndex;
  const AcGePoint2d& p = mVertices[index].pt;
  const pf::Vec3 w = pf::Ocs(pf::toVec3(mNormal)).toWorld({p.x, p.y, mElevation});
  pt = AcGePoint3d(w.x, w.y, w.z);
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setPointAt(unsigned int index, const AcGePoint2d& pt) {
  if (!validIndex(index)) return Acad::eInvalidIndex;
  if (!pf::finite(pt.x) || !pf::finite(pt.y)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mVertices[index].pt = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
  assertReadEnabled();
  if (!validIndex(index)) return Acad::eInvalidIndex;
  bulge = mVertices[index].bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
  if (!validIndex(index)) return Acad::eInvalidIndex;
  if (!pf::finite(bulge)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mVertices[index].bulge = bulge;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getWidthsAt(unsigned int index, double& startWidth,
                                            double& endWidth) const {
  assertReadEnabled();
  if (!validIndex(index)) return Acad::eInvalidIndex;
  startWidth = mVertices[index].startWidth;
  endWidth = mVertices[index].endWidth;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setWidthsAt(unsigned int index, double startWidth,
                                            double endWidth) {
  if (!validIndex(index)) return Acad::eInvalidIndex;
  if (!pf::finite(startWidth) || !pf::finite(endWidth) || startWidth < 0 || endWidth < 0)
    return Acad::eInvalidInput;
  assertWriteEnabled();
  mVertices[index].startWidth = startWidth;
  mVertices[index].endWidth = endWidth;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::getConstantWidth(double& width) const {
  assertReadEnabled();
  if (mVertices.empty()) {
    width = mConstantWidth;
    return Acad::eOk;
  }
  const double w = mVertices.front().startWidth;
  for (const Vertex& v : mVertices)
    if (v.startWidth != w || v.endWidth != w) return Acad::eInvalidInput;
  width = w;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::setConstantWidth(double width) {
  if (!pf::finite(width) || width < 0) return Acad::eInvalidInput;
  assertWriteEnabled();
  mConstantWidth = width;
  for (Vertex& v : mVertices) v.startWidth = v.endWidth = width;
  return Acad::eOk;
}

Adesk::Boolean AcDbPolyline::isClosed() const {
  assertReadEnabled();
  return mClosed ? Adesk::kTrue : Adesk::kFalse;
}

void AcDbPolyline::setClosed(Adesk::Boolean closed) {
  assertWriteEnabled();
  mClosed = closed != Adesk::kFalse;
}

Adesk::Boolean AcDbPolyline::hasPlinegen() const {
  assertReadEnabled();
  return mPlinegen ? Adesk::kTrue : Adesk::kFalse;
}

void AcDbPolyline::setPlinegen(Adesk::Boolean plinegen) {
  assertWriteEnabled();
  mPlinegen = plinegen != Adesk::kFalse;
}

double AcDbPolyline::elevation() const {
  assertReadEnabled();
  return mElevation;
}

void AcDbPolyline::setElevation(double elevation) {
  if (!pf::finite(elevation)) return;  // void in the API: a non-number is refused silently
  assertWriteEnabled();
  mElevation = elevation;
}

double AcDbPolyline::thickness() const {
  assertReadEnabled();
  return mThickness;
}

Acad::ErrorStatus AcDbPolyline::setThickness(double thickness) {
  if (!pf::finite(thickness)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mThickness = thickness;
  return Acad::eOk;
}

AcGeVector3d AcDbPolyline::normal() const {
  assertReadEnabled();
  return mNormal;
}

Acad::ErrorStatus AcDbPolyline::setNormal(const AcGeVector3d& normal) {
  AcGeVector3d unit;
  if (!pf::unitNormal(normal, unit)) return Acad::eInvalidInput;
  assertWriteEnabled();
  mNormal = unit;
  return Acad::eOk;
}

Adesk::Boolean AcDbPolyline::isOnlyLines() const {
  assertReadEnabled();
  for (size_t i = 0; i < mVertices.size(); ++i) {
    if (i + 1 == mVertices.size() && !mClosed) break;  // the last bulge is unused when open
    if (mVertices[i].bulge != 0.0) return Adesk::kFalse;
  }
  return Adesk::kTrue;
}

Adesk::Boolean AcDbPolyline::hasBulges() const {
  assertReadEnabled();
  for (const Vertex& v : mVertices)
    if (v.bulge != 0.0) return Adesk::kTrue;
  return Adesk::kFalse;
}

Adesk::Boolean AcDbPolyline::hasWidth() const {
  assertReadEnabled();
  for (const Vertex& v : mVertices)
    if (v.startWidth != 0.0 || v.endWidth != 0.0) return Adesk::kTrue;
  return Adesk::kFalse;
}

Acad::ErrorStatus AcDbPolyline::getArea(double& area) const {
  PF_FAULT_CHECK("AcDbPolyline::getArea");
  assertReadEnabled();
  std::vector<pf::BulgedVertex> v;
  v.reserve(mVertices.size());
  for (const Vertex& x : mVertices) v.push_back({x.pt.x, x.pt.y, x.bulge});
  const double a = pf::polylineArea(v.data(), v.size(), mClosed);
  if (!std::isfinite(a)) return Acad::eInvalidInput;
  area = a;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::transformBy(const AcGeMatrix3d& xform) {
  PF_FAULT_CHECK("AcDbPolyline::transformBy");
  pf::Similarity sim;
  if (!pf::similarityOf(xform, sim)) return Acad::eCannotScaleNonUniformly;
  assertWriteEnabled();

  // Map every vertex through the world, then express the result in the OCS of the new plane.
  // The new normal is the cross product of the mapped OCS axes, so a mirror keeps the
  // vertices' turning sense relative to the new normal and the bulges stay valid.
  const pf::Ocs oldOcs(pf::toVec3(mNormal));
  const pf::Vec3 o = oldOcs.toWorld({0, 0, 0});
  const pf::Vec3 ex = oldOcs.toWorld({1, 0, 0});
  const pf::Vec3 ey = oldOcs.toWorld({0, 1, 0});
  const pf::Vec3 mo = sim.apply(o);
  const pf::Vec3 mx = pf::sub(sim.apply(ex), mo);
  const pf::Vec3 my = pf::sub(sim.apply(ey), mo);
  const pf::Vec3 n = pf::normalized(pf::cross(mx, my));
  const pf::Ocs newOcs(n);

  double elevation = mElevation;
  for (size_t i = 0; i < mVertices.size(); ++i) {
    Vertex& v = mVertices[i];
    const pf::Vec3 w = sim.apply(oldOcs.toWorld({v.pt.x, v.pt.y, mElevation}));
    const pf::Vec3 p = newOcs.toOcs(w);
    v.pt = AcGePoint2d(p.x, p.y);
    v.startWidth *= sim.scale;
    v.endWidth *= sim.scale;
    if (i == 0) elevation = p.z;
  }
  if (mVertices.empty()) elevation = newOcs.toOcs(sim.apply(oldOcs.toWorld({0, 0, mElevation}))).z;
  mElevation = elevation;
  mConstantWidth *= sim.scale;
  mThickness *= sim.scale;
  mNormal = AcGeVector3d(n.x, n.y, n.z);
  return Acad::eOk;
}
