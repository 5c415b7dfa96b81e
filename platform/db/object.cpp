// object.cpp - AcDbObject: identity, ownership, the extension dictionary, reactor lists,
// extended data, filing of the common data, and the default notification handlers.
#include <cctype>
#include <cstring>
#include "db_internal.h"
#include "acutmem.h"
#include "adscodes.h"
#include "pf/faults.h"
#include "db/dxf_tag_filer.h"

using pf::impl;

ACRX_NO_CONS_DEFINE_MEMBERS(AcGiDrawable, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbObject, AcGiDrawable)

Adesk::UInt32 AcGiDrawable::setAttributes(AcGiDrawableTraits*) { return 0; }
Adesk::Boolean AcGiDrawable::worldDraw(AcGiWorldDraw*) { return Adesk::kTrue; }
void AcGiDrawable::viewportDraw(AcGiViewportDraw*) {}
Adesk::Boolean AcGiDrawable::isPersistent() const { return Adesk::kFalse; }
AcDbObjectId AcGiDrawable::id() const { return AcDbObjectId::kNull; }

Adesk::UInt32 AcDbObject::setAttributes(AcGiDrawableTraits*) { return 0; }
Adesk::Boolean AcDbObject::worldDraw(AcGiWorldDraw*) { return Adesk::kTrue; }
void AcDbObject::viewportDraw(AcGiViewportDraw*) {}
Adesk::Boolean AcDbObject::isPersistent() const { return mImp->stub != nullptr; }
AcDbObjectId AcDbObject::id() const { return objectId(); }

// ---- Identity and ownership ------------------------------------------------------------------------

AcDbObjectId AcDbObject::objectId() const { return AcDbObjectId(mImp->stub); }
AcDbObjectId AcDbObject::ownerId() const { return mImp->owner; }
AcDbDatabase* AcDbObject::database() const { return mImp->stub ? mImp->stub->db : nullptr; }

void AcDbObject::getAcDbHandle(AcDbHandle& handle) const {
  handle = mImp->stub ? mImp->stub->handle : AcDbHandle();
}

Acad::ErrorStatus AcDbObject::setOwnerId(AcDbObjectId objId) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (mImp->owner == objId) return Acad::eOk;
  assertWriteEnabled(false);
  mImp->owner = objId;
  return Acad::eOk;
}

// ---- Extension dictionary ------------------------------------------------------------------------

Acad::ErrorStatus AcDbObject::createExtensionDictionary() {
  Acad::ErrorStatus es = pf::injectedFault("AcDbObject::createExtensionDictionary");
  if (es != Acad::eOk) return es;
  if (mImp->stub == nullptr) return Acad::eNoDatabase;
  if (!mImp->write) return Acad::eNotOpenForWrite;
  // An existing dictionary, even an erased one, keeps the link until it is released.
  if (!mImp->xdict().isNull()) return Acad::eAlreadyInDb;
  assertWriteEnabled();
  AcDbDictionary* dict = new AcDbDictionary;
  dict->setTreatElementsAsHard(true);
  es = database()->addAcDbObject(dict);
  if (es != Acad::eOk) {
    delete dict;
    return es;
  }
  impl(dict)->owner = objectId();
  mImp->setXdict(dict->objectId());
  pf::closeObject(dict);
  return Acad::eOk;
}

AcDbObjectId AcDbObject::extensionDictionary() const { return mImp->xdict(); }

Acad::ErrorStatus AcDbObject::releaseExtensionDictionary() {
  if (!mImp->write) return Acad::eNotOpenForWrite;
  if (mImp->xdict().isNull()) return Acad::eOk;
  AcDbObject* obj = nullptr;
  Acad::ErrorStatus es = pf::openObject(obj, mImp->xdict(), AcDb::kForWrite, true);
  if (es != Acad::eOk) return es;
  AcDbDictionary* dict = AcDbDictionary::cast(obj);
  if (dict != nullptr && dict->numEntries() > 0) {
    pf::closeObject(obj);
    return Acad::eContainerNotEmpty;
  }
  if (!obj->isErased()) obj->erase();
  pf::closeObject(obj);
  assertWriteEnabled();
  mImp->setXdict(AcDbObjectId::kNull);
  return Acad::eOk;
}

// ---- Reactors ----------------------------------------------------------------------------------

void AcDbObject::addReactor(AcDbObjectReactor* newObj) const {
  if (newObj == nullptr || mImp->reactors().contains(newObj)) return;
  mImp->reactorsForChange().append(newObj);
}

void AcDbObject::removeReactor(AcDbObjectReactor* obj) const {
  if (mImp->extras) mImp->extras->reactors.remove(obj);
}

void AcDbObject::addPersistentReactor(AcDbObjectId objId) {
  if (objId.isNull() || hasPersistentReactor(objId)) return;
  assertWriteEnabled();
  mImp->reactorsForChange().append(pf::encodePersistent(objId));
}

Acad::ErrorStatus AcDbObject::removePersistentReactor(AcDbObjectId objId) {
  Acad::ErrorStatus es = pf::injectedFault("AcDbObject::removePersistentReactor");
  if (es != Acad::eOk) return es;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (!hasPersistentReactor(objId)) return Acad::eKeyNotFound;
  assertWriteEnabled();
  if (mImp->extras) mImp->extras->reactors.remove(pf::encodePersistent(objId));
  return Acad::eOk;
}

bool AcDbObject::hasPersistentReactor(AcDbObjectId objId) const {
  return !objId.isNull() && mImp->reactors().contains(pf::encodePersistent(objId));
}

AcDbVoidPtrArray* AcDbObject::reactors() { return &mImp->reactorsForChange(); }

bool acdbIsPersistentReactor(void* pSomething) { return pf::isPersistentEntry(pSomething); }

AcDbObjectId acdbPersistentReactorObjectId(void* pSomething) {
  if (!pf::isPersistentEntry(pSomething)) return AcDbObjectId::kNull;
  return AcDbObjectId(pf::decodePersistent(pSomething));
}

// ---- Notifications received (all do nothing by default) ---------------------------------------------

void AcDbObject::cancelled(const AcDbObject*) {}
void AcDbObject::copied(const AcDbObject*, const AcDbObject*) {}
void AcDbObject::erased(const AcDbObject*, Adesk::Boolean) {}
void AcDbObject::goodbye(const AcDbObject*) {}
void AcDbObject::openedForModify(const AcDbObject*) {}
void AcDbObject::modified(const AcDbObject*) {}
void AcDbObject::subObjModified(const AcDbObject*, const AcDbObject*) {}
void AcDbObject::modifyUndone(const AcDbObject*) {}
void AcDbObject::modifiedXData(const AcDbObject*) {}
void AcDbObject::unappended(const AcDbObject*) {}
void AcDbObject::reappended(const AcDbObject*) {}
void AcDbObject::objectClosed(const AcDbObjectId) {}
void AcDbObject::modifiedGraphics(const AcDbEntity*) {}

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbObjectReactor, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbEntityReactor, AcDbObjectReactor)
AcDbObjectReactor::AcDbObjectReactor() {}
AcDbEntityReactor::AcDbEntityReactor() {}
void AcDbObjectReactor::cancelled(const AcDbObject*) {}
void AcDbObjectReactor::copied(const AcDbObject*, const AcDbObject*) {}
void AcDbObjectReactor::erased(const AcDbObject*, Adesk::Boolean) {}
void AcDbObjectReactor::goodbye(const AcDbObject*) {}
void AcDbObjectReactor::openedForModify(const AcDbObject*) {}
void AcDbObjectReactor::modified(const AcDbObject*) {}
void AcDbObjectReactor::subObjModified(const AcDbObject*, const AcDbObject*) {}
void AcDbObjectReactor::modifyUndone(const AcDbObject*) {}
void AcDbObjectReactor::modifiedXData(const AcDbObject*) {}
void AcDbObjectReactor::unappended(const AcDbObject*) {}
void AcDbObjectReactor::reappended(const AcDbObject*) {}
void AcDbObjectReactor::objectClosed(const AcDbObjectId) {}
void AcDbEntityReactor::modifiedGraphics(const AcDbEntity*) {}

// ---- Extended data -------------------------------------------------------------------------------

namespace {

bool sameApp(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (std::toupper(static_cast<unsigned char>(*a)) != std::toupper(static_cast<unsigned char>(*b))) return false;
  return *a == *b;
}

}  // namespace

resbuf* AcDbObject::xData(const char* regappName) const {
  assertReadEnabled();
  if (regappName == nullptr) return pf::copyResbufChain(mImp->xdata);
  for (resbuf* rb = mImp->xdata; rb != nullptr; rb = rb->rbnext) {
    if (rb->restype != AcDb::kDxfRegAppName || rb->resval.rstring == nullptr) continue;
    if (!sameApp(rb->resval.rstring, regappName)) continue;
    resbuf* end = rb->rbnext;
    while (end != nullptr && end->restype != AcDb::kDxfRegAppName) end = end->rbnext;
    // Copy [rb, end).
    resbuf* head = nullptr;
    resbuf** tail = &head;
    for (resbuf* p = rb; p != end; p = p->rbnext) {
      resbuf one = *p;
      one.rbnext = nullptr;
      *tail = pf::copyResbufChain(&one);
      tail = &(*tail)->rbnext;
    }
    return head;
  }
  return nullptr;
}

// Replaces the data of each application named in `xdata`; an application given with no
// data is removed. Other applications keep theirs.
Acad::ErrorStatus AcDbObject::setXData(const resbuf* xdata) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (xdata != nullptr && xdata->restype != AcDb::kDxfRegAppName) return Acad::eInvalidResBuf;
  assertWriteEnabled();
  resbuf* incoming = pf::copyResbufChain(xdata);
  std::vector<resbuf*> newApps;
  for (resbuf* rb = incoming; rb != nullptr; rb = rb->rbnext)
    if (rb->restype == AcDb::kDxfRegAppName) newApps.push_back(rb);
  // Rebuild: old applications not mentioned, then the incoming ones that carry data.
  resbuf* result = nullptr;
  resbuf** tail = &result;
  resbuf* rb = mImp->xdata;
  while (rb != nullptr) {
    resbuf* end = rb->rbnext;
    while (end != nullptr && end->restype != AcDb::kDxfRegAppName) end = end->rbnext;
    bool replaced = false;
    for (resbuf* app : newApps)
      if (rb->restype == AcDb::kDxfRegAppName && rb->resval.rstring && app->resval.rstring &&
          sameApp(rb->resval.rstring, app->resval.rstring))
        replaced = true;
    resbuf* p = rb;
    while (p != end) {
      resbuf* next = p->rbnext;
      p->rbnext = nullptr;
      if (replaced) {
        pf::freeResbufChain(p);
      } else {
        *tail = p;
        tail = &p->rbnext;
      }
      p = next;
    }
    rb = end;
  }
  rb = incoming;
  while (rb != nullptr) {
    resbuf* end = rb->rbnext;
    while (end != nullptr && end->restype != AcDb::kDxfRegAppName) end = end->rbnext;
    bool hasData = rb->rbnext != end;
    resbuf* p = rb;
    while (p != end) {
      resbuf* next = p->rbnext;
      p->rbnext = nullptr;
      if (hasData) {
        *tail = p;
        tail = &p->rbnext;
      } else {
        pf::freeResbufChain(p);
      }
      p = next;
    }
    rb = end;
  }
  mImp->xdata = result;
  mImp->modifiedXData = true;
  return Acad::eOk;
}
