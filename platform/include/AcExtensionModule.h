// AcExtensionModule.h - the host SDK's helpers for an MFC extension module: CAcExtensionModule
// (attach/detach as an extension library, remembering the module's resource handle) and
// CAcModuleResourceOverride (switch the resource handle for one scope).
#pragma once
#include "afxwin.h"

class CAcExtensionModule {
 public:
  CAcExtensionModule();
  ~CAcExtensionModule();
  // AfxInitExtensionModule and a CDynLinkLibrary for the module; TRUE when attached.
  BOOL Attach(HINSTANCE hExtInst);
  void Detach();
  BOOL Attached() const { return m_bAttached; }
  HINSTANCE DefaultResourceInstance() const { return m_hDefaultResource; }
  HINSTANCE ModuleResourceInstance() const { return m_hModuleResource; }

 private:
  BOOL m_bAttached;
  HINSTANCE m_hDefaultResource;
  HINSTANCE m_hModuleResource;
  AFX_EXTENSION_MODULE m_module;
};

class CAcModuleResourceOverride {
 public:
  // Without an argument: the resource module of the calling module.
  __attribute__((visibility("hidden"))) CAcModuleResourceOverride()
      : CAcModuleResourceOverride(AfxGetStaticModuleState()->m_hCurrentResourceHandle) {}
  explicit CAcModuleResourceOverride(HINSTANCE hInst);
  ~CAcModuleResourceOverride();
  CAcModuleResourceOverride(const CAcModuleResourceOverride&) = delete;
  CAcModuleResourceOverride& operator=(const CAcModuleResourceOverride&) = delete;

 private:
  HINSTANCE m_previousResourceInstance;
};

#define AC_DECLARE_EXTENSION_MODULE(exm) extern CAcExtensionModule exm;
#define AC_IMPLEMENT_EXTENSION_MODULE(exm) CAcExtensionModule exm;
