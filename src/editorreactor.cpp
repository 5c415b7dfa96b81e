// editorreactor.cpp - the copy repair reactor: registration, editor attachment and the repair
// at the end of every deep clone.
#include "editorreactor.h"

#include <unordered_set>

#include "rxregsvc.h"
#include "dbidmap.h"
#include "adslib.h"

#include "host/openptr.h"
#include "host/typedopen.h"
#include "plinenotifyobj.h"

namespace {

const char* const kClassName = "AcZorvikEditorReactor";
const char* const kEditorKey = "AcEditor";

// The host editor from the system registry, accepted only if it is an AcEditor. The class
// descriptor of AcEditor is looked up once and kept.
AcEditor* hostEditor() {
  static AcRxClass* s_pEditorClass = nullptr;
  if (s_pEditorClass == nullptr)
    s_pEditorClass = AcRxClass::cast(acrxClassDictionary->at("AcEditor"));
  AcRxObject* pObj = acrxSysRegistry()->at(kEditorKey);
  if (pObj == nullptr || s_pEditorClass == nullptr || !pObj->isKindOf(s_pEditorClass))
    return nullptr;
  return static_cast<AcEditor*>(pObj);
}

struct ObjectIdHash {
  size_t operator()(const AcDbObjectId& id) const { return std::hash<long>()(id.asOldId()); }
};

// The source-side ids of a deep clone's mapping.
typedef std::unordered_set<AcDbObjectId, ObjectIdHash> ObjectIdSet;

void collectKeys(AcDbIdMapping& idMap, ObjectIdSet& keys) {
  AcDbIdMappingIter iter(idMap);
  for (iter.start(); !iter.done(); iter.next()) {
    AcDbIdPair pair;
    if (iter.getMap(pair)) keys.insert(pair.key());
  }
}

}  // namespace

ACRX_DEFINE_MEMBERS(AcZorvikEditorReactor);

void AcZorvikEditorReactor::rxInit() {
  if (gpDesc != nullptr) {
    AcRxObject* pEntry = acrxClassDictionary->at(kClassName);
    if (pEntry != nullptr) {
      if (pEntry != gpDesc) acrx_abort("Class mismatch");
      return;
    }
  }
  gpDesc = newAcRxClass(kClassName, "AcEditorReactor", 0, nullptr, nullptr, nullptr);
}

AcZorvikEditorReactor::AcZorvikEditorReactor() {
  AcEditor* pEditor = hostEditor();
  if (pEditor != nullptr) pEditor->addReactor(this);
}

AcZorvikEditorReactor::~AcZorvikEditorReactor() {
  AcEditor* pEditor = hostEditor();
  if (pEditor != nullptr) pEditor->removeReactor(this);
}

// For every copied link whose attribute was not copied in the same operation, clear the
// clone's attribute id. An attribute counts as copied when it is a key (a source id) of the
// mapping. The keys are gathered into a set the first time a link is met, so a mapping with
// many links is handled in one pass instead of one full scan per link.
void AcZorvikEditorReactor::endDeepClone(AcDbIdMapping& idMap) {
  ObjectIdSet keys;
  bool keysCollected = false;

  AcDbIdMappingIter iter(idMap);
  for (iter.start(); !iter.done(); iter.next()) {
    AcDbIdPair pair;
    if (!iter.getMap(pair)) continue;

    AcDbObjectId attributeId;
    {
      OpenPtr<CPlineNotifyObject> pSource(pair.key(), AcDb::kForRead);
      if (!pSource.isOpen()) continue;
      attributeId = pSource->attributeId();
      if (!keysCollected) {
        collectKeys(idMap, keys);
        keysCollected = true;
      }
    }  // the source link is closed before its clone is opened

    if (keys.count(attributeId) != 0) continue;

    AcDbObject* pClone = nullptr;
    if (acdbOpenAcDbObject(pClone, pair.value(), AcDb::kForWrite, false) != Acad::eOk) continue;
    if (!isInstanceOf<CPlineNotifyObject>(pClone)) {
      closeRejectedObject(pClone);
      continue;
    }
    static_cast<CPlineNotifyObject*>(pClone)->setAttributeId(AcDbObjectId::kNull);
    pClone->close();
  }
}
