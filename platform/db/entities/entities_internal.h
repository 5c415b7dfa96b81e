// entities_internal.h - what the rest of the platform (the DXF reader and writer, deep clone,
// platform start-up) needs from the entity classes beyond their public API.
#pragma once
#include <vector>

#include "dbents.h"

namespace pf {

class EntityInternals {
 public:
  // --- block references and their attributes, for the DXF reader and writer ---
  // The attribute ids in order, and the sequence end (null when there is none).
  static const std::vector<AcDbObjectId>& attributeIds(const AcDbBlockReference* ref);
  static AcDbObjectId sequenceEndId(const AcDbBlockReference* ref);
  // True when at least one attribute is not erased, i.e. a saved insert has ATTRIBs after it.
  static bool hasLiveAttributes(const AcDbBlockReference* ref);
  // Records an already database-resident attribute (or sequence end) read from a drawing as
  // owned by the reference, which must be open for write. The caller sets the owner.
  static Acad::ErrorStatus adoptAttribute(AcDbBlockReference* ref, AcDbObjectId attrId);
  static Acad::ErrorStatus adoptSequenceEnd(AcDbBlockReference* ref, AcDbObjectId seqEndId);

  // --- helpers of the entity classes ---
  // Adds a new entity to the owner's database, owned by owner.
  static Acad::ErrorStatus addOwnedEntity(AcDbObject* owner, AcDbEntity* entity,
                                          AcDbObjectId& id);
  // An iterator over a list of ids (the caller deletes it).
  static AcDbObjectIterator* newIdIterator(const std::vector<AcDbObjectId>& ids);
};

}  // namespace pf
