// aced.h - the editor: the event source plug-ins attach reactors to, and the editor reactor.
//
// The editor is registered in the system registry under ACED_EDITOR_OBJ. Its reactors hear the
// drawing events of AcRxEventReactor (open, save, deep clone...) and the editor's own: commands
// starting and ending, drawings being closed, DXF files read and written.
#pragma once
#include "accmd.h"
#include "rxevent.h"
#include "dbptrar.h"

#define ACED_EDITOR_OBJ "AcEditor"

class AcEditorReactor : public AcRxEventReactor {
public:
  ACRX_DECLARE_MEMBERS(AcEditorReactor);
  AcEditorReactor();
  ~AcEditorReactor() override;

  // Commands. cmdStr is the command's global name.
  virtual void unknownCommand(const char* cmdStr, AcDbVoidPtrArray* al);
  virtual void commandWillStart(const char* cmdStr);
  virtual void commandEnded(const char* cmdStr);
  virtual void commandCancelled(const char* cmdStr);
  virtual void commandFailed(const char* cmdStr);

  // Drawings.
  virtual void beginClose(AcDbDatabase* pDwg);
  virtual void beginDxfIn(AcDbDatabase*);
  virtual void abortDxfIn(AcDbDatabase*);
  virtual void dxfInComplete(AcDbDatabase*);
  virtual void beginDxfOut(AcDbDatabase*);
  virtual void abortDxfOut(AcDbDatabase*);
  virtual void dxfOutComplete(AcDbDatabase*);
  virtual void beginDwgOpen(char* filename);
  virtual void endDwgOpen(const char* filename);

  // The session.
  virtual void beginQuit();
  virtual void quitAborted();
  virtual void quitWillStart();
};

class AcEditor : public AcRxEvent {
public:
  ACRX_DECLARE_MEMBERS(AcEditor);
  // A reactor is added once (adding it again changes nothing) and hears events in the order
  // reactors were added.
  void addReactor(AcRxEventReactor* newObj) override = 0;
  void removeReactor(AcRxEventReactor* delObj) override = 0;
};

#define acedEditor AcEditor::cast(acrxSysRegistry()->at(ACED_EDITOR_OBJ))
