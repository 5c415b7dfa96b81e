// lifecycle_test.cpp - the application object: static construction, the message dispatch
// table, the start-up and shut-down sequences and the module-path operations.
#include <dlfcn.h>

#include <clocale>
#include <locale.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pf/output.h"

#include "extmodule.h"
#include "fresh_process.h"
#include "moduleappbase.h"
#include "zorvik.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);

namespace {

std::string joined(const std::vector<std::string>& calls)
{
    std::string text;
    for (const std::string& call : calls)
        text += (text.empty() ? "" : ",") + call;
    return text;
}

// Records every overridable operation the base calls, in order. The message handlers answer
// `answer`, so that a test can tell that handleMessage passes their answer on.
class RecordingApp : public ModuleAppBase {
public:
    std::vector<std::string> calls;
    AcRx::AppRetCode answer = AcRx::kRetOK;
    void* dialogPacket = nullptr;

    AcRx::AppRetCode onInitApp() override { return note("onInitApp"); }
    AcRx::AppRetCode onUnloadApp() override { return note("onUnloadApp"); }
    AcRx::AppRetCode onLoadDwg() override { return note("onLoadDwg"); }
    AcRx::AppRetCode onUnloadDwg() override { return note("onUnloadDwg"); }
    AcRx::AppRetCode onSaveDwg() override { return note("onSaveDwg"); }
    AcRx::AppRetCode onEnd() override { return note("onEnd"); }
    AcRx::AppRetCode onQuit() override { return note("onQuit"); }
    AcRx::AppRetCode onConfigure() override { return note("onConfigure"); }
    AcRx::AppRetCode onInvokeFunction() override { return note("onInvokeFunction"); }
    AcRx::AppRetCode onDependency() override { return note("onDependency"); }
    AcRx::AppRetCode onNoDependency() override { return note("onNoDependency"); }
    AcRx::AppRetCode onOleUnloadApp() override { return note("onOleUnloadApp"); }
    AcRx::AppRetCode onPreQuit() override { return note("onPreQuit"); }
    AcRx::AppRetCode onDialogStart(void* packet) override
    {
        dialogPacket = packet;
        return note("onDialogStart");
    }
    AcRx::AppRetCode onDialogEnd(void* packet) override
    {
        dialogPacket = packet;
        return note("onDialogEnd");
    }
    void registerClasses() override { note("registerClasses"); }
    void unregisterClasses() override { note("unregisterClasses"); }
    Acad::ErrorStatus registerCommands() override
    {
        note("registerCommands");
        return Acad::eInvalidInput;  // not examined by the sequence
    }
    Acad::ErrorStatus unregisterCommands() override
    {
        note("unregisterCommands");
        return Acad::eInvalidInput;
    }
    void preInitHook() override { note("preInitHook"); }
    void preUnloadHook() override { note("preUnloadHook"); }
    void postCommandsHook() override { note("postCommandsHook"); }

private:
    AcRx::AppRetCode note(const char* name)
    {
        calls.push_back(name);
        return answer;
    }
};

TEST(StaticConstruction, OneApplicationObjectWithDefaultsAndAnEmptyLog)
{
    expectInFreshProcess([](Problems& p) {
        ModuleApp* app = getModuleApp();
        p.check(app != nullptr, "getModuleApp() answers the application object");
        p.check(app == getModuleApp(), "getModuleApp() always answers the same object");
        p.equal(0, app->errorLog().count(), "error records");
        p.check(app->autoUpdate(), "AutoUpdate defaults to on");
        p.equal(2, app->areaPrec(), "AreaPrec default");
        p.equal(1.0, app->divisor(), "Divisor default");
        p.check(!app->quietMode(), "QuietMode defaults to off");
        p.equal(std::string(), std::string(app->attname()), "Attname default");
        p.check(app->editorReactor() == nullptr, "no editor reactor before initialisation");
        p.check(app->moduleInstance() == nullptr, "module instance unknown before attach");
    });
}

TEST(StaticConstruction, EmptyLogPrintsNothing)
{
    expectInFreshProcess([](Problems& p) {
        pf::OutputCapture capture;
        getModuleApp()->printErrors();
        p.equal(std::string(), capture.text(), "printed text");
    });
}

TEST(MessageDispatch, EachCodeRunsItsOwnHandler)
{
    expectInFreshProcess([](Problems& p) {
        const char* handlers[] = {"onLoadDwg",      "onUnloadDwg",  "onInvokeFunction", "onConfigure",
                                  "onEnd",          "onQuit",       "onSaveDwg",        "onDependency",
                                  "onNoDependency", "onOleUnloadApp", "onPreQuit",      "onDialogStart",
                                  "onDialogEnd"};
        int packetValue = 0;
        for (int code = 3; code <= 15; ++code) {
            RecordingApp app;
            app.answer = AcRx::kRetError;
            void* packet = &packetValue;
            AcRx::AppRetCode answer = app.handleMessage(code, packet);
            std::string what = "message " + std::to_string(code);
            p.equal(std::string(handlers[code - 3]), joined(app.calls), what + " handler");
            p.equal(int(AcRx::kRetError), int(answer), what + " passes on the handler's answer");
            p.check(app.appId() == packet, what + " stores the packet as application id");
            if (code >= 14)
                p.check(app.dialogPacket == packet, what + " hands the packet to its handler");
        }
    });
}

TEST(MessageDispatch, BaseHandlersAnswerSuccess)
{
    expectInFreshProcess([](Problems& p) {
        ModuleAppBase base;
        for (int code = 1; code <= 15; ++code)
            p.equal(int(AcRx::kRetOK), int(base.handleMessage(code, nullptr)),
                    "base answer to message " + std::to_string(code));
    });
}

TEST(MessageDispatch, UnknownCodesDoNothingButStoreThePacket)
{
    expectInFreshProcess([](Problems& p) {
        int a = 0, b = 0, c = 0, d = 0;
        struct Case {
            int code;
            void* packet;
        } cases[] = {{0, &a}, {16, &b}, {17, &c}, {1000, &d}, {-1, nullptr}};
        RecordingApp app;
        app.answer = AcRx::kRetError;
        for (const Case& c : cases) {
            AcRx::AppRetCode answer = app.handleMessage(c.code, c.packet);
            std::string what = "message " + std::to_string(c.code);
            p.equal(int(AcRx::kRetOK), int(answer), what + " answer");
            p.check(app.appId() == c.packet, what + " replaces the application id");
        }
        p.equal(std::string(), joined(app.calls), "handlers run for unknown codes");
    });
}

TEST(StartUpSequence, StepsRunInOrderAndInitAnswers)
{
    expectInFreshProcess([](Problems& p) {
        RecordingApp app;
        int packet = 0;
        app.answer = AcRx::kRetError;
        AcRx::AppRetCode answer = app.handleMessage(AcRx::kInitAppMsg, &packet);
        p.equal(std::string("registerClasses,registerCommands,postCommandsHook,preInitHook,onInitApp"),
                joined(app.calls), "start-up steps");
        p.equal(int(AcRx::kRetError), int(answer), "message 1 answers what onInitApp answers");
        p.check(app.appId() == &packet, "application id");
    });
}

TEST(ShutDownSequence, StepsRunInOrderAndUnloadAnswers)
{
    expectInFreshProcess([](Problems& p) {
        RecordingApp app;
        app.answer = AcRx::kRetError;
        AcRx::AppRetCode answer = app.handleMessage(AcRx::kUnloadAppMsg, nullptr);
        p.equal(std::string("preUnloadHook,unregisterCommands,unregisterClasses,onUnloadApp"), joined(app.calls),
                "shut-down steps");
        p.equal(int(AcRx::kRetError), int(answer), "message 2 answers what onUnloadApp answers");
    });
}

TEST(StartUpSequence, NumbersUseAPointAfterStartUpWhateverTheUserLocale)
{
    // Without a comma-decimal locale the point would be there before start-up too, and the test
    // would show nothing.
    locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", static_cast<locale_t>(0));
    if (german == static_cast<locale_t>(0))
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed (.ci/run installs it)";
    freelocale(german);
    expectInFreshProcess([](Problems& p) {
        // A comma-decimal locale, as a German user's session would have.
        p.equal(true, setlocale(LC_ALL, "de_DE.UTF-8") != nullptr, "German locale set");
        char text[32];
        snprintf(text, sizeof text, "%g", 0.5);
        p.equal(std::string("0,5"), std::string(text), "comma before start-up");
        ModuleAppBase app;
        app.handleMessage(AcRx::kInitAppMsg, nullptr);
        snprintf(text, sizeof text, "%g", 0.5);
        p.equal(std::string("0.5"), std::string(text), "formatted after start-up");
        p.equal(0.25, atof("0.25"), "parsed after start-up");
    });
}

TEST(ExtensionModule, AttachSetsUpOnceAndDetachEnds)
{
    expectInFreshProcess([](Problems& p) {
        ExtensionModule& ext = *g_pExtensionModule;
        p.check(!ext.attached && ext.moduleInstance == nullptr && ext.defaultResourceHandle == nullptr,
                "the record is clear after static construction");

        void* file = dlopen(ZORVIK_ARX_PATH, RTLD_NOW | RTLD_LOCAL);
        p.check(file != nullptr, "module file opened");
        HINSTANCE hModule = reinterpret_cast<HINSTANCE>(file);
        HINSTANCE mfcResources = AfxGetModuleState()->m_hCurrentResourceHandle;

        p.equal(TRUE, DllMain(hModule, DLL_PROCESS_ATTACH, nullptr), "attach answer");
        p.check(ext.attached, "attached");
        p.check(ext.moduleInstance == hModule, "module instance recorded");
        p.check(ext.defaultResourceHandle == mfcResources, "MFC's resource handle recorded");
        p.check(getModuleApp()->moduleInstance() == hModule, "module instance stored in the application");

        // A second attach leaves the record as it is.
        int other = 0;
        p.equal(TRUE, DllMain(reinterpret_cast<HINSTANCE>(&other), DLL_PROCESS_ATTACH, nullptr), "second attach");
        p.check(ext.moduleInstance == hModule, "record unchanged by a second attach");

        p.equal(TRUE, DllMain(hModule, DLL_THREAD_ATTACH, nullptr), "thread attach");
        p.equal(TRUE, DllMain(hModule, DLL_THREAD_DETACH, nullptr), "thread detach");
        p.check(ext.attached, "threads change nothing");

        p.equal(TRUE, DllMain(hModule, DLL_PROCESS_DETACH, nullptr), "detach answer");
        p.check(!ext.attached, "detached");
        p.equal(TRUE, DllMain(hModule, DLL_PROCESS_DETACH, nullptr), "second detach");
        dlclose(file);
    });
}

}  // namespace
