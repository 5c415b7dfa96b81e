// database.cpp - AcDbDatabase: stubs and handles, the default drawing, destruction, the
// root tables, host application services, and the internal services of db/db_services.h.
#include <algorithm>
#include <cstdio>
#include "db_internal.h"
#include "db/editor_sinks.h"
#include "dbapserv.h"
#include "rxevent.h"
#include "db/db_services.h"
#include "pf/dbdebug.h"
#include "pf/faults.h"

namespace pf {

AcDbStub* DatabaseImpl::newStub(const AcDbHandle& handle) {
  AcDbStub* raw = stubs.add(self, handle);
  byHandle.put(static_cast<std::uint32_t>(stubs.size() - 1));
  if (handle.value() >= handseed) handseed = handle.value() + 1;
  return raw;
}

AcDbStub* DatabaseImpl::stubForHandle(const AcDbHandle& handle, bool create) {
  if (handle.isNull()) return nullptr;
  if (AcDbStub* stub = byHandle.find(handle.value())) return stub;
  return create ? newStub(handle) : nullptr;
}

Acad::ErrorStatus DatabaseImpl::adopt(AcDbObject* obj, AcDbStub* stub) {
  ObjectImpl* oi = impl(obj);
  if (oi->stub != nullptr) return Acad::eAlreadyInDb;
  if (stub == nullptr) stub = newStub(AcDbHandle::fromValue(handseed));
  stub->object = obj;
  stub->erased = false;
  oi->stub = stub;
  // A new object stays open for write until its first close.
  oi->write = true;
  oi->isNew = true;
  return Acad::eOk;
}

}  // namespace pf

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbDatabase, AcRxObject)

namespace {

// Builds the block table with model and paper space and the named-object dictionary.
void buildDefaultDrawing(AcDbDatabase* db) {
  pf::DatabaseImpl* di = db->pfImpl();
  AcDbBlockTable* table = new AcDbBlockTable;
  di->adopt(table, nullptr);
  di->blockTable = table->objectId();
  AcDbDictionary* nod = new AcDbDictionary;
  di->adopt(nod, nullptr);
  di->namedObjects = nod->objectId();
  const char* names[] = {ACDB_MODEL_SPACE, ACDB_PAPER_SPACE};
  for (const char* name : names) {
    AcDbBlockTableRecord* rec = new AcDbBlockTableRecord;
    rec->setName(name);
    table->add(rec);
    pf::closeSilently(rec);
  }
  pf::closeSilently(nod);
  pf::closeSilently(table);
}

}  // namespace

AcDbDatabase::AcDbDatabase(bool buildDefault, bool) : mImp(new pf::DatabaseImpl(this)) {
  if (buildDefault) buildDefaultDrawing(this);
  pf::notifyEventReactorsOfDatabase([&](AcRxEventReactor& r) { r.databaseConstructed(this); });
}

AcDbDatabase::~AcDbDatabase() {
  pf::notifyEventReactorsOfDatabase([&](AcRxEventReactor& r) { r.databaseToBeDestroyed(this); });
  AcDbHostApplicationServices* services = acdbHostApplicationServices();
  if (services != nullptr && services->workingDatabase() == this) services->setWorkingDatabase(nullptr);

  // Every object hears goodbye before any is freed, so reactors can still be opened.
  std::vector<AcDbObject*> objects;
  for (AcDbStub* stub : mImp->stubs)
    if (stub->object != nullptr) objects.push_back(stub->object);
  for (AcDbObject* obj : objects) {
    pf::ObjectImpl* oi = pf::impl(obj);
    if (oi->reactors().isEmpty()) continue;  // most objects: nobody to tell
    oi->silent = false;
    pf::notifyReactors(
        obj, [obj](AcDbObject* r) { r->goodbye(obj); }, [obj](AcDbObjectReactor* r) { r->goodbye(obj); });
  }
  mImp->destroying = true;
  for (AcDbObject* obj : objects) delete obj;
  delete mImp;  // retires the stubs: ids of this database read as not valid from now on
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObject* pObj) {
  AcDbObjectId id;
  return addAcDbObject(id, pObj);
}

Acad::ErrorStatus AcDbDatabase::addAcDbObject(AcDbObjectId& objId, AcDbObject* pObj) {
  if (pObj == nullptr) return Acad::eNullObjectPointer;
  Acad::ErrorStatus es = mImp->adopt(pObj, nullptr);
  if (es != Acad::eOk) return es;
  objId = pObj->objectId();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::getSymbolTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode) {
  Acad::ErrorStatus es = pf::injectedFault("AcDbDatabase::getSymbolTable");
  if (es != Acad::eOk) return es;
  if (mImp->blockTable.isNull()) return Acad::eMissingSymbolTable;
  AcDbObject* obj = nullptr;
  es = pf::openObject(obj, mImp->blockTable, mode, false);
  if (es != Acad::eOk) return es;
  pTable = AcDbBlockTable::cast(obj);
  if (pTable == nullptr) {
    pf::closeObject(obj);
    return Acad::eNotThatKindOfClass;
  }
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDatabase::getBlockTable(AcDbSymbolTable*& pTable, AcDb::OpenMode mode) {
  AcDbBlockTable* table = nullptr;
  Acad::ErrorStatus es = getSymbolTable(table, mode);
  if (es == Acad::eOk) pTable = table;
  return es;
}

Acad::ErrorStatus AcDbDatabase::getNamedObjectsDictionary(AcDbDictionary*& pDict, AcDb::OpenMode mode) {
  Acad::ErrorStatus es = pf::injectedFault("AcDbDatabase::getNamedObjectsDictionary");
  if (es != Acad::eOk) return es;
  if (mImp->namedObjects.isNull()) return Acad::eNullObjectId;
  AcDbObject* obj = nullptr;
  es = pf::openObject(obj, mImp->namedObjects, mode, false);
  if (es != Acad::eOk) return es;
  pDict = AcDbDictionary::cast(obj);
  if (pDict == nullptr) {
    pf::closeObject(obj);
    return Acad::eNotThatKindOfClass;
  }
  return Acad::eOk;
}

AcDbObjectId AcDbDatabase::blockTableId() const { return mImp->blockTable; }
AcDbObjectId AcDbDatabase::namedObjectsDictionaryId() const { return mImp->namedObjects; }

Acad::ErrorStatus AcDbDatabase::getAcDbObjectId(AcDbObjectId& retId, bool createIfNotFound,
                                                const AcDbHandle& objHandle, Adesk::UInt32) {
  if (objHandle.isNull()) return Acad::eNullHandle;
  AcDbStub* stub = mImp->stubForHandle(objHandle, createIfNotFound);
  if (stub == nullptr) return Acad::eUnknownHandle;
  retId = AcDbObjectId(stub);
  return Acad::eOk;
}

AcDbHandle AcDbDatabase::handseed() const { return AcDbHandle::fromValue(mImp->handseed); }

Acad::ErrorStatus AcDbDatabase::getFilename(const char*& pOutput) const {
  pOutput = mImp->filename.c_str();
  return Acad::eOk;
}

int AcDbDatabase::approxNumObjects() const { return static_cast<int>(mImp->stubs.size()); }

// ---- Host application services ---------------------------------------------------------------

ACRX_NO_CONS_DEFINE_MEMBERS(AcDbHostApplicationServices, AcRxObject)

AcDbHostApplicationServices::AcDbHostApplicationServices() : mpWorkingDatabase(nullptr) {}
AcDbHostApplicationServices::~AcDbHostApplicationServices() {}
void AcDbHostApplicationServices::setWorkingDatabase(AcDbDatabase* pDatabase) { mpWorkingDatabase = pDatabase; }
const char* AcDbHostApplicationServices::program() { return "cadhost"; }
const char* AcDbHostApplicationServices::product() { return "cadhost"; }
const char* AcDbHostApplicationServices::companyName() { return "zorvik"; }

static AcDbHostApplicationServices gDefaultServices;
AcDbHostApplicationServices* pfHostApplicationServicesObject = &gDefaultServices;

Acad::ErrorStatus acdbSetHostApplicationServices(AcDbHostApplicationServices* pServices) {
  if (pServices == nullptr) return Acad::eNullObjectPointer;
  pfHostApplicationServicesObject = pServices;
  return Acad::eOk;
}

// ---- db/db_services.h ---------------------------------------------------------------------------

namespace pf {

AcDbObjectId idForHandle(AcDbDatabase* db, const AcDbHandle& handle, bool create) {
  if (db == nullptr) return AcDbObjectId::kNull;
  return AcDbObjectId(db->pfImpl()->stubForHandle(handle, create));
}

Acad::ErrorStatus addObjectWithHandle(AcDbDatabase* db, AcDbObject* obj, const AcDbHandle& handle, AcDbObjectId& id) {
  if (db == nullptr || obj == nullptr) return Acad::eNullObjectPointer;
  if (handle.isNull()) return Acad::eNullHandle;
  if (impl(obj)->stub != nullptr) return Acad::eAlreadyInDb;
  DatabaseImpl* di = db->pfImpl();
  AcDbStub* stub = di->stubForHandle(handle, true);
  if (stub->object != nullptr) return Acad::eHandleInUse;
  Acad::ErrorStatus es = di->adopt(obj, stub);
  if (es == Acad::eOk) id = obj->objectId();
  return es;
}

void raiseHandseed(AcDbDatabase* db, const AcDbHandle& seed) {
  if (db != nullptr && seed.value() > db->pfImpl()->handseed) db->pfImpl()->handseed = seed.value();
}

std::vector<AcDbObjectId> allObjectIds(const AcDbDatabase* db) {
  std::vector<AcDbStub*> stubs;
  if (db == nullptr) return {};
  for (AcDbStub* s : db->pfImpl()->stubs)
    if (s->object != nullptr) stubs.push_back(s);
  std::sort(stubs.begin(), stubs.end(), [](AcDbStub* a, AcDbStub* b) { return a->handle < b->handle; });
  return std::vector<AcDbObjectId>(stubs.begin(), stubs.end());
}

std::vector<AcDbObjectId> danglingIds(const AcDbDatabase* db) {
  std::vector<AcDbObjectId> out;
  if (db == nullptr) return out;
  for (AcDbStub* s : db->pfImpl()->stubs)
    if (s->object == nullptr) out.push_back(AcDbObjectId(s));
  std::sort(out.begin(), out.end());
  return out;
}

void setBlockTableId(AcDbDatabase* db, AcDbObjectId id) { db->pfImpl()->blockTable = id; }
void setNamedObjectsDictionaryId(AcDbDatabase* db, AcDbObjectId id) { db->pfImpl()->namedObjects = id; }
void setFilename(AcDbDatabase* db, const char* fileName) { db->pfImpl()->filename = fileName ? fileName : ""; }

// ---- pf/dbdebug.h ---------------------------------------------------------------------------------

std::vector<OpenObjectInfo> openObjects(const AcDbDatabase* db) {
  std::vector<OpenObjectInfo> out;
  for (const AcDbObjectId& id : allObjectIds(db)) {
    AcDbObject* obj = peekObject(id);
    ObjectImpl* oi = impl(obj);
    if (!oi->isOpen()) continue;
    OpenObjectInfo info;
    info.id = id;
    info.handle = id.handle();
    info.className = obj->isA() ? obj->isA()->name() : "?";
    info.readers = oi->readers;
    info.forWrite = oi->write;
    info.forNotify = oi->notify || oi->hostNotify > 0;
    out.push_back(info);
  }
  return out;
}

std::string openObjectsReport(const AcDbDatabase* db) {
  std::string report;
  for (const OpenObjectInfo& info : openObjects(db)) {
    char handle[20];
    info.handle.getIntoAsciiBuffer(handle);
    char line[200];
    std::snprintf(line, sizeof line, "%s %s read=%d%s%s\n", handle, info.className.c_str(), info.readers,
                  info.forWrite ? " write" : "", info.forNotify ? " notify" : "");
    report += line;
  }
  return report;
}

int objectCount(const AcDbDatabase* db) { return static_cast<int>(allObjectIds(db).size()); }

}  // namespace pf
