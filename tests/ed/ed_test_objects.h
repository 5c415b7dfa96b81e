// Small database classes for the editor tests: an entity and a non-entity object.
#pragma once
#include "dbmain.h"

class EdTestMark : public AcDbEntity {
public:
  ACRX_DECLARE_MEMBERS(EdTestMark);
};

class EdTestNote : public AcDbObject {
public:
  ACRX_DECLARE_MEMBERS(EdTestNote);
};

namespace edtest {
// Registers the classes above (once).
void registerTestObjects();
}  // namespace edtest
