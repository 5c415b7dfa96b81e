// linkstate.cpp - reading a room's link reactors and dictionary entry.
#include "toolkit/linkstate.h"

#include "dbdict.h"
#include "dbpl.h"
#include "host/openptr.h"
#include "plinenotifyobj.h"

namespace toolkit {

int RoomLinks::linkCount() const {
  int count = 0;
  for (const ReactorEntry& entry : reactors) count += entry.kind == ReactorEntry::kLink;
  return count;
}

const ReactorEntry* RoomLinks::firstLink() const {
  for (const ReactorEntry& entry : reactors)
    if (entry.kind == ReactorEntry::kLink) return &entry;
  return nullptr;
}

RoomLinks inspectRoom(AcDbPolyline* room) {
  RoomLinks links;
  if (const AcDbVoidPtrArray* reactors = room->reactors()) {
    for (int i = 0; i < reactors->length(); ++i) {
      void* entry = reactors->at(i);
      if (!acdbIsPersistentReactor(entry)) continue;
      ReactorEntry reactor;
      reactor.id = acdbPersistentReactorObjectId(entry);
      AcDbObject* object = nullptr;
      if (reactor.id.isNull() ||
          acdbOpenAcDbObject(object, reactor.id, AcDb::kForRead, false) != Acad::eOk) {
        reactor.kind = ReactorEntry::kMissing;
      } else {
        if (CPlineNotifyObject* link = CPlineNotifyObject::cast(object)) {
          reactor.kind = ReactorEntry::kLink;
          reactor.attribute = link->attributeId();
        }
        object->close();
      }
      links.reactors.push_back(reactor);
    }
  }
  const AcDbObjectId dictionaryId = room->extensionDictionary();
  if (!dictionaryId.isNull()) {
    OpenPtr<AcDbDictionary> dictionary(dictionaryId, AcDb::kForRead);
    AcDbObjectId linkId;
    if (dictionary.isOpen() && dictionary->getAt(kLinkDictionaryKey, linkId) == Acad::eOk) links.dictionaryLink = linkId;
  }
  return links;
}

}  // namespace toolkit
