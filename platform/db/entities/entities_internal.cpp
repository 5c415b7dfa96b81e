// entities_internal.cpp - the platform-internal side of the entity classes (see
// entities_internal.h): the block-reference bookkeeping the drawing reader and writer need, and
// adding owned entities.
#include "db/entities/entities_internal.h"

#include <algorithm>

#include "db/db_services.h"

namespace pf {

const std::vector<AcDbObjectId>& EntityInternals::attributeIds(const AcDbBlockReference* ref) {
  ref->assertReadEnabled();
  return ref->mAttributes;
}

AcDbObjectId EntityInternals::sequenceEndId(const AcDbBlockReference* ref) {
  ref->assertReadEnabled();
  return ref->mSequenceEnd;
}

bool EntityInternals::hasLiveAttributes(const AcDbBlockReference* ref) {
  for (const AcDbObjectId& id : ref->mAttributes)
    if (!id.isNull() && !id.isErased()) return true;
  return false;
}

Acad::ErrorStatus EntityInternals::adoptAttribute(AcDbBlockReference* ref, AcDbObjectId attrId) {
  if (attrId.isNull()) return Acad::eNullObjectId;
  if (!ref->isWriteEnabled()) return Acad::eNotOpenForWrite;
  if (std::find(ref->mAttributes.begin(), ref->mAttributes.end(), attrId) !=
      ref->mAttributes.end())
    return Acad::eDuplicateKey;
  // Assembling a reference as it is read: nothing to undo, so no undo record of the whole
  // reference is taken (it would be for every insert of a drawing).
  ref->assertWriteEnabled(Adesk::kFalse);
  ref->mAttributes.push_back(attrId);
  return Acad::eOk;
}

Acad::ErrorStatus EntityInternals::adoptSequenceEnd(AcDbBlockReference* ref,
                                                    AcDbObjectId seqEndId) {
  if (seqEndId.isNull()) return Acad::eNullObjectId;
  if (!ref->isWriteEnabled()) return Acad::eNotOpenForWrite;
  ref->assertWriteEnabled(Adesk::kFalse);  // as for the attributes
  ref->mSequenceEnd = seqEndId;
  return Acad::eOk;
}

Acad::ErrorStatus EntityInternals::addOwnedEntity(AcDbObject* owner, AcDbEntity* entity,
                                                 AcDbObjectId& id) {
  AcDbDatabase* db = owner->database();
  if (db == nullptr) return Acad::eNoDatabase;
  Acad::ErrorStatus es = db->addAcDbObject(id, entity);
  if (es != Acad::eOk) return es;
  // New and open for write: take the owner's database defaults, then the owner.
  entity->setDatabaseDefaults(db);
  return entity->setOwnerId(owner->objectId());
}

AcDbObjectIterator* EntityInternals::newIdIterator(const std::vector<AcDbObjectId>& ids) {
  return newObjectIterator(ids);
}

}  // namespace pf
