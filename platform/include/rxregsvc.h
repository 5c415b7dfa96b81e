// rxregsvc.h - application services of the runtime layer: lock and multi-document flags of a
// loaded module, loading and unloading by name, and the host's registry key.
#pragma once
#include "rxdlinkr.h"

// appId is the data of the module's kInitAppMsg. Modules start locked (they cannot be
// unloaded); unlocking makes ARX Unload possible. Each answers false for an unknown appId.
bool acrxUnlockApplication(void* appId);
bool acrxLockApplication(void* appId);
bool acrxApplicationIsLocked(const char* modulename);
bool acrxRegisterAppMDIAware(void* appId);
bool acrxRegisterAppNotMDIAware(void* appId);
bool acrxIsAppMDIAware(const char* moduleName);

bool acrxLoadModule(const char* moduleName, bool printit, bool asCmd = false);
bool acrxUnloadModule(const char* moduleName, bool asCmd = false);
bool acrxLoadApp(const char* appname, bool asCmd = false);
bool acrxUnloadApp(const char* appname, bool asCmd = false);

// The host's own key below HKEY_CURRENT_USER: "Software\Cadhost\R15.0\ACAD-1:409".
const char* acrxProductKey();
// The key of the database layer below HKEY_LOCAL_MACHINE: "Software\Cadhost\ObjectDBX\R15.0".
const char* acrxObjectDBXRegistryKey();
// The host's language: 0x409 (English, United States).
unsigned long acrxProductLCID();
