// object_filing.cpp - AcDbObject's own part of filing: owner, persistent reactors, extension
// dictionary, extended data and (DXF) the groups it keeps verbatim.
#include <cstring>
#include <string>
#include "db_internal.h"
#include "acutmem.h"
#include "db/dxf_tag_filer.h"
#include "db/tag_list.h"

using pf::impl;

namespace pf {

// One resbuf item in a DWG filer: its type code, then its value by the kind of that code.
Acad::ErrorStatus dwgOutResbuf(AcDbDwgFiler* filer, const resbuf* rb);
Acad::ErrorStatus dwgInResbuf(AcDbDwgFiler* filer, resbuf*& rb);

static Acad::ErrorStatus dwgOutChain(AcDbDwgFiler* filer, const resbuf* chain) {
  Adesk::Int32 n = 0;
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) ++n;
  filer->writeInt32(n);
  for (const resbuf* rb = chain; rb; rb = rb->rbnext) dwgOutResbuf(filer, rb);
  return filer->filerStatus();
}

static Acad::ErrorStatus dwgInChain(AcDbDwgFiler* filer, resbuf*& chain) {
  Adesk::Int32 n = 0;
  Acad::ErrorStatus es = filer->readInt32(&n);
  if (es != Acad::eOk) return es;
  if (n < 0 || n > 1000000) return Acad::eFilerError;
  resbuf* head = nullptr;
  resbuf** tail = &head;
  for (Adesk::Int32 i = 0; i < n; ++i) {
    resbuf* rb = nullptr;
    es = dwgInResbuf(filer, rb);
    if (es != Acad::eOk) {
      freeResbufChain(head);
      return es;
    }
    *tail = rb;
    tail = &rb->rbnext;
  }
  freeResbufChain(chain);
  chain = head;
  return Acad::eOk;
}

// An id worth writing to a file: it names an object that is there and not erased.
// An object that is there, or a handle a file named without a record for it (reserved, never
// filled): the filer decides whether the latter is written back.
static bool isLiveReference(const AcDbObjectId& id) {
  if (!id.isValid()) return false;
  if (peekObject(id) == nullptr) return !id.isErased();
  return !id.isEffectivelyErased();
}

static resbuf* appendCopy(resbuf*& chain, const resbuf& rb) {
  resbuf one = rb;
  one.rbnext = nullptr;
  resbuf* copy = copyResbufChain(&one);
  resbuf** tail = &chain;
  while (*tail) tail = &(*tail)->rbnext;
  *tail = copy;
  return copy;
}

}  // namespace pf

Acad::ErrorStatus AcDbObject::dwgIn(AcDbDwgFiler* pFiler) {
  if (pFiler == nullptr) return Acad::eNullObjectPointer;
  return dwgInFields(pFiler);
}

Acad::ErrorStatus AcDbObject::dwgOut(AcDbDwgFiler* pFiler) const {
  if (pFiler == nullptr) return Acad::eNullObjectPointer;
  return dwgOutFields(pFiler);
}

Acad::ErrorStatus AcDbObject::dxfIn(AcDbDxfFiler* pFiler) {
  if (pFiler == nullptr) return Acad::eNullObjectPointer;
  return pf::dxfInObject(this, pFiler);
}

Acad::ErrorStatus AcDbObject::dxfOut(AcDbDxfFiler* pFiler) const {
  if (pFiler == nullptr) return Acad::eNullObjectPointer;
  return pf::dxfOutObject(this, pFiler);
}

Acad::ErrorStatus AcDbObject::dwgOutFields(AcDbDwgFiler* pFiler) const {
  assertReadEnabled();
  pf::ObjectImpl* oi = mImp;
  pFiler->writeHardPointerId(oi->owner);
  AcDbObjectIdArray persistent;
  for (void* entry : oi->reactors())
    if (pf::isPersistentEntry(entry)) persistent.append(AcDbObjectId(pf::decodePersistent(entry)));
  pFiler->writeInt32(persistent.length());
  for (const AcDbObjectId& id : persistent) pFiler->writeSoftPointerId(id);
  pFiler->writeHardOwnershipId(oi->xdict());
  pf::dwgOutChain(pFiler, oi->xdata);
  pf::dwgOutChain(pFiler, oi->keptHead());
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbObject::dwgInFields(AcDbDwgFiler* pFiler) {
  assertWriteEnabled();
  pf::ObjectImpl* oi = mImp;
  AcDbHardPointerId owner;
  Acad::ErrorStatus es = pFiler->readHardPointerId(&owner);
  if (es != Acad::eOk) return es;
  Adesk::Int32 n = 0;
  if ((es = pFiler->readInt32(&n)) != Acad::eOk) return es;
  if (n < 0 || n > 1000000) return Acad::eFilerError;
  AcDbVoidPtrArray reactors;
  for (void* entry : oi->reactors())
    if (!pf::isPersistentEntry(entry)) reactors.append(entry);  // transient reactors stay
  for (Adesk::Int32 i = 0; i < n; ++i) {
    AcDbSoftPointerId id;
    if ((es = pFiler->readSoftPointerId(&id)) != Acad::eOk) return es;
    if (!id.isNull() && !reactors.contains(pf::encodePersistent(id))) reactors.append(pf::encodePersistent(id));
  }
  AcDbHardOwnershipId xdict;
  if ((es = pFiler->readHardOwnershipId(&xdict)) != Acad::eOk) return es;
  if ((es = pf::dwgInChain(pFiler, oi->xdata)) != Acad::eOk) return es;
  resbuf* keptHead = nullptr;
  if ((es = pf::dwgInChain(pFiler, keptHead)) != Acad::eOk) return es;
  if (keptHead != nullptr || oi->keptHead() != nullptr) {
    pf::freeResbufChain(oi->keptHeadForChange());
    oi->keptHeadForChange() = keptHead;
  }
  oi->owner = owner;
  oi->setReactors(reactors);
  oi->setXdict(xdict);
  return pFiler->filerStatus();
}

namespace {

void writeXdictGroup(AcDbDxfFiler* pFiler, const AcDbObjectId& xdict) {
  pFiler->writeString(AcDb::kDxfControlString, "{ACAD_XDICTIONARY");
  pFiler->writeObjectId(AcDb::kDxfHardOwnershipId, xdict);
  pFiler->writeString(AcDb::kDxfControlString, "}");
}

void writeReactorGroup(AcDbDxfFiler* pFiler, const AcDbObjectIdArray& reactors) {
  pFiler->writeString(AcDb::kDxfControlString, "{ACAD_REACTORS");
  for (const AcDbObjectId& id : reactors) pFiler->writeObjectId(AcDb::kDxfSoftPointerId, id);
  pFiler->writeString(AcDb::kDxfControlString, "}");
}

// The head as the file had it, when it still describes what the object holds: every group the
// platform would write has its place, and the kept groups are the ones read.
bool headLayoutFits(const std::string& layout, bool xdict, bool reactors, const resbuf* kept) {
  std::size_t keptCount = 0;
  for (const resbuf* rb = kept; rb; rb = rb->rbnext) ++keptCount;
  std::size_t k = 0;
  bool x = false, r = false, o = false;
  for (char c : layout) {
    if (c == 'K') ++k;
    x |= c == 'X';
    r |= c == 'R';
    o |= c == 'O';
  }
  return k == keptCount && o && (!xdict || x) && (!reactors || r);
}

}  // namespace

// The platform writes the head as X? R? K* O: only a head read in another order is kept (one
// without an owner is written the platform's way, which names one).
static void setHeadLayout(pf::ObjectImpl* oi, const std::string& layout) {
  std::size_t i = 0;
  if (i < layout.size() && layout[i] == 'X') ++i;
  if (i < layout.size() && layout[i] == 'R') ++i;
  while (i < layout.size() && layout[i] == 'K') ++i;
  const bool usual = i + 1 == layout.size() && layout[i] == 'O';
  if (usual || layout.find('O') == std::string::npos) {
    if (const pf::FileLayout* l = oi->layout()) {
      if (l->entity.empty()) oi->extras->layout.reset();
      else oi->layoutForChange().head.clear();
      oi->trimExtras();
    }
    return;
  }
  oi->layoutForChange().head = layout;
}

// Handle, extension dictionary, persistent reactors, groups kept from the file, owner; an object
// read from a file whose head had another order is written in that order.
Acad::ErrorStatus AcDbObject::dxfOutFields(AcDbDxfFiler* pFiler) const {
  assertReadEnabled();
  pf::ObjectImpl* oi = mImp;
  if (oi->stub != nullptr) pFiler->writeAcDbHandle(AcDb::kDxfHandle, oi->stub->handle);
  const bool xdict = pf::isLiveReference(oi->xdict());
  AcDbObjectIdArray live;
  for (void* entry : oi->reactors()) {
    if (!pf::isPersistentEntry(entry)) continue;
    AcDbObjectId id(pf::decodePersistent(entry));
    if (pf::isLiveReference(id)) live.append(id);
  }
  const pf::FileLayout* layout = oi->layout();
  if (layout && !layout->head.empty() && headLayoutFits(layout->head, xdict, !live.isEmpty(), oi->keptHead())) {
    const resbuf* kept = oi->keptHead();
    for (char c : layout->head) {
      if (c == 'X' && xdict) writeXdictGroup(pFiler, oi->xdict());
      if (c == 'R' && !live.isEmpty()) writeReactorGroup(pFiler, live);
      if (c == 'O') pFiler->writeObjectId(AcDb::kDxfSoftPointerId, oi->owner);
      if (c == 'K') {
        pFiler->writeResBuf(*kept);
        kept = kept->rbnext;
      }
    }
    return pFiler->filerStatus();
  }
  if (xdict) writeXdictGroup(pFiler, oi->xdict());
  if (!live.isEmpty()) writeReactorGroup(pFiler, live);
  for (const resbuf* rb = oi->keptHead(); rb; rb = rb->rbnext) pFiler->writeResBuf(*rb);
  pFiler->writeObjectId(AcDb::kDxfSoftPointerId, oi->owner);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbObject::dxfInFields(AcDbDxfFiler* pFiler) {
  assertWriteEnabled();
  pf::ObjectImpl* oi = mImp;
  resbuf rb;
  bool ownerSeen = false;
  AcDbVoidPtrArray reactors;
  for (void* entry : oi->reactors())
    if (!pf::isPersistentEntry(entry)) reactors.append(entry);
  bool reactorsSeen = false;
  std::string layout;  // the head's items in file order (see FileLayout)
  if (oi->keptHead() != nullptr) {
    pf::freeResbufChain(oi->keptHeadForChange());
    oi->keptHeadForChange() = nullptr;
  }
  Acad::ErrorStatus es;
  while ((es = pFiler->readResBuf(&rb)) == Acad::eOk) {
    if (rb.restype == AcDb::kDxfSubclass) {
      pFiler->pushBackItem();
      break;
    }
    if (rb.restype == AcDb::kDxfHandle) continue;  // the reader gave the object its handle
    if (rb.restype == AcDb::kDxfControlString && rb.resval.rstring != nullptr) {
      std::string group = rb.resval.rstring;
      if (group == "{ACAD_XDICTIONARY" || group == "{ACAD_REACTORS") {
        bool isXdict = group == "{ACAD_XDICTIONARY";
        if (!isXdict) reactorsSeen = true;
        layout += isXdict ? 'X' : 'R';
        while ((es = pFiler->readResBuf(&rb)) == Acad::eOk) {
          if (rb.restype == AcDb::kDxfControlString) break;  // "}"
          AcDbObjectId id;
          if (rb.restype >= 330 && rb.restype <= 369 && acdbGetObjectId(id, rb.resval.rlname) == Acad::eOk) {
            if (isXdict) oi->setXdict(id);
            else if (!id.isNull() && !reactors.contains(pf::encodePersistent(id)))
              reactors.append(pf::encodePersistent(id));
          } else {
            return pFiler->setError(Acad::eBadDxfSequence, "unexpected group %d in %s", rb.restype, group.c_str());
          }
        }
        if (es != Acad::eOk) break;
        continue;
      }
      // Another application's 102 group: kept verbatim up to its closing "}".
      pf::appendCopy(oi->keptHeadForChange(), rb);
      layout += 'K';
      if (group.size() > 0 && group[0] == '{') {
        while ((es = pFiler->readResBuf(&rb)) == Acad::eOk) {
          pf::appendCopy(oi->keptHeadForChange(), rb);
          layout += 'K';
          if (rb.restype == AcDb::kDxfControlString && rb.resval.rstring && std::strcmp(rb.resval.rstring, "}") == 0)
            break;
        }
        if (es != Acad::eOk) break;
      }
      continue;
    }
    if (rb.restype == AcDb::kDxfSoftPointerId && !ownerSeen) {
      AcDbObjectId id;
      if (acdbGetObjectId(id, rb.resval.rlname) == Acad::eOk) oi->owner = id;
      ownerSeen = true;
      layout += 'O';
      continue;
    }
    pf::appendCopy(oi->keptHeadForChange(), rb);
    layout += 'K';
  }
  if (reactorsSeen || !reactors.isEmpty()) oi->setReactors(reactors);
  setHeadLayout(oi, layout);
  if (es == Acad::eEndOfObject) es = Acad::eOk;
  if (es != Acad::eOk) return es;
  return pFiler->filerStatus();
}

AcDb::DuplicateRecordCloning AcDbObject::mergeStyle() const { return AcDb::kDrcIgnore; }
