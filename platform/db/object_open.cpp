// object_open.cpp - the open/close protocol: opening by id, close, cancel, upgrade and
// downgrade, erase, the assert calls, and the notifications they send.
#include <algorithm>
#include <cstdint>
#include <new>
#include "db_internal.h"
#include "pf/faults.h"
#include "pf/dbdebug.h"
#include "db/db_services.h"

namespace pf {

static const int kMaxReaders = 256;

void* encodePersistent(AcDbStub* stub) {
  return reinterpret_cast<void*>(reinterpret_cast<std::uintptr_t>(stub) | 1u);
}
bool isPersistentEntry(void* p) { return (reinterpret_cast<std::uintptr_t>(p) & 1u) != 0; }
AcDbStub* decodePersistent(void* p) {
  return reinterpret_cast<AcDbStub*>(reinterpret_cast<std::uintptr_t>(p) & ~static_cast<std::uintptr_t>(1));
}

bool notificationsSuppressed(const AcDbObject* obj) { return obj != nullptr && impl(obj)->silent; }

// Successful opens by id and closes, for benchmarks (pf/dbdebug.h).
static OpenCloseCounts gOpenCloseCounts;
OpenCloseCounts openCloseCounts() { return gOpenCloseCounts; }
void resetOpenCloseCounts() { gOpenCloseCounts = OpenCloseCounts(); }
static void countOpenClose(const AcDbObject* obj, bool open) {
  const bool entity = AcDbEntity::cast(obj) != nullptr;
  ++(open ? (entity ? gOpenCloseCounts.entityOpens : gOpenCloseCounts.objectOpens)
          : (entity ? gOpenCloseCounts.entityCloses : gOpenCloseCounts.objectCloses));
}

const AcDbVoidPtrArray& ObjectImpl::noReactors() {
  static const AcDbVoidPtrArray* none = new AcDbVoidPtrArray;
  return *none;
}

ObjectExtras::~ObjectExtras() {
  freeResbufChain(keptHead);
  freeResbufChain(entityKept);
}

ObjectImpl::~ObjectImpl() { freeResbufChain(xdata); }

Acad::ErrorStatus openObject(AcDbObject*& obj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  if (id.isNull()) return Acad::eNullObjectId;
  AcDbStub* stub = id;
  if (!isLiveStub(stub) || stub->object == nullptr) return Acad::ePermanentlyErased;
  if (stub->erased && !openErased) return Acad::eWasErased;
  ObjectImpl* oi = impl(stub->object);
  switch (mode) {
    case AcDb::kForRead:
      if (oi->write) return Acad::eWasOpenForWrite;
      if (oi->readers >= kMaxReaders) return Acad::eAtMaxReaders;
      ++oi->readers;
      break;
    case AcDb::kForWrite:
      if (oi->write) return Acad::eWasOpenForWrite;
      if (oi->notifying) return Acad::eWasNotifying;
      if (oi->notify || oi->hostNotify > 0) return Acad::eWasOpenForNotify;
      if (oi->readers > 0) return Acad::eWasOpenForRead;
      oi->write = true;
      break;
    case AcDb::kForNotify:
      if (oi->notify || oi->hostNotify > 0) return Acad::eWasOpenForNotify;
      oi->notify = true;
      break;
    default:
      return Acad::eInvalidInput;
  }
  Acad::ErrorStatus es = ObjectImpl::subOpen(stub->object, mode);
  if (es != Acad::eOk) {
    if (mode == AcDb::kForRead) --oi->readers;
    else if (mode == AcDb::kForWrite) oi->write = false;
    else oi->notify = false;
    return es;
  }
  obj = stub->object;
  countOpenClose(obj, true);
  return Acad::eOk;
}

Acad::ErrorStatus openForHostNotify(AcDbObject*& obj, AcDbObjectId id) {
  AcDbStub* stub = id;
  if (id.isNull()) return Acad::eNullObjectId;
  if (!isLiveStub(stub) || stub->object == nullptr) return Acad::ePermanentlyErased;
  if (stub->erased) return Acad::eWasErased;
  ++impl(stub->object)->hostNotify;
  obj = stub->object;
  return Acad::eOk;
}

void notifyReactors(const AcDbObject* obj, const std::function<void(AcDbObject*)>& persistent,
                    const std::function<void(AcDbObjectReactor*)>& transient) {
  ObjectImpl* oi = impl(obj);
  if (oi->silent || oi->reactors().isEmpty()) return;  // most objects have no reactors
  // The list may change while reactors run; walk a copy and skip transient reactors removed
  // meanwhile.
  AcDbVoidPtrArray list = oi->reactors();
  for (void* entry : list) {
    if (isPersistentEntry(entry)) {
      AcDbObject* reactor = nullptr;
      if (openForHostNotify(reactor, AcDbObjectId(decodePersistent(entry))) != Acad::eOk) continue;
      persistent(reactor);
      closeHostNotify(reactor);
    } else if (oi->reactors().contains(entry)) {
      transient(static_cast<AcDbObjectReactor*>(entry));
    }
  }
}

void markModified(AcDbObject* obj) { impl(obj)->modified = true; }

// Sends what the opening changed: erased, modified, xdata and graphics. The object is open
// for read (and flagged notifying) meanwhile, so reactors can read but not write it.
void sendPendingNotifications(AcDbObject* obj) {
  ObjectImpl* oi = impl(obj);
  bool erasedChange = oi->eraseToggled, modified = oi->modified, xdata = oi->modifiedXData,
       graphics = oi->modifiedGraphics;
  oi->eraseToggled = oi->modified = oi->modifiedXData = oi->modifiedGraphics = false;
  oi->openedForModifySent = false;
  oi->dropUndo();
  if (oi->silent || !(erasedChange || modified || xdata || graphics)) return;
  ++oi->readers;
  oi->notifying = true;
  if (erasedChange) {
    bool nowErased = oi->stub && oi->stub->erased;
    notifyReactors(
        obj, [&](AcDbObject* r) { r->erased(obj, nowErased); },
        [&](AcDbObjectReactor* r) { r->erased(obj, nowErased); });
  }
  if (modified) {
    notifyReactors(
        obj, [&](AcDbObject* r) { r->modified(obj); }, [&](AcDbObjectReactor* r) { r->modified(obj); });
  }
  if (xdata) {
    notifyReactors(
        obj, [&](AcDbObject* r) { r->modifiedXData(obj); }, [&](AcDbObjectReactor* r) { r->modifiedXData(obj); });
  }
  AcDbEntity* ent = AcDbEntity::cast(obj);
  if (graphics && ent != nullptr) {
    notifyReactors(
        obj, [&](AcDbObject* r) { r->modifiedGraphics(ent); },
        [&](AcDbObjectReactor* r) {
          if (AcDbEntityReactor* er = AcDbEntityReactor::cast(r)) er->modifiedGraphics(ent);
        });
  }
  oi->notifying = false;
  --oi->readers;
}

void closeHostNotify(AcDbObject* obj) {
  ObjectImpl* oi = impl(obj);
  if (oi->hostNotify > 0) --oi->hostNotify;
  // Changes made through upgradeFromNotify go out now unless a writer still holds the object.
  if (oi->hostNotify == 0 && !oi->notify && !oi->write && (oi->modified || oi->eraseToggled))
    sendPendingNotifications(obj);
}

static Acad::ErrorStatus closeWrite(AcDbObject* obj) {
  ObjectImpl* oi = impl(obj);
  oi->write = false;
  oi->fromNotify = false;
  sendPendingNotifications(obj);
  oi->isNew = false;
  return Acad::eOk;
}

Acad::ErrorStatus closeObject(AcDbObject* obj) {
  if (obj == nullptr) return Acad::eNullObjectPointer;
  ObjectImpl* oi = impl(obj);
  if (oi->stub == nullptr) return Acad::eNotInDatabase;
  if (!oi->notify && !oi->write && oi->readers == 0) return Acad::eNotOpenForRead;
  Acad::ErrorStatus es = ObjectImpl::subClose(obj);
  if (es != Acad::eOk) return es;
  countOpenClose(obj, false);
  if (oi->notify) {
    oi->notify = false;
    if (!oi->write && oi->hostNotify == 0 && (oi->modified || oi->eraseToggled)) sendPendingNotifications(obj);
    return Acad::eOk;
  }
  if (oi->write) return closeWrite(obj);
  --oi->readers;
  return Acad::eOk;
}

void closeSilently(AcDbObject* obj) {
  ObjectImpl* oi = impl(obj);
  bool wasSilent = oi->silent;
  oi->silent = true;
  if (oi->write) {
    closeWrite(obj);
  } else if (oi->readers > 0) {
    --oi->readers;
  }
  oi->silent = wasSilent;
}

}  // namespace pf

using pf::impl;

// ---- Construction ------------------------------------------------------------------------------

namespace {

// An object made by `new` gets its state in the same allocation, after the object: one heap
// block instead of two for each of a drawing's objects. operator new notes the block; the
// constructor, which runs next at that address, takes the room. Anything else (objects on the
// stack, members, a class with its own operator new, an AcDbObject that is not at the start of
// its allocation) gets its state from the heap.
__attribute__((tls_model("initial-exec"))) thread_local void* tFreshBlock = nullptr;
__attribute__((tls_model("initial-exec"))) thread_local std::size_t tFreshStateOffset = 0;

std::size_t stateOffset(std::size_t objectSize) {
  const std::size_t align = alignof(pf::ObjectImpl);
  return (objectSize + align - 1) / align * align;
}

pf::ObjectImpl* makeObjectState(AcDbObject* self) {
  void* fresh = tFreshBlock;
  tFreshBlock = nullptr;  // only the very next construction may take the block
  if (self != fresh) return new pf::ObjectImpl();
  pf::ObjectImpl* oi = new (reinterpret_cast<char*>(self) + tFreshStateOffset) pf::ObjectImpl();
  oi->inObjectBlock = true;
  return oi;
}

}  // namespace

AcDbObject::AcDbObject() : mImp(makeObjectState(this)) {}
AcDbObject::AcDbObject(AcDbSystemInternals*) : mImp(makeObjectState(this)) {}

AcDbObject::~AcDbObject() {
  pf::ObjectImpl* oi = mImp;
  if (oi->stub != nullptr && !oi->stub->db->pfImpl()->destroying) {
    // The database owns its objects; freeing one behind its back would leave a dangling stub.
    acrx_abort("AcDbObject deleted while in a database (handle %lX)",
               static_cast<unsigned long>(oi->stub->handle.value()));
  }
  if (oi->stub != nullptr) oi->stub->object = nullptr;
  // Transient reactors of a non-resident object hear goodbye here.
  if (oi->stub == nullptr) {
    AcDbVoidPtrArray list = oi->reactors();
    for (void* entry : list)
      if (!pf::isPersistentEntry(entry)) static_cast<AcDbObjectReactor*>(entry)->goodbye(this);
  }
  if (oi->inObjectBlock)
    oi->~ObjectImpl();  // the memory goes with the object's
  else
    delete oi;
}

void* AcDbObject::operator new(size_t size) {
  const std::size_t offset = stateOffset(size);
  void* block = ::operator new(offset + sizeof(pf::ObjectImpl));
  tFreshBlock = block;
  tFreshStateOffset = offset;
  return block;
}
void AcDbObject::operator delete(void* p) { ::operator delete(p); }

// ---- Opening by id --------------------------------------------------------------------------------

Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  Acad::ErrorStatus es = pf::injectedFault("acdbOpenAcDbObject");
  if (es != Acad::eOk) return es;
  return pf::openObject(pObj, id, mode, openErased);
}

Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& pEnt, AcDbObjectId id, AcDb::OpenMode mode, bool openErased) {
  Acad::ErrorStatus es = pf::injectedFault("acdbOpenAcDbEntity");
  if (es == Acad::eOk) es = pf::injectedFault("acdbOpenAcDbObject");
  if (es != Acad::eOk) return es;
  AcDbObject* obj = pf::peekObject(id);
  if (obj != nullptr && AcDbEntity::cast(obj) == nullptr) return Acad::eNotAnEntity;
  AcDbObject* opened = nullptr;
  es = pf::openObject(opened, id, mode, openErased);
  if (es != Acad::eOk) return es;
  pEnt = AcDbEntity::cast(opened);
  return Acad::eOk;
}

// ---- Close, cancel, upgrade, downgrade --------------------------------------------------------------

Acad::ErrorStatus AcDbObject::close() {
  Acad::ErrorStatus es = pf::injectedFault("AcDbObject::close");
  if (es != Acad::eOk) return es;
  return pf::closeObject(this);
}

Acad::ErrorStatus AcDbObject::cancel() {
  pf::ObjectImpl* oi = mImp;
  if (oi->stub == nullptr) return Acad::eNotInDatabase;
  if (!oi->write) return pf::closeObject(this);
  Acad::ErrorStatus es = subCancel();
  if (es != Acad::eOk) return es;
  oi->cancelling = true;
  // Replay the state recorded before the first change of this opening.
  if (oi->extras && oi->extras->undo) {
    oi->restoring = true;
    oi->extras->undo->rewind();
    dwgInFields(oi->extras->undo.get());
    oi->restoring = false;
    oi->stub->erased = oi->extras->undoErased;
  }
  pf::notifyReactors(
      this, [this](AcDbObject* r) { r->cancelled(this); }, [this](AcDbObjectReactor* r) { r->cancelled(this); });
  oi->modified = oi->modifiedXData = oi->modifiedGraphics = oi->eraseToggled = false;
  oi->cancelling = false;
  oi->write = false;
  oi->fromNotify = false;
  oi->openedForModifySent = false;
  oi->dropUndo();
  oi->isNew = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeOpen() {
  Acad::ErrorStatus es = pf::injectedFault("AcDbObject::upgradeOpen");
  if (es != Acad::eOk) return es;
  pf::ObjectImpl* oi = mImp;
  if (oi->write) return Acad::eWasOpenForWrite;
  if (oi->notifying) return Acad::eWasNotifying;
  if (oi->readers == 0) return Acad::eNotOpenForRead;
  if (oi->readers > 1) return Acad::eHadMultipleReaders;
  if (oi->notify || oi->hostNotify > 0) return Acad::eWasOpenForNotify;
  oi->readers = 0;
  oi->write = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeOpen() {
  pf::ObjectImpl* oi = mImp;
  if (!oi->write || oi->stub == nullptr) return Acad::eNotOpenForWrite;
  oi->write = false;
  oi->readers = 1;
  pf::sendPendingNotifications(this);
  oi->isNew = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::upgradeFromNotify(Adesk::Boolean& wasWritable) {
  pf::ObjectImpl* oi = mImp;
  if (!(oi->notify || oi->hostNotify > 0) || oi->fromNotify) return Acad::eNotApplicable;
  if (oi->notifying) return Acad::eWasNotifying;
  wasWritable = oi->write ? Adesk::kTrue : Adesk::kFalse;
  oi->write = true;
  oi->fromNotify = true;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::downgradeToNotify(Adesk::Boolean wasWritable) {
  pf::ObjectImpl* oi = mImp;
  if (!oi->fromNotify) return Acad::eNotApplicable;
  oi->fromNotify = false;
  if (!wasWritable) oi->write = false;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbObject::erase(Adesk::Boolean erasing) {
  pf::ObjectImpl* oi = mImp;
  if (oi->stub == nullptr) return Acad::eNotInDatabase;
  if (!oi->write) return Acad::eNotOpenForWrite;
  bool want = erasing != Adesk::kFalse;
  if (oi->stub->erased == want) return want ? Acad::eWasErased : Acad::eOk;
  Acad::ErrorStatus es = subErase(erasing);
  if (es != Acad::eOk) return es;
  assertWriteEnabled();
  oi->stub->erased = want;
  oi->eraseToggled = !oi->eraseToggled;
  return Acad::eOk;
}

// ---- Asserts and predicates -----------------------------------------------------------------------

void AcDbObject::assertReadEnabled() const {
  if (mImp->stub == nullptr || mImp->isOpen()) return;
  acrx_abort("AcDbObject::assertReadEnabled: %s (handle %lX) is not open",
             isA() ? isA()->name() : "object", static_cast<unsigned long>(mImp->stub->handle.value()));
}

void AcDbObject::assertWriteEnabled(Adesk::Boolean autoUndo, Adesk::Boolean) {
  pf::ObjectImpl* oi = mImp;
  if (oi->stub == nullptr || oi->restoring) return;
  if (!oi->write) {
    acrx_abort("AcDbObject::assertWriteEnabled: %s (handle %lX) is not open for write",
               isA() ? isA()->name() : "object", static_cast<unsigned long>(oi->stub->handle.value()));
  }
  if (!oi->openedForModifySent && !oi->isNew && !oi->silent) {
    oi->openedForModifySent = true;
    // The record cancel() replays: the whole object as it was before this opening changed it.
    if (autoUndo) {
      pf::ObjectExtras& more = oi->more();
      more.undo.reset(new pf::MemoryDwgFiler(AcDb::kUndoFiler, database()));
      more.undoErased = oi->stub->erased;
      oi->modified = true;  // keeps a nested assertWriteEnabled from recording again
      dwgOutFields(more.undo.get());
    }
    pf::notifyReactors(
        this, [this](AcDbObject* r) { r->openedForModify(this); },
        [this](AcDbObjectReactor* r) { r->openedForModify(this); });
  }
  oi->modified = true;
}

void AcDbObject::assertNotifyEnabled() const {
  if (mImp->stub == nullptr || mImp->notify || mImp->hostNotify > 0 || mImp->write) return;
  acrx_abort("AcDbObject::assertNotifyEnabled: object is not open for notify");
}

Adesk::Boolean AcDbObject::isErased() const { return mImp->stub != nullptr && mImp->stub->erased; }
Adesk::Boolean AcDbObject::isReadEnabled() const { return mImp->stub == nullptr || mImp->isOpen(); }
Adesk::Boolean AcDbObject::isWriteEnabled() const { return mImp->stub == nullptr || mImp->write; }
Adesk::Boolean AcDbObject::isNotifyEnabled() const { return mImp->notify || mImp->hostNotify > 0; }
Adesk::Boolean AcDbObject::isModified() const { return mImp->modified || mImp->eraseToggled; }
Adesk::Boolean AcDbObject::isModifiedXData() const { return mImp->modifiedXData; }
Adesk::Boolean AcDbObject::isModifiedGraphics() const { return mImp->modifiedGraphics; }
Adesk::Boolean AcDbObject::isNewObject() const { return mImp->isNew; }
Adesk::Boolean AcDbObject::isNotifying() const { return mImp->notifying; }
Adesk::Boolean AcDbObject::isUndoing() const { return mImp->restoring; }
Adesk::Boolean AcDbObject::isCancelling() const { return mImp->cancelling; }
Adesk::Boolean AcDbObject::isReallyClosing() const { return Adesk::kTrue; }
Adesk::Boolean AcDbObject::isTransactionResident() const { return Adesk::kFalse; }
Adesk::Boolean AcDbObject::isAProxy() const {
  // The proxy classes belong to the entity layer; they are found by name.
  AcRxClass* proxyObject = pfLookupRxClass("AcDbProxyObject");
  AcRxClass* proxyEntity = pfLookupRxClass("AcDbProxyEntity");
  AcRxClass* mine = isA();
  return mine != nullptr && ((proxyObject && mine->isDerivedFrom(proxyObject)) ||
                             (proxyEntity && mine->isDerivedFrom(proxyEntity)));
}

Acad::ErrorStatus AcDbObject::subOpen(AcDb::OpenMode) { return Acad::eOk; }
Acad::ErrorStatus AcDbObject::subClose() { return Acad::eOk; }
Acad::ErrorStatus AcDbObject::subCancel() { return Acad::eOk; }
Acad::ErrorStatus AcDbObject::subErase(Adesk::Boolean) { return Acad::eOk; }
