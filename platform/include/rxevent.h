// rxevent.h - the host's event source (AcRxEvent) and its reactor base (AcRxEventReactor).
//
// The editor (aced.h) is the AcRxEvent that plug-ins attach to; its reactors derive from
// AcRxEventReactor. The deep-clone hooks are sent by AcDbDatabase::deepCloneObjects to every
// reactor in the platform's editor reactor list (pf/editor_reactors.h).
#pragma once
#include "rxobject.h"
#include "acadstrc.h"

class AcDbDatabase;
class AcDbIdMapping;

class AcRxEventReactor : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcRxEventReactor);

  virtual void dwgFileOpened(AcDbDatabase*, char* fileName);
  virtual void initialDwgFileOpenComplete(AcDbDatabase*);
  virtual void databaseConstructed(AcDbDatabase*);
  virtual void databaseToBeDestroyed(AcDbDatabase*);
  virtual void beginSave(AcDbDatabase*, const char* pIntendedName);
  virtual void saveComplete(AcDbDatabase*, const char* pActualName);
  virtual void abortSave(AcDbDatabase*);

  virtual void beginDeepClone(AcDbDatabase* pTo, AcDbIdMapping&);
  virtual void beginDeepCloneXlation(AcDbIdMapping&, Acad::ErrorStatus*);
  virtual void abortDeepClone(AcDbIdMapping&);
  virtual void endDeepClone(AcDbIdMapping&);
};

class AcRxEvent : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcRxEvent);
  virtual void addReactor(AcRxEventReactor* newObj) = 0;
  virtual void removeReactor(AcRxEventReactor* delObj) = 0;
};
