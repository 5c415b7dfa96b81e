// rxinit_builtin.cpp - creates the class objects of the runtime's and the database's own
// classes when the runtime starts (parents first is not required: the hierarchy is linked by
// name afterwards).
#include "rx_internal.h"
#include "rxevent.h"
#include "dbmain.h"
#include "dbfiler.h"
#include "dbcurve.h"
#include "dbdict.h"
#include "dbsymtb.h"
#include "dbidmap.h"
#include "dbapserv.h"

namespace pf {

void registerBuiltinClasses() {
  newAcRxClass("AcRxObject", "");
  AcRxClass::rxInit();
  AcRxDictionary::rxInit();
  AcRxIterator::rxInit();
  AcRxDictionaryIterator::rxInit();
  AcRxEventReactor::rxInit();
  AcRxEvent::rxInit();
  AcGiDrawable::rxInit();
  AcDbDwgFiler::rxInit();
  AcDbDxfFiler::rxInit();
  AcDbDatabase::rxInit();
  AcDbObject::rxInit();
  AcDbEntity::rxInit();
  AcDbCurve::rxInit();
  AcDbObjectReactor::rxInit();
  AcDbEntityReactor::rxInit();
  AcDbObjectIterator::rxInit();
  AcDbDictionary::rxInit();
  AcDbDictionaryIterator::rxInit();
  AcDbSymbolTable::rxInit();
  AcDbSymbolTableRecord::rxInit();
  AcDbBlockTable::rxInit();
  AcDbBlockTableRecord::rxInit();
  AcDbIdMapping::rxInit();
  AcDbIdMappingIter::rxInit();
  AcDbHostApplicationServices::rxInit();
}

}  // namespace pf
