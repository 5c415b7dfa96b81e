// dbsymtb.h - symbol tables and their records; the block table, block table records and
// the iterators over them.
//
// Only the block table is modelled as a table of objects; the drawing reader keeps the other
// tables as records of their own.
#pragma once
#include "dbmain.h"
#include "dbdict.h"

class AcDbSymbolTableRecord;
class AcDbSymbolTableIterator;
class AcDbBlockTableIterator;
class AcDbBlockTableRecordIterator;

namespace pf {
class SymbolTableImpl;
class SymbolTableIteratorImpl;
class BlockRecordImpl;
class BlockRecordIteratorImpl;
}  // namespace pf

class AcDbSymbolTable : public AcDbObject {
public:
  ACDB_DECLARE_MEMBERS(AcDbSymbolTable);
  AcDbSymbolTable();
  virtual ~AcDbSymbolTable();
  typedef AcDbSymbolTableRecord RecordType;

  // Names compare without regard to case.
  Acad::ErrorStatus getAt(const char* entryName, AcDbSymbolTableRecord*& pRec,
                          AcDb::OpenMode openMode, bool openErasedRec = false) const;
  Acad::ErrorStatus getAt(const char* entryName, AcDbObjectId& recordId,
                          bool getErasedRecord = false) const;
  bool has(const char* name) const;
  bool has(AcDbObjectId id) const;
  Acad::ErrorStatus newIterator(AcDbSymbolTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
  Acad::ErrorStatus add(AcDbSymbolTableRecord* pRecord);
  Acad::ErrorStatus add(AcDbObjectId& recordId, AcDbSymbolTableRecord* pRecord);

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

  pf::SymbolTableImpl* pfTable() const { return mTable; }

private:
  pf::SymbolTableImpl* mTable;
};

class AcDbSymbolTableRecord : public AcDbObject {
public:
  ACDB_DECLARE_MEMBERS(AcDbSymbolTableRecord);
  AcDbSymbolTableRecord();
  virtual ~AcDbSymbolTableRecord();
  typedef AcDbSymbolTable TableType;

  // getName(char*&) answers a copy the caller frees with acutDelString; getName(const char*&)
  // answers the record's own text.
  Acad::ErrorStatus getName(char*& pName) const;
  Acad::ErrorStatus getName(const char*& pName) const;
  Acad::ErrorStatus setName(const char* pName);
  bool isDependent() const;
  bool isResolved() const;

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

private:
  char* mName;
};

class AcDbSymbolTableIterator {
public:
  virtual ~AcDbSymbolTableIterator();
  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  Acad::ErrorStatus getRecordId(AcDbObjectId& id) const;
  Acad::ErrorStatus getRecord(AcDbSymbolTableRecord*& pRecord, AcDb::OpenMode openMode = AcDb::kForRead,
                              bool openErasedRec = false) const;
  // forward = true moves toward the end.
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus seek(AcDbObjectId id);
  Acad::ErrorStatus seek(const AcDbSymbolTableRecord* pRecord);

protected:
  friend class AcDbSymbolTable;
  AcDbSymbolTableIterator();
  pf::SymbolTableIteratorImpl* mImp;
};

class AcDbBlockTable : public AcDbSymbolTable {
public:
  ACDB_DECLARE_MEMBERS(AcDbBlockTable);
  AcDbBlockTable();
  virtual ~AcDbBlockTable();
  typedef AcDbBlockTableRecord RecordType;

  Acad::ErrorStatus getAt(const char* entryName, AcDbBlockTableRecord*& pRec,
                          AcDb::OpenMode openMode, bool openErasedRec = false) const;
  Acad::ErrorStatus getAt(const char* entryName, AcDbObjectId& recordId,
                          bool getErasedRec = false) const;
  bool has(const char* name) const;
  bool has(AcDbObjectId id) const;
  Acad::ErrorStatus newIterator(AcDbBlockTableIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true) const;
  Acad::ErrorStatus add(AcDbBlockTableRecord* pRecord);
  Acad::ErrorStatus add(AcDbObjectId& recordId, AcDbBlockTableRecord* pRecord);

  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;
};

class AcDbBlockTableIterator : public AcDbSymbolTableIterator {
public:
  Acad::ErrorStatus getRecord(AcDbBlockTableRecord*& pRecord, AcDb::OpenMode openMode = AcDb::kForRead,
                              bool openErasedRec = false) const;

protected:
  friend class AcDbBlockTable;
  AcDbBlockTableIterator();
};

class AcDbBlockTableRecord : public AcDbSymbolTableRecord {
public:
  ACDB_DECLARE_MEMBERS(AcDbBlockTableRecord);
  AcDbBlockTableRecord();
  virtual ~AcDbBlockTableRecord();
  typedef AcDbBlockTable TableType;

  // Adds the new entity to the database, owned by this record (open for write).
  Acad::ErrorStatus appendAcDbEntity(AcDbEntity* pEntity);
  Acad::ErrorStatus appendAcDbEntity(AcDbObjectId& pOutputId, AcDbEntity* pEntity);

  // The caller deletes the iterator (before closing this record).
  Acad::ErrorStatus newIterator(AcDbBlockTableRecordIterator*& pIterator, bool atBeginning = true,
                                bool skipDeleted = true);

  AcGePoint3d origin() const;
  Acad::ErrorStatus setOrigin(const AcGePoint3d& pt);
  Acad::ErrorStatus comments(char*& pString) const;
  Acad::ErrorStatus setComments(const char* pString);
  bool isLayout() const;
  bool isAnonymous() const;
  bool hasAttributeDefinitions() const;

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

  pf::BlockRecordImpl* pfBlock() const { return mBlock; }

private:
  pf::BlockRecordImpl* mBlock;
};

class AcDbBlockTableRecordIterator {
public:
  virtual ~AcDbBlockTableRecordIterator();
  void start(bool atBeginning = true, bool skipDeleted = true);
  bool done() const;
  Acad::ErrorStatus getEntityId(AcDbObjectId& entityId) const;
  Acad::ErrorStatus getEntity(AcDbEntity*& pEntity, AcDb::OpenMode openMode,
                              bool openErasedEntity = false) const;
  AcDbBlockTableRecord* blockTableRecord() const;
  // forward = true moves toward the end (the opposite sense of AcDbObjectIterator::step).
  void step(bool forward = true, bool skipDeleted = true);
  Acad::ErrorStatus seek(AcDbObjectId id);
  Acad::ErrorStatus seek(const AcDbEntity* pEntity);

private:
  friend class AcDbBlockTableRecord;
  AcDbBlockTableRecordIterator();
  pf::BlockRecordIteratorImpl* mImp;
};
