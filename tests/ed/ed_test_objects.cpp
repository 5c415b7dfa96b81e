// Definitions of the editor tests' database classes.
#include "ed_test_objects.h"

ACRX_CONS_DEFINE_MEMBERS(EdTestMark, AcDbEntity, 1)
ACRX_CONS_DEFINE_MEMBERS(EdTestNote, AcDbObject, 1)

namespace edtest {

void registerTestObjects() {
  EdTestMark::rxInit();
  EdTestNote::rxInit();
}

}  // namespace edtest
