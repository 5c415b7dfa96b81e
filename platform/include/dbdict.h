// dbdict.h - AcDbDictionary, a database object mapping names to owned objects.
//
// Keys compare without regard to case and keep the spelling they were added with. The
// dictionary owns its entries (soft ownership unless setTreatElementsAsHard(true)) and is a
// persistent reactor of each, so an erased entry drops out. Objects replaced by setAt or
// removed by remove are erased.
#pragma once
#include "dbmain.h"

class AcDbDictionaryIterator;

namespace pf {
class DictionaryImpl;
}

class AcDbDictionary : public AcDbObject {
public:
  ACDB_DECLARE_MEMBERS(AcDbDictionary);
  AcDbDictionary();
  virtual ~AcDbDictionary();

  // Opens the entry; a missing key answers eKeyNotFound and entryObj NULL.
  Acad::ErrorStatus getAt(const char* entryName, AcDbObject*& entryObj, AcDb::OpenMode mode) const;
  Acad::ErrorStatus getAt(const char* entryName, AcDbObjectId& entryObj) const;
  // The key of the entry, as a copy the caller frees with acutDelString.
  Acad::ErrorStatus nameAt(AcDbObjectId objId, char*& name) const;
  bool has(const char* entryName) const;
  bool has(AcDbObjectId objId) const;
  Adesk::UInt32 numEntries() const;

  Acad::ErrorStatus remove(const char* key);
  Acad::ErrorStatus remove(const char* key, AcDbObjectId& returnId);
  Acad::ErrorStatus remove(AcDbObjectId objId);
  bool setName(const char* oldName, const char* newName);

  // Adds newValue under the key (into the database if it is not there yet) and answers its id.
  // An entry already under the key is replaced and erased.
  Acad::ErrorStatus setAt(const char* srchKey, AcDbObject* newValue, AcDbObjectId& retObjId);

  bool isTreatElementsAsHard() const;
  void setTreatElementsAsHard(bool doIt);

  // Iterates the entries sorted by key (kDictSorted) or in the order they were added.
  AcDbDictionaryIterator* newIterator(AcRx::DictIterType iterType = AcRx::kDictSorted) const;

  virtual AcDb::DuplicateRecordCloning mergeStyle() const;
  virtual void setMergeStyle(AcDb::DuplicateRecordCloning style);

  virtual Acad::ErrorStatus dwgInFields(AcDbDwgFiler* pFiler);
  virtual Acad::ErrorStatus dwgOutFields(AcDbDwgFiler* pFiler) const;
  virtual Acad::ErrorStatus dxfInFields(AcDbDxfFiler* pFiler);
  virtual Acad::ErrorStatus dxfOutFields(AcDbDxfFiler* pFiler) const;

  // As a persistent reactor of its entries: an erased entry is removed.
  virtual void erased(const AcDbObject* dbObj, Adesk::Boolean pErasing = true);
  virtual void goodbye(const AcDbObject* dbObj);

  pf::DictionaryImpl* pfDict() const { return mDict; }

private:
  pf::DictionaryImpl* mDict;
};

class AcDbDictionaryIterator : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcDbDictionaryIterator);
  virtual ~AcDbDictionaryIterator();

  virtual const char* name() const = 0;
  virtual Acad::ErrorStatus getObject(AcDbObject*& pObject, AcDb::OpenMode mode) = 0;
  virtual AcDbObjectId objectId() const = 0;
  virtual bool done() const = 0;
  virtual bool next() = 0;
  virtual bool setPosition(AcDbObjectId objId) = 0;

protected:
  AcDbDictionaryIterator();
};
