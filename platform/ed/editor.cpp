// The editor (AcEditor) and its reactors: the shared reactor list, the editor reactor's empty
// default hooks, and the host's calls that send drawing and session events.
#include <algorithm>
#include <string>
#include <vector>

#include "aced.h"
#include "ed/editor_internal.h"
#include "pf/editor.h"
#include "pf/editor_reactors.h"
#include "db/editor_sinks.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcEditorReactor, AcRxEventReactor)
ACRX_NO_CONS_DEFINE_MEMBERS(AcEditor, AcRxEvent)

namespace pf {

std::vector<AcRxEventReactor*>& editorEventReactors() {
  static auto* reactors = new std::vector<AcRxEventReactor*>;  // never destroyed (used at exit)
  return *reactors;
}

bool addEditorEventReactor(AcRxEventReactor* reactor) {
  auto& list = editorEventReactors();
  if (reactor == nullptr || std::find(list.begin(), list.end(), reactor) != list.end()) return false;
  list.push_back(reactor);
  return true;
}

bool removeEditorEventReactor(AcRxEventReactor* reactor) {
  auto& list = editorEventReactors();
  auto it = std::find(list.begin(), list.end(), reactor);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

}  // namespace pf

namespace {

// The database's drawing events reach the reactors attached to the editor.
const bool g_eventSinkInstalled = (pf::setEventReactorSink(&pf::notifyEventReactors), true);

// At process exit the reactor list may be destroyed before reactors with static storage are.
// This guard is constructed right after the list, so it is destroyed before it and marks the
// moment from which the list must not be touched.
bool g_reactorListGone = false;
struct ReactorListLifetime {
  ReactorListLifetime() { (void)pf::editorEventReactors(); }
  ~ReactorListLifetime() { g_reactorListGone = true; }
};
const ReactorListLifetime g_reactorListLifetime;

}  // namespace

AcEditorReactor::AcEditorReactor() = default;

// A reactor deleted while still attached would be notified through a dangling pointer; it
// leaves the editor's list on its way out.
AcEditorReactor::~AcEditorReactor() {
  if (!g_reactorListGone) pf::removeEditorEventReactor(this);
}

void AcEditorReactor::unknownCommand(const char*, AcDbVoidPtrArray*) {}
void AcEditorReactor::commandWillStart(const char*) {}
void AcEditorReactor::commandEnded(const char*) {}
void AcEditorReactor::commandCancelled(const char*) {}
void AcEditorReactor::commandFailed(const char*) {}
void AcEditorReactor::beginClose(AcDbDatabase*) {}
void AcEditorReactor::beginDxfIn(AcDbDatabase*) {}
void AcEditorReactor::abortDxfIn(AcDbDatabase*) {}
void AcEditorReactor::dxfInComplete(AcDbDatabase*) {}
void AcEditorReactor::beginDxfOut(AcDbDatabase*) {}
void AcEditorReactor::abortDxfOut(AcDbDatabase*) {}
void AcEditorReactor::dxfOutComplete(AcDbDatabase*) {}
void AcEditorReactor::beginDwgOpen(char*) {}
void AcEditorReactor::endDwgOpen(const char*) {}
void AcEditorReactor::beginQuit() {}
void AcEditorReactor::quitAborted() {}
void AcEditorReactor::quitWillStart() {}

namespace pf {
namespace {

class Editor : public AcEditor {
public:
  void addReactor(AcRxEventReactor* newObj) override {
    if (newObj != nullptr) addEditorEventReactor(newObj);
  }
  void removeReactor(AcRxEventReactor* delObj) override {
    if (delObj != nullptr) removeEditorEventReactor(delObj);
  }
};

bool stillAttached(AcRxEventReactor* r) {
  const std::vector<AcRxEventReactor*>& live = editorEventReactors();
  return std::find(live.begin(), live.end(), r) != live.end();
}

}  // namespace

AcEditor* editorObject() {
  static Editor* editor = new Editor;  // registered in the system registry for the session
  return editor;
}

void notifyEventReactors(const std::function<void(AcRxEventReactor&)>& send) {
  // Work on a copy: reactors may attach or detach others (or themselves) while notified.
  std::vector<AcRxEventReactor*> snapshot = editorEventReactors();
  for (AcRxEventReactor* r : snapshot) {
    if (stillAttached(r)) send(*r);
  }
}

void notifyEditorReactors(const std::function<void(AcEditorReactor&)>& send) {
  notifyEventReactors([&](AcRxEventReactor& r) {
    if (AcEditorReactor* er = AcEditorReactor::cast(&r)) send(*er);
  });
}

void notifyBeginDwgOpen(const char* fileName) {
  // The hook takes a non-const name; hand it a copy so a reactor cannot change the caller's.
  std::string copy = fileName ? fileName : "";
  notifyEditorReactors([&](AcEditorReactor& r) {
    std::vector<char> buf(copy.begin(), copy.end());
    buf.push_back('\0');
    r.beginDwgOpen(buf.data());
  });
}
void notifyEndDwgOpen(const char* fileName) {
  notifyEditorReactors([&](AcEditorReactor& r) { r.endDwgOpen(fileName); });
}
void notifyDwgFileOpened(AcDbDatabase* db, const char* fileName) {
  std::string copy = fileName ? fileName : "";
  notifyEventReactors([&](AcRxEventReactor& r) {
    std::vector<char> buf(copy.begin(), copy.end());
    buf.push_back('\0');
    r.dwgFileOpened(db, buf.data());
  });
}
void notifyInitialDwgFileOpenComplete(AcDbDatabase* db) {
  notifyEventReactors([&](AcRxEventReactor& r) { r.initialDwgFileOpenComplete(db); });
}
void notifyBeginDxfIn(AcDbDatabase* db) {
  notifyEditorReactors([&](AcEditorReactor& r) { r.beginDxfIn(db); });
}
void notifyAbortDxfIn(AcDbDatabase* db) {
  notifyEditorReactors([&](AcEditorReactor& r) { r.abortDxfIn(db); });
}
void notifyDxfInComplete(AcDbDatabase* db) {
  notifyEditorReactors([&](AcEditorReactor& r) { r.dxfInComplete(db); });
}
void notifyBeginSave(AcDbDatabase* db, const char* intendedName) {
  notifyEventReactors([&](AcRxEventReactor& r) { r.beginSave(db, intendedName); });
}
void notifySaveComplete(AcDbDatabase* db, const char* actualName) {
  notifyEventReactors([&](AcRxEventReactor& r) { r.saveComplete(db, actualName); });
}
void notifyAbortSave(AcDbDatabase* db) {
  notifyEventReactors([&](AcRxEventReactor& r) { r.abortSave(db); });
}
void notifyBeginDxfOut(AcDbDatabase* db) {
  notifyEditorReactors([&](AcEditorReactor& r) { r.beginDxfOut(db); });
}
void notifyAbortDxfOut(AcDbDatabase* db) {
  notifyEditorReactors([&](AcEditorReactor& r) { r.abortDxfOut(db); });
}
void notifyDxfOutComplete(AcDbDatabase* db) {
  notifyEditorReactors([&](AcEditorReactor& r) { r.dxfOutComplete(db); });
}
void notifyBeginClose(AcDbDatabase* db) {
  notifyEditorReactors([&](AcEditorReactor& r) { r.beginClose(db); });
}
void notifyBeginQuit() {
  notifyEditorReactors([&](AcEditorReactor& r) { r.beginQuit(); });
}
void notifyQuitWillStart() {
  notifyEditorReactors([&](AcEditorReactor& r) { r.quitWillStart(); });
}

}  // namespace pf
