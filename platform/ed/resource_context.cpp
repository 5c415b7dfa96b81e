// The current resource handle, answered by whoever owns the resource-handle stack.
#include "pf/resource_context.h"

#include <dlfcn.h>

namespace pf {
namespace {
HINSTANCE (*g_source)() = nullptr;
}

HINSTANCE hostModuleHandle() {
  // The handle of the main program, as the module loader hands out dlopen handles for modules.
  static HINSTANCE self = reinterpret_cast<HINSTANCE>(dlopen(nullptr, RTLD_LAZY | RTLD_NOLOAD));
  return self;
}

HINSTANCE currentResourceHandle() { return g_source ? g_source() : hostModuleHandle(); }

void setCurrentResourceHandleSource(HINSTANCE (*source)()) { g_source = source; }

}  // namespace pf
