// resbuf_chain.cpp - copying and freeing result-buffer lists, and DWG filing of resbuf items.
//
// Lists are allocated the way acutNewRb does (calloc, strings with malloc), so a copy handed to
// a caller can be released with acutRelRb.
#include <cstdlib>
#include <cstring>
#include <new>
#include "db_internal.h"
#include "acutads.h"
#include "adscodes.h"
#include "acutmem.h"
#include "db/tag_list.h"

namespace pf {

RbKind resbufValueKind(int restype) {
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
  RbKind k = resbufValueKind(rb->restype);
  if (k == RbKind::String) {
    std::free(rb->resval.rstring);
    rb->resval.rstring = nullptr;
  } else if (k == RbKind::Binary) {
    std::free(rb->resval.rbinary.buf);
    rb->resval.rbinary.buf = nullptr;
  }
}

resbuf* copyResbufChain(const resbuf* rb) {
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (; rb != nullptr; rb = rb->rbnext) {
    resbuf* c = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
    *c = *rb;
    c->rbnext = nullptr;
    RbKind k = resbufValueKind(rb->restype);
    if (k == RbKind::String) {
      c->resval.rstring = strdup(rb->resval.rstring ? rb->resval.rstring : "");
    } else if (k == RbKind::Binary) {
      short n = rb->resval.rbinary.clen > 0 ? rb->resval.rbinary.clen : 0;
      c->resval.rbinary.clen = n;
      c->resval.rbinary.buf = static_cast<char*>(std::malloc(n > 0 ? n : 1));
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
    std::free(rb);
    rb = next;
  }
}

Acad::ErrorStatus dwgOutResbuf(AcDbDwgFiler* filer, const resbuf* rb) {
  filer->writeInt16(rb->restype);
  switch (resbufValueKind(rb->restype)) {
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
  resbuf* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  rb->restype = type;
  switch (resbufValueKind(type)) {
    case RbKind::None: break;
    case RbKind::String: {
      char* s = nullptr;
      es = filer->readString(&s);
      rb->resval.rstring = strdup(s ? s : "");
      acutDelString(s);
      break;
    }
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
    case RbKind::Binary: {
      ads_binary b = {0, nullptr};
      es = filer->readBChunk(&b);
      rb->resval.rbinary.clen = b.clen;
      rb->resval.rbinary.buf = static_cast<char*>(std::malloc(b.clen > 0 ? b.clen : 1));
      if (b.buf && b.clen > 0) std::memcpy(rb->resval.rbinary.buf, b.buf, b.clen);
      delete[] b.buf;
      break;
    }
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
