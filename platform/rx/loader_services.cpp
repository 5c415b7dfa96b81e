// loader_services.cpp - the acrx* application services of rxregsvc.h and the host's product
// registry key.
#include "rxregsvc.h"

#include "rx/loader_modules.h"

bool acrxUnlockApplication(void* appId) { return pf::loader::setLocked(appId, false); }
bool acrxLockApplication(void* appId) { return pf::loader::setLocked(appId, true); }
bool acrxApplicationIsLocked(const char* modulename) { return pf::loader::isLocked(modulename); }
bool acrxRegisterAppMDIAware(void* appId) { return pf::loader::setMdiAware(appId, true); }
bool acrxRegisterAppNotMDIAware(void* appId) { return pf::loader::setMdiAware(appId, false); }
bool acrxIsAppMDIAware(const char* moduleName) { return pf::loader::isMdiAware(moduleName); }

// asCmd only matters to the real host's undo recording; loading is the same either way.
bool acrxLoadModule(const char* moduleName, bool printit, bool /*asCmd*/) {
  return pf::loader::load(moduleName, printit);
}
bool acrxUnloadModule(const char* moduleName, bool /*asCmd*/) {
  return pf::loader::unload(moduleName);
}
bool acrxLoadApp(const char* appname, bool /*asCmd*/) { return pf::loader::load(appname, true); }
bool acrxUnloadApp(const char* appname, bool /*asCmd*/) { return pf::loader::unload(appname); }

const char* acrxProductKey() { return "Software\\Cadhost\\R15.0\\ACAD-1:409"; }
const char* acrxObjectDBXRegistryKey() { return "Software\\Cadhost\\ObjectDBX\\R15.0"; }
unsigned long acrxProductLCID() { return 0x409; }
