// rx/rxinit.h - registering the platform's built-in classes, and plain runtime dictionaries.
#pragma once
#include "rxobject.h"

namespace pf {

// Runs `init` (a class's rxInit) when the runtime starts, or at once if it already has.
// Use PF_REGISTER_CLASS in the class's source file.
bool registerClassInit(void (*init)());

// A new, empty dictionary (for registry entries). Keys compare by exact text unless
// caseSensitive is false; with deletesObjects the dictionary deletes its objects with itself.
AcRxDictionary* newRxDictionary(bool caseSensitive = true, bool deletesObjects = false);

// The class registered under the DXF name (case-insensitive), or NULL.
AcRxClass* classForDxfName(const char* dxfName);

}  // namespace pf

#define PF_REGISTER_CLASS(CLASS_NAME) \
  static const bool pfRegistered_##CLASS_NAME = ::pf::registerClassInit(&CLASS_NAME::rxInit)
