// loader_modules.h - the module table behind AcRxDynamicLinker, rxregsvc.h and pf/modules.h.
#pragma once
#include <string>

#include "windef.h"

namespace pf {
namespace loader {

bool load(const char* file, bool printit);
bool unload(const char* name);

// Lock and multi-document flags, by application id (the kInitAppMsg data) or module name.
bool setLocked(void* appId, bool locked);
bool isLocked(const char* name);
bool setMdiAware(void* appId, bool aware);
bool isMdiAware(const char* name);

// The file of a loaded module; false for a handle that is not a loaded module's.
bool pathOf(HINSTANCE handle, std::string& path);

// What the dynamic linker tells its reactors.
enum class Event { kWillLoad, kLoaded, kLoadAborted, kWillUnload, kUnloaded, kUnloadAborted };
void setEventSink(void (*sink)(Event event, const char* moduleName));

}  // namespace loader
}  // namespace pf
