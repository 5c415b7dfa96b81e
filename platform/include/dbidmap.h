// dbidmap.h - the id mapping of a deep clone: pairs of (source id, clone id).
#pragma once
#include "dbmain.h"

namespace pf {
class IdMappingImpl;
}

class AcDbIdPair {
public:
  AcDbIdPair() : mIsCloned(false), mIsPrimary(false), mIsOwnerXlated(true) {}
  AcDbIdPair(const AcDbIdPair&) = default;
  AcDbIdPair& operator=(const AcDbIdPair&) = default;
  AcDbIdPair(AcDbObjectId key, AcDbObjectId value, bool isCloned, bool isPrimary = false,
             bool isOwnerXlated = true)
      : mKey(key), mValue(value), mIsCloned(isCloned), mIsPrimary(isPrimary), mIsOwnerXlated(isOwnerXlated) {}

  AcDbObjectId key() const { return mKey; }
  AcDbObjectId value() const { return mValue; }
  bool isCloned() const { return mIsCloned; }
  bool isPrimary() const { return mIsPrimary; }
  bool isOwnerXlated() const { return mIsOwnerXlated; }
  void setKey(AcDbObjectId key) { mKey = key; }
  void setValue(AcDbObjectId value) { mValue = value; }
  void setIsCloned(bool isCloned) { mIsCloned = isCloned; }
  void setIsPrimary(bool isPrimary) { mIsPrimary = isPrimary; }
  void setIsOwnerXlated(bool isOwnerXlated) { mIsOwnerXlated = isOwnerXlated; }

private:
  AcDbObjectId mKey;
  AcDbObjectId mValue;
  bool mIsCloned;
  bool mIsPrimary;
  bool mIsOwnerXlated;
};

class AcDbIdMapping : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcDbIdMapping);
  AcDbIdMapping();
  virtual ~AcDbIdMapping();

  // Adds a pair; a pair with the same key is replaced.
  virtual Acad::ErrorStatus assign(const AcDbIdPair& pair);
  // Looks the pair up by pair.key() and fills in the rest; false if there is none.
  virtual bool compute(AcDbIdPair& pair) const;
  virtual bool change(const AcDbIdPair& pair);
  virtual bool del(AcDbObjectId key);

  Acad::ErrorStatus destDb(AcDbDatabase*& db) const;
  Acad::ErrorStatus setDestDb(AcDbDatabase* db);
  Acad::ErrorStatus origDb(AcDbDatabase*& db) const;
  AcDb::DeepCloneType deepCloneContext() const;
  AcDb::DuplicateRecordCloning duplicateRecordCloning() const;

  pf::IdMappingImpl* pfImpl() const { return mImp; }

private:
  AcDbIdMapping(const AcDbIdMapping&) = delete;
  AcDbIdMapping& operator=(const AcDbIdMapping&) = delete;
  pf::IdMappingImpl* mImp;
};

class AcDbIdMappingIter : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcDbIdMappingIter);
  AcDbIdMappingIter(const AcDbIdMapping& map);
  virtual ~AcDbIdMappingIter();

  virtual Acad::ErrorStatus iterateOn(const AcDbIdMapping& map);
  virtual void start();
  virtual bool getMap(AcDbIdPair& pair);
  virtual bool next();
  virtual bool done();

private:
  const AcDbIdMapping* mMap;
  unsigned int mPos;
};
