// dictionary.cpp - AcDbDictionary: entries, ownership, the erased-entry reactor, filing.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include "db_internal.h"
#include "acutmem.h"
#include "pf/faults.h"
#include "db/db_services.h"

using pf::impl;

namespace pf {

class DictionaryImpl {
public:
  struct Entry {
    std::string key;
    AcDbObjectId id;
  };
  std::vector<Entry> entries;  // in the order they were added
  bool hard = false;
  AcDb::DuplicateRecordCloning merge = AcDb::kDrcIgnore;

  static bool sameKey(const std::string& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
      if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
    return true;
  }
  int find(const char* key) const {
    if (key == nullptr) return -1;
    for (size_t i = 0; i < entries.size(); ++i)
      if (sameKey(entries[i].key, key)) return static_cast<int>(i);
    return -1;
  }
  int find(AcDbObjectId id) const {
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].id == id) return static_cast<int>(i);
    return -1;
  }
};

void removeEntryInternal(AcDbDictionary* dict, AcDbObjectId entryId) {
  DictionaryImpl* d = dict->pfDict();
  int i = d->find(entryId);
  if (i >= 0) d->entries.erase(d->entries.begin() + i);
}

namespace {

std::string upperKey(const std::string& s) {
  std::string u = s;
  for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return u;
}

class DictionaryIterator : public AcDbDictionaryIterator {
public:
  DictionaryIterator(const AcDbDictionary* dict, AcRx::DictIterType type) : mEntries(dict->pfDict()->entries) {
    if (type == AcRx::kDictSorted)
      std::stable_sort(mEntries.begin(), mEntries.end(), [](const DictionaryImpl::Entry& a, const DictionaryImpl::Entry& b) {
        return upperKey(a.key) < upperKey(b.key);
      });
    skipErased();
  }
  const char* name() const override { return done() ? nullptr : mEntries[mPos].key.c_str(); }
  Acad::ErrorStatus getObject(AcDbObject*& pObject, AcDb::OpenMode mode) override {
    if (done()) return Acad::eIteratorDone;
    return openObject(pObject, mEntries[mPos].id, mode, false);
  }
  AcDbObjectId objectId() const override { return done() ? AcDbObjectId::kNull : mEntries[mPos].id; }
  bool done() const override { return mPos >= mEntries.size(); }
  bool next() override {
    if (done()) return false;
    ++mPos;
    skipErased();
    return !done();
  }
  bool setPosition(AcDbObjectId objId) override {
    for (size_t i = 0; i < mEntries.size(); ++i)
      if (mEntries[i].id == objId) {
        mPos = i;
        return true;
      }
    return false;
  }

private:
  void skipErased() {
    while (mPos < mEntries.size() && mEntries[mPos].id.isErased()) ++mPos;
  }
  std::vector<DictionaryImpl::Entry> mEntries;
  size_t mPos = 0;
};

}  // namespace
}  // namespace pf

ACRX_DXF_DEFINE_MEMBERS(AcDbDictionary, AcDbObject, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, DICTIONARY,
                        ObjectDBX Classes)
ACRX_NO_CONS_DEFINE_MEMBERS(AcDbDictionaryIterator, AcRxObject)
AcDbDictionaryIterator::AcDbDictionaryIterator() {}
AcDbDictionaryIterator::~AcDbDictionaryIterator() {}

AcDbDictionary::AcDbDictionary() : mDict(new pf::DictionaryImpl) {}
AcDbDictionary::AcDbDictionary(AcDbSystemInternals* p) : AcDbObject(p), mDict(new pf::DictionaryImpl) {}
AcDbDictionary::~AcDbDictionary() { delete mDict; }

Acad::ErrorStatus AcDbDictionary::getAt(const char* entryName, AcDbObject*& entryObj, AcDb::OpenMode mode) const {
  Acad::ErrorStatus es = pf::injectedFault("AcDbDictionary::getAt");
  if (es != Acad::eOk) {
    entryObj = nullptr;
    return es;
  }
  assertReadEnabled();
  int i = mDict->find(entryName);
  if (i < 0) {
    entryObj = nullptr;
    return Acad::eKeyNotFound;
  }
  AcDbObject* obj = nullptr;
  es = pf::openObject(obj, mDict->entries[static_cast<size_t>(i)].id, mode, false);
  entryObj = es == Acad::eOk ? obj : nullptr;
  return es;
}

Acad::ErrorStatus AcDbDictionary::getAt(const char* entryName, AcDbObjectId& entryObj) const {
  Acad::ErrorStatus es = pf::injectedFault("AcDbDictionary::getAt");
  if (es != Acad::eOk) return es;
  assertReadEnabled();
  int i = mDict->find(entryName);
  if (i < 0) return Acad::eKeyNotFound;
  entryObj = mDict->entries[static_cast<size_t>(i)].id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::nameAt(AcDbObjectId objId, char*& name) const {
  assertReadEnabled();
  int i = mDict->find(objId);
  if (i < 0) return Acad::eKeyNotFound;
  return acutNewString(mDict->entries[static_cast<size_t>(i)].key.c_str(), name);
}

bool AcDbDictionary::has(const char* entryName) const {
  assertReadEnabled();
  return mDict->find(entryName) >= 0;
}

bool AcDbDictionary::has(AcDbObjectId objId) const {
  assertReadEnabled();
  return mDict->find(objId) >= 0;
}

Adesk::UInt32 AcDbDictionary::numEntries() const {
  assertReadEnabled();
  return static_cast<Adesk::UInt32>(mDict->entries.size());
}

Acad::ErrorStatus AcDbDictionary::remove(const char* key) {
  AcDbObjectId id;
  return remove(key, id);
}

// Takes the entry out and erases its object (the dictionary owned it).
Acad::ErrorStatus AcDbDictionary::remove(const char* key, AcDbObjectId& returnId) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  int i = mDict->find(key);
  if (i < 0) return Acad::eKeyNotFound;
  AcDbObjectId id = mDict->entries[static_cast<size_t>(i)].id;
  AcDbObject* entry = nullptr;
  Acad::ErrorStatus es = pf::injectedFault("AcDbDictionary::remove");
  if (es != Acad::eOk) return es;
  // The entry must be erasable before anything changes.
  AcDbObject* peek = pf::peekObject(id);
  if (peek != nullptr && !peek->isErased()) {
    es = pf::openObject(entry, id, AcDb::kForWrite, false);
    if (es != Acad::eOk) return es;
  }
  assertWriteEnabled();
  mDict->entries.erase(mDict->entries.begin() + i);
  if (entry != nullptr) {
    entry->erase();
    pf::closeObject(entry);
  }
  returnId = id;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbDictionary::remove(AcDbObjectId objId) {
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  int i = mDict->find(objId);
  if (i < 0) return Acad::eKeyNotFound;
  std::string key = mDict->entries[static_cast<size_t>(i)].key;
  AcDbObjectId id;
  return remove(key.c_str(), id);
}

bool AcDbDictionary::setName(const char* oldName, const char* newName) {
  if (!isWriteEnabled() || newName == nullptr || *newName == '\0') return false;
  int i = mDict->find(oldName);
  if (i < 0) return false;
  int clash = mDict->find(newName);
  if (clash >= 0 && clash != i) return false;
  assertWriteEnabled();
  mDict->entries[static_cast<size_t>(i)].key = newName;
  return true;
}

Acad::ErrorStatus AcDbDictionary::setAt(const char* srchKey, AcDbObject* newValue, AcDbObjectId& retObjId) {
  Acad::ErrorStatus es = pf::injectedFault("AcDbDictionary::setAt");
  if (es != Acad::eOk) return es;
  if (srchKey == nullptr || *srchKey == '\0') return Acad::eInvalidKey;
  if (newValue == nullptr) return Acad::eNullObjectPointer;
  if (!isWriteEnabled()) return Acad::eNotOpenForWrite;
  AcDbDatabase* db = database();
  if (db == nullptr) return Acad::eNoDatabase;
  if (newValue->database() != nullptr && newValue->database() != db) return Acad::eWrongDatabase;
  if (newValue->database() != nullptr && !newValue->isWriteEnabled()) return Acad::eNotOpenForWrite;

  int i = mDict->find(srchKey);
  AcDbObject* old = nullptr;
  if (i >= 0) {
    AcDbObjectId oldId = mDict->entries[static_cast<size_t>(i)].id;
    if (oldId == newValue->objectId()) {
      retObjId = oldId;
      return Acad::eOk;
    }
    // Open the replaced object first, so that a failure leaves everything as it was.
    AcDbObject* peek = pf::peekObject(oldId);
    if (peek != nullptr && !peek->isErased()) {
      es = pf::openObject(old, oldId, AcDb::kForWrite, false);
      if (es != Acad::eOk) return es;
    }
  }
  if (newValue->database() == nullptr) {
    es = db->addAcDbObject(newValue);
    if (es != Acad::eOk) {
      if (old) pf::closeObject(old);
      return es;
    }
  }
  assertWriteEnabled();
  AcDbObjectId newId = newValue->objectId();
  int already = mDict->find(newId);
  if (already >= 0 && already != i) mDict->entries.erase(mDict->entries.begin() + already);
  i = mDict->find(srchKey);
  if (i >= 0) mDict->entries[static_cast<size_t>(i)].id = newId;
  else mDict->entries.push_back(pf::DictionaryImpl::Entry{srchKey, newId});
  impl(newValue)->owner = objectId();
  newValue->addPersistentReactor(objectId());
  if (old != nullptr) {
    old->erase();
    pf::closeObject(old);
  }
  retObjId = newId;
  return Acad::eOk;
}

bool AcDbDictionary::isTreatElementsAsHard() const {
  assertReadEnabled();
  return mDict->hard;
}

void AcDbDictionary::setTreatElementsAsHard(bool doIt) {
  if (mDict->hard == doIt) return;
  assertWriteEnabled();
  mDict->hard = doIt;
}

AcDbDictionaryIterator* AcDbDictionary::newIterator(AcRx::DictIterType iterType) const {
  assertReadEnabled();
  return new pf::DictionaryIterator(this, iterType);
}

// A merge style as filed: the known styles; anything else (a damaged file) reads as the
// default, never as a value the enumeration does not have.
static AcDb::DuplicateRecordCloning mergeStyleFrom(int value) {
  return value >= AcDb::kDrcNotApplicable && value <= AcDb::kDrcUnmangleName
             ? static_cast<AcDb::DuplicateRecordCloning>(value)
             : AcDb::kDrcIgnore;
}

AcDb::DuplicateRecordCloning AcDbDictionary::mergeStyle() const { return mDict->merge; }
void AcDbDictionary::setMergeStyle(AcDb::DuplicateRecordCloning style) {
  assertWriteEnabled();
  mDict->merge = style;
}

// An erased entry leaves the dictionary (an unerased one does not come back).
void AcDbDictionary::erased(const AcDbObject* dbObj, Adesk::Boolean pErasing) {
  if (!pErasing || dbObj == nullptr) return;
  if (mDict->find(dbObj->objectId()) < 0) return;
  Adesk::Boolean wasWritable = Adesk::kFalse;
  bool upgraded = upgradeFromNotify(wasWritable) == Acad::eOk;
  if (upgraded || isWriteEnabled()) assertWriteEnabled();
  pf::removeEntryInternal(this, dbObj->objectId());
  if (upgraded) downgradeToNotify(wasWritable);
}

void AcDbDictionary::goodbye(const AcDbObject*) {}

// ---- Filing --------------------------------------------------------------------------------------

Acad::ErrorStatus AcDbDictionary::dwgOutFields(AcDbDwgFiler* pFiler) const {
  Acad::ErrorStatus es = AcDbObject::dwgOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeBool(mDict->hard);
  pFiler->writeInt16(static_cast<Adesk::Int16>(mDict->merge));
  std::vector<const pf::DictionaryImpl::Entry*> live;
  for (const auto& e : mDict->entries)
    if (!e.id.isErased()) live.push_back(&e);
  pFiler->writeInt32(static_cast<Adesk::Int32>(live.size()));
  for (const auto* e : live) {
    pFiler->writeString(e->key.c_str());
    if (mDict->hard) pFiler->writeHardOwnershipId(e->id);
    else pFiler->writeSoftOwnershipId(e->id);
  }
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbDictionary::dwgInFields(AcDbDwgFiler* pFiler) {
  Acad::ErrorStatus es = AcDbObject::dwgInFields(pFiler);
  if (es != Acad::eOk) return es;
  bool hard = false;
  Adesk::Int16 merge = 0;
  Adesk::Int32 n = 0;
  pFiler->readBool(&hard);
  pFiler->readInt16(&merge);
  if ((es = pFiler->readInt32(&n)) != Acad::eOk) return es;
  if (n < 0 || n > 10000000) return Acad::eFilerError;
  std::vector<pf::DictionaryImpl::Entry> entries;
  for (Adesk::Int32 i = 0; i < n; ++i) {
    char* key = nullptr;
    if ((es = pFiler->readString(&key)) != Acad::eOk) return es;
    pf::DictionaryImpl::Entry e;
    e.key = key ? key : "";
    acutDelString(key);
    if (hard) {
      AcDbHardOwnershipId id;
      es = pFiler->readHardOwnershipId(&id);
      e.id = id;
    } else {
      AcDbSoftOwnershipId id;
      es = pFiler->readSoftOwnershipId(&id);
      e.id = id;
    }
    if (es != Acad::eOk) return es;
    if (e.id.isNull()) continue;  // an entry whose object was left out of a copy
    entries.push_back(e);
  }
  mDict->hard = hard;
  mDict->merge = mergeStyleFrom(merge);
  mDict->entries = entries;
  return pFiler->filerStatus();
}

// 100 AcDbDictionary, [280 1 when hard-owned], 281 merge style, then 3 <key> / 350|360 <entry>.
Acad::ErrorStatus AcDbDictionary::dxfOutFields(AcDbDxfFiler* pFiler) const {
  Acad::ErrorStatus es = AcDbObject::dxfOutFields(pFiler);
  if (es != Acad::eOk) return es;
  pFiler->writeString(AcDb::kDxfSubclass, "AcDbDictionary");
  if (mDict->hard) pFiler->writeInt16(280, 1);
  pFiler->writeInt16(281, static_cast<Adesk::Int16>(mDict->merge));
  for (const auto& e : mDict->entries) {
    if (e.id.isEffectivelyErased() || pf::peekObject(e.id) == nullptr) continue;
    pFiler->writeString(3, e.key.c_str());
    pFiler->writeObjectId(mDict->hard ? AcDb::kDxfHardOwnershipId : AcDb::kDxfSoftOwnershipId, e.id);
  }
  return pFiler->filerStatus();
}

Acad::ErrorStatus AcDbDictionary::dxfInFields(AcDbDxfFiler* pFiler) {
  Acad::ErrorStatus es = AcDbObject::dxfInFields(pFiler);
  if (es != Acad::eOk) return es;
  if (!pFiler->atSubclassData("AcDbDictionary"))
    return pFiler->setError(Acad::eBadDxfSequence, "AcDbDictionary subclass marker missing");
  std::vector<pf::DictionaryImpl::Entry> entries;
  bool hard = false;
  AcDb::DuplicateRecordCloning merge = AcDb::kDrcIgnore;
  std::string key;
  bool haveKey = false;
  resbuf rb;
  while ((es = pFiler->readResBuf(&rb)) == Acad::eOk) {
    if (rb.restype == 280) hard = rb.resval.rint != 0;
    else if (rb.restype == 281) merge = mergeStyleFrom(rb.resval.rint);
    else if (rb.restype == 3) {
      key = rb.resval.rstring ? rb.resval.rstring : "";
      haveKey = true;
    } else if (rb.restype == 350 || rb.restype == 360) {
      // Either code may carry an entry whatever 280 says (other writers differ).
      AcDbObjectId id;
      if (!haveKey) return pFiler->setError(Acad::eBadDxfSequence, "dictionary entry without a key");
      if (acdbGetObjectId(id, rb.resval.rlname) == Acad::eOk && !id.isNull())
        entries.push_back(pf::DictionaryImpl::Entry{key, id});
      haveKey = false;
    } else if (rb.restype == AcDb::kDxfSubclass) {
      pFiler->pushBackItem();
      break;
    }
  }
  if (es != Acad::eOk && es != Acad::eEndOfObject) return es;
  mDict->hard = hard;
  mDict->merge = merge;
  mDict->entries = entries;
  return pFiler->filerStatus();
}

namespace pf {

// Entries read from a file without the back-reference to their dictionary get it, so that
// erasing them still takes them out of the dictionary.
int linkDictionaryEntries(AcDbDatabase* db) {
  int added = 0;
  for (const AcDbObjectId& id : allObjectIds(db)) {
    AcDbDictionary* dict = AcDbDictionary::cast(peekObject(id));
    if (dict == nullptr) continue;
    for (const auto& entry : dict->pfDict()->entries) {
      AcDbObject* obj = peekObject(entry.id);
      if (obj == nullptr) continue;
      ObjectImpl* oi = impl(obj);
      void* link = encodePersistent(static_cast<AcDbStub*>(id));
      if (oi->reactors().contains(link)) continue;
      oi->reactorsForChange().append(link);
      if (oi->owner.isNull()) oi->owner = id;
      ++added;
    }
  }
  return added;
}

}  // namespace pf
