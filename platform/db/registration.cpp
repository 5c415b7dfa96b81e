// Registers the database layer's runtime classes when the runtime starts (the entities register
// with PF_REGISTER_CLASS beside their code). This file is linked first in its library, so these
// classes come before the entities, as the hierarchy's order of creation always was.
#include "dbapserv.h"
#include "dbcurve.h"
#include "dbdict.h"
#include "dbfiler.h"
#include "dbidmap.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "rx/rxinit.h"

namespace {

void registerDatabaseClasses() {
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

const bool g_registered = pf::registerClassInit(&registerDatabaseClasses);

}  // namespace
