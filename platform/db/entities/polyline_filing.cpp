// polyline_filing.cpp - DWG and DXF filing of AcDbPolyline.
//
// DXF (subclass AcDbPolyline): 90 vertex count (first, or the closed flag is ignored by some
// readers), 70 flags (1 closed, 128 plinegen), 43 constant width when all widths are equal,
// [38 elevation], [39 thickness], then per vertex 10/20, [40/41 widths when they vary],
// [42 bulge], and last [210/220/230 normal].
#include "dbpl.h"

#include "db/entities/entity_util.h"
#include "db/entities/filing_util.h"

namespace {

enum PolylineFlag { kClosedFlag = 1, kPlinegenFlag = 128 };

}  // namespace

Acad::ErrorStatus AcDbPolyline::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbCurve::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeUInt32(static_cast<Adesk::UInt32>(mVertices.size()));
  for (const Vertex& v : mVertices) {
    pFiler->writePoint2d(v.pt);
    pFiler->writeDouble(v.bulge);
    pFiler->writeDouble(v.startWidth);
    pFiler->writeDouble(v.endWidth);
  }
  pFiler->writeBool(mClosed);
  pFiler->writeBool(mPlinegen);
  pFiler->writeDouble(mConstantWidth);
  pFiler->writeDouble(mElevation);
  pFiler->writeDouble(mThickness);
  pFiler->writeVector3d(mNormal);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbPolyline::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbCurve::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  Adesk::UInt32 count = 0;
  if ((es = pFiler->readUInt32(&count)) != Acad::eOk) return es;
  std::vector<Vertex> vertices;
  for (Adesk::UInt32 i = 0; i < count; ++i) {
    Vertex v{};
    pFiler->readPoint2d(&v.pt);
    pFiler->readDouble(&v.bulge);
    pFiler->readDouble(&v.startWidth);
    es = pFiler->readDouble(&v.endWidth);
    if (es != Acad::eOk) return es;  // a short or damaged stream: keep the old vertices
    vertices.push_back(v);
  }
  bool closed = false, plinegen = false;
  double constantWidth = 0, elevation = 0, thickness = 0;
  AcGeVector3d normal;
  pFiler->readBool(&closed);
  pFiler->readBool(&plinegen);
  pFiler->readDouble(&constantWidth);
  pFiler->readDouble(&elevation);
  pFiler->readDouble(&thickness);
  pFiler->readVector3d(&normal);
  if ((es = pFiler->filerStatus()) != Acad::eOk) return es;
  mVertices.swap(vertices);
  mClosed = closed;
  mPlinegen = plinegen;
  mConstantWidth = constantWidth;
  mElevation = elevation;
  mThickness = thickness;
  mNormal = normal;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbPolyline::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  Acad::ErrorStatus es = AcDbCurve::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeString(AcDb::kDxfSubclass, "AcDbPolyline");
  pFiler->writeInt32(AcDb::kDxfInt32, static_cast<Adesk::Int32>(mVertices.size()));
  pFiler->writeInt16(AcDb::kDxfInt16,
                     static_cast<Adesk::Int16>((mClosed ? kClosedFlag : 0) |
                                               (mPlinegen ? kPlinegenFlag : 0)));

  // Equal widths are filed once as the constant width; otherwise every vertex carries both.
  bool constant = true;
  double width = mVertices.empty() ? mConstantWidth : mVertices.front().startWidth;
  for (const Vertex& v : mVertices)
    if (v.startWidth != width || v.endWidth != width) constant = false;
  if (constant) pFiler->writeDouble(43, width);
  if (mElevation != 0.0) pFiler->writeDouble(AcDb::kDxfElevation, mElevation);
  if (mThickness != 0.0) pFiler->writeDouble(AcDb::kDxfThickness, mThickness);
  for (const Vertex& v : mVertices) {
    pFiler->writePoint2d(AcDb::kDxfXCoord, v.pt);
    if (!constant) {
      pFiler->writeDouble(40, v.startWidth);
      pFiler->writeDouble(41, v.endWidth);
    }
    if (v.bulge != 0.0) pFiler->writeDouble(42, v.bulge);
  }
  pf::writeNormal(pFiler, mNormal);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbPolyline::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled();
  Acad::ErrorStatus es = AcDbCurve::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if ((es = pf::expectSubclass(pFiler, "AcDbPolyline")) != Acad::eOk) return es;

  // Read into locals and commit only a complete subclass, so a damaged record changes nothing.
  std::vector<Vertex> vertices;
  int flags = 0;
  double constantWidth = 0.0, elevation = 0.0, thickness = 0.0;
  AcGeVector3d normal(0.0, 0.0, 1.0);
  // Widths and bulge belong to the vertex most recently started by a 10 group.
  auto current = [&](const resbuf& rb, Vertex*& v) -> Acad::ErrorStatus {
    if (vertices.empty()) {
      pFiler->setError(Acad::eBadDxfSequence, "group %d before the first vertex", rb.restype);
      return Acad::eBadDxfSequence;
    }
    v = &vertices.back();
    return Acad::eOk;
  };
  es = pf::readGroups(pFiler, [&](const resbuf& rb) -> Acad::ErrorStatus {
    Vertex* v = nullptr;
    Acad::ErrorStatus s;
    switch (rb.restype) {
      case AcDb::kDxfInt32: {  // vertex count: the vertices themselves are what counts
        int count = 0;
        s = pf::groupInt(pFiler, rb, count);
        if (s == Acad::eOk && count > 0 && count < (1 << 24)) vertices.reserve(count);
        return s;
      }
      case AcDb::kDxfInt16: return pf::groupInt(pFiler, rb, flags);
      case 43: return pf::groupReal(pFiler, rb, constantWidth);
      case AcDb::kDxfElevation: return pf::groupReal(pFiler, rb, elevation);
      case AcDb::kDxfThickness: return pf::groupReal(pFiler, rb, thickness);
      case AcDb::kDxfXCoord: {
        AcGePoint2d p;
        s = pf::groupPoint2d(pFiler, rb, p);
        if (s == Acad::eOk) vertices.push_back(Vertex{p, 0.0, -1.0, -1.0});
        return s;
      }
      case 40:
        if ((s = current(rb, v)) != Acad::eOk) return s;
        return pf::groupReal(pFiler, rb, v->startWidth);
      case 41:
        if ((s = current(rb, v)) != Acad::eOk) return s;
        return pf::groupReal(pFiler, rb, v->endWidth);
      case 42:
        if ((s = current(rb, v)) != Acad::eOk) return s;
        return pf::groupReal(pFiler, rb, v->bulge);
      case AcDb::kDxfNormalX: return pf::groupNormal(pFiler, rb, normal);
      default: return pf::skipGroup(pFiler, rb);  // e.g. 91 vertex ids of later versions
    }
  });
  if (es != Acad::eOk) return es;
  if (constantWidth < 0.0) constantWidth = 0.0;
  for (Vertex& v : vertices) {
    if (v.startWidth < 0.0) v.startWidth = constantWidth;
    if (v.endWidth < 0.0) v.endWidth = constantWidth;
  }
  mVertices.swap(vertices);
  mClosed = (flags & kClosedFlag) != 0;
  mPlinegen = (flags & kPlinegenFlag) != 0;
  mConstantWidth = constantWidth;
  mElevation = elevation;
  mThickness = thickness;
  mNormal = normal;
  return Acad::eOk;
}
