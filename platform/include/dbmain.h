// dbmain.h - the drawing database: AcDbDatabase, AcDbObject, AcDbEntity, object reactors,
// the object iterator, and the functions that open objects by id.
#pragma once
#include <cstddef>
#include "adesk.h"
#include "acadstrc.h"
#include "acdb.h"
#include "rxobject.h"
#include "rxboiler.h"
#include "dbboiler.h"
#include "dbid.h"
#include "dbidar.h"
#include "dbptrar.h"
#include "dbintar.h"
#include "dbhandle.h"
#include "dbfiler.h"
#include "drawable.h"
#include "ads.h"
#include "gepnt3d.h"
#include "gevec3d.h"
#include "gemat3d.h"

class AcDbObject;
class AcDbEntity;
class AcDbDictionary;
class AcDbSymbolTable;
class AcDbBlockTable;
class AcDbBlockTableRecord;
class AcDbIdMapping;
class AcDbObjectReactor;
class AcDbExtents;

namespace pf {
class DatabaseImpl;
class ObjectImpl;
class ObjectIteratorImpl;
}  // namespace pf

// ---------------------------------------------------------------------------------------------
// AcDbDatabase: one drawing's objects, with its block table and named-object dictionary.
class AcDbDatabase : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcDbDatabase);

  // With buildDefaultDrawing the database starts with the block table holding
  // "*Model_Space" and "*Paper_Space" and the named-object dictionary; without it, it starts
  // empty (a drawing is about to be read into it).
  AcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
  // Sends goodbye to every object, then frees them all.
  virtual ~AcDbDatabase();

  // Makes the new object (not yet in any database) database-resident; it stays open for write.
  Acad::ErrorStatus addAcDbObject(AcDbObject* pObj);
  Acad::ErrorStatus addAcDbObject(AcDbObjectId& objId, AcDbObject* pObj);

  Acad::ErrorStatus getBlockTable(AcDbSymbolTable*& pTable, AcDb::OpenMode mode);
  Acad::ErrorStatus getBlockTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode) {
    return getSymbolTable(pTable, mode);
  }
  Acad::ErrorStatus getSymbolTable(AcDbBlockTable*& pTable, AcDb::OpenMode mode);
  Acad::ErrorStatus getNamedObjectsDictionary(AcDbDictionary*& pDict, AcDb::OpenMode mode);

  AcDbObjectId blockTableId() const;
  AcDbObjectId namedObjectsDictionaryId() const;

  // The id of the object with the handle; with createIfNotFound an id is reserved for an
  // object that does not exist yet.
  Acad::ErrorStatus getAcDbObjectId(AcDbObjectId& retId, bool createIfNotFound,
                                    const AcDbHandle& objHandle, Adesk::UInt32 xRefId = 0);

  // Clones the objects (and what they own) into their owner `owner` in this database.
  Acad::ErrorStatus deepCloneObjects(AcDbObjectIdArray& objectIds, AcDbObjectId& owner,
                                     AcDbIdMapping& idMap, bool deferXlation = false);
  // Sends abortDeepClone to the editor reactors.
  void abortDeepClone(AcDbIdMapping& idMap);

  // Drawing files (ASCII DXF).
  Acad::ErrorStatus dxfIn(const char* dxfFilename, const char* logFilename = NULL);
  Acad::ErrorStatus dxfOut(const char* fileName, const int precision = 16,
                           const bool saveThumbnailImage = false);

  // The next handle the database will give out.
  AcDbHandle handseed() const;
  Acad::ErrorStatus getFilename(const char*& pOutput) const;
  int approxNumObjects() const;

  // Platform internals (db/db_services.h).
  pf::DatabaseImpl* pfImpl() const { return mImp; }

private:
  AcDbDatabase(const AcDbDatabase&) = delete;
  AcDbDatabase& operator=(const AcDbDatabase&) = delete;
  pf::DatabaseImpl* mImp;
};

// ---------------------------------------------------------------------------------------------
// AcDbObject: the base of everything stored in a database.
class AcDbObject : public AcGiDrawable {
public:
  ACDB_DECLARE_MEMBERS(AcDbObject);

  virtual ~AcDbObject();

  void* operator new(size_t size);
  void operator delete(void* p);

  // Identity and ownership.
  AcDbObjectId objectId() const;
  AcDbObjectId ownerId() const;
  virtual Acad::ErrorStatus setOwnerId(AcDbObjectId objId);
  void getAcDbHandle(AcDbHandle& handle) const;
  AcDbDatabase* database() const;
  Acad::ErrorStatus createExtensionDictionary();
  AcDbObjectId extensionDictionary() const;
  Acad::ErrorStatus releaseExtensionDictionary();

  // Open state.
  Acad::ErrorStatus close();
  Acad::ErrorStatus cancel();
  Acad::ErrorStatus upgradeOpen();
  Acad::ErrorStatus downgradeOpen();
  Acad::ErrorStatus upgradeFromNotify(Adesk::Boolean& wasWritable);
  Acad::ErrorStatus downgradeToNotify(Adesk::Boolean wasWritable);
  Acad::ErrorStatus erase(Adesk::Boolean erasing = true);

  // A method that reads the object calls this first; on a closed object it ends the host.
  void assertReadEnabled() const;
  // A method that changes the object calls this first; on an object not open for write it
  // ends the host. The first call of an opening sends openedForModify (not for a new object)
  // and arranges modified at close.
  void assertWriteEnabled(Adesk::Boolean autoUndo = true, Adesk::Boolean recordModified = true);
  void assertNotifyEnabled() const;

  Adesk::Boolean isErased() const;
  Adesk::Boolean isReadEnabled() const;
  Adesk::Boolean isWriteEnabled() const;
  Adesk::Boolean isNotifyEnabled() const;
  Adesk::Boolean isModified() const;
  Adesk::Boolean isModifiedXData() const;
  Adesk::Boolean isModifiedGraphics() const;
  Adesk::Boolean isNewObject() const;
  Adesk::Boolean isNotifying() const;
  Adesk::Boolean isUndoing() const;
  Adesk::Boolean isCancelling() const;
  Adesk::Boolean isReallyClosing() const;
  Adesk::Boolean isTransactionResident() const;
  Adesk::Boolean isAProxy() const;

  // Filing.
  Acad::ErrorStatus dwgIn(AcDbDwgFiler* pFiler);
  Acad::ErrorStatus dwgOut(AcDbDwgFiler* pFiler) const;
  Acad::ErrorStatus dxfIn(AcDbDxfFiler* pFiler);
  Acad::ErrorStatus dxfOut(AcDbDxfFiler* pFiler) const;
  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;
  virtual AcDb::DuplicateRecordCloning mergeStyle() const;

  // Extended data: a resbuf list of (1001 application, data...) groups. xData answers a copy
  // the caller frees with acutRelRb.
  virtual resbuf* xData(const char* regappName = NULL) const;
  virtual Acad::ErrorStatus setXData(const resbuf* xdata);

  // Cloning.
  virtual Acad::ErrorStatus deepClone(AcDbObject* pOwnerObject, AcDbObject*& pClonedObject,
                                      AcDbIdMapping& idMap, Adesk::Boolean isPrimary = true) const;
  virtual Acad::ErrorStatus wblockClone(AcRxObject* pOwnerObject, AcDbObject*& pClonedObject,
                                        AcDbIdMapping& idMap, Adesk::Boolean isPrimary = true) const;
  void setAcDbObjectIdsInFlux();
  Adesk::Boolean isAcDbObjectIdsInFlux() const;

  // Reactors. The list holds transient reactors (AcDbObjectReactor*) and persistent ones
  // (tell them apart with acdbIsPersistentReactor).
  void addReactor(AcDbObjectReactor* newObj) const;
  void removeReactor(AcDbObjectReactor* newObj) const;
  virtual void addPersistentReactor(AcDbObjectId objId);
  virtual Acad::ErrorStatus removePersistentReactor(AcDbObjectId objId);
  bool hasPersistentReactor(AcDbObjectId objId) const;
  AcDbVoidPtrArray* reactors();

  // Notifications this object receives as a persistent reactor of another object.
  virtual void cancelled(const AcDbObject* dbObj);
  virtual void copied(const AcDbObject* dbObj, const AcDbObject* newObj);
  virtual void erased(const AcDbObject* dbObj, Adesk::Boolean pErasing = true);
  virtual void goodbye(const AcDbObject* dbObj);
  virtual void openedForModify(const AcDbObject* dbObj);
  virtual void modified(const AcDbObject* dbObj);
  virtual void subObjModified(const AcDbObject* dbObj, const AcDbObject* subObj);
  virtual void modifyUndone(const AcDbObject* dbObj);
  virtual void modifiedXData(const AcDbObject* dbObj);
  virtual void unappended(const AcDbObject* dbObj);
  virtual void reappended(const AcDbObject* dbObj);
  virtual void objectClosed(const AcDbObjectId objId);
  virtual void modifiedGraphics(const AcDbEntity* dbEnt);

  // AcGiDrawable.
  virtual Adesk::UInt32 setAttributes(AcGiDrawableTraits* pTraits);
  virtual Adesk::Boolean worldDraw(AcGiWorldDraw* pWd);
  virtual void viewportDraw(AcGiViewportDraw* pVd);
  virtual Adesk::Boolean isPersistent() const;
  virtual AcDbObjectId id() const;

  // Platform internals.
  pf::ObjectImpl* pfImpl() const { return mImp; }

protected:
  AcDbObject();

  virtual Acad::ErrorStatus subOpen(AcDb::OpenMode mode);
  virtual Acad::ErrorStatus subClose();
  virtual Acad::ErrorStatus subCancel();
  virtual Acad::ErrorStatus subErase(Adesk::Boolean erasing);

private:
  friend class pf::ObjectImpl;
  friend class pf::DatabaseImpl;
  AcDbObject(const AcDbObject&) = delete;
  AcDbObject& operator=(const AcDbObject&) = delete;
  void* operator new[](size_t size);
  void operator delete[](void* p);

  pf::ObjectImpl* mImp;
};

// ---------------------------------------------------------------------------------------------
// Transient reactors: ordinary C++ objects attached to an object for the session.
class AcDbObjectReactor : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcDbObjectReactor);

  virtual void cancelled(const AcDbObject* dbObj);
  virtual void copied(const AcDbObject* dbObj, const AcDbObject* newObj);
  virtual void erased(const AcDbObject* dbObj, Adesk::Boolean pErasing = true);
  virtual void goodbye(const AcDbObject* dbObj);
  virtual void openedForModify(const AcDbObject* dbObj);
  virtual void modified(const AcDbObject* dbObj);
  virtual void subObjModified(const AcDbObject* dbObj, const AcDbObject* subObj);
  virtual void modifyUndone(const AcDbObject* dbObj);
  virtual void modifiedXData(const AcDbObject* dbObj);
  virtual void unappended(const AcDbObject* dbObj);
  virtual void reappended(const AcDbObject* dbObj);
  virtual void objectClosed(const AcDbObjectId objId);

protected:
  AcDbObjectReactor();
};

class AcDbEntityReactor : public AcDbObjectReactor {
public:
  ACRX_DECLARE_MEMBERS(AcDbEntityReactor);
  virtual void modifiedGraphics(const AcDbEntity* dbEnt);

protected:
  AcDbEntityReactor();
};

// ---------------------------------------------------------------------------------------------
// An axis-aligned box; empty until a point is added.
class AcDbExtents {
public:
  AcDbExtents();
  AcDbExtents(const AcGePoint3d& min, const AcGePoint3d& max);
  AcGePoint3d minPoint() const { return mMin; }
  AcGePoint3d maxPoint() const { return mMax; }
  Acad::ErrorStatus set(const AcGePoint3d& min, const AcGePoint3d& max);
  void addPoint(const AcGePoint3d& pt);
  void addExt(const AcDbExtents& src);
  void expandBy(const AcGeVector3d& vec);
  void transformBy(const AcGeMatrix3d& mat);
  bool isEmpty() const { return mEmpty; }

private:
  AcGePoint3d mMin;
  AcGePoint3d mMax;
  bool mEmpty;
};

// ---------------------------------------------------------------------------------------------
// AcDbEntity: an object with graphics, owned by a block table record.
class AcDbEntity : public AcDbObject {
public:
  ACDB_DECLARE_MEMBERS(AcDbEntity);
  virtual ~AcDbEntity();

  AcDbObjectId blockId() const;

  // Common properties. Layer and linetype are kept by name (the layer and linetype tables are
  // kept as records by the drawing reader); layer() and linetype() answer copies the caller
  // frees with acutDelString.
  Adesk::UInt16 colorIndex() const;
  virtual Acad::ErrorStatus setColorIndex(Adesk::UInt16 color, Adesk::Boolean doSubents = true);
  char* layer() const;
  AcDbObjectId layerId() const;
  virtual Acad::ErrorStatus setLayer(const char* newVal, Adesk::Boolean doSubents = true);
  virtual Acad::ErrorStatus setLayer(AcDbObjectId newVal, Adesk::Boolean doSubents = true);
  char* linetype() const;
  AcDbObjectId linetypeId() const;
  virtual Acad::ErrorStatus setLinetype(const char* newVal, Adesk::Boolean doSubents = true);
  virtual Acad::ErrorStatus setLinetype(AcDbObjectId newVal, Adesk::Boolean doSubents = true);
  double linetypeScale() const;
  virtual Acad::ErrorStatus setLinetypeScale(double newval, Adesk::Boolean doSubents = true);
  AcDb::Visibility visibility() const;
  virtual Acad::ErrorStatus setVisibility(AcDb::Visibility newVal, Adesk::Boolean doSubents = true);
  AcDb::LineWeight lineWeight() const;
  virtual Acad::ErrorStatus setLineWeight(AcDb::LineWeight newVal, Adesk::Boolean doSubents = true);
  Acad::ErrorStatus setPropertiesFrom(const AcDbEntity* pEntity, Adesk::Boolean doSubents = true);
  void setDatabaseDefaults();
  void setDatabaseDefaults(AcDbDatabase* pDb);
  virtual void subSetDatabaseDefaults(AcDbDatabase* pDb);

  // Geometry.
  virtual Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform);
  virtual Acad::ErrorStatus getTransformedCopy(const AcGeMatrix3d& xform, AcDbEntity*& pEnt) const;
  virtual Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const;
  virtual void list() const;

  // Arranges modifiedGraphics (and modified) at close.
  void recordGraphicsModified(Adesk::Boolean setModified = true);

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

protected:
  AcDbEntity();
};

// ---------------------------------------------------------------------------------------------
// AcDbObjectIterator: walks a list of entities (the attributes of a block reference).
// The caller deletes it. step(backwards = false) moves forward.
class AcDbObjectIterator : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcDbObjectIterator);
  virtual ~AcDbObjectIterator();

  bool done() const;
  void start(bool atEnd = false);
  void step(bool backwards = false, bool skipDeleted = true);
  void setPosition(AcDbEntity* pEnt);
  void setPosition(AcDbObjectId pObj);
  AcDbObjectId objectId();
  // The entity at the position if it is open at the moment, else NULL (open it by objectId()).
  AcDbEntity* entity();

private:
  friend class pf::ObjectIteratorImpl;
  AcDbObjectIterator();
  pf::ObjectIteratorImpl* mImp;
};

// ---------------------------------------------------------------------------------------------
// Opening objects by id.
Acad::ErrorStatus acdbOpenAcDbObject(AcDbObject*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErasedObject = false);
Acad::ErrorStatus acdbOpenAcDbEntity(AcDbEntity*& pEnt, AcDbObjectId id, AcDb::OpenMode mode,
                                     bool openErasedEntity = false);

// Opens the object and checks its class: an object of another class is closed again and the
// call answers eNotThatKindOfClass with pObj NULL. A failed open leaves pObj untouched.
template <class T_OBJECT>
inline Acad::ErrorStatus acdbOpenObject(T_OBJECT*& pObj, AcDbObjectId id, AcDb::OpenMode mode,
                                        bool openErased = false) {
  AcDbObject* pObject = NULL;
  Acad::ErrorStatus es = acdbOpenAcDbObject(pObject, id, mode, openErased);
  if (es != Acad::eOk) return es;
  pObj = T_OBJECT::cast(pObject);
  if (pObj == NULL) {
    if (pObject->close() != Acad::eOk) acrx_abort("Failed AcDbObject::close()");
    es = Acad::eNotThatKindOfClass;
  }
  return es;
}

bool acdbIsPersistentReactor(void* pSomething);
AcDbObjectId acdbPersistentReactorObjectId(void* pSomething);

Acad::ErrorStatus acdbGetObjectId(AcDbObjectId& objId, const ads_name objName);
Acad::ErrorStatus acdbGetAdsName(ads_name& objName, AcDbObjectId objId);
