// startup_test.cpp - the module's own start-up and shut-down steps: class registration, the
// editor reactor, the settings, and the answer 3 when the editor reactor cannot be made.
#include <cstdlib>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "rxclass.h"
#include "rxdict.h"
#include "pf/editor_reactors.h"
#include "pf/registry.h"
#include "rx/class_observers.h"

#include "editorreactor.h"
#include "fresh_process.h"
#include "plinenotifyobj.h"
#include "temp_dir.h"
#include "zorvik.h"

// The nothrow allocations of editor reactors fail while this is set, as they would when memory
// is exhausted. Only allocations of exactly that size are affected.
static bool g_failEditorReactorAllocation = false;

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (g_failEditorReactorAllocation && size == sizeof(AcZorvikEditorReactor))
        return nullptr;
    try {
        return ::operator new(size);
    } catch (...) {
        return nullptr;
    }
}

namespace {

bool classRegistered(const char* name)
{
    return acrxClassDictionary->at(name) != nullptr;
}

bool reactorAttached(AcRxEventReactor* pReactor)
{
    std::vector<AcRxEventReactor*>& list = pf::editorEventReactors();
    return std::find(list.begin(), list.end(), pReactor) != list.end();
}

// A hive with a stored AreaPrec, so that a test can tell whether the settings were loaded.
void useHiveWithAreaPrec(const ModuleTempDir& dir)
{
    dir.write("user.reg", "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\" + settingsKeyPath() +
                              "]\r\n\"AreaPrec\"=dword:00000005\r\n\r\n");
    pf::setRegistryHivePath(dir.file("user.reg"));
}

TEST(ModuleStartUp, RegistersClassesAttachesTheReactorAndLoadsSettings)
{
    expectInFreshProcess([](Problems& p) {
        ModuleTempDir dir;
        useHiveWithAreaPrec(dir);
        ModuleApp* app = getModuleApp();
        int packet = 0;

        p.equal(int(AcRx::kRetOK), int(app->handleMessage(AcRx::kInitAppMsg, &packet)), "answer to message 1");
        p.check(classRegistered("CPlineNotifyObject"), "link class registered");
        p.check(classRegistered("AcZorvikEditorReactor"), "editor reactor class registered");
        p.check(app->editorReactor() != nullptr, "editor reactor created");
        p.check(reactorAttached(app->editorReactor()), "editor reactor attached to the editor");
        p.equal(5, app->areaPrec(), "settings loaded");

        AcRxClass* pLink = CPlineNotifyObject::desc();
        p.check(pLink != nullptr && pLink == acrxClassDictionary->at("CPlineNotifyObject"), "link descriptor");
        if (pLink != nullptr) {
            int dwgVersion = 0, maintenance = 0;
            pLink->getClassVersion(dwgVersion, maintenance);
            p.equal(23, dwgVersion, "drawing version");
            p.equal(10, maintenance, "maintenance version");
            p.equal(0, pLink->proxyFlags(), "proxy flags");
            p.equal(std::string("PLINENOTIFYOBJECT"), std::string(pLink->dxfName()), "DXF name");
            p.equal(std::string("zorvik"), std::string(pLink->appName()), "application name");
            p.equal(std::string("AcDbObject"), std::string(pLink->myParent()->name()), "parent class");
            AcRxObject* pMade = pLink->create();
            CPlineNotifyObject* pNew = CPlineNotifyObject::cast(pMade);
            p.check(pNew != nullptr && pNew->attributeId().isNull(), "pseudo-constructor makes an empty link");
            delete pMade;
        }

        AcZorvikEditorReactor* pReactor = app->editorReactor();
        p.equal(int(AcRx::kRetOK), int(app->handleMessage(AcRx::kUnloadAppMsg, &packet)), "answer to message 2");
        p.check(app->editorReactor() == nullptr, "editor reactor deleted");
        p.check(!reactorAttached(pReactor), "editor reactor detached");
        p.check(!classRegistered("CPlineNotifyObject"), "link class deleted");
        p.check(!classRegistered("AcZorvikEditorReactor"), "editor reactor class deleted");

        p.equal(int(AcRx::kRetOK), int(app->onUnloadApp()), "second unload");
        p.check(app->editorReactor() == nullptr, "still no editor reactor");
    });
}

// The link class is registered before the editor reactor's class: the class dictionary, walked
// in the order of its entries, meets the link class first.
TEST(ModuleStartUp, RegistersTheLinkClassBeforeTheEditorReactorClass)
{
    expectInFreshProcess([](Problems& p) {
        ModuleTempDir dir;
        useHiveWithAreaPrec(dir);
        ModuleApp* app = getModuleApp();
        int packet = 0;
        p.equal(int(AcRx::kRetOK), int(app->handleMessage(AcRx::kInitAppMsg, &packet)), "answer to message 1");

        int linkAt = -1, reactorAt = -1, position = 0;
        AcRxDictionaryIterator* it = acrxClassDictionary->newIterator(AcRx::kDictCollated);
        for (; !it->done(); it->next(), ++position) {
            const std::string key = it->key();
            if (key == "CPlineNotifyObject") linkAt = position;
            if (key == "AcZorvikEditorReactor") reactorAt = position;
        }
        delete it;
        p.check(linkAt >= 0 && reactorAt >= 0, "both classes registered");
        p.check(linkAt < reactorAt, "link class registered first");

        p.equal(int(AcRx::kRetOK), int(app->handleMessage(AcRx::kUnloadAppMsg, &packet)), "answer to message 2");
    });
}

std::string g_deletedClasses;

void recordDeletedClass(const AcRxClass* pDeleted)
{
    g_deletedClasses += std::string(pDeleted->name()) + ";";
}

// At unload the classes go in the reverse order of their registration: the editor reactor's
// class, then the link class it depends on. Only the module's classes go.
TEST(ModuleStartUp, DeletesTheClassesInTheReverseOrderOfRegistration)
{
    expectInFreshProcess([](Problems& p) {
        ModuleTempDir dir;
        useHiveWithAreaPrec(dir);
        ModuleApp* app = getModuleApp();
        int packet = 0;
        p.equal(int(AcRx::kRetOK), int(app->handleMessage(AcRx::kInitAppMsg, &packet)), "answer to message 1");

        g_deletedClasses.clear();
        pf::addClassDeletionObserver(&recordDeletedClass);
        p.equal(int(AcRx::kRetOK), int(app->handleMessage(AcRx::kUnloadAppMsg, &packet)), "answer to message 2");
        pf::removeClassDeletionObserver(&recordDeletedClass);
        p.equal(std::string("AcZorvikEditorReactor;CPlineNotifyObject;"), g_deletedClasses, "classes deleted, in order");
    });
}

TEST(ModuleStartUp, AnswersErrorWhenTheEditorReactorCannotBeMade)
{
    expectInFreshProcess([](Problems& p) {
        ModuleTempDir dir;
        useHiveWithAreaPrec(dir);
        ModuleApp* app = getModuleApp();
        size_t reactorsBefore = pf::editorEventReactors().size();

        g_failEditorReactorAllocation = true;
        AcRx::AppRetCode answer = app->handleMessage(AcRx::kInitAppMsg, nullptr);
        g_failEditorReactorAllocation = false;

        p.equal(int(AcRx::kRetError), int(answer), "answer to message 1");
        p.check(app->editorReactor() == nullptr, "no editor reactor");
        p.equal(reactorsBefore, pf::editorEventReactors().size(), "editor reactors");
        p.equal(2, app->areaPrec(), "settings keep their defaults");
        // Nothing is undone: the classes stay registered.
        p.check(classRegistered("CPlineNotifyObject"), "link class stays registered");
        p.check(classRegistered("AcZorvikEditorReactor"), "editor reactor class stays registered");

        p.equal(int(AcRx::kRetOK), int(app->handleMessage(AcRx::kUnloadAppMsg, nullptr)), "unload");
        p.check(!classRegistered("CPlineNotifyObject"), "link class deleted at unload");
    });
}

TEST(ModuleStartUp, RegisteringTwiceChangesNothing)
{
    expectInFreshProcess([](Problems& p) {
        getModuleApp()->registerClasses();
        AcRxClass* pLink = CPlineNotifyObject::desc();
        AcRxClass* pReactor = AcZorvikEditorReactor::desc();
        getModuleApp()->registerClasses();
        p.check(pLink != nullptr && pLink == CPlineNotifyObject::desc(), "link descriptor kept");
        p.check(pReactor != nullptr && pReactor == AcZorvikEditorReactor::desc(), "reactor descriptor kept");
        getModuleApp()->unregisterClasses();
        p.check(!classRegistered("CPlineNotifyObject"), "link class deleted");
        // Registered again after deletion, as when the module is loaded a second time.
        getModuleApp()->registerClasses();
        p.check(classRegistered("CPlineNotifyObject"), "link class registered again");
        getModuleApp()->unregisterClasses();
    });
}

TEST(ModuleStartUp, AnotherLinkClassUnderTheSameNameAborts)
{
    EXPECT_DEATH(
        {
            CPlineNotifyObject::rxInit();
            CPlineNotifyObject::gpDesc = AcDbObject::desc();
            CPlineNotifyObject::rxInit();
        },
        "Class mismatch");
}

}  // namespace
