// A Win32-layer call into the runtime: the registry and module handles sit below it.
#include "rxdict.h"

void* probeRegistryReachesTheRuntime() { return acrxSysRegistry(); }
