// filing_util.h - reading an entity's own DXF groups and writing the optional ones.
//
// Each entity's dxfInFields reads the groups of its subclass with readGroups(): groups are
// handed to a per-class switch until the next subclass marker, extended data or the end of the
// object, which are pushed back for whoever reads next. A group of the wrong value type is a
// damaged file: eInvalidDxfCode, with the filer's error message saying which group it was.
#pragma once
#include <string>

#include "acdb.h"
#include "adsdef.h"
#include "dbfiler.h"
#include "dbid.h"
#include "gepnt2d.h"
#include "gepnt3d.h"
#include "gevec3d.h"

namespace pf {

// True for the groups that end a subclass: the next 100 marker, the start of the next record,
// extended data and the end marker of an embedded or 102 group.
bool endsSubclass(int code);

// Consumes the subclass marker that must come next; without it the record is out of sequence:
// eBadDxfSequence, with a message naming the marker.
Acad::ErrorStatus expectSubclass(AcDbDxfFiler* pFiler, const char* marker);

// Reads the groups of the current subclass and hands each to handle(const resbuf&), which
// answers a status; stops at the first group that ends the subclass (pushed back) or at the end
// of the object. Strings and binary chunks in the resbuf belong to the filer.
template <class Handler>
Acad::ErrorStatus readGroups(AcDbDxfFiler* pFiler, Handler handle) {
  for (;;) {
    if (pFiler->atEndOfObject()) return Acad::eOk;
    resbuf rb;
    rb.rbnext = nullptr;
    rb.restype = 0;
    Acad::ErrorStatus es = pFiler->readItem(&rb);
    if (es == Acad::eEndOfObject || es == Acad::eEndOfFile) return Acad::eOk;
    if (es != Acad::eOk) return es;
    if (endsSubclass(rb.restype)) return pFiler->pushBackItem();
    es = handle(static_cast<const resbuf&>(rb));
    if (es != Acad::eOk) return es;
  }
}

// Typed readers of one group's value. Each checks that the group carries that kind of value.
Acad::ErrorStatus groupReal(AcDbDxfFiler* pFiler, const resbuf& rb, double& out);
Acad::ErrorStatus groupInt(AcDbDxfFiler* pFiler, const resbuf& rb, int& out);
Acad::ErrorStatus groupString(AcDbDxfFiler* pFiler, const resbuf& rb, std::string& out);
Acad::ErrorStatus groupPoint(AcDbDxfFiler* pFiler, const resbuf& rb, AcGePoint3d& out);
Acad::ErrorStatus groupPoint2d(AcDbDxfFiler* pFiler, const resbuf& rb, AcGePoint2d& out);
// A normal: must be finite and not zero; stored with unit length.
Acad::ErrorStatus groupNormal(AcDbDxfFiler* pFiler, const resbuf& rb, AcGeVector3d& out);
Acad::ErrorStatus groupObjectId(AcDbDxfFiler* pFiler, const resbuf& rb, AcDbObjectId& out);
// A group this class does not interpret: ignored, as other readers of the format do.
inline Acad::ErrorStatus skipGroup(AcDbDxfFiler*, const resbuf&) { return Acad::eOk; }

// Writes 210/220/230 unless the normal is the default (0,0,1).
Acad::ErrorStatus writeNormal(AcDbDxfFiler* pFiler, const AcGeVector3d& normal);

// WCS <-> OCS of a point, for entities that file OCS coordinates.
AcGePoint3d toOcsPoint(const AcGeVector3d& normal, const AcGePoint3d& wcs);
AcGePoint3d toWorldPoint(const AcGeVector3d& normal, const AcGePoint3d& ocs);

}  // namespace pf
