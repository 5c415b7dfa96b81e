// Module loader: the order of DllMain and acrxEntryPoint calls around load and unload, locks,
// failed starts, drawing messages, the dynamic linker in the system registry, and
// GetModuleFileNameA. The test module (probe/probe_module.cpp) records what happens to it.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "pf/faults.h"
#include "pf/modules.h"
#include "pf/output.h"
#include "rxregsvc.h"
#include "windows.h"
#include "winrt_test_support.h"

namespace {

std::vector<std::string>& g_events = probeEvents();
int g_behaviour = 0;

enum Behaviour {
  kRefuseAttach = 1,
  kFailInit = 2,
  kStayLocked = 4,
  kMdiAware = 8,
  kRefuseUnload = 16,
};

}  // namespace

std::vector<std::string>& probeEvents() {
  static std::vector<std::string> events;
  return events;
}

extern "C" void winrt_probe_record(const char* event) { g_events.push_back(event); }
extern "C" int winrt_probe_behaviour() { return g_behaviour; }

namespace {

const char kProbe[] = WINRT_PROBE_MODULE;

std::string probePath() {
  char buf[PATH_MAX];
  return realpath(kProbe, buf) ? std::string(buf) : std::string(kProbe);
}

class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_events.clear();
    g_behaviour = 0;
  }
  void TearDown() override {
    pf::unloadAllModules();
    pf::sendAppMessage(AcRx::kUnloadDwgMsg);  // no drawing open for the next test
    g_behaviour = 0;
  }
  // The events without the path line (checked on its own).
  static std::vector<std::string> events() {
    std::vector<std::string> out;
    for (const std::string& e : g_events)
      if (e.compare(0, 5, "path:") != 0) out.push_back(e);
    return out;
  }
  static pf::LoadedModule probe() {
    std::vector<pf::LoadedModule> modules = pf::loadedModules();
    EXPECT_EQ(1u, modules.size());
    return modules.empty() ? pf::LoadedModule() : modules[0];
  }
  using Events = std::vector<std::string>;
};

TEST_F(LoaderTest, LoadAttachesThenInitialisesAndUnloadReversesIt) {
  ASSERT_TRUE(pf::loadModule(kProbe)) << pf::lastModuleError();
  EXPECT_EQ((Events{"attach", "init", "locale-ok"}), events());
  pf::LoadedModule m = probe();
  EXPECT_EQ("winrt_probe.arx", m.name);
  EXPECT_EQ(probePath(), m.path);
  EXPECT_FALSE(m.locked);  // the module unlocked itself during kInitAppMsg
  EXPECT_FALSE(acrxApplicationIsLocked("winrt_probe.arx"));

  g_events.clear();
  ASSERT_TRUE(pf::unloadModule("WINRT_PROBE"));  // by name without extension, any case
  EXPECT_EQ((Events{"unload", "detach", "static-destroyed"}), events());
  EXPECT_TRUE(pf::loadedModules().empty());
}

TEST_F(LoaderTest, LockedModuleCannotBeUnloadedUntilUnlocked) {
  g_behaviour = kStayLocked;
  ASSERT_TRUE(pf::loadModule(kProbe));
  EXPECT_TRUE(acrxApplicationIsLocked("winrt_probe.arx"));
  g_events.clear();
  pf::OutputCapture out;
  EXPECT_FALSE(pf::unloadModule("winrt_probe.arx"));
  EXPECT_NE(std::string::npos, out.text().find("locked")) << out.text();
  EXPECT_TRUE(events().empty());
  EXPECT_EQ(1u, pf::loadedModules().size());

  void* appId = probe().appId;
  EXPECT_FALSE(acrxUnlockApplication(reinterpret_cast<void*>(0x1234)));
  EXPECT_TRUE(acrxUnlockApplication(appId));
  EXPECT_TRUE(pf::unloadModule(probePath()));
  EXPECT_EQ((Events{"unload", "detach", "static-destroyed"}), events());
}

TEST_F(LoaderTest, ModuleFailingInitialisationIsUnloadedAgain) {
  g_behaviour = kFailInit;
  pf::OutputCapture out;
  EXPECT_FALSE(pf::loadModule(kProbe, true));
  // It may have registered things before failing: it is told to unload before its file closes.
  EXPECT_EQ((Events{"attach", "init", "unload", "detach", "static-destroyed"}), events());
  EXPECT_NE(std::string::npos, pf::lastModuleError().find("failed to initialise"));
  EXPECT_NE(std::string::npos, out.text().find("failed to initialise"));
  EXPECT_TRUE(pf::loadedModules().empty());

  g_behaviour = 0;  // and it can be loaded again afterwards
  EXPECT_TRUE(pf::loadModule(kProbe));
}

TEST_F(LoaderTest, RefusedAttachIsFollowedByDetach) {
  g_behaviour = kRefuseAttach;
  EXPECT_FALSE(pf::loadModule(kProbe, false));
  EXPECT_EQ((Events{"attach", "detach", "static-destroyed"}), events());
  EXPECT_TRUE(pf::loadedModules().empty());
}

TEST_F(LoaderTest, ModuleRefusingToUnloadStaysLoaded) {
  g_behaviour = kRefuseUnload;
  ASSERT_TRUE(pf::loadModule(kProbe));
  g_events.clear();
  EXPECT_FALSE(pf::unloadModule("winrt_probe.arx"));
  EXPECT_EQ((Events{"unload"}), events());
  EXPECT_EQ(1u, pf::loadedModules().size());
  pf::unloadAllModules();  // shutdown closes it regardless
  EXPECT_EQ((Events{"unload", "unload", "detach", "static-destroyed"}), events());
}

TEST_F(LoaderTest, BadFilesAreRefusedWithTheirReason) {
  EXPECT_FALSE(pf::loadModule("/nonexistent/dir/missing.arx", false));
  EXPECT_NE(std::string::npos, pf::lastModuleError().find("not found"));

  TempDir dir;
  std::string fake = dir.file("fake.arx");
  writeFileBytes(fake, "not a shared object");
  EXPECT_FALSE(pf::loadModule(fake, false));
  EXPECT_NE(std::string::npos, pf::lastModuleError().find("fake.arx"));

  ASSERT_TRUE(pf::loadModule(kProbe));
  EXPECT_FALSE(pf::loadModule(kProbe, false));
  EXPECT_NE(std::string::npos, pf::lastModuleError().find("already loaded"));
  EXPECT_FALSE(pf::unloadModule("other.arx"));
}

TEST_F(LoaderTest, DrawingMessagesReachLoadedModules) {
  ASSERT_TRUE(pf::loadModule(kProbe));
  g_events.clear();
  EXPECT_EQ(0, pf::sendAppMessage(AcRx::kLoadDwgMsg));
  EXPECT_EQ(0, pf::sendAppMessage(AcRx::kSaveMsg));
  EXPECT_EQ((Events{"msg:3", "msg:9"}), events());

  // Unloaded while a drawing is open: the drawing is unloaded first.
  g_events.clear();
  ASSERT_TRUE(pf::unloadModule("winrt_probe"));
  EXPECT_EQ((Events{"msg:4", "unload", "detach", "static-destroyed"}), events());

  // Loaded while a drawing is open: it hears about the drawing after initialising.
  g_events.clear();
  ASSERT_TRUE(pf::loadModule(kProbe));
  EXPECT_EQ((Events{"attach", "init", "locale-ok", "msg:3"}), events());

  g_events.clear();
  pf::sendAppMessage(AcRx::kUnloadDwgMsg);
  pf::sendAppMessage(AcRx::kEndMsg);
  pf::sendAppMessage(AcRx::kQuitMsg);
  EXPECT_EQ((Events{"msg:4", "msg:7", "msg:8"}), events());
}

TEST_F(LoaderTest, DynamicLinkerIsInTheSystemRegistry) {
  AcRxDynamicLinker* linker = acrxDynamicLinker;
  ASSERT_NE(nullptr, linker);
  EXPECT_STREQ(acrxProductKey(), linker->ProductKey());
  EXPECT_EQ(0x409u, linker->ProductLcid());

  struct Recorder : AcRxDLinkerReactor {
    std::vector<std::string> seen;
    void rxAppWillBeLoaded(const char* n) override { seen.push_back(std::string("will-load ") + n); }
    void rxAppLoaded(const char* n) override { seen.push_back(std::string("loaded ") + n); }
    void rxAppLoadAborted(const char* n) override { seen.push_back(std::string("aborted ") + n); }
    void rxAppWillBeUnloaded(const char* n) override { seen.push_back(std::string("will-unload ") + n); }
    void rxAppUnloaded(const char* n) override { seen.push_back(std::string("unloaded ") + n); }
  } recorder;
  linker->addReactor(&recorder);

  g_behaviour = kMdiAware | kStayLocked;
  ASSERT_TRUE(linker->loadModule(kProbe, false));
  EXPECT_EQ((Events{"attach", "init", "locale-ok", "mdi-aware"}), events());
  EXPECT_TRUE(linker->isAppMDIAware("winrt_probe.arx"));
  EXPECT_TRUE(linker->isApplicationLocked("winrt_probe.arx"));
  EXPECT_FALSE(linker->unloadModule("winrt_probe.arx"));
  EXPECT_TRUE(linker->unlockApplication(probe().appId));
  EXPECT_TRUE(linker->unloadModule("winrt_probe.arx"));
  g_behaviour = kFailInit;
  EXPECT_FALSE(linker->loadModule(kProbe, false));
  linker->removeReactor(&recorder);

  EXPECT_EQ((Events{"will-load winrt_probe.arx", "loaded winrt_probe.arx",
                    "will-unload winrt_probe.arx", "unloaded winrt_probe.arx",
                    "will-load winrt_probe.arx", "aborted winrt_probe.arx"}),
            recorder.seen);
}

TEST_F(LoaderTest, GetModuleFileNameAnswersAWindowsPath) {
  ASSERT_TRUE(pf::loadModule(kProbe));
  const std::string expected = "Z:" + [] {
    std::string p = probePath();
    for (char& c : p)
      if (c == '/') c = '\\';
    return p;
  }();
  // What the module itself saw at attach.
  ASSERT_FALSE(g_events.size() < 2);
  EXPECT_EQ("path:" + expected, g_events[1]);

  HINSTANCE handle = probe().handle;
  char buf[MAX_PATH];
  EXPECT_EQ(expected.size(), GetModuleFileNameA(handle, buf, MAX_PATH));
  EXPECT_EQ(expected, buf);
  pf::failNext("GetModuleFileNameA", Acad::eFileAccessErr, 1);
  EXPECT_EQ(0u, GetModuleFileNameA(handle, buf, MAX_PATH));
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());

  // Too small: truncated and terminated, answering the buffer size.
  char small[10];
  SetLastError(0);
  EXPECT_EQ(10u, GetModuleFileNameA(handle, small, sizeof small));
  EXPECT_EQ(expected.substr(0, 9), small);
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());

  // The host program itself.
  DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
  ASSERT_GT(n, 3u);
  EXPECT_EQ(0, std::string(buf).compare(0, 3, "Z:\\"));
  EXPECT_NE(std::string::npos, std::string(buf).find("test_winrt"));
  EXPECT_EQ(std::string::npos, std::string(buf).find('/'));

  // A handle that is not a loaded module's, and one whose module was unloaded.
  EXPECT_EQ(0u, GetModuleFileNameA(reinterpret_cast<HMODULE>(&n), buf, MAX_PATH));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
  ASSERT_TRUE(pf::unloadModule("winrt_probe"));
  EXPECT_EQ(0u, GetModuleFileNameA(handle, buf, MAX_PATH));
}

TEST_F(LoaderTest, GetModuleFileNameKnowsModulesOpenedOutsideTheLoader) {
  void* handle = dlopen(kProbe, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(nullptr, handle) << dlerror();
  char buf[MAX_PATH];
  ASSERT_NE(0u, GetModuleFileNameA(reinterpret_cast<HMODULE>(handle), buf, MAX_PATH));
  EXPECT_EQ(pf::windowsPathOf(probePath()), buf);
  dlclose(handle);
  SetLastError(0);
  EXPECT_EQ(0u, GetModuleFileNameA(reinterpret_cast<HMODULE>(handle), buf, MAX_PATH));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
}

TEST(ProductKey, IsARelativeKeyBelowTheCurrentUser) {
  std::string key = acrxProductKey();
  EXPECT_EQ("Software\\Cadhost\\R15.0\\ACAD-1:409", key);
  EXPECT_EQ(0x409ul, acrxProductLCID());
  EXPECT_EQ("Z:\\opt\\m\\zorvik.arx", pf::windowsPathOf("/opt/m/zorvik.arx"));
}

}  // namespace
