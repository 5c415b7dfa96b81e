// loader_linker.cpp - AcRxDynamicLinker, the system registry's "DynamicLinker" entry, over the
// module table of loader_modules.cpp; and its reactors.
#include <algorithm>
#include <mutex>
#include <vector>

#include "rx/rxinit.h"
#include "rx/loader_modules.h"
#include "rxregsvc.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcRxDLinkerReactor, AcRxObject);
ACRX_NO_CONS_DEFINE_MEMBERS(AcRxDynamicLinker, AcRxObject);

void AcRxDLinkerReactor::rxAppWillBeLoaded(const char*) {}
void AcRxDLinkerReactor::rxAppLoaded(const char*) {}
void AcRxDLinkerReactor::rxAppLoadAborted(const char*) {}
void AcRxDLinkerReactor::rxAppWillBeUnloaded(const char*) {}
void AcRxDLinkerReactor::rxAppUnloaded(const char*) {}
void AcRxDLinkerReactor::rxAppUnloadAborted(const char*) {}

namespace pf {
namespace loader {
namespace {

std::recursive_mutex g_reactorMutex;
std::vector<AcRxDLinkerReactor*> g_reactors;

void tellReactors(Event event, const char* moduleName) {
  std::vector<AcRxDLinkerReactor*> reactors;
  {
    std::lock_guard<std::recursive_mutex> lock(g_reactorMutex);
    reactors = g_reactors;  // a reactor may remove itself while notified
  }
  for (AcRxDLinkerReactor* r : reactors) {
    switch (event) {
      case Event::kWillLoad: r->rxAppWillBeLoaded(moduleName); break;
      case Event::kLoaded: r->rxAppLoaded(moduleName); break;
      case Event::kLoadAborted: r->rxAppLoadAborted(moduleName); break;
      case Event::kWillUnload: r->rxAppWillBeUnloaded(moduleName); break;
      case Event::kUnloaded: r->rxAppUnloaded(moduleName); break;
      case Event::kUnloadAborted: r->rxAppUnloadAborted(moduleName); break;
    }
  }
}

class DynamicLinker : public AcRxDynamicLinker {
 public:
  bool unlockApplication(void* appId) const override { return setLocked(appId, false); }
  bool lockApplication(void* appId) const override { return setLocked(appId, true); }
  bool isApplicationLocked(const char* name) const override { return isLocked(name); }
  bool registerAppMDIAware(void* appId) const override { return setMdiAware(appId, true); }
  bool registerAppNotMDIAware(void* appId) const override { return setMdiAware(appId, false); }
  bool isAppMDIAware(const char* moduleName) const override { return isMdiAware(moduleName); }
  bool loadModule(const char* fileName, bool printit, bool asCmd) override {
    return acrxLoadModule(fileName, printit, asCmd);
  }
  bool unloadModule(const char* fileName, bool asCmd) override {
    return acrxUnloadModule(fileName, asCmd);
  }
  const char* ProductKey() const override { return acrxProductKey(); }
  Adesk::UInt32 ProductLcid() const override {
    return static_cast<Adesk::UInt32>(acrxProductLCID());
  }
  void addReactor(AcRxDLinkerReactor* reactor) override {
    std::lock_guard<std::recursive_mutex> lock(g_reactorMutex);
    if (reactor && std::find(g_reactors.begin(), g_reactors.end(), reactor) == g_reactors.end())
      g_reactors.push_back(reactor);
  }
  void removeReactor(AcRxDLinkerReactor* reactor) override {
    std::lock_guard<std::recursive_mutex> lock(g_reactorMutex);
    g_reactors.erase(std::remove(g_reactors.begin(), g_reactors.end(), reactor), g_reactors.end());
  }
};

}  // namespace

// Creates the linker's classes and puts the linker in the system registry when the runtime
// starts.
void registerDynamicLinker() {
  AcRxDLinkerReactor::rxInit();
  AcRxDynamicLinker::rxInit();
  if (acrxSysRegistry()->at(ACRX_DYNAMIC_LINKER) == nullptr)
    acrxSysRegistry()->atPut(ACRX_DYNAMIC_LINKER, new DynamicLinker());
  setEventSink(tellReactors);
}

const bool g_registered = pf::registerClassInit(&registerDynamicLinker);

}  // namespace loader
}  // namespace pf
