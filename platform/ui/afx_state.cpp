// afx_state.cpp - MFC's application-wide state on this platform: resource handles, module
// states, extension libraries (CDynLinkLibrary), AfxMessageBox, the host SDK's extension-module
// helpers, and the spin control wrapper.
#ifndef _GNU_SOURCE
#define _GNU_SOURCE
#endif
#include <dlfcn.h>

#include <map>
#include <memory>

#include "AcExtensionModule.h"
#include "afxcmn.h"
#include "afxwin.h"
#include "pf/resource_context.h"
#include "pf/resources.h"
#include "pf/windows.h"
#include "resource_state.h"
#include "window_system.h"

// ---- Resource handles and module state -------------------------------------------------------

HINSTANCE AFXAPI AfxGetResourceHandle() { return pf::effectiveResourceHandle(); }
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource) { pf::ui::setResourceOverride(hInstResource); }
HINSTANCE AFXAPI AfxGetInstanceHandle() { return pf::hostModuleHandle(); }
CWnd* AFXAPI AfxGetMainWnd() { return CWnd::FromHandle(pf::mainWindow()); }
LPCTSTR AFXAPI AfxGetAppName() { return pf::applicationTitle().c_str(); }

HINSTANCE AFXAPI AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR) {
  if (lpszName && IS_INTRESOURCE(lpszName)) {
    UINT id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(lpszName));
    if (HINSTANCE h = pf::findDialogModuleNoOops(id)) return h;
  }
  return AfxGetResourceHandle();
}

namespace {
AFX_MODULE_STATE& appState() {
  static AFX_MODULE_STATE s{};
  return s;
}
std::map<HINSTANCE, std::unique_ptr<AFX_MODULE_STATE>>& moduleStates() {
  static auto* m = new std::map<HINSTANCE, std::unique_ptr<AFX_MODULE_STATE>>;
  return *m;
}
}  // namespace

AFX_MODULE_STATE* AFXAPI AfxGetModuleState() {
  AFX_MODULE_STATE& s = appState();
  s.m_hCurrentInstanceHandle = pf::hostModuleHandle();
  s.m_hCurrentResourceHandle = AfxGetResourceHandle();
  s.m_lpszCurrentAppName = AfxGetAppName();
  return &s;
}

AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState() { return AfxGetModuleState(); }

AFX_MODULE_STATE* AFXAPI pfAfxModuleStateOf(const void* addressInModule) {
  Dl_info info{};
  HINSTANCE module = pf::hostModuleHandle();
  if (dladdr(addressInModule, &info) && info.dli_fname) {
    // The handle of an object that is loaded anyway (RTLD_NOLOAD adds a reference; drop it).
    void* h = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (h) {
      module = reinterpret_cast<HINSTANCE>(h);
      dlclose(h);
    }
  }
  auto& states = moduleStates();
  auto& slot = states[module];
  if (!slot) {
    slot = std::make_unique<AFX_MODULE_STATE>();
    slot->m_hCurrentInstanceHandle = module;
    slot->m_hCurrentResourceHandle = module;
    slot->m_lpszCurrentAppName = AfxGetAppName();
    slot->m_bDLL = module != pf::hostModuleHandle();
  }
  return slot.get();
}

AFX_MAINTAIN_STATE2::AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pModuleState) : m_hPrevious(AfxGetResourceHandle()) {
  if (pModuleState) AfxSetResourceHandle(pModuleState->m_hCurrentResourceHandle);
}
AFX_MAINTAIN_STATE2::~AFX_MAINTAIN_STATE2() { AfxSetResourceHandle(m_hPrevious); }

// ---- Extension libraries ---------------------------------------------------------------------

BOOL AFXAPI AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
  if (!hModule) return FALSE;
  if (state.bInitialized && state.hModule == hModule) return TRUE;
  state.bInitialized = TRUE;
  state.hModule = hModule;
  state.hResource = hModule;
  state.pFirstSharedClass = nullptr;
  state.pFirstSharedFactory = nullptr;
  return TRUE;
}

void AFXAPI AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll) {
  if (!state.bInitialized) return;
  AFX_MODULE_STATE& s = appState();
  for (CDynLinkLibrary* p = s.m_libraryList; p;) {
    CDynLinkLibrary* next = p->m_pNextDLL;
    if (bAll || p->m_hModule == state.hModule) delete p;  // unlinks itself
    p = next;
  }
}

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CCmdTarget)

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : CDynLinkLibrary(state.hModule, state.hResource) {
  m_bSystem = bSystem;
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource), m_bSystem(FALSE), m_pNextDLL(nullptr) {
  AFX_MODULE_STATE& s = appState();
  m_pNextDLL = s.m_libraryList;
  s.m_libraryList = this;
  if (hResource) pf::ui::addExtensionResourceModule(this, hResource);
}

CDynLinkLibrary::~CDynLinkLibrary() {
  AFX_MODULE_STATE& s = appState();
  for (CDynLinkLibrary** p = &s.m_libraryList; *p; p = &(*p)->m_pNextDLL) {
    if (*p == this) {
      *p = m_pNextDLL;
      break;
    }
  }
  pf::ui::removeExtensionResourceModule(this);
}

// ---- Message boxes ---------------------------------------------------------------------------

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT) {
  if ((nType & MB_ICONMASK) == 0) {
    UINT type = nType & MB_TYPEMASK;
    if (type == MB_OK || type == MB_OKCANCEL) nType |= MB_ICONEXCLAMATION;
    else if (type == MB_YESNO || type == MB_YESNOCANCEL) nType |= MB_ICONQUESTION;
  }
  // Owned by the dialog (or window) the user is in.
  HWND owner = ::GetFocus() ? pf::ui::topLevelOf(::GetFocus()) : pf::mainWindow();
  return ::MessageBoxA(owner, lpszText, AfxGetAppName(), nType);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  CString text;
  text.LoadString(nIDPrompt);
  return AfxMessageBox(text, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

// ---- AcExtensionModule.h ---------------------------------------------------------------------

CAcExtensionModule::CAcExtensionModule()
    : m_bAttached(FALSE), m_hDefaultResource(nullptr), m_hModuleResource(nullptr), m_module{} {}
CAcExtensionModule::~CAcExtensionModule() = default;

BOOL CAcExtensionModule::Attach(HINSTANCE hExtInst) {
  if (m_bAttached) return TRUE;
  m_bAttached = AfxInitExtensionModule(m_module, hExtInst);
  if (m_bAttached) {
    m_hDefaultResource = AfxGetResourceHandle();
    m_hModuleResource = hExtInst;
    new CDynLinkLibrary(m_module);  // MFC keeps it in its list until the module detaches
  }
  return m_bAttached;
}

void CAcExtensionModule::Detach() {
  if (!m_bAttached) return;
  AfxTermExtensionModule(m_module);
  m_bAttached = FALSE;
}

CAcModuleResourceOverride::CAcModuleResourceOverride(HINSTANCE hInst) : m_previousResourceInstance(AfxGetResourceHandle()) {
  AfxSetResourceHandle(hInst);
}
CAcModuleResourceOverride::~CAcModuleResourceOverride() { AfxSetResourceHandle(m_previousResourceInstance); }

// ---- CSpinButtonCtrl -------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

BOOL CSpinButtonCtrl::SetAccel(int nAccel, UDACCEL* pAccel) {
  return static_cast<BOOL>(::SendMessageA(m_hWnd, UDM_SETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
}
UINT CSpinButtonCtrl::GetAccel(int nAccel, UDACCEL* pAccel) const {
  return static_cast<UINT>(::SendMessageA(m_hWnd, UDM_GETACCEL, static_cast<WPARAM>(nAccel), reinterpret_cast<LPARAM>(pAccel)));
}
int CSpinButtonCtrl::SetBase(int nBase) {
  return static_cast<int>(::SendMessageA(m_hWnd, UDM_SETBASE, static_cast<WPARAM>(nBase), 0));
}
UINT CSpinButtonCtrl::GetBase() const { return static_cast<UINT>(::SendMessageA(m_hWnd, UDM_GETBASE, 0, 0)); }
CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pWndBuddy) {
  return CWnd::FromHandle(reinterpret_cast<HWND>(
      ::SendMessageA(m_hWnd, UDM_SETBUDDY, reinterpret_cast<WPARAM>(pWndBuddy ? pWndBuddy->m_hWnd : nullptr), 0)));
}
CWnd* CSpinButtonCtrl::GetBuddy() const {
  return CWnd::FromHandle(reinterpret_cast<HWND>(::SendMessageA(m_hWnd, UDM_GETBUDDY, 0, 0)));
}
int CSpinButtonCtrl::SetPos(int nPos) {
  return static_cast<short>(LOWORD(::SendMessageA(m_hWnd, UDM_SETPOS, 0, MAKELPARAM(nPos, 0))));
}
int CSpinButtonCtrl::GetPos() const { return static_cast<int>(::SendMessageA(m_hWnd, UDM_GETPOS, 0, 0)); }
int CSpinButtonCtrl::SetPos32(int nPos) { return static_cast<int>(::SendMessageA(m_hWnd, UDM_SETPOS32, 0, nPos)); }
int CSpinButtonCtrl::GetPos32(LPBOOL lpbError) const {
  return static_cast<int>(::SendMessageA(m_hWnd, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(lpbError)));
}
void CSpinButtonCtrl::SetRange(short nLower, short nUpper) {
  ::SendMessageA(m_hWnd, UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower));
}
void CSpinButtonCtrl::SetRange32(int nLower, int nUpper) {
  ::SendMessageA(m_hWnd, UDM_SETRANGE32, static_cast<WPARAM>(static_cast<INT_PTR>(nLower)), nUpper);
}
DWORD CSpinButtonCtrl::GetRange() const { return static_cast<DWORD>(::SendMessageA(m_hWnd, UDM_GETRANGE, 0, 0)); }
void CSpinButtonCtrl::GetRange(int& lower, int& upper) const {
  DWORD r = GetRange();
  upper = static_cast<short>(LOWORD(r));
  lower = static_cast<short>(HIWORD(r));
}
void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
  ::SendMessageA(m_hWnd, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}
