// filing_util.cpp - reading an entity's own DXF groups and writing the optional ones.
#include "db/entities/filing_util.h"

#include <cmath>

#include "acutmem.h"
#include "db/entities/entity_util.h"
#include "db/tag_list.h"
#include "dbmain.h"

namespace pf {

bool endsSubclass(int code) {
  return code == AcDb::kDxfSubclass || code == AcDb::kDxfStart || code == AcDb::kDxfXDataStart ||
         code == AcDb::kDxfControlString || code == AcDb::kDxfEmbeddedObjectStart ||
         code == AcDb::kDxfEnd || code >= 1000;
}

Acad::ErrorStatus expectSubclass(AcDbDxfFiler* pFiler, const char* marker) {
  if (pFiler->atSubclassData(marker)) return Acad::eOk;
  // A filer already in error keeps its own message.
  if (pFiler->filerStatus() != Acad::eOk) return pFiler->filerStatus();
  return pFiler->setError(Acad::eBadDxfSequence, "subclass marker 100 %s missing", marker);
}

namespace {

Acad::ErrorStatus wrongKind(AcDbDxfFiler* pFiler, const resbuf& rb, const char* expected) {
  pFiler->setError(Acad::eInvalidDxfCode, "group %d does not hold %s", rb.restype, expected);
  return Acad::eInvalidDxfCode;
}

Acad::ErrorStatus notFinite(AcDbDxfFiler* pFiler, const resbuf& rb) {
  pFiler->setError(Acad::eInvalidInput, "group %d is not a finite number", rb.restype);
  return Acad::eInvalidInput;
}

}  // namespace

Acad::ErrorStatus groupReal(AcDbDxfFiler* pFiler, const resbuf& rb, double& out) {
  if (tagKind(rb.restype) != TagKind::Real) return wrongKind(pFiler, rb, "a real");
  if (!std::isfinite(rb.resval.rreal)) return notFinite(pFiler, rb);
  out = rb.resval.rreal;
  return Acad::eOk;
}

Acad::ErrorStatus groupInt(AcDbDxfFiler* pFiler, const resbuf& rb, int& out) {
  switch (tagKind(rb.restype)) {
    case TagKind::Int16:
    case TagKind::Bool:
      out = rb.resval.rint;
      return Acad::eOk;
    case TagKind::Int32:
      out = static_cast<int>(rb.resval.rlong);
      return Acad::eOk;
    default:
      return wrongKind(pFiler, rb, "an integer");
  }
}

Acad::ErrorStatus groupString(AcDbDxfFiler* pFiler, const resbuf& rb, std::string& out) {
  if (tagKind(rb.restype) != TagKind::String) return wrongKind(pFiler, rb, "text");
  out = rb.resval.rstring ? rb.resval.rstring : "";
  return Acad::eOk;
}

Acad::ErrorStatus groupPoint(AcDbDxfFiler* pFiler, const resbuf& rb, AcGePoint3d& out) {
  if (tagKind(rb.restype) != TagKind::PointX) return wrongKind(pFiler, rb, "a point");
  const double* p = rb.resval.rpoint;
  if (!std::isfinite(p[0]) || !std::isfinite(p[1]) || !std::isfinite(p[2]))
    return notFinite(pFiler, rb);
  out = AcGePoint3d(p[0], p[1], p[2]);
  return Acad::eOk;
}

Acad::ErrorStatus groupPoint2d(AcDbDxfFiler* pFiler, const resbuf& rb, AcGePoint2d& out) {
  AcGePoint3d p;
  const Acad::ErrorStatus es = groupPoint(pFiler, rb, p);
  if (es == Acad::eOk) out = AcGePoint2d(p.x, p.y);
  return es;
}

Acad::ErrorStatus groupNormal(AcDbDxfFiler* pFiler, const resbuf& rb, AcGeVector3d& out) {
  AcGePoint3d p;
  Acad::ErrorStatus es = groupPoint(pFiler, rb, p);
  if (es != Acad::eOk) return es;
  if (!unitNormal(AcGeVector3d(p.x, p.y, p.z), out)) {
    pFiler->setError(Acad::eInvalidInput, "group %d is a zero normal", rb.restype);
    return Acad::eInvalidInput;
  }
  return Acad::eOk;
}

Acad::ErrorStatus groupObjectId(AcDbDxfFiler* pFiler, const resbuf& rb, AcDbObjectId& out) {
  if (tagKind(rb.restype) != TagKind::Id) return wrongKind(pFiler, rb, "an object");
  AcDbObjectId id;
  const Acad::ErrorStatus es = acdbGetObjectId(id, rb.resval.rlname);
  out = (es == Acad::eOk) ? id : AcDbObjectId::kNull;
  return Acad::eOk;
}

Acad::ErrorStatus writeNormal(AcDbDxfFiler* pFiler, const AcGeVector3d& normal) {
  if (isDefaultNormal(toVec3(normal))) return Acad::eOk;
  return pFiler->writeVector3d(AcDb::kDxfNormalX, normal);
}

AcGePoint3d toOcsPoint(const AcGeVector3d& normal, const AcGePoint3d& wcs) {
  return toPoint(Ocs(toVec3(normal)).toOcs(toVec3(wcs)));
}

AcGePoint3d toWorldPoint(const AcGeVector3d& normal, const AcGePoint3d& ocs) {
  return toPoint(Ocs(toVec3(normal)).toWorld(toVec3(ocs)));
}

}  // namespace pf
