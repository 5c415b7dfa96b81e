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
#include "db/group_codes.h"

namespace pf {

static void freeValue(resbuf* rb) {
  ResbufKind k = resbufKind(rb->restype);
  if (resbufOwnsString(k)) {
    std::free(rb->resval.rstring);
    rb->resval.rstring = nullptr;
  } else if (k == ResbufKind::Binary) {
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
    ResbufKind k = resbufKind(rb->restype);
    if (resbufOwnsString(k)) {
      c->resval.rstring = strdup(rb->resval.rstring ? rb->resval.rstring : "");
    } else if (k == ResbufKind::Binary) {
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
  switch (resbufKind(rb->restype)) {
    case ResbufKind::None: break;
    case ResbufKind::String:
    case ResbufKind::Unknown: filer->writeString(rb->resval.rstring ? rb->resval.rstring : ""); break;
    case ResbufKind::Real: filer->writeDouble(rb->resval.rreal); break;
    case ResbufKind::Short: filer->writeInt16(rb->resval.rint); break;
    case ResbufKind::Long: filer->writeInt32(static_cast<Adesk::Int32>(rb->resval.rlong)); break;
    case ResbufKind::Point:
      filer->writePoint3d(AcGePoint3d(rb->resval.rpoint[0], rb->resval.rpoint[1], rb->resval.rpoint[2]));
      break;
    case ResbufKind::Name: {
      AcDbObjectId id;
      if (acdbGetObjectId(id, rb->resval.rlname) != Acad::eOk) id = AcDbObjectId::kNull;
      filer->writeSoftPointerId(id);
      break;
    }
    case ResbufKind::Binary: filer->writeBChunk(rb->resval.rbinary); break;
  }
  return filer->filerStatus();
}

Acad::ErrorStatus dwgInResbuf(AcDbDwgFiler* filer, resbuf*& out) {
  Adesk::Int16 type = 0;
  Acad::ErrorStatus es = filer->readInt16(&type);
  if (es != Acad::eOk) return es;
  resbuf* rb = static_cast<resbuf*>(std::calloc(1, sizeof(resbuf)));
  rb->restype = type;
  switch (resbufKind(type)) {
    case ResbufKind::None: break;
    case ResbufKind::String:
    case ResbufKind::Unknown: {
      char* s = nullptr;
      es = filer->readString(&s);
      rb->resval.rstring = strdup(s ? s : "");
      acutDelString(s);
      break;
    }
    case ResbufKind::Real: es = filer->readDouble(&rb->resval.rreal); break;
    case ResbufKind::Short: es = filer->readInt16(&rb->resval.rint); break;
    case ResbufKind::Long: {
      Adesk::Int32 v = 0;
      es = filer->readInt32(&v);
      rb->resval.rlong = v;
      break;
    }
    case ResbufKind::Point: {
      AcGePoint3d p;
      es = filer->readPoint3d(&p);
      rb->resval.rpoint[0] = p.x;
      rb->resval.rpoint[1] = p.y;
      rb->resval.rpoint[2] = p.z;
      break;
    }
    case ResbufKind::Name: {
      AcDbSoftPointerId id;
      es = filer->readSoftPointerId(&id);
      acdbGetAdsName(rb->resval.rlname, id);
      break;
    }
    case ResbufKind::Binary: {
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
