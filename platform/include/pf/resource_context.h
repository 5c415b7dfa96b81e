// pf/resource_context.h - which module's resources are in force right now.
//
// The resource loader (string tables, dialog templates) reads from the module named by the
// current resource handle. The document manager owns the resource-handle stack and installs
// itself as the source of that handle; until it does, the host's own module is current.
#pragma once
#include "windef.h"

namespace pf {

// The host program's own module handle (the main executable).
HINSTANCE hostModuleHandle();

// The resource handle currently in force.
HINSTANCE currentResourceHandle();

// Installs the function that answers currentResourceHandle(); nullptr restores the default.
void setCurrentResourceHandleSource(HINSTANCE (*source)());

}  // namespace pf
