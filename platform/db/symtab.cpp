// symtab.cpp - symbol tables, their records and iterators, and the block table.
#include <cstring>
#include <strings.h>
#include <string>
#include "symtab_internal.h"
#include "acutmem.h"
#include "pf/faults.h"
#include "db/db_services.h"

using pf::impl;

namespace pf {

void appendEntityInternal(AcDbBlockTableRecord* block, AcDbObjectId entityId) {
  block->pfBlock()->entities.push_back(entityId);
  AcDbObject* ent = peekObject(entityId);
  if (ent != nullptr) impl(ent)->owner = block->objectId();
}

Acad::ErrorStatus appendToBlock(AcDbBlockTableRecord* block, AcDbObjectId entityId) {
  if (block == nullptr) return Acad::eNullObjectPointer;
  if (!block->isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbObject* obj = peekObject(entityId);
  if (obj == nullptr) return Acad::ePermanentlyErased;
  if (AcDbEntity::cast(obj) == nullptr) return Acad::eNotAnEntity;
  if (obj->database() != block->database()) return Acad::eWrongDatabase;
  for (const AcDbObjectId& id : block->pfBlock()->entities)
    if (id == entityId) return Acad::eDuplicateKey;
  block->assertWriteEnabled();
  appendEntityInternal(block, entityId);
  return Acad::eOk;
}

Acad::ErrorStatus addToSymbolTable(AcDbSymbolTable* table, AcDbObjectId recordId) {
  if (table == nullptr) return Acad::eNullObjectPointer;
  if (!table->isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbObject* obj = peekObject(recordId);
  if (obj == nullptr) return Acad::ePermanentlyErased;
  if (AcDbSymbolTableRecord::cast(obj) == nullptr) return Acad::eWrongObjectType;
  if (obj->database() != table->database()) return Acad::eWrongDatabase;
  table->assertWriteEnabled();
  table->pfTable()->records.push_back(recordId);
  impl(obj)->owner = table->objectId();
  return Acad::eOk;
}

static const char* recordName(AcDbObjectId id) {
  AcDbSymbolTableRecord* rec = AcDbSymbolTableRecord::cast(peekObject(id));
  const char* name = nullptr;
  if (rec == nullptr || rec->getName(name) != Acad::eOk) return nullptr;
  return name;
}

}  // namespace pf

// ---- AcDbSymbolTable ----------------------------------------------------------------------------------

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbSymbolTable, AcDbObject)

AcDbSymbolTable::AcDbSymbolTable() : mTable(new pf::SymbolTableImpl) {}
AcDbSymbolTable::AcDbSymbolTable(AcDbSystemInternals* p) : AcDbObject(p), mTable(new pf::SymbolTableImpl) {}
AcDbSymbolTable::~AcDbSymbolTable() { delete mTable; }

Acad::ErrorStatus AcDbSymbolTable::getAt(const char* entryName, AcDbObjectId& recordId, bool getErasedRecord) const {
  assertReadEnabled();
  if (entryName == nullptr) return Acad::eInvalidInput;
  // Erased records are passed over unless asked for; a live record of the name wins.
  AcDbObjectId erasedMatch;
  for (const AcDbObjectId& id : mTable->records) {
    const char* name = pf::recordName(id);
    if (name == nullptr || strcasecmp(name, entryName) != 0) continue;
    if (!id.isErased()) {
      recordId = id;
      return Acad::eOk;
    }
    if (erasedMatch.isNull()) erasedMatch = id;
  }
  if (getErasedRecord && !erasedMatch.isNull()) {
    recordId = erasedMatch;
    return Acad::eOk;
  }
  return Acad::eKeyNotFound;
}

Acad::ErrorStatus AcDbSymbolTable::getAt(const char* entryName, AcDbSymbolTableRecord*& pRec, AcDb::OpenMode openMode,
                                         bool openErasedRec) const {
  AcDbObjectId id;
  Acad::ErrorStatus es = getAt(entryName, id, true);
  if (es != Acad::eOk) return es;
  if (id.isErased() && !openErasedRec) return Acad::eWasErased;
  AcDbObject* obj = nullptr;
  es = pf::openObject(obj, id, openMode, openErasedRec);
  if (es != Acad::eOk) return es;
  pRec = AcDbSymbolTableRecord::cast(obj);
  return Acad::eOk;
}

bool AcDbSymbolTable::has(const char* name) const {
  AcDbObjectId id;
  return getAt(name, id, false) == Acad::eOk;
}

bool AcDbSymbolTable::has(AcDbObjectId id) const {
  assertReadEnabled();
  for (const AcDbObjectId& r : mTable->records)
    if (r == id) return !id.isErased();
  return false;
}

Acad::ErrorStatus AcDbSymbolTable::newIterator(AcDbSymbolTableIterator*& pIterator, bool atBeginning, bool skipDeleted) const {
  assertReadEnabled();
  AcDbSymbolTableIterator* it = new AcDbSymbolTableIterator;
  it->mImp->ids = mTable->records;
  it->mImp->start(atBeginning, skipDeleted);
  pIterator = it;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::add(AcDbSymbolTableRecord* pRecord) {
  AcDbObjectId id;
  return add(id, pRecord);
}

// Adds a record (new, or already in this database and not owned elsewhere) under its name.
Acad::ErrorStatus AcDbSymbolTable::add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord) {
  if (pRecord == nullptr) return Acad::eNullObjectPointer;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbDatabase* db = database();
  if (db == nullptr) return Acad::eNoDatabase;
  const char* name = nullptr;
  pRecord->getName(name);
  if (name == nullptr || *name == '\0') return Acad::eInvalidSymbolTableName;
  if (has(name)) return Acad::eDuplicateRecordName;
  if (pRecord->database() != nullptr) {
    if (pRecord->database() != db) return Acad::eWrongDatabase;
    // A record read from a file may already name this table as its owner.
    if (!pRecord->ownerId().isNull() && pRecord->ownerId() != objectId()) return Acad::eAlreadyInDb;
    if (has(pRecord->objectId())) return Acad::eAlreadyInDb;
  } else {
    Acad::ErrorStatus es = db->addAcDbObject(pRecord);
    if (es != Acad::eOk) return es;
  }
  assertWriteEnabled();
  mTable->records.push_back(pRecord->objectId());
  impl(pRecord)->owner = objectId();
  recordId = pRecord->objectId();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTable::dwgOutFields(AcDbDwgFiler* pFiler) const {
  Acad::ErrorStatus es = AcDbObject::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeInt32(static_cast<Adesk::Int32>(mTable->records.size()));
  for (const AcDbObjectId& id : mTable->records) pFiler->writeSoftOwnershipId(id);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbSymbolTable::dwgInFields(AcDbDwgFiler* pFiler) {
  Acad::ErrorStatus es = AcDbObject::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  Adesk::Int32 n = 0;
  if ((es = pFiler->readInt32(&n)) != Acad::eOk) return es;
  if (n < 0 || n > 10000000) return Acad::eFilerError;
  std::vector<AcDbObjectId> records;
  for (Adesk::Int32 i = 0; i < n; ++i) {
    AcDbSoftOwnershipId id;
    if ((es = pFiler->readSoftOwnershipId(&id)) != Acad::eOk) return es;
    records.push_back(id);
  }
  mTable->records = records;
  return pFiler->filerStatus();
}

// 100 AcDbSymbolTable, 70 <count>; further groups of the table head are kept. A table read from
// a file keeps the file's 70 while it holds as many records as the file gave it.
Acad::ErrorStatus AcDbSymbolTable::dxfOutFields(AcDbDxfFiler* pFiler) const {
  Acad::ErrorStatus es = AcDbObject::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeString(AcDb::kDxfSubclass, "AcDbSymbolTable");
  Adesk::Int16 live = 0;
  for (const AcDbObjectId& id : mTable->records)
    if (!id.isEffectivelyErased() && pf::peekObject(id) != nullptr) ++live;
  if (mTable->countRead >= 0 && static_cast<std::size_t>(live) == mTable->recordsRead)
    pFiler->writeInt16(70, static_cast<Adesk::Int16>(mTable->countRead));
  else
    pFiler->writeInt16(70, live);
  for (const resbuf* rb = mTable->kept; rb; rb = rb->rbnext) pFiler->writeResBuf(*rb);
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbSymbolTable::dxfInFields(AcDbDxfFiler* pFiler) {
  Acad::ErrorStatus es = AcDbObject::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if (!pFiler->atSubclassData("AcDbSymbolTable"))
    return pFiler->setError(Acad::eBadDxfSequence, "AcDbSymbolTable subclass marker missing");
  pf::freeResbufChain(mTable->kept);
  mTable->kept = nullptr;
  mTable->countRead = -1;
  resbuf** tail = &mTable->kept;
  resbuf rb;
  while ((es = pFiler->readResBuf(&rb)) == Acad::eOk) {
    if (rb.restype == 70) {  // written back as read while the records are those of the file
      mTable->countRead = rb.resval.rint;
      continue;
    }
    if (rb.restype == AcDb::kDxfSubclass) {
      pFiler->pushBackItem();
      break;
    }
    resbuf one = rb;
    one.rbnext = nullptr;
    *tail = pf::copyResbufChain(&one);
    tail = &(*tail)->rbnext;
  }
  if (es != Acad::eOk && es != Acad::eEndOfObject) return es;
  return pFiler->filerStatus();
}

// ---- AcDbSymbolTableRecord ----------------------------------------------------------------------------

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbSymbolTableRecord, AcDbObject)

AcDbSymbolTableRecord::AcDbSymbolTableRecord() : mName(nullptr) {}
AcDbSymbolTableRecord::AcDbSymbolTableRecord(AcDbSystemInternals* p) : AcDbObject(p), mName(nullptr) {}
AcDbSymbolTableRecord::~AcDbSymbolTableRecord() { acutDelString(mName); }

Acad::ErrorStatus AcDbSymbolTableRecord::getName(char*& pName) const {
  assertReadEnabled();
  return acutNewString(mName ? mName : "", pName);
}

Acad::ErrorStatus AcDbSymbolTableRecord::getName(const char*& pName) const {
  pName = mName ? mName : "";
  return Acad::eOk;
}

Acad::ErrorStatus AcDbSymbolTableRecord::setName(const char* pName) {
  if (pName == nullptr || *pName == '\0') return Acad::eInvalidSymbolTableName;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  // Two live records of one table may not share a name.
  AcDbSymbolTable* table = AcDbSymbolTable::cast(pf::peekObject(ownerId()));
  if (table != nullptr) {
    for (const AcDbObjectId& id : table->pfTable()->records) {
      if (id == objectId() || id.isErased()) continue;
      const char* other = pf::recordName(id);
      if (other && strcasecmp(other, pName) == 0) return Acad::eDuplicateRecordName;
    }
  }
  assertWriteEnabled();
  return acutUpdString(pName, mName);
}

bool AcDbSymbolTableRecord::isDependent() const { return mName != nullptr && std::strchr(mName, '|') != nullptr; }
bool AcDbSymbolTableRecord::isResolved() const { return true; }

Acad::ErrorStatus AcDbSymbolTableRecord::dwgOutFields(AcDbDwgFiler* pFiler) const {
  Acad::ErrorStatus es = AcDbObject::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeString(mName ? mName : "");
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbSymbolTableRecord::dwgInFields(AcDbDwgFiler* pFiler) {
  Acad::ErrorStatus es = AcDbObject::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  char* name = nullptr;
  if ((es = pFiler->readString(&name)) != Acad::eOk) return es;
  acutDelString(mName);
  mName = name;
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbSymbolTableRecord::dxfOutFields(AcDbDxfFiler* pFiler) const {
  Acad::ErrorStatus es = AcDbObject::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  return pFiler->writeString(AcDb::kDxfSubclass, "AcDbSymbolTableRecord");
}

Acad::ErrorStatus AcDbSymbolTableRecord::dxfInFields(AcDbDxfFiler* pFiler) {
  Acad::ErrorStatus es = AcDbObject::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if (!pFiler->atSubclassData("AcDbSymbolTableRecord"))
    return pFiler->setError(Acad::eBadDxfSequence, "AcDbSymbolTableRecord subclass marker missing");
  return pFiler->filerStatus();
}

// ---- Iterators ---------------------------------------------------------------------------------------

AcDbSymbolTableIterator::AcDbSymbolTableIterator() : mImp(new pf::SymbolTableIteratorImpl) {}
AcDbSymbolTableIterator::~AcDbSymbolTableIterator() { delete mImp; }
void AcDbSymbolTableIterator::start(bool atBeginning, bool skipDeleted) { mImp->start(atBeginning, skipDeleted); }
bool AcDbSymbolTableIterator::done() const { return !mImp->valid(); }
Acad::ErrorStatus AcDbSymbolTableIterator::getRecordId(AcDbObjectId& id) const {
  if (!mImp->valid()) return Acad::eIteratorDone;
  id = mImp->current();
  return Acad::eOk;
}
Acad::ErrorStatus AcDbSymbolTableIterator::getRecord(AcDbSymbolTableRecord*& pRecord, AcDb::OpenMode openMode,
                                                     bool openErasedRec) const {
  if (!mImp->valid()) return Acad::eIteratorDone;
  AcDbObject* obj = nullptr;
  Acad::ErrorStatus es = pf::openObject(obj, mImp->current(), openMode, openErasedRec);
  if (es != Acad::eOk) return es;
  pRecord = AcDbSymbolTableRecord::cast(obj);
  return Acad::eOk;
}
void AcDbSymbolTableIterator::step(bool forward, bool skipDeleted) { mImp->step(forward, skipDeleted); }
Acad::ErrorStatus AcDbSymbolTableIterator::seek(AcDbObjectId id) {
  return mImp->seek(id) ? Acad::eOk : Acad::eInvalidInput;
}
Acad::ErrorStatus AcDbSymbolTableIterator::seek(const AcDbSymbolTableRecord* pRecord) {
  return pRecord ? seek(pRecord->objectId()) : Acad::eNullObjectPointer;
}

AcDbBlockTableIterator::AcDbBlockTableIterator() {}
Acad::ErrorStatus AcDbBlockTableIterator::getRecord(AcDbBlockTableRecord*& pRecord, AcDb::OpenMode openMode,
                                                    bool openErasedRec) const {
  AcDbSymbolTableRecord* rec = nullptr;
  Acad::ErrorStatus es = AcDbSymbolTableIterator::getRecord(rec, openMode, openErasedRec);
  if (es != Acad::eOk) return es;
  pRecord = AcDbBlockTableRecord::cast(rec);
  return Acad::eOk;
}

// ---- AcDbBlockTable -------------------------------------------------------------------------------------

ACRX_DXF_DEFINE_MEMBERS(AcDbBlockTable, AcDbSymbolTable, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, TABLE,
                        ObjectDBX Classes)

AcDbBlockTable::AcDbBlockTable() {}
AcDbBlockTable::AcDbBlockTable(AcDbSystemInternals* p) : AcDbSymbolTable(p) {}
AcDbBlockTable::~AcDbBlockTable() {}

Acad::ErrorStatus AcDbBlockTable::getAt(const char* entryName, AcDbBlockTableRecord*& pRec, AcDb::OpenMode openMode,
                                        bool openErasedRec) const {
  Acad::ErrorStatus es = pf::injectedFault("AcDbBlockTable::getAt");
  if (es != Acad::eOk) return es;
  AcDbSymbolTableRecord* rec = nullptr;
  es = AcDbSymbolTable::getAt(entryName, rec, openMode, openErasedRec);
  if (es != Acad::eOk) return es;
  pRec = AcDbBlockTableRecord::cast(rec);
  if (pRec == nullptr) {
    pf::closeObject(rec);
    return Acad::eNotThatKindOfClass;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTable::getAt(const char* entryName, AcDbObjectId& recordId, bool getErasedRec) const {
  Acad::ErrorStatus es = pf::injectedFault("AcDbBlockTable::getAt");
  if (es != Acad::eOk) return es;
  return AcDbSymbolTable::getAt(entryName, recordId, getErasedRec);
}

bool AcDbBlockTable::has(const char* name) const { return AcDbSymbolTable::has(name); }
bool AcDbBlockTable::has(AcDbObjectId id) const { return AcDbSymbolTable::has(id); }

Acad::ErrorStatus AcDbBlockTable::newIterator(AcDbBlockTableIterator*& pIterator, bool atBeginning, bool skipDeleted) const {
  assertReadEnabled();
  AcDbBlockTableIterator* it = new AcDbBlockTableIterator;
  it->mImp->ids = pfTable()->records;
  it->mImp->start(atBeginning, skipDeleted);
  pIterator = it;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbBlockTable::add(AcDbBlockTableRecord* pRecord) { return AcDbSymbolTable::add(pRecord); }
Acad::ErrorStatus AcDbBlockTable::add(AcDbObjectId& recordId, AcDbBlockTableRecord* pRecord) {
  return AcDbSymbolTable::add(recordId, pRecord);
}

Acad::ErrorStatus AcDbBlockTable::dxfOutFields(AcDbDxfFiler* pFiler) const { return AcDbSymbolTable::dxfOutFields(pFiler); }
Acad::ErrorStatus AcDbBlockTable::dxfInFields(AcDbDxfFiler* pFiler) { return AcDbSymbolTable::dxfInFields(pFiler); }

