// afxdll_.h - MFC's module state and the extension-library calls, reached through afxwin.h.
//
// A module set up as an extension library (AfxInitExtensionModule, then a CDynLinkLibrary)
// joins the list of modules MFC searches for resources after the current resource module.
// AFX_MANAGE_STATE switches the resource handle to the calling module for one scope.
#pragma once
#include "afxwin.h"

class CDynLinkLibrary;

struct AFX_MODULE_STATE {
  HINSTANCE m_hCurrentInstanceHandle;
  HINSTANCE m_hCurrentResourceHandle;  // refreshed by AfxGetModuleState()
  LPCTSTR m_lpszCurrentAppName;
  BOOL m_bDLL;
  BOOL m_bSystem;
  CDynLinkLibrary* m_libraryList;      // newest first
};

AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState();
// The state of the module that holds the given address (its resource handle is that module).
AFX_MODULE_STATE* AFXAPI pfAfxModuleStateOf(const void* addressInModule);

// The state of the calling module: each module gets its own copy of this function.
static inline AFX_MODULE_STATE* AfxGetStaticModuleState() {
  static const char anchor = 0;
  return pfAfxModuleStateOf(&anchor);
}

struct AFX_MAINTAIN_STATE2 {
  explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pModuleState);
  ~AFX_MAINTAIN_STATE2();
  AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
  AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

 private:
  HINSTANCE m_hPrevious;
};
#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p);

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized;
  HMODULE hModule;
  HMODULE hResource;
  CRuntimeClass* pFirstSharedClass;
  void* pFirstSharedFactory;
};

// Records the module in the state (module and resource handle); FALSE for a null module.
BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Deletes the module's CDynLinkLibrary objects (all of them with bAll).
void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

class CDynLinkLibrary : public CCmdTarget {
  DECLARE_DYNAMIC(CDynLinkLibrary)
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
  CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
  virtual ~CDynLinkLibrary();

  HMODULE m_hModule;
  HMODULE m_hResource;
  BOOL m_bSystem;
  CDynLinkLibrary* m_pNextDLL;
};
