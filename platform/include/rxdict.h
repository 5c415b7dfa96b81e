// rxdict.h - AcRxDictionary (string/number keyed object dictionary) and the system registry.
#pragma once
#include "rxobject.h"
#include "rxnames.h"

#ifndef PF_RXDICT_H
#define PF_RXDICT_H

class AcRxIterator : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcRxIterator);
  virtual ~AcRxIterator();
  virtual bool done() const = 0;
  virtual bool next() = 0;
  virtual AcRxObject* object() const = 0;
};

class AcRxDictionaryIterator : public AcRxIterator {
public:
  ACRX_DECLARE_MEMBERS(AcRxDictionaryIterator);
  virtual const char* key() const = 0;
  virtual Adesk::UInt32 id() const = 0;
};

class AcRxDictionary : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcRxDictionary);

  virtual AcRxObject* at(const char* key) const = 0;
  virtual AcRxObject* at(Adesk::UInt32 id) const = 0;

  // Stores the object under the key and answers the object it replaced (NULL if none).
  AcRxObject* atPut(const char* key, AcRxObject* pObject) {
    Adesk::UInt32 id;
    return atPut(key, pObject, id);
  }
  virtual AcRxObject* atPut(const char* key, AcRxObject* pObject, Adesk::UInt32& retId) = 0;
  virtual bool resetKey(const char* oldKey, const char* newKey) = 0;
  virtual bool resetKey(Adesk::UInt32 id, const char* newKey) = 0;
  virtual bool atKeyAndIdPut(const char* newKey, Adesk::UInt32 id, AcRxObject* pObject) = 0;

  // Removes the entry and answers its object (the dictionary does not delete it).
  virtual AcRxObject* remove(const char* key) = 0;
  virtual AcRxObject* remove(Adesk::UInt32 id) = 0;

  virtual bool has(const char* entryName) const = 0;
  virtual bool has(Adesk::UInt32 id) const = 0;
  virtual Adesk::UInt32 idAt(const char* key) const = 0;
  virtual const char* keyAt(Adesk::UInt32 id) const = 0;
  virtual Adesk::UInt32 numEntries() const = 0;

  virtual AcRxDictionaryIterator* newIterator(AcRx::DictIterType type = AcRx::kDictSorted) = 0;

  virtual bool deletesObjects() const = 0;
  virtual bool isCaseSensitive() const = 0;
  virtual bool isSorted() const = 0;
};

extern "C" AcRxDictionary* acrxSysRegistry();

#define acrxClassDictionary \
  AcRxDictionary::cast(acrxSysRegistry()->at(ACRX_CLASS_DICTIONARY))
#define acrxServiceDictionary \
  AcRxDictionary::cast(acrxSysRegistry()->at(ACRX_SERVICE_DICTIONARY))

#endif
