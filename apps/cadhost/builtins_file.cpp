// Built-in commands about the session rather than the geometry: LIST, ARX, SAVE, SAVEAS, QUIT,
// the registration of every built-in command, and what the command files share.
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "accmd.h"
#include "acutmem.h"
#include "builtins.h"
#include "builtins_internal.h"
#include "console_text.h"
#include "dbents.h"
#include "dbmain.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "pf/drawings.h"
#include "pf/dxf.h"
#include "pf/editor.h"
#include "pf/input.h"
#include "pf/modules.h"
#include "pf/output.h"
#include "builtin_prompts.h"
#include "session.h"
#include "text_util.h"

namespace cadhost {

const char* const kBuiltinGroup = "CADHOST_BUILTINS";

namespace {
Session* g_session = nullptr;  // set while the built-in commands are registered
}  // namespace

Session& session() { return *g_session; }

void printStatus(const char* what, Acad::ErrorStatus es) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "\nCannot %s: status %d.", what, static_cast<int>(es));
  pf::writeOutput(buf);
}

AcDbObjectId modelSpaceId() {
  AcDbObjectId id;
  AcDbBlockTable* table = nullptr;
  if (session().db && session().db->getSymbolTable(table, AcDb::kForRead) == Acad::eOk) {
    table->getAt(ACDB_MODEL_SPACE, id);
    table->close();
  }
  return id;
}

bool appendToModelSpace(AcDbEntity* ent, AcDbObjectId* id, bool keepOpen) {
  AcDbBlockTableRecord* space = nullptr;
  Acad::ErrorStatus es = acdbOpenObject(space, modelSpaceId(), AcDb::kForWrite);
  if (es == Acad::eOk) {
    AcDbObjectId newId;
    es = space->appendAcDbEntity(newId, ent);
    space->close();
    if (es == Acad::eOk) {
      if (id) *id = newId;
      if (!keepOpen) ent->close();
      return true;
    }
  }
  delete ent;
  printStatus("add the entity to model space", es);
  return false;
}

namespace {

std::string handleText(const AcDbObject* obj) {
  AcDbHandle h;
  obj->getAcDbHandle(h);
  char buf[32] = "";
  h.getIntoAsciiBuffer(buf);
  return buf;
}

void listEntity(AcDbEntity* ent) {
  AcRxClass* cls = ent->isA();
  const char* dxf = cls ? cls->dxfName() : nullptr;
  const std::string type = dxf && *dxf ? dxf : (cls ? cls->name() : "?");
  char* layer = ent->layer();
  pf::writeOutput("\n" + type + "  Layer: \"" + takeHostString(layer) + "\"  Handle = " + handleText(ent));
  char buf[128];
  if (AcDbPolyline* pl = AcDbPolyline::cast(ent)) {
    double area = 0;
    if (pl->getArea(area) == Acad::eOk) {
      std::snprintf(buf, sizeof buf, "\n    %s, %u vertices, area %.4f", pl->isClosed() ? "closed" : "open",
                    pl->numVerts(), area);
      pf::writeOutput(buf);
    }
  } else if (AcDbBlockReference* ref = AcDbBlockReference::cast(ent)) {
    AcDbBlockTableRecord* block = nullptr;
    if (acdbOpenObject(block, ref->blockTableRecord(), AcDb::kForRead) == Acad::eOk) {
      const char* name = nullptr;
      block->getName(name);
      pf::writeOutput(std::string("\n    block \"") + (name ? name : "") + "\"");
      block->close();
    }
    AcDbObjectIterator* it = ref->attributeIterator();
    for (; it && !it->done(); it->step()) {
      AcDbAttribute* att = nullptr;
      if (ref->openAttribute(att, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
      pf::writeOutput("\n    attribute " + takeHostString(att->tag()) + " = \"" + takeHostString(att->textString()) + "\"");
      att->close();
    }
    delete it;
  } else if (AcDbText* text = AcDbText::cast(ent)) {
    pf::writeOutput("\n    text \"" + takeHostString(text->textString()) + "\"");
  }
}

}  // namespace

void cmdList() {
  std::vector<AcDbObjectId> ids;
  if (askObjects(ids) != Answer::kOk) return;
  for (const AcDbObjectId& id : ids) {
    AcDbEntity* ent = nullptr;
    if (acdbOpenObject(ent, id, AcDb::kForRead) != Acad::eOk) continue;
    listEntity(ent);
    ent->close();
  }
}

void cmdArx() {
  for (;;) {
    std::string option;
    if (askText("\nEnter an option [?/Load/Unload]: ", option) != Answer::kOk) return;
    if (option == "?") {
      const auto modules = pf::loadedModules();
      if (modules.empty()) pf::writeOutput("\nNo modules are loaded.");
      for (const auto& m : modules) pf::writeOutput("\n" + m.name + "  " + m.path);
      return;
    }
    if (abbreviates(option, "Load", 1)) {
      std::string file;
      if (askFileName("\nModule file to load: ", file) != Answer::kOk) return;
      if (pf::loadModule(file, false))
        pf::writeOutput("\n" + consoleEncoding().toHost(file) + " loaded.");
      else
        pf::writeOutput("\nCannot load " + consoleEncoding().toHost(file) + ": " + pf::lastModuleError());
      return;
    }
    if (abbreviates(option, "Unload", 1)) {
      std::string name;
      if (askText("\nModule to unload: ", name) != Answer::kOk) return;
      if (pf::unloadModule(name))
        pf::writeOutput("\n" + name + " unloaded.");
      else
        pf::writeOutput("\nCannot unload " + name + ": " + pf::lastModuleError());
      return;
    }
    pf::writeOutput("\nInvalid option keyword.");
  }
}

bool saveDrawing(Session& session, const std::string& path) {
  std::string why;
  const bool saved = session.dxfForm.empty()
                         ? pf::saveDrawing(session.document, path, why)
                         : pf::saveDrawing(session.document, path,
                                           session.dxfForm == "binary" ? pf::DxfForm::kBinary : pf::DxfForm::kAscii, why);
  if (saved) return true;
  // An error, so on standard error like every other (the transcript goes on after it).
  pf::finishOutputLine();
  std::fflush(stdout);
  std::fprintf(stderr, "cadhost: The drawing was not saved: %s\n", why.c_str());
  return false;
}

void cmdSave() {
  std::string path = session().drawingPath;
  if (path.empty() && askFileName("\nSave drawing as: ", path) != Answer::kOk) return;
  if (saveDrawing(session(), path)) {
    session().drawingPath = path;
    pf::writeOutput("\nSaved " + consoleEncoding().toHost(path) + ".");
  }
}

void cmdSaveAs() {
  std::string path;
  if (askFileName("\nSave drawing as: ", path) != Answer::kOk) return;
  if (saveDrawing(session(), path)) {
    session().drawingPath = path;
    pf::writeOutput("\nSaved " + consoleEncoding().toHost(path) + ".");
  }
}

void cmdQuit() { session().quitRequested = true; }

namespace {
struct Builtin {
  const char* name;
  void (*fn)();
};
const Builtin kBuiltins[] = {
    {"PLINE", cmdPline}, {"INSERT", cmdInsert}, {"MOVE", cmdMove},     {"COPY", cmdCopy},
    {"SCALE", cmdScale}, {"ERASE", cmdErase},   {"LIST", cmdList},     {"ARX", cmdArx},
    {"SAVE", cmdSave},   {"SAVEAS", cmdSaveAs}, {"QUIT", cmdQuit},
};
}  // namespace

void registerBuiltinCommands(Session& session) {
  g_session = &session;
  for (const Builtin& b : kBuiltins) acedRegCmds->addCommand(kBuiltinGroup, b.name, b.name, ACRX_CMD_MODAL, b.fn);
}

void unregisterBuiltinCommands() {
  acedRegCmds->removeGroup(kBuiltinGroup);
  g_session = nullptr;
}

}  // namespace cadhost
