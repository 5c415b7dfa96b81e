// moduleappbase.h - the reusable base of the module's application object.
//
// ModuleAppBase receives every application message of the host (through acrxEntryPoint),
// dispatches it to one overridable operation per message, and runs the start-up and shut-down
// sequences in their fixed order, calling one overridable step after another. Every operation
// does nothing by default; a module overrides the steps it needs. The base also owns the
// module's ErrorLog and answers the module's file name and directory.
#pragma once

#include "windows.h"
#include "rxdefs.h"
#include "acadstrc.h"

#include "errorlog.h"

class ModuleAppBase {
public:
  // Publishes this object as the module's single application object (getModuleApp()).
  ModuleAppBase();
  // Destroys the ErrorLog: both strings of every record, then the storage.
  virtual ~ModuleAppBase();

  ModuleAppBase(const ModuleAppBase&) = delete;
  ModuleAppBase& operator=(const ModuleAppBase&) = delete;

  // The module's file name with its leading backslash ("\zorvik.arx"), or null when the
  // host cannot tell the file or the path has no backslash. Each call overwrites the
  // operation's own 260-byte buffer.
  virtual const char* moduleFileName();
  // The directory of the module file without a trailing backslash, or null (as above).
  virtual const char* moduleDirectory();

  // One handler per host message; each answers kRetOK by default.
  virtual AcRx::AppRetCode onInitApp();
  virtual AcRx::AppRetCode onUnloadApp();
  virtual AcRx::AppRetCode onLoadDwg();
  virtual AcRx::AppRetCode onUnloadDwg();
  virtual AcRx::AppRetCode onSaveDwg();
  virtual AcRx::AppRetCode onEnd();
  virtual AcRx::AppRetCode onQuit();
  virtual AcRx::AppRetCode onConfigure();
  virtual AcRx::AppRetCode onInvokeFunction();
  virtual AcRx::AppRetCode onDependency();
  virtual AcRx::AppRetCode onNoDependency();
  virtual AcRx::AppRetCode onOleUnloadApp();
  virtual AcRx::AppRetCode onPreQuit();
  virtual AcRx::AppRetCode onDialogStart(void* packet);
  virtual AcRx::AppRetCode onDialogEnd(void* packet);

  // Steps of the start-up and shut-down sequences; each does nothing by default.
  virtual void registerClasses();
  virtual void unregisterClasses();
  virtual Acad::ErrorStatus registerCommands();
  virtual Acad::ErrorStatus unregisterCommands();
  virtual void preInitHook();
  virtual void preUnloadHook();
  virtual void postCommandsHook();

  // Prints the ErrorLog to the command line, newest record first; the log is left as it is.
  virtual void printErrors();

  // Stores the packet as the application id, then runs the handler of the message code and
  // answers what it answers. Codes without a handler answer kRetOK and do nothing else.
  AcRx::AppRetCode handleMessage(int message, void* packet);

  // Appends a copy of the record to the ErrorLog and answers its index.
  int addError(const ErrorRecord& record);
  const ErrorLog& errorLog() const { return m_errorLog; }

  HINSTANCE moduleInstance() const { return m_hModule; }
  void setModuleInstance(HINSTANCE hModule) { m_hModule = hModule; }
  // The packet of the latest host message (the host's id of this application).
  void* appId() const { return m_appId; }

private:
  AcRx::AppRetCode runStartUp(void* packet);
  AcRx::AppRetCode runShutDown(void* packet);
  AcRx::AppRetCode callLoadDwg(void*) { return onLoadDwg(); }
  AcRx::AppRetCode callUnloadDwg(void*) { return onUnloadDwg(); }
  AcRx::AppRetCode callInvokeFunction(void*) { return onInvokeFunction(); }
  AcRx::AppRetCode callConfigure(void*) { return onConfigure(); }
  AcRx::AppRetCode callEnd(void*) { return onEnd(); }
  AcRx::AppRetCode callQuit(void*) { return onQuit(); }
  AcRx::AppRetCode callSaveDwg(void*) { return onSaveDwg(); }
  AcRx::AppRetCode callDependency(void*) { return onDependency(); }
  AcRx::AppRetCode callNoDependency(void*) { return onNoDependency(); }
  AcRx::AppRetCode callOleUnloadApp(void*) { return onOleUnloadApp(); }
  AcRx::AppRetCode callPreQuit(void*) { return onPreQuit(); }
  AcRx::AppRetCode callDialogStart(void* packet) { return onDialogStart(packet); }
  AcRx::AppRetCode callDialogEnd(void* packet) { return onDialogEnd(packet); }

  typedef AcRx::AppRetCode (ModuleAppBase::*MessageHandler)(void* packet);
  struct MessageEntry {
    int message;
    MessageHandler handler;
  };
  static const MessageEntry s_messageTable[];

  HINSTANCE m_hModule;
  void* m_appId;
  ErrorLog m_errorLog;
};

// The application object as the base class knows it; written only by the base constructor.
ModuleAppBase* moduleAppBase();
