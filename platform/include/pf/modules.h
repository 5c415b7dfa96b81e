// pf/modules.h - the module loader as the host program and the tests see it.
//
// A module is a shared object (".arx") exporting acrxEntryPoint and, usually, DllMain. Loading
// it: dlopen, DllMain(handle, DLL_PROCESS_ATTACH, NULL), then kInitAppMsg through
// acrxEntryPoint with the module's application id; if a drawing is open, kLoadDwgMsg follows.
// A module that fails any step is unloaded again and the reason reported. Unloading: refused
// while the module is locked (modules start locked; acrxUnlockApplication releases them),
// else kUnloadDwgMsg (if a drawing is open), kUnloadAppMsg, DllMain(DLL_PROCESS_DETACH),
// dlclose. AcRxDynamicLinker (rxdlinkr.h) and the acrx* calls of rxregsvc.h work on the same
// modules.
#pragma once
#include <string>
#include <vector>

#include "rxdefs.h"
#include "windef.h"

namespace pf {

struct LoadedModule {
  std::string name;         // file name as loaded, e.g. "zorvik.arx"
  std::string path;         // absolute path of the file
  std::string windowsPath;  // the same as GetModuleFileNameA answers it ("Z:\...")
  HINSTANCE handle = nullptr;
  void* appId = nullptr;
  bool locked = true;
  bool mdiAware = false;
};

// The loaded modules in the order they were loaded.
std::vector<LoadedModule> loadedModules();

// Loads a module file (a path; a name without a folder is looked for in the current
// directory, and ".arx" is added when the name has no extension and does not exist as given).
// printit: report failures through the command line. Answers false, with the reason in
// lastModuleError(), when the module cannot be loaded.
bool loadModule(const std::string& file, bool printit = true);
// Unloads a module named by its file name (with or without extension) or path, any case.
bool unloadModule(const std::string& name);
// Unloads every module, locked or not, newest first: the host's shutdown.
void unloadAllModules();
std::string lastModuleError();

// Sends an application message to every loaded module, in load order, and answers how many
// answered kRetError. The host sends kLoadDwgMsg after opening a drawing, kUnloadDwgMsg before
// closing it, kSaveMsg when saving, kEndMsg and kQuitMsg when the session ends; pkt is passed
// as the message's data. The loader remembers whether a drawing is open (between kLoadDwgMsg
// and kUnloadDwgMsg) so that modules loaded or unloaded meanwhile get the drawing messages too.
int sendAppMessage(AcRx::AppMsgCode message, void* pkt = nullptr);

// "Z:\dir\file" for "/dir/file" (Z: stands for the root directory).
std::string windowsPathOf(const std::string& posixPath);

}  // namespace pf
