// Strings and dialog templates read from the resource script embedded in this executable,
// found through the current resource handle (the host program's own module here), the
// resource-handle override of MFC code, and extension libraries joining the search.
#include <dlfcn.h>

#include <cstring>

#include "AcExtensionModule.h"
#include "pf/resource_context.h"
#include "pf/resources.h"
#include "ui_test_support.h"

namespace {

HINSTANCE platformLibrary() {
  // A loaded module without resources of its own.
  Dl_info info{};
  dladdr(reinterpret_cast<void*>(&pf::mainWindow), &info);
  void* h = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
  if (h) dlclose(h);
  return reinterpret_cast<HINSTANCE>(h);
}

TEST(EmbeddedResources, StringsLoadFromTheCurrentResourceModule) {
  ASSERT_EQ(pf::currentResourceHandle(), pf::hostModuleHandle());
  CString s;
  EXPECT_TRUE(s.LoadString(IDS_ESCAPES));
  EXPECT_EQ(CString("\nTab\there, quote \"x\" and \"y\", backslash \\ end"), s);
  EXPECT_EQ(CString("Hello from the test module"), CString(MAKEINTRESOURCE(IDS_HELLO)));
  CString f;
  f.Format(IDS_FORMAT, 42);
  EXPECT_EQ(CString("\nNumber of updated entities: 42"), f);

  EXPECT_FALSE(s.LoadString(999));
  EXPECT_TRUE(s.IsEmpty());

  char buf[8];
  EXPECT_EQ(LoadStringA(pf::hostModuleHandle(), IDS_HELLO, buf, sizeof buf), 7);
  EXPECT_STREQ(buf, "Hello f");  // cut to the buffer, always terminated
  EXPECT_EQ(LoadStringA(platformLibrary(), IDS_HELLO, buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "");
}

TEST(EmbeddedResources, DialogTemplatesAreFoundWhereMfcLooks) {
  const pf::RcDialog* d = nullptr;
  EXPECT_EQ(pf::findDialogModuleNoOops(2003, &d), pf::hostModuleHandle());
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->caption, "Options");
  EXPECT_EQ(d->file, "testui.rc");
  EXPECT_EQ(pf::findDialogModuleNoOops(4711), nullptr);

  auto script = pf::moduleResourcesNoOops(pf::hostModuleHandle());
  ASSERT_TRUE(script);
  EXPECT_EQ(script->fileName, "testui.rc");
  EXPECT_EQ(script->symbols.at("IDC_QUIETMODE"), 2022);
  EXPECT_FALSE(pf::moduleResourcesNoOops(platformLibrary()));
  EXPECT_FALSE(pf::moduleResourcesNoOops(nullptr));
}

TEST(EmbeddedResources, AfxSetResourceHandleSwitchesUntilTheStackMoves) {
  HINSTANCE host = pf::hostModuleHandle();
  HINSTANCE other = platformLibrary();
  EXPECT_EQ(AfxGetResourceHandle(), host);
  AfxSetResourceHandle(other);
  EXPECT_EQ(AfxGetResourceHandle(), other);
  EXPECT_EQ(AfxGetModuleState()->m_hCurrentResourceHandle, other);
  {
    CAcModuleResourceOverride back(host);
    EXPECT_EQ(AfxGetResourceHandle(), host);
  }
  EXPECT_EQ(AfxGetResourceHandle(), other);
  // Strings are still found: after the current module MFC searches the host program.
  CString s;
  EXPECT_TRUE(s.LoadString(IDS_HELLO));
  AfxSetResourceHandle(host);
  EXPECT_EQ(AfxGetResourceHandle(), host);
}

TEST(EmbeddedResources, ManageStateUsesTheCallingModule) {
  AFX_MODULE_STATE* state = AfxGetStaticModuleState();
  EXPECT_EQ(state->m_hCurrentResourceHandle, pf::hostModuleHandle());
  AfxSetResourceHandle(platformLibrary());
  {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    EXPECT_EQ(AfxGetResourceHandle(), pf::hostModuleHandle());
  }
  EXPECT_EQ(AfxGetResourceHandle(), platformLibrary());
  AfxSetResourceHandle(pf::hostModuleHandle());
}

TEST(ExtensionLibrary, InitRegistersAndTermRemovesTheModule) {
  AFX_EXTENSION_MODULE ext;
  std::memset(&ext, 0, sizeof ext);
  EXPECT_FALSE(AfxInitExtensionModule(ext, nullptr));
  HINSTANCE module = platformLibrary();
  ASSERT_TRUE(AfxInitExtensionModule(ext, module));
  EXPECT_TRUE(ext.bInitialized);
  EXPECT_EQ(ext.hModule, module);
  EXPECT_EQ(ext.hResource, module);
  EXPECT_TRUE(AfxInitExtensionModule(ext, module));  // again: nothing changes

  CDynLinkLibrary* lib = new CDynLinkLibrary(ext, FALSE);
  EXPECT_EQ(AfxGetModuleState()->m_libraryList, lib);
  EXPECT_EQ(lib->m_hResource, module);
  AfxTermExtensionModule(ext, FALSE);
  EXPECT_EQ(AfxGetModuleState()->m_libraryList, nullptr);

  CAcExtensionModule acExt;
  EXPECT_TRUE(acExt.Attach(module));
  EXPECT_EQ(acExt.ModuleResourceInstance(), module);
  EXPECT_EQ(acExt.DefaultResourceInstance(), pf::hostModuleHandle());
  EXPECT_NE(AfxGetModuleState()->m_libraryList, nullptr);
  acExt.Detach();
  EXPECT_EQ(AfxGetModuleState()->m_libraryList, nullptr);
}

}  // namespace
