// moduleload_test.cpp - zorvik.arx loaded into the platform from its file, its texts and
// resource handle, and unloaded again with everything it registered removed.
#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "rxregsvc.h"
#include "rxdlinkr.h"
#include "rxclass.h"
#include "rxdict.h"
#include "pf/editor_reactors.h"
#include "pf/modules.h"
#include "pf/registry.h"
#include "pf/resource_context.h"

#include "extmodule.h"
#include "resources.h"
#include "temp_dir.h"
#include "zorvik.h"

namespace {

bool classRegistered(const char* name)
{
    return acrxClassDictionary->at(name) != nullptr;
}

class ModuleFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(m_dir.path().empty());
        // An empty hive, so that loading the module reads no settings of the user's.
        m_dir.write("user.reg", "Windows Registry Editor Version 5.00\r\n\r\n");
        ASSERT_TRUE(pf::setRegistryHivePath(m_dir.file("user.reg")));
    }

    ModuleTempDir m_dir;
};

TEST_F(ModuleFileTest, LoadsAndUnloadsWithEverythingRemoved)
{
    ASSERT_FALSE(classRegistered("CPlineNotifyObject"));
    size_t reactorsBefore = pf::editorEventReactors().size();
    HINSTANCE resourceBefore = pf::currentResourceHandle();

    ASSERT_TRUE(acrxLoadModule(ZORVIK_ARX_PATH, false, false));
    EXPECT_TRUE(classRegistered("CPlineNotifyObject"));
    EXPECT_TRUE(classRegistered("AcZorvikEditorReactor"));
    EXPECT_EQ(reactorsBefore + 1, pf::editorEventReactors().size());
    EXPECT_EQ(resourceBefore, pf::currentResourceHandle());

    // Start-up unlocked the module and declared it aware of several drawings.
    std::vector<pf::LoadedModule> modules = pf::loadedModules();
    auto it = std::find_if(modules.begin(), modules.end(),
                           [](const pf::LoadedModule& m) { return m.name == "zorvik.arx"; });
    ASSERT_NE(modules.end(), it);
    EXPECT_FALSE(it->locked);
    EXPECT_TRUE(it->mdiAware);

    AcRxClass* pLink = static_cast<AcRxClass*>(acrxClassDictionary->at("CPlineNotifyObject"));
    ASSERT_NE(nullptr, pLink);
    EXPECT_STREQ("PLINENOTIFYOBJECT", pLink->dxfName());
    EXPECT_STREQ("zorvik", pLink->appName());

    // The module unlocked itself at start-up, so it may be unloaded.
    ASSERT_TRUE(acrxUnloadModule("zorvik.arx", false));
    EXPECT_FALSE(classRegistered("CPlineNotifyObject"));
    EXPECT_FALSE(classRegistered("AcZorvikEditorReactor"));
    EXPECT_EQ(reactorsBefore, pf::editorEventReactors().size());
    EXPECT_EQ(resourceBefore, pf::currentResourceHandle());
}

TEST_F(ModuleFileTest, LoadsAgainAfterAnUnload)
{
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(acrxLoadModule(ZORVIK_ARX_PATH, false, false)) << round;
        EXPECT_TRUE(classRegistered("CPlineNotifyObject")) << round;
        ASSERT_TRUE(acrxUnloadModule("zorvik.arx", false)) << round;
        EXPECT_FALSE(classRegistered("CPlineNotifyObject")) << round;
    }
}

// The module-path operations on a module file at <temp>\dir\zorvik.arx.
TEST_F(ModuleFileTest, FileNameAndDirectoryOfTheModuleFile)
{
    std::filesystem::create_directory(m_dir.file("dir"));
    std::string copy = m_dir.file("dir/zorvik.arx");
    std::filesystem::copy_file(ZORVIK_ARX_PATH, copy);
    ASSERT_TRUE(acrxLoadModule(copy.c_str(), false, false));
    HINSTANCE handle = nullptr;
    for (const pf::LoadedModule& m : pf::loadedModules())
        if (m.path == copy)
            handle = m.handle;
    ASSERT_NE(nullptr, handle);

    std::string windowsDir = "Z:" + m_dir.path() + "/dir";
    for (char& c : windowsDir)
        if (c == '/')
            c = '\\';

    ModuleApp* app = getModuleApp();
    HINSTANCE saved = app->moduleInstance();
    app->setModuleInstance(handle);
    const char* name = app->moduleFileName();
    const char* directory = app->moduleDirectory();
    ASSERT_NE(nullptr, name);
    ASSERT_NE(nullptr, directory);
    EXPECT_STREQ("\\zorvik.arx", name);
    EXPECT_EQ(windowsDir, std::string(directory));
    // Each operation has its own buffer: the first answer is still intact.
    EXPECT_STREQ("\\zorvik.arx", name);

    char full[MAX_PATH];
    ASSERT_NE(0u, GetModuleFileNameA(handle, full, MAX_PATH));
    EXPECT_EQ(std::string(full), std::string(directory) + name);

    app->setModuleInstance(saved);
    EXPECT_TRUE(acrxUnloadModule("zorvik.arx", false));

    // A module instance the host does not know has no file name.
    int unknown = 0;
    app->setModuleInstance(reinterpret_cast<HINSTANCE>(&unknown));
    EXPECT_EQ(nullptr, app->moduleFileName());
    EXPECT_EQ(nullptr, app->moduleDirectory());
    app->setModuleInstance(saved);
}

// The module's own code, linked into this test, with the module file's instance as its
// resource handle: the string table comes from the file, under the push rule.
class ModuleResourcesTest : public ModuleFileTest {
protected:
    void SetUp() override
    {
        ModuleFileTest::SetUp();
        m_handle = dlopen(ZORVIK_ARX_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(nullptr, m_handle) << dlerror();
        m_savedInstance = g_pExtensionModule->moduleInstance;
        g_pExtensionModule->moduleInstance = reinterpret_cast<HINSTANCE>(m_handle);
    }

    void TearDown() override
    {
        g_pExtensionModule->moduleInstance = m_savedInstance;
        if (m_handle)
            dlclose(m_handle);
    }

    void* m_handle = nullptr;
    HINSTANCE m_savedInstance = nullptr;
};

TEST_F(ModuleResourcesTest, StringTableHoldsEveryText)
{
    const char* texts[] = {
        "Create Update Options _Create Update Options",
        "\nEnter option [Create/Update/Options] <Create>: ",
        "\nSelect polyline: ",
        "Processing entities",
        "\nNumber of updated entities: %d",
        "\nSelect polyline: ",
        "\nSelect block reference: ",
        "Invalid value for divisor (must be > 0) !",
        "Invalid input",
        "You have changed value of area divisor. You should run ZORVIK, Update command to force update "
        "existing links.",
        "Information",
        "Attribute name can't be empty !",
    };
    ModuleResourceScope scope;
    for (UINT id = 1; id <= 12; ++id)
        EXPECT_EQ(std::string(texts[id - 1]), std::string(LPCTSTR(loadResourceString(id)))) << id;
    EXPECT_EQ(std::string(), std::string(LPCTSTR(loadResourceString(13))));
    EXPECT_EQ(std::string(), std::string(LPCTSTR(loadResourceString(0))));
}

TEST_F(ModuleResourcesTest, PushRuleMakesTheModuleCurrentAndRestoresOnEveryExit)
{
    HINSTANCE before = pf::currentResourceHandle();
    HINSTANCE module = reinterpret_cast<HINSTANCE>(m_handle);
    ASSERT_NE(module, before);
    {
        ModuleResourceScope outer;
        EXPECT_EQ(module, pf::currentResourceHandle());
        {
            ModuleResourceScope inner;  // an option run from the command pushes again
            EXPECT_EQ(module, pf::currentResourceHandle());
        }
        EXPECT_EQ(module, pf::currentResourceHandle());
    }
    EXPECT_EQ(before, pf::currentResourceHandle());

    // An exception leaving the function still pops.
    try {
        ModuleResourceScope scope;
        throw std::runtime_error("leaving");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(before, pf::currentResourceHandle());

    // Without the push, the module's texts are not found.
    EXPECT_EQ(std::string(), std::string(LPCTSTR(loadResourceString(3))));
}

}  // namespace
