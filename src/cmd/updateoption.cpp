// updateoption.cpp - the Update option: rewrite every linked attribute of the two spaces.
//
// Two passes: first the ids of all polylines of model space and paper space are collected (each
// entity open only while it is tested), then each polyline is reopened, its link looked up and
// its attribute rewritten, under a status-bar progress meter. Update runs whatever AutoUpdate
// says; it is the way to refresh links after the settings changed.
#include "cmd/cmdzorvik.h"

#include "cmd/arealink.h"
#include "cmd/objectidarray.h"
#include "host/openptr.h"
#include "resources.h"
#include "zorvik.h"
#include "resource.h"

#include "adslib.h"
#include "dbapserv.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "rxmfcapi.h"

namespace {

// The source file named in the error log by the command's reporting sites.
const char* const kSourceFile = "src/cmd/cmdzorvik";

// The block table records scanned, in this order.
const char* const kSpaceNames[] = {ACDB_MODEL_SPACE, ACDB_PAPER_SPACE};

// Appends the ids of the polylines of one space. Failures are logged; a space that cannot be
// opened or iterated is skipped, an entity that cannot be opened is skipped.
void collectPolylines(AcDbBlockTable* table, const char* spaceName, ObjectIdArray& ids) {
  AcDbBlockTableRecord* rawRecord = nullptr;
  Acad::ErrorStatus es = table->getAt(spaceName, rawRecord, AcDb::kForRead, false);
  if (es != Acad::eOk) {
    reportStatus(es, __LINE__, kSourceFile);
    return;
  }
  OpenPtr<AcDbBlockTableRecord> record;
  record.adopt(rawRecord);
  AcDbBlockTableRecordIterator* iterator = nullptr;
  es = record->newIterator(iterator, true, true);
  if (es != Acad::eOk) {
    reportStatus(es, __LINE__, kSourceFile);
    return;
  }
  for (iterator->start(true, true); !iterator->done(); iterator->step(true, true)) {
    AcDbEntity* entity = nullptr;
    es = iterator->getEntity(entity, AcDb::kForRead, false);
    if (es != Acad::eOk) {
      reportStatus(es, __LINE__, kSourceFile);
      continue;
    }
    OpenPtr<AcDbEntity> held;
    held.adopt(entity);
    if (isInstanceOf<AcDbPolyline>(entity)) ids.append(entity->objectId());
  }
  delete iterator;
}

// The progress position for index i of n: the integer part of (i / n) * 100, divided first.
int progressPosition(int i, int n) {
  return static_cast<int>(static_cast<double>(i) / static_cast<double>(n) * 100.0);
}

}  // namespace

void updateOption() {
  ModuleResourceScope resources;

  AcDbDatabase* database = acdbHostApplicationServices()->workingDatabase();
  if (!database) return;

  AcDbBlockTable* table = nullptr;
  Acad::ErrorStatus es = database->getSymbolTable(table, AcDb::kForRead);
  if (es != Acad::eOk) {
    reportStatus(es, __LINE__, kSourceFile);
    return;
  }
  // The block table stays open for read until the end of the update.
  OpenPtr<AcDbBlockTable> tableHolder;
  tableHolder.adopt(table);

  ObjectIdArray ids;
  for (const char* spaceName : kSpaceNames) collectPolylines(table, spaceName, ids);

  {
    CString label = loadResourceString(IDS_PROGRESS_LABEL);
    acedSetStatusBarProgressMeter(label, 0, 100);
  }

  const int count = ids.length();
  int lastPosition = 0;
  int updated = 0;
  for (int i = 0; i < count; ++i) {
    const int position = progressPosition(i, count);
    if (position > lastPosition) {
      lastPosition = position;
      acedSetStatusBarProgressMeterPos(position);
    }

    OpenPtr<AcDbPolyline> polyline(ids.at(i), AcDb::kForRead);
    if (polyline.status() != Acad::eOk) continue;
    AcDbObjectId attributeId;
    if (findLinkedAttribute(polyline.get(), attributeId) &&
        updateAreaText(polyline.get(), attributeId))
      ++updated;
  }

  acedRestoreStatusBar();

  CString message = loadResourceString(IDS_UPDATED_COUNT);
  acutPrintf(message, updated);
}
