// deepclone.cpp - deep clone within a database: the id mapping, cloning through the DWG
// filer with owned objects queued, id translation, and the editor reactor notices.
#include <algorithm>
#include <deque>
#include "db_internal.h"
#include "db/entities/proxy.h"
#include "rxevent.h"
#include "db/editor_sinks.h"
#include "db/db_services.h"
#include "pf/faults.h"

using pf::impl;

// ---- AcDbIdMapping ------------------------------------------------------------------------------

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbIdMapping, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbIdMappingIter, AcRxObject)

AcDbIdMapping::AcDbIdMapping() : mImp(new pf::IdMappingImpl) {}
AcDbIdMapping::~AcDbIdMapping() { delete mImp; }

Acad::ErrorStatus AcDbIdMapping::assign(const AcDbIdPair& pair) {
  if (pair.key().isNull()) return Acad::eNullObjectId;
  const std::size_t at = mImp->index.find(pair.key());
  if (at != pf::IdIndex::npos) {
    mImp->pairs[at] = pair;
  } else {
    mImp->index.put(pair.key(), mImp->pairs.size());
    mImp->pairs.push_back(pair);
  }
  return Acad::eOk;
}

bool AcDbIdMapping::compute(AcDbIdPair& pair) const {
  const std::size_t at = mImp->index.find(pair.key());
  if (at == pf::IdIndex::npos) return false;
  pair = mImp->pairs[at];
  return true;
}

bool AcDbIdMapping::change(const AcDbIdPair& pair) {
  const std::size_t at = mImp->index.find(pair.key());
  if (at == pf::IdIndex::npos) return false;
  mImp->pairs[at] = pair;
  return true;
}

bool AcDbIdMapping::del(AcDbObjectId key) {
  const std::size_t at = mImp->index.find(key);
  if (at == pf::IdIndex::npos) return false;
  mImp->pairs.erase(mImp->pairs.begin() + static_cast<long>(at));
  mImp->index.clear();
  for (size_t i = 0; i < mImp->pairs.size(); ++i) mImp->index.put(mImp->pairs[i].key(), i);
  return true;
}

Acad::ErrorStatus AcDbIdMapping::destDb(AcDbDatabase*& db) const {
  db = mImp->destDb;
  return db ? Acad::eOk : Acad::eNoDatabase;
}
Acad::ErrorStatus AcDbIdMapping::setDestDb(AcDbDatabase* db) {
  if (mImp->begun) return Acad::eInvalidIdMap;
  mImp->destDb = db;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbIdMapping::origDb(AcDbDatabase*& db) const {
  db = mImp->origDb;
  return db ? Acad::eOk : Acad::eNoDatabase;
}
AcDb::DeepCloneType AcDbIdMapping::deepCloneContext() const { return mImp->context; }
AcDb::DuplicateRecordCloning AcDbIdMapping::duplicateRecordCloning() const { return mImp->drc; }

AcDbIdMappingIter::AcDbIdMappingIter(const AcDbIdMapping& map) : mMap(&map), mPos(0) {}
AcDbIdMappingIter::~AcDbIdMappingIter() {}
Acad::ErrorStatus AcDbIdMappingIter::iterateOn(const AcDbIdMapping& map) {
  mMap = &map;
  mPos = 0;
  return Acad::eOk;
}
void AcDbIdMappingIter::start() { mPos = 0; }
bool AcDbIdMappingIter::getMap(AcDbIdPair& pair) {
  if (done()) return false;
  pair = mMap->pfImpl()->pairs[mPos];
  return true;
}
bool AcDbIdMappingIter::next() {
  if (done()) return false;
  ++mPos;
  return !done();
}
bool AcDbIdMappingIter::done() { return mPos >= mMap->pfImpl()->pairs.size(); }

namespace pf {

void setDeepCloneContext(AcDbIdMapping& map, AcDb::DeepCloneType context) { map.pfImpl()->context = context; }

namespace {

// Filing out for a clone: remembers the objects the source owns, to clone them along.
class DeepCloneFiler : public MemoryDwgFiler {
public:
  explicit DeepCloneFiler(AcDbDatabase* db) : MemoryDwgFiler(AcDb::kDeepCloneFiler, db) {}
  bool nextOwned(AcDbObjectId& id) {
    if (mOwned.empty()) return false;
    id = mOwned.front();
    mOwned.pop_front();
    return true;
  }

protected:
  void idWritten(Kind kind, const AcDbObjectId& id) override {
    if ((kind == Kind::HardOwner || kind == Kind::SoftOwner) && !id.isNull()) mOwned.push_back(id);
  }

private:
  std::deque<AcDbObjectId> mOwned;
};

// Filing back in with every id translated through the mapping: a cloned object's id becomes
// its clone's; any other id of the same database stays, except an owned one: an object the
// source owns that was not cloned (its class refused) stays the source's alone, so the clone
// drops it instead of becoming its second owner; an id of another database is dropped.
class IdXlateFiler : public MemoryDwgFiler {
public:
  IdXlateFiler(AcDbDatabase* db, const AcDbIdMapping& map) : MemoryDwgFiler(AcDb::kIdXlateFiler, db), mMap(map) {}

protected:
  AcDbObjectId idRead(Kind kind, const AcDbObjectId& id) override {
    if (id.isNull()) return id;
    AcDbIdPair pair(id, AcDbObjectId::kNull, false);
    if (mMap.compute(pair) && !pair.value().isNull()) return pair.value();
    if (kind == Kind::HardOwner || kind == Kind::SoftOwner) return AcDbObjectId::kNull;
    AcDbDatabase* dest = nullptr;
    mMap.destDb(dest);
    return id.database() == dest ? id : AcDbObjectId::kNull;
  }

private:
  const AcDbIdMapping& mMap;
};

// A new object of the same kind as `obj`, to be filled from its filing. Proxies of every kind
// share one runtime class, whose constructor makes the plain kind: each proxy makes its own.
AcRxObject* newEmptyLike(const AcDbObject* obj) {
  if (const ProxyObject* p = dynamic_cast<const ProxyObject*>(obj)) return p->newEmpty();
  if (const ProxyEntity* p = dynamic_cast<const ProxyEntity*>(obj)) return p->newEmpty();
  return obj->isA() ? obj->isA()->create() : nullptr;
}

// Through the editor layer's sink, which skips a reactor detached while others are notified.
void sendToEditorReactors(const std::function<void(AcRxEventReactor*)>& send) {
  notifyEventReactorsOfDatabase([&](AcRxEventReactor& r) { send(&r); });
}

// Translates the ids inside every clone of the mapping, then lets the clones notify again.
Acad::ErrorStatus translate(AcDbDatabase* db, AcDbIdMapping& map) {
  IdMappingImpl* mi = map.pfImpl();
  Acad::ErrorStatus status = Acad::eOk;
  sendToEditorReactors([&](AcRxEventReactor* r) { r->beginDeepCloneXlation(map, &status); });
  // A reactor that sets the status stops the operation where it is.
  if (status != Acad::eOk) return status;
  std::vector<AcDbIdPair> pairs = mi->pairs;
  for (const AcDbIdPair& pair : pairs) {
    if (!pair.isCloned()) continue;
    AcDbObject* clone = peekObject(pair.value());
    if (clone == nullptr) continue;
    ObjectImpl* ci = impl(clone);
    bool wasWrite = ci->write;
    ci->write = true;
    ci->silent = true;
    IdXlateFiler filer(db, map);
    Acad::ErrorStatus es = clone->dwgOutFields(&filer);
    if (es == Acad::eOk) {
      filer.rewind();
      es = clone->dwgInFields(&filer);
    }
    ci->write = wasWrite;
    if (es != Acad::eOk && status == Acad::eOk) status = es;
  }
  for (const AcDbIdPair& pair : pairs) {
    if (!pair.isCloned()) continue;
    AcDbObject* clone = peekObject(pair.value());
    if (clone == nullptr) continue;
    impl(clone)->silent = false;
    impl(clone)->inFlux = false;
    impl(clone)->modified = impl(clone)->modifiedGraphics = impl(clone)->modifiedXData = false;
  }
  mi->finished = true;
  sendToEditorReactors([&](AcRxEventReactor* r) { r->endDeepClone(map); });
  return status;
}

}  // namespace
}  // namespace pf

// The default clone: a new instance of the class filled by dwgOut/dwgIn through a deep-clone
// filer, added to the owner, recorded in the mapping, then everything the source owns is
// cloned into the clone. Answers the clone open for write (the caller closes it).
Acad::ErrorStatus AcDbObject::deepClone(AcDbObject* pOwnerObject, AcDbObject*& pClonedObject, AcDbIdMapping& idMap,
                                        Adesk::Boolean isPrimary) const {
  pClonedObject = nullptr;
  if (pOwnerObject == nullptr) return Acad::eInvalidOwnerObject;
  AcDbDatabase* db = pOwnerObject->database();
  if (db == nullptr) return Acad::eOwnerNotInDatabase;
  assertReadEnabled();
  AcDbIdPair known(objectId(), AcDbObjectId::kNull, false);
  if (idMap.compute(known) && known.isCloned()) return Acad::eOk;  // cloned already

  AcRxObject* made = pf::newEmptyLike(this);
  AcDbObject* clone = AcDbObject::cast(made);
  if (clone == nullptr) {
    delete made;
    return Acad::eNotApplicable;
  }
  pf::ObjectImpl* ci = impl(clone);
  ci->silent = true;
  ci->inFlux = true;
  pf::DeepCloneFiler filer(db);
  Acad::ErrorStatus es = dwgOut(&filer);
  if (es == Acad::eOk) {
    filer.rewind();
    es = clone->dwgIn(&filer);
  }
  if (es != Acad::eOk) {
    delete clone;
    return es;
  }
  AcDbBlockTableRecord* block = AcDbBlockTableRecord::cast(pOwnerObject);
  AcDbEntity* entity = AcDbEntity::cast(clone);
  es = db->addAcDbObject(clone);
  if (es != Acad::eOk) {
    delete clone;
    return es;
  }
  if (block != nullptr && entity != nullptr) pf::appendEntityInternal(block, clone->objectId());
  else ci->owner = pOwnerObject->objectId();
  idMap.assign(AcDbIdPair(objectId(), clone->objectId(), true, isPrimary != Adesk::kFalse, true));

  const AcDbObject* self = this;
  pf::notifyReactors(
      this, [&](AcDbObject* r) { r->copied(self, clone); }, [&](AcDbObjectReactor* r) { r->copied(self, clone); });

  AcDbObjectId owned;
  while (filer.nextOwned(owned)) {
    if (owned.isErased()) continue;
    AcDbObject* sub = nullptr;
    if (pf::openObject(sub, owned, AcDb::kForRead, false) != Acad::eOk) continue;
    AcDbObject* subClone = nullptr;
    sub->deepClone(clone, subClone, idMap, Adesk::kFalse);
    pf::closeObject(sub);
    if (subClone != nullptr) pf::closeSilently(subClone);
  }
  pClonedObject = clone;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::wblockClone(AcRxObject* pOwnerObject, AcDbObject*& pClonedObject, AcDbIdMapping& idMap,
                                          Adesk::Boolean isPrimary) const {
  AcDbObject* owner = AcDbObject::cast(pOwnerObject);
  if (owner == nullptr) return Acad::eInvalidOwnerObject;
  if (owner->database() != database()) return Acad::eWrongDatabase;  // only within one drawing here
  return deepClone(owner, pClonedObject, idMap, isPrimary);
}

void AcDbObject::setAcDbObjectIdsInFlux() { mImp->inFlux = true; }
Adesk::Boolean AcDbObject::isAcDbObjectIdsInFlux() const { return mImp->inFlux; }

Acad::ErrorStatus AcDbDatabase::deepCloneObjects(AcDbObjectIdArray& objectIds, AcDbObjectId& owner,
                                                 AcDbIdMapping& idMap, bool deferXlation) {
  Acad::ErrorStatus es = pf::injectedFault("AcDbDatabase::deepCloneObjects");
  if (es != Acad::eOk) return es;
  pf::IdMappingImpl* mi = idMap.pfImpl();
  if (mi->finished) return Acad::eInvalidIdMap;  // one mapping per operation
  if (owner.database() != this) return Acad::eWrongDatabase;
  for (const AcDbObjectId& id : objectIds)
    if (id.database() != this) return Acad::eWrongDatabase;
  if (mi->destDb != nullptr && mi->destDb != this) return Acad::eWrongDatabase;

  // The owner is opened for write for the clones to join it. A caller may hold it open (for
  // write, or for read while it walks the entities it copies); the clones are then added to it
  // all the same, since the platform itself appends them.
  AcDbObject* ownerObj = pf::peekObject(owner);
  if (ownerObj == nullptr || owner.isErased()) return Acad::eOwnerNotInDatabase;
  bool openedOwner = false;
  if (!impl(ownerObj)->write) {
    AcDbObject* opened = nullptr;
    openedOwner = pf::openObject(opened, owner, AcDb::kForWrite, false) == Acad::eOk;
  }

  if (!mi->begun) {
    mi->begun = true;
    mi->origDb = this;
    mi->destDb = this;
    pf::sendToEditorReactors([&](AcRxEventReactor* r) { r->beginDeepClone(this, idMap); });
  }
  for (const AcDbObjectId& id : objectIds) {
    AcDbObject* source = nullptr;
    if (pf::openObject(source, id, AcDb::kForRead, false) != Acad::eOk) continue;
    AcDbObject* clone = nullptr;
    Acad::ErrorStatus ces = source->deepClone(ownerObj, clone, idMap, Adesk::kTrue);
    pf::closeObject(source);
    if (clone != nullptr) pf::closeSilently(clone);
    if (ces != Acad::eOk && es == Acad::eOk) es = ces;
  }
  if (openedOwner) pf::closeObject(ownerObj);
  if (!deferXlation) {
    Acad::ErrorStatus xes = pf::translate(this, idMap);
    if (es == Acad::eOk) es = xes;
  }
  return es;
}

void AcDbDatabase::abortDeepClone(AcDbIdMapping& idMap) {
  pf::sendToEditorReactors([&](AcRxEventReactor* r) { r->abortDeepClone(idMap); });
}
