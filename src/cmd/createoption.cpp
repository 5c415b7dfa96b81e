// createoption.cpp - the Create option: link one polyline to one attribute of a block reference.
//
// The user picks a polyline and then a block reference; one attribute is chosen by its tag,
// by the Attname setting in quiet mode or in the attribute picker otherwise. A new link object
// naming that attribute is attached to the polyline; closing the polyline, marked as modified,
// then lets the link write the area text at once when AutoUpdate is on. Every end other than
// the three logged host failures is silent.
#include "cmd/cmdzorvik.h"

#include "cmd/attributemap.h"
#include "dialogs/attributepickerdialog.h"
#include "host/openptr.h"
#include "plinenotifyobj.h"
#include "resources.h"
#include "zorvik.h"
#include "resource.h"

#include "acutmem.h"
#include "adslib.h"
#include "dbapserv.h"
#include "dbents.h"
#include "dbpl.h"

namespace {

// The source file named in the error log by the command's reporting sites.
const char* const kSourceFile = "src/cmd/cmdzorvik";

// Asks for an entity with the given prompt; answers true and sets id when one was picked and
// its name converted. A failed conversion is logged.
bool pickEntity(UINT promptId, AcDbObjectId& id, int reportLine) {
  ads_name name = {0, 0};
  ads_point point = {0.0, 0.0, 0.0};
  int result;
  {
    CString prompt = loadResourceString(promptId);
    result = acedEntSel(prompt, name, point);
  }
  if (result != RTNORM) return false;
  Acad::ErrorStatus es = acdbGetObjectId(id, name);
  if (es != Acad::eOk) {
    reportStatus(es, reportLine, kSourceFile);
    return false;
  }
  return true;
}

// Reads the tags of every attribute of the block reference that opens into the map.
void collectAttributes(AcDbBlockReference* blockRef, AttributeMap& attributes) {
  AcDbObjectIterator* iterator = blockRef->attributeIterator();
  if (!iterator) return;
  while (!iterator->done()) {
    const AcDbObjectId id = iterator->objectId();
    OpenPtr<AcDbAttribute> attribute(id, AcDb::kForRead);
    if (attribute.isOpen()) {
      char* tag = attribute->tag();
      attributes.setAt(tag, id);
      acutDelString(tag);
    }
    // Step whether or not the attribute opened, so that one that cannot be opened is skipped;
    // the attribute is closed after the step.
    iterator->step(false, true);
  }
  delete iterator;
}

}  // namespace

bool selectLinkAttribute(AcDbObjectId& attId) {
  ModuleResourceScope resources;

  AttributePickerDialog picker(CWnd::FromHandle(adsw_acadMainWnd()));
  AttributeMap attributes;
  CString chosen;

  AcDbObjectId blockRefId;
  if (!pickEntity(IDS_SELECT_BLOCKREF, blockRefId, __LINE__)) return false;

  OpenPtr<AcDbBlockReference> blockRef(blockRefId, AcDb::kForRead);
  if (!blockRef.isOpen()) return false;

  collectAttributes(blockRef.get(), attributes);
  if (attributes.isEmpty()) return false;

  if (getModuleApp()->quietMode()) {
    chosen = getModuleApp()->attname();
  } else {
    attributes.forEach([&picker](const char* tag, const AcDbObjectId&) { picker.addName(tag); });
    if (picker.DoModal() != IDOK) return false;
    picker.chosenName(chosen);
  }

  AcDbObjectId found;
  if (!attributes.lookup(chosen, found)) return false;
  attId = found;
  return true;
}

void createOption() {
  ModuleResourceScope resources;

  if (!acdbHostApplicationServices()->workingDatabase()) return;

  AcDbObjectId polylineId;
  if (!pickEntity(IDS_SELECT_POLYLINE, polylineId, __LINE__)) return;

  OpenPtr<AcDbEntity> entity(polylineId, AcDb::kForRead);
  if (!entity.isOpen()) return;
  if (!isInstanceOf<AcDbPolyline>(entity.get())) return;
  AcDbPolyline* polyline = static_cast<AcDbPolyline*>(entity.get());

  Acad::ErrorStatus es = polyline->upgradeOpen();
  if (es != Acad::eOk) {
    reportStatus(es, __LINE__, kSourceFile);
    return;
  }

  // The polyline stays open for write across the second prompt and the picker.
  AcDbObjectId attributeId;
  if (!selectLinkAttribute(attributeId)) return;

  OpenPtr<CPlineNotifyObject> link;
  link.adopt(new CPlineNotifyObject);
  link->setAttributeId(attributeId);
  AcDbObjectId linkId;
  link->attachToPolyline(polyline, linkId);
  polyline->recordGraphicsModified(true);
  // The polyline closes first (its modified notification reaches the new link), then the link
  // closes, or is deleted when the attach did not put it into the database.
  entity.close();
  link.close();
}
