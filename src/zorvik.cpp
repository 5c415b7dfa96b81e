// zorvik.cpp - the module's entry points, its statics and the application object's
// registration and initialisation steps.
#include "zorvik.h"

#include <new>

#include "afxwin.h"
#include "rxregsvc.h"
#include "rxclass.h"

#include "editorreactor.h"
#include "extmodule.h"
#include "plinenotifyobj.h"
#include "resources.h"

// Static construction runs in the order of the definitions below: the extension record is
// cleared and published, the application object is built (base part first), and the string
// loader is set up. The process-attach handler runs after all of them.
static ExtensionModule s_extensionModule = {};
ExtensionModule* g_pExtensionModule = &s_extensionModule;
static ModuleApp s_theApp;
static const bool s_stringLoaderReady = (setUpResourceStringLoader(), true);

ModuleApp* getModuleApp() { return static_cast<ModuleApp*>(moduleAppBase()); }

// The host hands every application message to the application object.
extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode msg, void* appId) {
  return getModuleApp()->handleMessage(msg, appId);
}

// The operating system's load notifications for the module file: set up and end the MFC
// extension library. Every reason answers TRUE, also when MFC could not be set up.
extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID /*lpReserved*/) {
  if (dwReason == DLL_PROCESS_ATTACH) {
    ExtensionModule& ext = *g_pExtensionModule;
    if (!ext.attached) {
      ext.attached = AfxInitExtensionModule(ext.extension, hInstance);
      if (ext.attached) {
        ext.defaultResourceHandle = AfxGetModuleState()->m_hCurrentResourceHandle;
        ext.moduleInstance = hInstance;
        // MFC keeps the library object in its list and frees it itself.
        new CDynLinkLibrary(ext.extension, FALSE);
      }
    }
    getModuleApp()->setModuleInstance(hInstance);
  } else if (dwReason == DLL_PROCESS_DETACH) {
    ExtensionModule& ext = *g_pExtensionModule;
    if (ext.attached) {
      AfxTermExtensionModule(ext.extension, FALSE);
      ext.attached = FALSE;
    }
  }
  return TRUE;
}

ModuleApp::ModuleApp() : m_pEditorReactor(nullptr) {}

// The editor reactor is the shut-down sequence's to destroy; the destructor leaves it alone.
ModuleApp::~ModuleApp() {}

void ModuleApp::registerClasses() {
  CPlineNotifyObject::rxInit();
  AcZorvikEditorReactor::rxInit();
}

// The editor reactor's class goes first; the reactor instance still exists at this point and
// onUnloadApp() destroys it afterwards. The cached descriptors are forgotten with their
// classes, so that nothing can reach a deleted descriptor while the module stays mapped (a
// later desc() looks the class up again, and a later rxInit() registers it anew).
void ModuleApp::unregisterClasses() {
  deleteAcRxClass(AcZorvikEditorReactor::desc());
  AcZorvikEditorReactor::gpDesc = nullptr;
  deleteAcRxClass(CPlineNotifyObject::desc());
  CPlineNotifyObject::gpDesc = nullptr;
}

AcRx::AppRetCode ModuleApp::onInitApp() {
  m_pEditorReactor = new (std::nothrow) AcZorvikEditorReactor;
  if (m_pEditorReactor == nullptr) return AcRx::kRetError;
  loadSettings();
  return AcRx::kRetOK;
}

AcRx::AppRetCode ModuleApp::onUnloadApp() {
  if (m_pEditorReactor != nullptr) {
    delete m_pEditorReactor;
    m_pEditorReactor = nullptr;
  }
  if (errorLog().count() > 0) printErrors();
  return AcRx::kRetOK;
}
