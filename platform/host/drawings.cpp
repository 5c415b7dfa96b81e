// The drawing protocol of the host (pf/drawings.h): which notices go out, in which order, around
// reading, writing and closing a drawing.
#include "pf/drawings.h"

#include <algorithm>
#include <vector>

#include "acdocman.h"
#include "dbapserv.h"
#include "dbmain.h"
#include "pf/documents.h"
#include "pf/dxf.h"
#include "pf/editor.h"
#include "pf/modules.h"
#include "pf/sysvars.h"

namespace pf {

namespace {
// DWGCODEPAGE answers what the drawing's file said ($DWGCODEPAGE): the editor layer below
// cannot ask the DXF layer itself.
const bool kCodePageSourceInstalled = (setDrawingCodePageSource(&dxfCodePage), true);
}  // namespace
namespace {

// The documents that openDrawing opened: only those are told of their closing.
std::vector<AcApDocument*>& openedDocuments() {
  static std::vector<AcApDocument*> opened;
  return opened;
}

bool wasOpened(AcApDocument* doc) {
  const auto& opened = openedDocuments();
  return std::find(opened.begin(), opened.end(), doc) != opened.end();
}

}  // namespace

AcApDocument* createDrawing(const std::string& path) {
  AcDbDatabase* db = new AcDbDatabase(path.empty(), true);
  acdbHostApplicationServices()->setWorkingDatabase(db);
  return openDocument(db, path);
}

bool openDrawing(AcApDocument* doc, std::string& error) {
  if (doc == nullptr || doc->database() == nullptr) {
    error = "no drawing to open";
    return false;
  }
  AcDbDatabase* db = doc->database();
  const std::string path = doc->fileName() ? doc->fileName() : "";
  if (!path.empty()) {
    notifyBeginDwgOpen(path.c_str());
    notifyBeginDxfIn(db);
    if (db->dxfIn(path.c_str()) != Acad::eOk) {
      notifyAbortDxfIn(db);
      const std::string why = lastDxfFailure().text();
      error = why.empty() ? "cannot read the drawing '" + path + "'" : why;
      return false;
    }
    notifyDxfInComplete(db);
    notifyEndDwgOpen(path.c_str());
    notifyDwgFileOpened(db, path.c_str());
  }
  if (!wasOpened(doc)) openedDocuments().push_back(doc);
  sendAppMessage(AcRx::kLoadDwgMsg);
  return true;
}

namespace {

// Saves in the form given, or in the form read when there is none.
bool saveInForm(AcApDocument* doc, const std::string& path, const DxfForm* form, std::string& error) {
  AcDbDatabase* db = doc ? doc->database() : nullptr;
  if (db == nullptr) {
    error = "no drawing to save";
    return false;
  }
  sendAppMessage(AcRx::kSaveMsg);
  notifyBeginSave(db, path.c_str());
  notifyBeginDxfOut(db);
  const Acad::ErrorStatus es = form ? dxfOutAs(db, path.c_str(), *form) : db->dxfOut(path.c_str());
  if (es != Acad::eOk) {
    notifyAbortDxfOut(db);
    notifyAbortSave(db);
    const std::string why = lastDxfFailure().text();
    error = why.empty() ? "status " + std::to_string(es) : why;
    return false;
  }
  notifyDxfOutComplete(db);
  notifySaveComplete(db, path.c_str());
  return true;
}

}  // namespace

bool saveDrawing(AcApDocument* doc, const std::string& path, std::string& error) {
  return saveInForm(doc, path, nullptr, error);
}

bool saveDrawing(AcApDocument* doc, const std::string& path, DxfForm form, std::string& error) {
  return saveInForm(doc, path, &form, error);
}

void closeDrawing(AcApDocument* doc) {
  if (doc == nullptr) return;
  AcDbDatabase* db = doc->database();
  auto& opened = openedDocuments();
  const auto at = std::find(opened.begin(), opened.end(), doc);
  if (at != opened.end()) {
    opened.erase(at);
    notifyBeginClose(db);
    sendAppMessage(AcRx::kUnloadDwgMsg);
  }
  closeDocument(doc);
  AcDbHostApplicationServices* services = acdbHostApplicationServices();
  if (services->workingDatabase() == db) services->setWorkingDatabase(nullptr);
  delete db;
}

void endSession() {
  notifyBeginQuit();
  notifyQuitWillStart();
  sendAppMessage(AcRx::kQuitMsg);
  unloadAllModules();
}

}  // namespace pf
