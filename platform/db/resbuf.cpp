// resbuf.cpp - result-buffer lists: allocation, copying, building, and DWG filing of items.
#include <cstdarg>
#include <cstring>
#include <new>
#include "db_internal.h"
#include "acutads.h"
#include "adscodes.h"
#include "acutmem.h"
#include "pf/tags.h"

namespace pf {

RbKind resbufKind(int restype) {
  switch (restype) {
    case RTNONE: case RTLB: case RTLE: case RTDOTE: case RTNIL: case RTT: case RTVOID:
      return RbKind::None;
    case RTREAL: case RTANG: return RbKind::Real;
    case RTSHORT: return RbKind::Short;
    case RTLONG: return RbKind::Long;
    case RTSTR: case RTDXF0: return RbKind::String;
    case RTPOINT: case RT3DPOINT: return RbKind::Point;
    case RTENAME: case RTPICKS: return RbKind::Name;
    case RTORINT: return RbKind::Short;
    default: break;
  }
  if (restype == -1 || restype == -2) return RbKind::Name;  // entity name, first entity
  if (restype == -3 || restype == -4 || restype == -5 || restype == -6) return RbKind::String;
  switch (tagKind(restype)) {
    case TagKind::String: case TagKind::Handle: case TagKind::Comment: case TagKind::Unknown:
      return RbKind::String;
    case TagKind::Id: return RbKind::Name;
    case TagKind::Real: case TagKind::PointY: case TagKind::PointZ: return RbKind::Real;
    case TagKind::Int16: case TagKind::Bool: return RbKind::Short;
    case TagKind::Int32: case TagKind::Int64: return RbKind::Long;
    case TagKind::Binary: return RbKind::Binary;
    case TagKind::PointX: return RbKind::Point;
  }
  return RbKind::String;
}

static void freeValue(resbuf* rb) {
  RbKind k = resbufKind(rb->restype);
  if (k == RbKind::String) {
    delete[] rb->resval.rstring;
    rb->resval.rstring = nullptr;
  } else if (k == RbKind::Binary) {
    delete[] rb->resval.rbinary.buf;
    rb->resval.rbinary.buf = nullptr;
  }
}

resbuf* copyResbufChain(const resbuf* rb) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (; rb != nullptr; rb = rb->rbnext) {
    resbuf* c = new resbuf;
    *c = *rb;
    c->rbnext = nullptr;
    RbKind k = resbufKind(rb->restype);
    if (k == RbKind::String) {
      c->resval.rstring = nullptr;
      acutNewString(rb->resval.rstring, c->resval.rstring);
    } else if (k == RbKind::Binary) {
      short n = rb->resval.rbinary.clen > 0 ? rb->resval.rbinary.clen : 0;
      c->resval.rbinary.clen = n;
      c->resval.rbinary.buf = new char[n > 0 ? n : 1];
      if (n > 0 && rb->resval.rbinary.buf) std::memcpy(c->resval.rbinary.buf, rb->resval.rbinary.buf, n);
    }
    *tail = c;
    tail = &c->rbnext;
  }
  return head;
}

void freeResbufChain(resbuf* rb) {
  while (rb != nullptr) {
    resbuf* next = rb->rbnext;
    freeValue(rb);
    delete rb;
    rb = next;
  }
}

Acad::ErrorStatus dwgOutResbuf(AcDbDwgFiler* filer, const resbuf* rb) {
  filer->writeInt16(rb->restype);
  switch (resbufKind(rb->restype)) {
    case RbKind::None: break;
    case RbKind::String: filer->writeString(rb->resval.rstring ? rb->resval.rstring : ""); break;
    case RbKind::Real: filer->writeDouble(rb->resval.rreal); break;
    case RbKind::Short: filer->writeInt16(rb->resval.rint); break;
    case RbKind::Long: filer->writeInt32(static_cast<Adesk::Int32>(rb->resval.rlong)); break;
    case RbKind::Point:
      filer->writePoint3d(AcGePoint3d(rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]));
      break;
    case RbKind::Name: {
      AcDbObjectId id;
      if (acdbGetObjectId(id, rb->resval.rlname) != Acad::eOk) id = AcDbObjectId::kNull;
      filer->writeSoftPointerId(id);
      break;
    }
    case RbKind::Binary: filer->writeBChunk(rb->resval.rbinary); break;
  }
  return filer->filerStatus();
}

Acad::ErrorStatus dwgInResbuf(AcDbDwgFiler* filer, resbuf*& out) {
  Adesk::Int16 type = 0;
  Acad::ErrorStatus es = filer->readInt16(&type);
  if (es != Acad::eOk) return es;
  resbuf* rb = new resbuf;
  std::memset(rb, 0, sizeof *rb);
  rb->restype = type;
  switch (resbufKind(type)) {
    case RbKind::None: break;
    case RbKind::String: es = filer->readString(&rb->resval.rstring); break;
    case RbKind::Real: es = filer->readDouble(&rb->resval.rreal); break;
    case RbKind::Short: es = filer->readInt16(&rb->resval.rint); break;
    case RbKind::Long: {
      Adesk::Int32 v = 0;
      es = filer->readInt32(&v);
      rb->resval.rlong = v;
      break;
    }
    case RbKind::Point: {
      AcGePoint3d p;
      es = filer->readPoint3d(&p);
      rb->resval.rpoint[0] = p.x;
      rb->resval.rpoint[1] = p.y;
      rb->resval.rpoint[2] = p.z;
      break;
    }
    case RbKind::Name: {
      AcDbSoftPointerId id;
      es = filer->readSoftPointerId(&id);
      acdbGetAdsName(rb->resval.rlname, id);
      break;
    }
    case RbKind::Binary: es = filer->readBChunk(&rb->resval.rbinary); break;
  }
  if (es != Acad::eOk) {
    rb->rbnext = nullptr;
    freeResbufChain(rb);
    return es;
  }
  out = rb;
  return Acad::eOk;
}

}  // namespace pf

extern "C" struct resbuf* acutNewRb(int v) {
  resbuf* rb = new (std::nothrow) resbuf;
  if (rb == nullptr) return nullptr;
  std::memset(rb, 0, sizeof *rb);
  rb->restype = static_cast<short>(v);
  return rb;
}

extern "C" int acutRelRb(struct resbuf* rb) {
  pf::freeResbufChain(rb);
  return RTNORM;
}

// Builds a list from (type, value) pairs ending with 0 or RTNONE. Strings are copied; points
// come as a pointer to three doubles; entity names as a pointer to an ads_name.
extern "C" struct resbuf* acutBuildList(int rtype, ...) {
  va_list args;
  va_start(args, rtype);
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (int type = rtype; type != 0 && type != RTNONE; type = va_arg(args, int)) {
    int restype = type == RTDXF0 ? 0 : type;
    resbuf* rb = acutNewRb(restype);
    switch (pf::resbufKind(type)) {
      case pf::RbKind::None: break;
      case pf::RbKind::String: acutNewString(va_arg(args, const char*), rb->resval.rstring); break;
      case pf::RbKind::Real: rb->resval.rreal = va_arg(args, double); break;
      case pf::RbKind::Short: rb->resval.rint = static_cast<short>(va_arg(args, int)); break;
      case pf::RbKind::Long: rb->resval.rlong = va_arg(args, long); break;
      case pf::RbKind::Point: {
        const double* p = va_arg(args, const double*);
        for (int i = 0; i < 3; ++i) rb->resval.rpoint[i] = p ? p[i] : 0.0;
        break;
      }
      case pf::RbKind::Name: {
        const long* n = va_arg(args, const long*);
        rb->resval.rlname[0] = n ? n[0] : 0;
        rb->resval.rlname[1] = n ? n[1] : 0;
        break;
      }
      case pf::RbKind::Binary: {
        const ads_binary* b = va_arg(args, const ads_binary*);
        short n = b && b->clen > 0 ? b->clen : 0;
        rb->resval.rbinary.clen = n;
        rb->resval.rbinary.buf = new char[n > 0 ? n : 1];
        if (n > 0) std::memcpy(rb->resval.rbinary.buf, b->buf, n);
        break;
      }
    }
    *tail = rb;
    tail = &rb->rbnext;
  }
  va_end(args);
  return head;
}
