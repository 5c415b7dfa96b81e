// winrt_probe.arx - a small module for the loader tests. It records what the host does to it
// (attach, init, messages, unload, detach, static destruction) through winrt_probe_record,
// which the test program exports, and behaves as winrt_probe_behaviour() asks.
#include <clocale>
#include <string>

#include "rxregsvc.h"
#include "windows.h"

extern "C" void winrt_probe_record(const char* event);
extern "C" int winrt_probe_behaviour();

namespace {

enum Behaviour {
  kRefuseAttach = 1,
  kFailInit = 2,
  kStayLocked = 4,
  kMdiAware = 8,
  kRefuseUnload = 16,
};

HINSTANCE g_instance = nullptr;

// Destroyed when the module file is closed, after the detach.
struct StaticProbe {
  ~StaticProbe() { winrt_probe_record("static-destroyed"); }
} g_static;

void record(const std::string& event) { winrt_probe_record(event.c_str()); }

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_instance = instance;
    record("attach");
    char path[MAX_PATH];
    if (GetModuleFileNameA(instance, path, MAX_PATH) != 0) record(std::string("path:") + path);
    return (winrt_probe_behaviour() & kRefuseAttach) ? FALSE : TRUE;
  }
  if (reason == DLL_PROCESS_DETACH) record("detach");
  return TRUE;
}

extern "C" AcRx::AppRetCode acrxEntryPoint(AcRx::AppMsgCode message, void* appId) {
  int behaviour = winrt_probe_behaviour();
  switch (message) {
    case AcRx::kInitAppMsg:
      record("init");
      if (behaviour & kFailInit) return AcRx::kRetError;
      // What module start-up does with the runtime library and the linker.
      if (setlocale(LC_NUMERIC, "ENU") != nullptr) record("locale-ok");
      if (!(behaviour & kStayLocked)) acrxUnlockApplication(appId);
      if (behaviour & kMdiAware) {
        AcRxDynamicLinker* linker = acrxDynamicLinker;
        if (linker != nullptr && linker->registerAppMDIAware(appId)) record("mdi-aware");
      }
      return AcRx::kRetOK;
    case AcRx::kUnloadAppMsg:
      record("unload");
      return (behaviour & kRefuseUnload) ? AcRx::kRetError : AcRx::kRetOK;
    default:
      record("msg:" + std::to_string(static_cast<int>(message)));
      return AcRx::kRetOK;
  }
}
