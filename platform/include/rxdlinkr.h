// rxdlinkr.h - the dynamic linker: loads and unloads modules, keeps their lock and
// multi-document flags, and tells its reactors about loads and unloads.
#pragma once
#include "rxobject.h"
#include "rxdict.h"
#include "rxnames.h"

// Load reasons and registration statuses of demand-loaded applications.
struct AcadApp {
  enum LoadReasons {
    kOnProxyDetection = 0x01,
    kOnAutoCADStartup = 0x02,
    kOnCommandInvocation = 0x04,
    kOnLoadRequest = 0x08,
    kLoadDisabled = 0x10,
    kTransparentlyLoadable = 0x20
  };
  enum ErrorStatus {
    eOk = 0,
    eInvalidKey = 1,
    eInvalidSubKey = 2,
    eKeyNotFound = 3,
    eOutOfMemory = 4,
    eInvalidValue = 5,
    eValueNotFound = 6,
    eKeyExists = 7,
    eRegAccessDenied = 8,
    eRejected = 9,
    eUnknownError = 10
  };
};

// Told before and after a module is loaded or unloaded (every hook does nothing by default).
class AcRxDLinkerReactor : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxDLinkerReactor);
  virtual void rxAppWillBeLoaded(const char* moduleName);
  virtual void rxAppLoaded(const char* moduleName);
  virtual void rxAppLoadAborted(const char* moduleName);
  virtual void rxAppWillBeUnloaded(const char* moduleName);
  virtual void rxAppUnloaded(const char* moduleName);
  virtual void rxAppUnloadAborted(const char* moduleName);
};

class AcRxDynamicLinker : public AcRxObject {
 public:
  ACRX_DECLARE_MEMBERS(AcRxDynamicLinker);

  // appId is the data of the module's kInitAppMsg.
  virtual bool unlockApplication(void* appId) const = 0;
  virtual bool lockApplication(void* appId) const = 0;
  virtual bool isApplicationLocked(const char* name) const = 0;
  virtual bool registerAppMDIAware(void* appId) const = 0;
  virtual bool registerAppNotMDIAware(void* appId) const = 0;
  virtual bool isAppMDIAware(const char* moduleName) const = 0;

  virtual bool loadModule(const char* fileName, bool printit, bool asCmd = false) = 0;
  virtual bool unloadModule(const char* fileName, bool asCmd = false) = 0;

  virtual const char* ProductKey() const = 0;
  virtual Adesk::UInt32 ProductLcid() const = 0;

  virtual void addReactor(AcRxDLinkerReactor* pReactor) = 0;
  virtual void removeReactor(AcRxDLinkerReactor* pReactor) = 0;
};

#define acrxDynamicLinker AcRxDynamicLinker::cast(acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER))
