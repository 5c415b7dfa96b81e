// loader_modules.cpp - loading and unloading modules the way the host does.
//
// The application id that a module receives with kInitAppMsg (and passes back to unlock
// itself or declare itself multi-document aware) is the address of its entry in the table
// below. The table lock is recursive: modules call back into the loader from their entry points.
#include "rx/loader_modules.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "pf/modules.h"
#include "pf/output.h"
#include "winbase.h"

namespace pf {
namespace loader {
namespace {

typedef BOOL (*DllMainFn)(HINSTANCE, DWORD, LPVOID);
typedef AcRx::AppRetCode (*EntryPointFn)(AcRx::AppMsgCode, void*);

struct Module {
  std::string name;
  std::string path;
  void* dl = nullptr;
  DllMainFn dllMain = nullptr;
  EntryPointFn entryPoint = nullptr;
  bool locked = true;
  bool mdiAware = false;
};

std::recursive_mutex g_mutex;
std::vector<std::unique_ptr<Module>> g_modules;  // in load order
std::string g_lastError;
bool g_drawingOpen = false;
void* g_drawingPkt = nullptr;
void (*g_eventSink)(Event, const char*) = nullptr;

// Messages of the loader go to the command line.
void say(const std::string& message) { pf::writeOutput(message + "\n"); }

void notify(Event event, const std::string& name) {
  if (g_eventSink) g_eventSink(event, name.c_str());
}

std::string baseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool equalsIgnoringCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// A module answers to its file name, its file name without extension, and its path.
bool matches(const Module& m, const std::string& name) {
  if (name == m.path || equalsIgnoringCase(name, m.name)) return true;
  std::string stem = m.name.substr(0, m.name.find_last_of('.'));
  if (equalsIgnoringCase(name, stem)) return true;
  char resolved[PATH_MAX];
  return realpath(name.c_str(), resolved) != nullptr && m.path == resolved;
}

Module* find(const std::string& name) {
  for (auto& m : g_modules)
    if (matches(*m, name)) return m.get();
  return nullptr;
}

Module* byAppId(void* appId) {
  for (auto& m : g_modules)
    if (m.get() == appId) return m.get();
  return nullptr;
}

bool isLoaded(const Module* module) {
  return std::any_of(g_modules.begin(), g_modules.end(),
                     [&](const std::unique_ptr<Module>& m) { return m.get() == module; });
}

void removeFromTable(Module* module) {
  g_modules.erase(std::remove_if(g_modules.begin(), g_modules.end(),
                                 [&](const std::unique_ptr<Module>& m) { return m.get() == module; }),
                  g_modules.end());
}

// Calls into module code; a C++ exception escaping it counts as a failure.
AcRx::AppRetCode send(Module& m, AcRx::AppMsgCode message, void* pkt) {
  try {
    return m.entryPoint(message, pkt);
  } catch (...) {
    say("Module \"" + m.name + "\" failed with an exception on message " +
        std::to_string(static_cast<int>(message)) + ".");
    return AcRx::kRetError;
  }
}

BOOL callDllMain(Module& m, DWORD reason) {
  if (m.dllMain == nullptr) return TRUE;
  try {
    return m.dllMain(reinterpret_cast<HINSTANCE>(m.dl), reason, nullptr);
  } catch (...) {
    return FALSE;
  }
}

// Records why a load or unload failed (lastModuleError() answers the reason alone, for the host
// to put in its own words) and, if asked, prints the whole sentence on the command line.
bool fail(const std::string& reason, const std::string& sentence, bool printit) {
  g_lastError = reason;
  if (printit) say(sentence);
  return false;
}

bool loadFailed(const std::string& given, const std::string& reason, bool printit) {
  return fail(reason, "Cannot load module \"" + given + "\": " + reason + ".", printit);
}

bool unloadFailed(const std::string& name, const std::string& reason) {
  return fail(reason, "Cannot unload module \"" + name + "\": " + reason + ".", true);
}

bool isFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

bool load(const char* file, bool printit) {
  std::lock_guard<std::recursive_mutex> lock(g_mutex);
  g_lastError.clear();
  if (file == nullptr || *file == '\0') return loadFailed("", "no module file given", printit);
  std::string given = file;
  std::string candidate = given;
  if (!isFile(candidate) && baseName(given).find('.') == std::string::npos) candidate += ".arx";
  char resolved[PATH_MAX];
  if (!isFile(candidate) || realpath(candidate.c_str(), resolved) == nullptr)
    return loadFailed(given, "file not found", printit);
  std::string path = resolved;
  for (auto& m : g_modules)
    if (m->path == path) return loadFailed(given, "it is already loaded", printit);

  auto module = std::make_unique<Module>();
  module->name = baseName(path);
  module->path = path;
  notify(Event::kWillLoad, module->name);
  dlerror();
  module->dl = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module->dl == nullptr) {
    const char* why = dlerror();
    notify(Event::kLoadAborted, module->name);
    return loadFailed(given, why ? why : "the file is not a loadable module", printit);
  }
  module->dllMain = reinterpret_cast<DllMainFn>(dlsym(module->dl, "DllMain"));
  module->entryPoint = reinterpret_cast<EntryPointFn>(dlsym(module->dl, "acrxEntryPoint"));
  if (module->entryPoint == nullptr) {
    dlclose(module->dl);
    notify(Event::kLoadAborted, module->name);
    return loadFailed(given, "it has no acrxEntryPoint", printit);
  }

  Module& m = *module;
  g_modules.push_back(std::move(module));
  if (!callDllMain(m, DLL_PROCESS_ATTACH)) {
    // As on Windows: a failed attach is followed by a detach, and the file is closed.
    callDllMain(m, DLL_PROCESS_DETACH);
    std::string name = m.name;
    dlclose(m.dl);
    removeFromTable(&m);
    notify(Event::kLoadAborted, name);
    return loadFailed(given, "its DllMain refused to attach", printit);
  }
  bool initialised = send(m, AcRx::kInitAppMsg, &m) == AcRx::kRetOK;
  if (!isLoaded(&m)) return loadFailed(given, "it was unloaded while loading", printit);
  if (!initialised) {
    // The module refused to start, possibly after registering classes, commands or reactors.
    // Its unload message lets it remove them before its code goes away: anything left behind
    // would point into a closed file and crash the host when used.
    std::string name = m.name;
    send(m, AcRx::kUnloadAppMsg, &m);
    if (isLoaded(&m)) {
      callDllMain(m, DLL_PROCESS_DETACH);
      void* dl = m.dl;
      removeFromTable(&m);
      dlclose(dl);
    }
    notify(Event::kLoadAborted, name);
    return loadFailed(given, "it failed to initialise and was unloaded again", printit);
  }
  // Loaded with a drawing open: the drawing message follows (its answer is not examined, as
  // for the messages the host sends to every module).
  if (g_drawingOpen) send(m, AcRx::kLoadDwgMsg, g_drawingPkt);
  if (!isLoaded(&m)) return loadFailed(given, "it was unloaded while loading", printit);
  notify(Event::kLoaded, m.name);
  return true;
}

bool unload(const char* name) {
  std::lock_guard<std::recursive_mutex> lock(g_mutex);
  g_lastError.clear();
  Module* m = name ? find(name) : nullptr;
  if (m == nullptr) return unloadFailed(name ? name : "", "no such module is loaded");
  if (m->locked)
    return unloadFailed(m->name, "it is locked");
  notify(Event::kWillUnload, m->name);
  bool agreed = true;
  if (g_drawingOpen) agreed = send(*m, AcRx::kUnloadDwgMsg, g_drawingPkt) == AcRx::kRetOK;
  if (agreed && isLoaded(m)) agreed = send(*m, AcRx::kUnloadAppMsg, m) == AcRx::kRetOK;
  if (!isLoaded(m)) return true;  // unloaded from inside its own messages
  if (!agreed) {
    notify(Event::kUnloadAborted, m->name);
    return unloadFailed(m->name, "it refused to unload");
  }
  std::string moduleName = m->name;
  callDllMain(*m, DLL_PROCESS_DETACH);
  void* dl = m->dl;
  removeFromTable(m);
  dlclose(dl);
  notify(Event::kUnloaded, moduleName);
  return true;
}

bool setLocked(void* appId, bool locked) {
  std::lock_guard<std::recursive_mutex> lock(g_mutex);
  Module* m = byAppId(appId);
  if (m == nullptr) return false;
  m->locked = locked;
  return true;
}

bool isLocked(const char* name) {
  std::lock_guard<std::recursive_mutex> lock(g_mutex);
  Module* m = name ? find(name) : nullptr;
  return m != nullptr && m->locked;
}

bool setMdiAware(void* appId, bool aware) {
  std::lock_guard<std::recursive_mutex> lock(g_mutex);
  Module* m = byAppId(appId);
  if (m == nullptr) return false;
  m->mdiAware = aware;
  return true;
}

bool isMdiAware(const char* name) {
  std::lock_guard<std::recursive_mutex> lock(g_mutex);
  Module* m = name ? find(name) : nullptr;
  return m != nullptr && m->mdiAware;
}

bool pathOf(HINSTANCE handle, std::string& path) {
  std::lock_guard<std::recursive_mutex> lock(g_mutex);
  for (auto& m : g_modules) {
    if (reinterpret_cast<HINSTANCE>(m->dl) == handle) {
      path = m->path;
      return true;
    }
  }
  return false;
}

void setEventSink(void (*sink)(Event, const char*)) {
  std::lock_guard<std::recursive_mutex> lock(g_mutex);
  g_eventSink = sink;
}

}  // namespace loader

// ---- pf/modules.h ----

std::vector<LoadedModule> loadedModules() {
  std::lock_guard<std::recursive_mutex> lock(loader::g_mutex);
  std::vector<LoadedModule> out;
  for (auto& m : loader::g_modules) {
    LoadedModule info;
    info.name = m->name;
    info.path = m->path;
    info.windowsPath = windowsPathOf(m->path);
    info.handle = reinterpret_cast<HINSTANCE>(m->dl);
    info.appId = m.get();
    info.locked = m->locked;
    info.mdiAware = m->mdiAware;
    out.push_back(info);
  }
  return out;
}

bool loadModule(const std::string& file, bool printit) { return loader::load(file.c_str(), printit); }

bool unloadModule(const std::string& name) { return loader::unload(name.c_str()); }

void unloadAllModules() {
  std::lock_guard<std::recursive_mutex> lock(loader::g_mutex);
  while (!loader::g_modules.empty()) {
    loader::Module* m = loader::g_modules.back().get();
    m->locked = false;  // the host is ending: locks no longer hold
    if (!loader::unload(m->path.c_str()) && loader::isLoaded(m)) {
      // A module that refuses is still shut down: detach and close it.
      loader::callDllMain(*m, DLL_PROCESS_DETACH);
      void* dl = m->dl;
      std::string name = m->name;
      loader::removeFromTable(m);
      dlclose(dl);
      loader::notify(loader::Event::kUnloaded, name);
    }
  }
}

std::string lastModuleError() {
  std::lock_guard<std::recursive_mutex> lock(loader::g_mutex);
  return loader::g_lastError;
}

int sendAppMessage(AcRx::AppMsgCode message, void* pkt) {
  std::lock_guard<std::recursive_mutex> lock(loader::g_mutex);
  if (message == AcRx::kLoadDwgMsg) {
    loader::g_drawingOpen = true;
    loader::g_drawingPkt = pkt;
  } else if (message == AcRx::kUnloadDwgMsg) {
    loader::g_drawingOpen = false;
    loader::g_drawingPkt = nullptr;
  }
  // A module may load or unload modules while handling the message: walk a snapshot.
  std::vector<loader::Module*> targets;
  for (auto& m : loader::g_modules) targets.push_back(m.get());
  int errors = 0;
  for (loader::Module* m : targets)
    if (loader::isLoaded(m) && loader::send(*m, message, pkt) != AcRx::kRetOK) ++errors;
  return errors;
}

}  // namespace pf
