// resources.cpp - loading string-table entries and pushing the module's resource handle.
#include "resources.h"

#include "acdocman.h"

#include "extmodule.h"

namespace {

// Loads string-table entries from the current resource module (CString::LoadString rules).
class ResourceStringLoader {
public:
  CString load(UINT id) const {
    CString text;
    if (!text.LoadString(id)) text.Empty();
    return text;
  }
};

// Set up with the module's other statics; see zorvik.cpp for their order.
const ResourceStringLoader* g_pStringLoader = nullptr;

}  // namespace

void setUpResourceStringLoader() {
  static const ResourceStringLoader loader;
  g_pStringLoader = &loader;
}

CString loadResourceString(UINT id) {
  if (g_pStringLoader == nullptr) setUpResourceStringLoader();
  return g_pStringLoader->load(id);
}

void pushModuleResourceHandle() {
  acDocManagerPtr()->pushResourceHandle(g_pExtensionModule->moduleInstance);
}

void popModuleResourceHandle() { acDocManagerPtr()->popResourceHandle(); }
