// blocktablerecord.cpp - AcDbBlockTableRecord (the entities of a block) and its iterator.
#include <cstring>
#include <strings.h>
#include "symtab_internal.h"
#include "acutmem.h"
#include "pf/faults.h"
#include "db/db_services.h"

using pf::impl;

// ---- AcDbBlockTableRecord ----------------------------------------------------------------------------------

ACRX_DXF_DEFINE_MEMBERS(AcDbBlockTableRecord, AcDbSymbolTableRecord, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0,
                        BLOCK_RECORD, ObjectDBX Classes)

AcDbBlockTableRecord::AcDbBlockTableRecord() : mBlock(new pf::BlockRecordImpl) {}
AcDbBlockTableRecord::AcDbBlockTableRecord(AcDbSystemInternals* p) : AcDbSymbolTableRecord(p), mBlock(new pf::BlockRecordImpl) {}
AcDbBlockTableRecord::~AcDbBlockTableRecord() { delete mBlock; }

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbEntity* pEntity) {
  AcDbObjectId id;
  return appendAcDbEntity(id, pEntity);
}

Acad::ErrorStatus AcDbBlockTableRecord::appendAcDbEntity(AcDbObjectId& pOutputId, AcDbEntity* pEntity) {
  Acad::ErrorStatus es = pf::injectedFault("AcDbBlockTableRecord::appendAcDbEntity");
  if (es != Acad::eOk) return es;
  if (pEntity == nullptr) return Acad::eNullEntityPointer;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbDatabase* db = database();
  if (db == nullptr) return Acad::eNoDatabase;
  if (pEntity->database() != nullptr) return Acad::eAlreadyInDb;
  es = db->addAcDbObject(pEntity);
  if (es != Acad::eOk) return es;
  assertWriteEnabled();
  pf::appendEntityInternal(this, pEntity->objectId());
  pOutputId = pEntity->objectId();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::newIterator(AcDbBlockTableRecordIterator*& pIterator, bool atBeginning,
                                                    bool skipDeleted) {
  Acad::ErrorStatus es = pf::injectedFault("AcDbBlockTableRecord::newIterator");
  if (es != Acad::eOk) return es;
  assertReadEnabled();
  AcDbBlockTableRecordIterator* it = new AcDbBlockTableRecordIterator;
  it->mImp->ids = mBlock->entities;
  it->mImp->block = this;
  it->mImp->start(atBeginning, skipDeleted);
  pIterator = it;
  return Acad::eOk;
}

AcGePoint3d AcDbBlockTableRecord::origin() const {
  assertReadEnabled();
  return mBlock->origin;
}

Acad::ErrorStatus AcDbBlockTableRecord::setOrigin(const AcGePoint3d& pt) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  assertWriteEnabled();
  mBlock->origin = pt;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecord::comments(char*& pString) const {
  assertReadEnabled();
  return acutNewString(mBlock->comments.c_str(), pString);
}

Acad::ErrorStatus AcDbBlockTableRecord::setComments(const char* pString) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  assertWriteEnabled();
  mBlock->comments = pString ? pString : "";
  return Acad::eOk;
}

bool AcDbBlockTableRecord::isLayout() const {
  const char* name = nullptr;
  getName(name);
  return !mBlock->layout.isNull() || strcasecmp(name, ACDB_MODEL_SPACE) == 0 ||
         strncasecmp(name, ACDB_PAPER_SPACE, std::strlen(ACDB_PAPER_SPACE)) == 0;
}

bool AcDbBlockTableRecord::isAnonymous() const {
  const char* name = nullptr;
  getName(name);
  return name[0] == '*' && !isLayout();
}

bool AcDbBlockTableRecord::hasAttributeDefinitions() const {
  AcRxClass* attdef = pfLookupRxClass("AcDbAttributeDefinition");
  if (attdef == nullptr) return false;
  for (const AcDbObjectId& id : mBlock->entities) {
    AcDbObject* obj = pf::peekObject(id);
    if (obj != nullptr && !id.isErased() && obj->isA() && obj->isA()->isDerivedFrom(attdef)) return true;
  }
  return false;
}

Acad::ErrorStatus AcDbBlockTableRecord::dwgOutFields(AcDbDwgFiler* pFiler) const {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writePoint3d(mBlock->origin);
  pFiler->writeString(mBlock->comments.c_str());
  pFiler->writeHardPointerId(mBlock->layout);
  pFiler->writeInt32(static_cast<Adesk::Int32>(mBlock->entities.size()));
  for (const AcDbObjectId& id : mBlock->entities) pFiler->writeHardOwnershipId(id);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbBlockTableRecord::dwgInFields(AcDbDwgFiler* pFiler) {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  char* comments = nullptr;
  AcDbHardPointerId layout;
  Adesk::Int32 n = 0;
  pFiler->readPoint3d(&mBlock->origin);
  pFiler->readString(&comments);
  mBlock->comments = comments ? comments : "";
  acutDelString(comments);
  pFiler->readHardPointerId(&layout);
  mBlock->layout = layout;
  if ((es = pFiler->readInt32(&n)) != Acad::eOk) return es;
  if (n < 0 || n > 100000000) return Acad::eFilerError;
  std::vector<AcDbObjectId> entities;
  for (Adesk::Int32 i = 0; i < n; ++i) {
    AcDbHardOwnershipId id;
    if ((es = pFiler->readHardOwnershipId(&id)) != Acad::eOk) return es;
    entities.push_back(id);
  }
  mBlock->entities = entities;
  return pFiler->filerStatus();
}

// 100 AcDbSymbolTableRecord, 100 AcDbBlockTableRecord, 2 <name>, 340 <layout> (0 for a block
// that is no layout, as the R2000 release writes it), kept groups.
// The entities are written by the drawing writer between BLOCK and ENDBLK.
Acad::ErrorStatus AcDbBlockTableRecord::dxfOutFields(AcDbDxfFiler* pFiler) const {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeString(AcDb::kDxfSubclass, "AcDbBlockTableRecord");
  const char* name = nullptr;
  getName(name);
  pFiler->writeString(AcDb::kDxfSymbolTableName, name);
  pFiler->writeObjectId(AcDb::kDxfHardPointerId, mBlock->layout);
  for (const resbuf* rb = mBlock->kept; rb; rb = rb->rbnext) pFiler->writeResBuf(*rb);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbBlockTableRecord::dxfInFields(AcDbDxfFiler* pFiler) {
  Acad::ErrorStatus es = AcDbSymbolTableRecord::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if (!pFiler->atSubclassData("AcDbBlockTableRecord"))
    return pFiler->setError(Acad::eBadDxfSequence, "AcDbBlockTableRecord subclass marker missing");
  pf::freeResbufChain(mBlock->kept);
  mBlock->kept = nullptr;
  resbuf** tail = &mBlock->kept;
  resbuf rb;
  while ((es = pFiler->readResBuf(&rb)) == Acad::eOk) {
    if (rb.restype == AcDb::kDxfSymbolTableName) {
      es = setName(rb.resval.rstring ? rb.resval.rstring : "");
      if (es != Acad::eOk) return pFiler->setError(es, "bad block name");
      continue;
    }
    if (rb.restype == AcDb::kDxfHardPointerId) {
      AcDbObjectId id;
      if (acdbGetObjectId(id, rb.resval.rlname) == Acad::eOk) mBlock->layout = id;
      continue;
    }
    resbuf one = rb;
    one.rbnext = nullptr;
    *tail = pf::copyResbufChain(&one);
    tail = &(*tail)->rbnext;
  }
  if (es != Acad::eOk && es != Acad::eEndOfObject) return es;
  return pFiler->filerStatus();
}

// ---- AcDbBlockTableRecordIterator ---------------------------------------------------------------------------

AcDbBlockTableRecordIterator::AcDbBlockTableRecordIterator() : mImp(new pf::BlockRecordIteratorImpl) {}
AcDbBlockTableRecordIterator::~AcDbBlockTableRecordIterator() { delete mImp; }
void AcDbBlockTableRecordIterator::start(bool atBeginning, bool skipDeleted) { mImp->start(atBeginning, skipDeleted); }
bool AcDbBlockTableRecordIterator::done() const { return !mImp->valid(); }

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntityId(AcDbObjectId& entityId) const {
  if (!mImp->valid()) return Acad::eIteratorDone;
  entityId = mImp->current();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTableRecordIterator::getEntity(AcDbEntity*& pEntity, AcDb::OpenMode openMode,
                                                          bool openErasedEntity) const {
  Acad::ErrorStatus es = pf::injectedFault("AcDbBlockTableRecordIterator::getEntity");
  if (es != Acad::eOk) return es;
  if (!mImp->valid()) return Acad::eIteratorDone;
  AcDbObject* obj = nullptr;
  es = pf::openObject(obj, mImp->current(), openMode, openErasedEntity);
  if (es != Acad::eOk) return es;
  pEntity = AcDbEntity::cast(obj);
  if (pEntity == nullptr) {
    pf::closeObject(obj);
    return Acad::eNotAnEntity;
  }
  return Acad::eOk;
}

AcDbBlockTableRecord* AcDbBlockTableRecordIterator::blockTableRecord() const { return mImp->block; }
void AcDbBlockTableRecordIterator::step(bool forward, bool skipDeleted) { mImp->step(forward, skipDeleted); }
Acad::ErrorStatus AcDbBlockTableRecordIterator::seek(AcDbObjectId id) {
  return mImp->seek(id) ? Acad::eOk : Acad::eInvalidInput;
}
Acad::ErrorStatus AcDbBlockTableRecordIterator::seek(const AcDbEntity* pEntity) {
  return pEntity ? seek(pEntity->objectId()) : Acad::eNullEntityPointer;
}
