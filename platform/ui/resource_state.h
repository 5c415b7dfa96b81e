// resource_state.h - platform-internal state shared by the resource loader and the MFC
// subset: the resource handle MFC code set with AfxSetResourceHandle, and the modules of the
// registered extension libraries (CDynLinkLibrary), searched after the current module.
#pragma once
#include <vector>

#include "windef.h"

namespace pf {
namespace ui {

// AfxSetResourceHandle: the handle is in force until the current resource handle of the
// document manager changes (a push or pop there wins, as both write the same slot in the
// real host).
void setResourceOverride(HINSTANCE handle);

// The extension libraries' resource modules, in registration order (newest first, as MFC
// searches them).
void addExtensionResourceModule(const void* owner, HINSTANCE module);
void removeExtensionResourceModule(const void* owner);
std::vector<HINSTANCE> extensionResourceModules();

}  // namespace ui
}  // namespace pf
