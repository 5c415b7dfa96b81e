// cmdzorvik.cpp - the ZORVIK command and its Create and Update options.
//
// The command asks for one of three options (Create is the default on Enter) and runs it; it
// keeps nothing between runs. Create links one polyline to one attribute of a block reference,
// chosen by tag (by the Attname setting in quiet mode, in the attribute picker otherwise).
// Update rewrites the attribute of every linked polyline of model space and paper space under
// a progress meter. Every entry point pushes the module's resource handle and pops it on every
// way out, exceptions included. Failed host calls are recorded in the error log under this
// file's name with the line of the reporting site; every other end is silent.
#include "cmd/cmdzorvik.h"

// MFC comes before the host headers, as in every MFC plug-in: the host's window functions
// (adsw_acadMainWnd) are declared only once the Win32 types are known.
#include "afxwin.h"

#include "cmd/arealink.h"
#include "cmd/attributemap.h"
#include "cmd/objectidarray.h"
#include "errorlog.h"
#include "dialogs/attributepickerdialog.h"
#include "dialogs/optionsdialog.h"
#include "host/openptr.h"
#include "plinenotifyobj.h"
#include "resources.h"
#include "toolkit/commands.h"
#include "zorvik.h"
#include "resource.h"

#include "accmd.h"
#include "acutmem.h"
#include "adslib.h"
#include "dbapserv.h"
#include "dbents.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "mbstring.h"
#include "rxdict.h"
#include "rxmfcapi.h"

#include <cstring>
#include <string>

const char* const kZorvikCommandGroup = "Zorvik_Commands";
const char* const kZorvikCommandName = "zorvik";

namespace {

// The source file named in the error log by the reporting sites below.
const char* const kSourceFile = "src/cmd/cmdzorvik";

// The keyword the option prompt answers on empty input.
const char* const kDefaultKeyword = "Create";

// The options in the order they are compared with the answer.
struct OptionEntry {
  const char* keyword;
  void (*run)();
};
void runOptionsDialog() { showOptionsDialog(); }
const OptionEntry kOptions[] = {
    {"Create", createOption},
    {"Update", updateOption},
    {"Options", runOptionsDialog},
};

// Size of the answer buffer of the option prompt.
const int kAnswerSize = 512;

// The system registry's key of the host's command stack.
const char* const kCommandStackKey = "ACAD_REGISTERED_COMMANDS";

// The host's command stack, or null when the system registry holds none of that class.
AcEdCommandStack* findCommandStack() {
  AcRxDictionary* registry = acrxSysRegistry();
  if (!registry) return nullptr;
  AcRxObject* entry = registry->at(kCommandStackKey);
  AcRxClass* stackClass = AcEdCommandStack::desc();
  if (!entry || !stackClass || !entry->isKindOf(stackClass)) return nullptr;
  return static_cast<AcEdCommandStack*>(entry);
}

}  // namespace

Acad::ErrorStatus ModuleApp::registerCommands() {
  AcEdCommandStack* stack = findCommandStack();
  if (!stack) return Acad::eNotApplicable;
  Acad::ErrorStatus es = stack->addCommand(kZorvikCommandGroup, kZorvikCommandName, kZorvikCommandName,
                                           ACRX_CMD_MODAL, zorvikCommand, nullptr, -1, nullptr, nullptr);
  if (es != Acad::eOk) return es;
  // The room-area toolkit's commands join the same group (src/toolkit/commands.h).
  return registerToolkitCommands(stack, kZorvikCommandGroup);
}

Acad::ErrorStatus ModuleApp::unregisterCommands() {
  AcEdCommandStack* stack = findCommandStack();
  if (!stack) return Acad::eNotApplicable;
  return stack->removeGroup(kZorvikCommandGroup);
}

void zorvikCommand() {
  ModuleResourceScope resources;

  char answer[kAnswerSize];
  answer[0] = '\0';
  {
    // The host keeps its own copy of the keyword list for the next prompt.
    CString keywords = loadResourceString(IDS_KEYWORDS);
    acedInitGet(0, keywords);
  }
  int result;
  {
    CString prompt = loadResourceString(IDS_OPTION_PROMPT);
    result = acedGetKword(prompt, answer);
  }
  if (result == RTNONE) {
    std::strcpy(answer, kDefaultKeyword);
  } else if (result != RTNORM) {
    return;  // cancel or error: nothing runs
  }

  for (const OptionEntry& option : kOptions) {
    if (_mbsicmp(reinterpret_cast<const unsigned char*>(answer),
                 reinterpret_cast<const unsigned char*>(option.keyword)) == 0) {
      option.run();
      return;
    }
  }
}

// ---- Create ----------------------------------------------------------------------------------

namespace {

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

// ---- Update ----------------------------------------------------------------------------------

namespace {

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

}  // namespace

// ---- Links and their area text --------------------------------------------------------------

bool findLinkedAttribute(AcDbEntity* pEnt, AcDbObjectId& attId) {
  if (pEnt == nullptr) {
    showAssertionBox(kSourceFile, __LINE__, "pEnt != NULL");
    return false;
  }
  AcDbVoidPtrArray* reactors = pEnt->reactors();
  if (reactors == nullptr) return false;
  for (int i = 0; i < reactors->length(); ++i) {
    void* entry = reactors->at(i);
    if (!acdbIsPersistentReactor(entry)) continue;
    AcDbObject* object = nullptr;
    Acad::ErrorStatus es =
        acdbOpenAcDbObject(object, acdbPersistentReactorObjectId(entry), AcDb::kForRead, false);
    if (reportStatus(es, __LINE__, kSourceFile) != 0) continue;  // a reactor that cannot be opened
    CPlineNotifyObject* link = CPlineNotifyObject::cast(object);
    if (link == nullptr) {
      object->close();
      continue;
    }
    attId = link->attributeId();
    link->close();
    return true;
  }
  return false;
}

bool updateAreaText(const AcDbPolyline* pPline, AcDbObjectId attId) {
  if (pPline == nullptr) {
    showAssertionBox(kSourceFile, __LINE__, "pPline != NULL");
    return false;
  }
  OpenPtr<AcDbAttribute> attribute(attId, AcDb::kForWrite);
  if (!attribute.isOpen()) return false;
  double area = 0.0;
  if (reportStatus(pPline->getArea(area), __LINE__, kSourceFile) != 0) return false;
  ModuleApp* app = getModuleApp();
  std::string text = formatAreaText(area, app->divisor(), app->areaPrec());
  attribute->setFieldLength(static_cast<Adesk::UInt16>(text.size()));
  attribute->setTextString(text.c_str());
  return true;
}

namespace {

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
