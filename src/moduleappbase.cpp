// moduleappbase.cpp - message dispatch, start-up and shut-down sequences, module paths and
// the error log operations of ModuleAppBase.
#include "moduleappbase.h"

#include <clocale>
#include <cstring>

#include "windows.h"
#include "mbstring.h"
#include "rxregsvc.h"
#include "rxdlinkr.h"
#include "rxclass.h"
#include "rxdict.h"
#include "rxnames.h"
#include "adslib.h"

namespace {

// The single application object; published by the base constructor, never cleared.
ModuleAppBase* g_pApp = nullptr;

// The buffers that the two module-path operations answer; each has its own.
char g_moduleFileNameBuffer[MAX_PATH];
char g_moduleDirectoryBuffer[MAX_PATH];

// Fills `buffer` with the full path of the module file and answers the last backslash in it
// (multibyte-aware), or null when the path is unknown or has no backslash.
char* modulePathAndLastBackslash(HINSTANCE hModule, char* buffer) {
  if (GetModuleFileNameA(hModule, buffer, MAX_PATH) == 0) return nullptr;
  return reinterpret_cast<char*>(_mbsrchr(reinterpret_cast<unsigned char*>(buffer), '\\'));
}

}  // namespace

ModuleAppBase* moduleAppBase() { return g_pApp; }

// Codes 1 to 15 of the host's application messages; any other code has no handler.
const ModuleAppBase::MessageEntry ModuleAppBase::s_messageTable[] = {
    {AcRx::kInitAppMsg, &ModuleAppBase::runStartUp},
    {AcRx::kUnloadAppMsg, &ModuleAppBase::runShutDown},
    {AcRx::kLoadDwgMsg, &ModuleAppBase::callLoadDwg},
    {AcRx::kUnloadDwgMsg, &ModuleAppBase::callUnloadDwg},
    {AcRx::kInvkSubrMsg, &ModuleAppBase::callInvokeFunction},
    {AcRx::kCfgMsg, &ModuleAppBase::callConfigure},
    {AcRx::kEndMsg, &ModuleAppBase::callEnd},
    {AcRx::kQuitMsg, &ModuleAppBase::callQuit},
    {AcRx::kSaveMsg, &ModuleAppBase::callSaveDwg},
    {AcRx::kDependencyMsg, &ModuleAppBase::callDependency},
    {AcRx::kNoDependencyMsg, &ModuleAppBase::callNoDependency},
    {AcRx::kOleUnloadAppMsg, &ModuleAppBase::callOleUnloadApp},
    {AcRx::kPreQuitMsg, &ModuleAppBase::callPreQuit},
    {AcRx::kInitDialogMsg, &ModuleAppBase::callDialogStart},
    {AcRx::kEndDialogMsg, &ModuleAppBase::callDialogEnd},
};

ModuleAppBase::ModuleAppBase() : m_hModule(nullptr), m_appId(nullptr) { g_pApp = this; }

ModuleAppBase::~ModuleAppBase() {}

AcRx::AppRetCode ModuleAppBase::handleMessage(int message, void* packet) {
  m_appId = packet;
  for (const MessageEntry& entry : s_messageTable) {
    if (entry.message == message) return (this->*entry.handler)(packet);
  }
  return AcRx::kRetOK;
}

// Start-up: locales, unlock, multi-document awareness, classes, commands, initialisation.
// The answers of the steps before onInitApp() are not examined.
AcRx::AppRetCode ModuleAppBase::runStartUp(void*) {
  // All categories follow the user's ANSI code page; numbers follow US English, so that the
  // decimal separator is a point whatever the user's locale says.
  setlocale(LC_ALL, ".ACP");
  setlocale(LC_NUMERIC, "ENU");

  acrxUnlockApplication(m_appId);

  AcRxDictionary* pRegistry = acrxSysRegistry();
  if (pRegistry != nullptr) {
    AcRxDynamicLinker* pLinker = AcRxDynamicLinker::cast(pRegistry->at(ACRX_DYNAMIC_LINKER));
    if (pLinker != nullptr) pLinker->registerAppMDIAware(m_appId);
  }

  registerClasses();
  acrxBuildClassHierarchy();
  registerCommands();
  postCommandsHook();
  preInitHook();
  return onInitApp();
}

AcRx::AppRetCode ModuleAppBase::runShutDown(void*) {
  preUnloadHook();
  unregisterCommands();
  unregisterClasses();
  return onUnloadApp();
}

const char* ModuleAppBase::moduleFileName() {
  char* pBackslash = modulePathAndLastBackslash(m_hModule, g_moduleFileNameBuffer);
  if (pBackslash == nullptr) return nullptr;
  // Move "\name" to the start of the buffer; the regions overlap.
  memmove(g_moduleFileNameBuffer, pBackslash, strlen(pBackslash) + 1);
  return g_moduleFileNameBuffer;
}

const char* ModuleAppBase::moduleDirectory() {
  char* pBackslash = modulePathAndLastBackslash(m_hModule, g_moduleDirectoryBuffer);
  if (pBackslash == nullptr) return nullptr;
  *pBackslash = '\0';
  return g_moduleDirectoryBuffer;
}

AcRx::AppRetCode ModuleAppBase::onInitApp() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onUnloadApp() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onLoadDwg() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onUnloadDwg() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onSaveDwg() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onEnd() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onQuit() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onConfigure() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onInvokeFunction() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onDependency() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onNoDependency() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onOleUnloadApp() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onPreQuit() { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onDialogStart(void*) { return AcRx::kRetOK; }
AcRx::AppRetCode ModuleAppBase::onDialogEnd(void*) { return AcRx::kRetOK; }

void ModuleAppBase::registerClasses() {}
void ModuleAppBase::unregisterClasses() {}
Acad::ErrorStatus ModuleAppBase::registerCommands() { return Acad::eOk; }
Acad::ErrorStatus ModuleAppBase::unregisterCommands() { return Acad::eOk; }
void ModuleAppBase::preInitHook() {}
void ModuleAppBase::preUnloadHook() {}
void ModuleAppBase::postCommandsHook() {}

int ModuleAppBase::addError(const ErrorRecord& record) { return m_errorLog.add(record); }

void ModuleAppBase::printErrors() {
  for (int i = m_errorLog.count() - 1; i >= 0; --i) {
    ErrorRecord record = m_errorLog.at(i);
    acutPrintf("\nERROR: %s\n  Module: %s  Line: %d", record.message.c_str(),
               record.sourceFile.c_str(), record.line);
  }
}
