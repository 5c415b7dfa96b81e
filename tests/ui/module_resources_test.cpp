// Resources of a module file loaded with dlopen, the way the host loads modules: found through
// the resource handle, through an extension library, and no longer once the module is gone.
#include <dlfcn.h>

#include "pf/resource_context.h"
#include "pf/resources.h"
#include "ui_test_support.h"

namespace {

const UINT kProbeOnly = 77;

class ModuleResources : public ::testing::Test {
 protected:
  void SetUp() override {
    handle = dlopen(UI_PROBE_MODULE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    module = reinterpret_cast<HINSTANCE>(handle);
  }
  void TearDown() override {
    AfxSetResourceHandle(pf::hostModuleHandle());
    if (handle) dlclose(handle);
  }
  void* handle = nullptr;
  HINSTANCE module = nullptr;
};

TEST_F(ModuleResources, TheCurrentResourceModuleAnswersFirst) {
  auto script = pf::moduleResourcesNoOops(module);
  ASSERT_TRUE(script);
  EXPECT_EQ(script->fileName, "ui_probe.rc");

  CString s;
  EXPECT_FALSE(s.LoadString(kProbeOnly));  // the host program's script has no such entry
  AfxSetResourceHandle(module);
  EXPECT_TRUE(s.LoadString(kProbeOnly));
  EXPECT_EQ(CString("Only the probe has this"), s);
  EXPECT_TRUE(s.LoadString(IDS_HELLO));
  EXPECT_EQ(CString("Hello from the probe module"), s);
  const pf::RcDialog* d = nullptr;
  EXPECT_EQ(pf::findDialogModuleNoOops(IDD_TEST, &d), module);
  EXPECT_EQ(d->caption, "Probe dialog");

  // A dialog built with an explicit resource module finds its template there only.
  Transcript t;
  AfxSetResourceHandle(pf::hostModuleHandle());
  CAdUiBaseDialog fromProbe(IDD_TEST, nullptr, module);
  std::string caption;
  pf::ScopedDialogDriver driver(pf::makeProgrammaticDialogDriver([&](pf::DialogSession& session) {
    caption = session.caption();
    session.ok();
  }));
  EXPECT_EQ(fromProbe.DoModal(), IDOK);
  EXPECT_EQ(caption, "Probe dialog");
  CAdUiBaseDialog missing(IDD_OPTIONS, nullptr, module);
  EXPECT_EQ(missing.DoModal(), -1);
}

TEST_F(ModuleResources, ExtensionLibrariesAreSearchedAfterTheCurrentModule) {
  CDynLinkLibrary* lib = new CDynLinkLibrary(module, module);
  CString s;
  EXPECT_TRUE(s.LoadString(kProbeOnly));
  EXPECT_TRUE(s.LoadString(IDS_HELLO));
  EXPECT_EQ(CString("Hello from the test module"), s);  // the current module comes first

  // Unloaded without ending its extension library: no longer searched, and nothing breaks.
  ASSERT_EQ(dlclose(handle), 0);
  handle = nullptr;
  EXPECT_FALSE(s.LoadString(kProbeOnly));
  delete lib;
}

}  // namespace

namespace {

TEST(BrokenModuleResources, ReportedOnceWithFileAndLine) {
  void* handle = dlopen(UI_BROKEN_PROBE_MODULE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(handle, nullptr) << dlerror();
  HINSTANCE module = reinterpret_cast<HINSTANCE>(handle);
  Transcript t;
  pf::RcError error;
  EXPECT_FALSE(pf::moduleResourcesNoOops(module, &error));
  EXPECT_EQ(error.file, "broken.rc");
  EXPECT_EQ(error.line, 7);
  EXPECT_FALSE(pf::moduleResourcesNoOops(module));
  ASSERT_EQ(t.lines.size(), 1u);
  EXPECT_EQ(t.lines[0],
            "*** Resources of a module cannot be read: broken.rc:7: error: undefined control id 'IDC_NO_SUCH_CONTROL'");
  // Strings of other modules are still found.
  AfxSetResourceHandle(module);
  CString s;
  EXPECT_TRUE(s.LoadString(IDS_HELLO));
  EXPECT_EQ(CString("Hello from the test module"), s);
  AfxSetResourceHandle(pf::hostModuleHandle());
  dlclose(handle);
}

}  // namespace
