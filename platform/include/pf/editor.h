// pf/editor.h - the host program's side of the editor: sending drawing and session events to
// the editor reactors (AcEditor::addReactor). Command events are sent by pf::runCommand.
//
// Reactors hear each event in the order they were added. A reactor may add or remove reactors
// (itself included) while it is being notified: one removed during an event hears nothing more
// of it, one added during an event hears the next event.
#pragma once
#include <functional>

class AcDbDatabase;
class AcEditorReactor;
class AcRxEventReactor;

namespace pf {

// Sends an event to every editor event reactor / to those that are AcEditorReactors.
void notifyEventReactors(const std::function<void(AcRxEventReactor&)>& send);
void notifyEditorReactors(const std::function<void(AcEditorReactor&)>& send);

// Drawing events, at the moments the host program reaches them. (databaseConstructed and
// databaseToBeDestroyed are sent by AcDbDatabase itself.)
void notifyBeginDwgOpen(const char* fileName);
void notifyEndDwgOpen(const char* fileName);
void notifyDwgFileOpened(AcDbDatabase* db, const char* fileName);
void notifyInitialDwgFileOpenComplete(AcDbDatabase* db);
void notifyBeginDxfIn(AcDbDatabase* db);
void notifyAbortDxfIn(AcDbDatabase* db);
void notifyDxfInComplete(AcDbDatabase* db);
void notifyBeginSave(AcDbDatabase* db, const char* intendedName);
void notifySaveComplete(AcDbDatabase* db, const char* actualName);
void notifyAbortSave(AcDbDatabase* db);
void notifyBeginDxfOut(AcDbDatabase* db);
void notifyAbortDxfOut(AcDbDatabase* db);
void notifyDxfOutComplete(AcDbDatabase* db);
void notifyBeginClose(AcDbDatabase* db);
void notifyBeginQuit();
void notifyQuitWillStart();

}  // namespace pf
