// command_test.cpp - the ZORVIK command: the option prompt, which option runs, the resource
// handle, and the command's registration by the loaded module file.
#include "cmd_fixture.h"

#include "accmd.h"
#include "pf/modules.h"
#include "pf/resource_context.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace cmdtest {
namespace {

class ZorvikCommandTest : public CommandTest {
protected:
  // Runs the command function with the given answers; dialogs are cancelled and recorded.
  void runCommand(std::vector<std::string> answers,
                  std::function<void(pf::DialogSession&)> act = [](pf::DialogSession& s) {
                    s.cancel();
                  }) {
    pf::ScopedDialogDriver driver(recordingDriver(dialogs_, std::move(act)));
    pf::ScopedAnswers input(std::move(answers));
    zorvikCommand();
    remaining_ = input.remaining();
  }
  bool updateRan() const { return output().find("Number of updated entities") != std::string::npos; }
  bool createRan() const { return output().find("Select polyline") != std::string::npos; }
  bool optionsRan() const { return dialogs_.templates == std::vector<UINT>{2003}; }

  DialogLog dialogs_;
  size_t remaining_ = 0;
};

TEST_F(ZorvikCommandTest, PromptsWithTheOptionListAndEnterRunsCreate) {
  runCommand({"", "^C"});
  EXPECT_NE(std::string::npos, output().find("Enter option [Create/Update/Options] <Create>:"))
      << output();
  EXPECT_TRUE(createRan()) << output();
  EXPECT_FALSE(updateRan());
  EXPECT_EQ(0u, remaining_);
  EXPECT_EQ(0, errorCount());
}

TEST_F(ZorvikCommandTest, EachKeywordRunsItsOptionWhateverTheLetterCase) {
  for (const char* answer : {"Update", "update", "UPDATE", "uPdAtE"}) {
    SCOPED_TRACE(answer);
    output_->clear();
    runCommand({answer});
    EXPECT_TRUE(updateRan()) << output();
    EXPECT_FALSE(createRan());
  }
  for (const char* answer : {"Options", "options", "OPTIONS"}) {
    SCOPED_TRACE(answer);
    dialogs_.templates.clear();
    runCommand({answer});
    EXPECT_TRUE(optionsRan());
  }
  output_->clear();
  runCommand({"CREATE", "^C"});
  EXPECT_TRUE(createRan());
  EXPECT_EQ(0u, remaining_);
}

TEST_F(ZorvikCommandTest, CancelRunsNothingAndLeavesNoTrace) {
  runCommand({"^C"});
  EXPECT_FALSE(createRan());
  EXPECT_FALSE(updateRan());
  EXPECT_TRUE(dialogs_.templates.empty());
  EXPECT_EQ(0, errorCount());
  EXPECT_EQ(pf::hostModuleHandle(), pf::currentResourceHandle());
  // A following command still finds the host's resource handle as it was.
  runCommand({"Update"});
  EXPECT_TRUE(updateRan());
}

TEST_F(ZorvikCommandTest, AnswerThatIsNoKeywordRunsNothing) {
  runCommand({"Foo", "^C"});
  EXPECT_FALSE(createRan());
  EXPECT_FALSE(updateRan());
  EXPECT_TRUE(dialogs_.templates.empty());
  EXPECT_EQ(0, errorCount());
}

TEST_F(ZorvikCommandTest, WithoutAWorkingDatabaseCreateAndUpdateEndSilently) {
  AcDbHostApplicationServices* services = acdbHostApplicationServices();
  services->setWorkingDatabase(nullptr);
  StatusBarRecorder bar;
  runCommand({"Update"});
  runCommand({"Create", "#1"});
  services->setWorkingDatabase(db());
  EXPECT_TRUE(bar.events.empty());
  EXPECT_FALSE(updateRan());
  EXPECT_FALSE(createRan());
  EXPECT_EQ(1u, remaining_) << "Create asks for nothing";
  EXPECT_EQ(0, errorCount());
}

TEST_F(ZorvikCommandTest, OptionsRunWithTheModuleResourcesInForce) {
  HINSTANCE during = nullptr;
  runCommand({"Options"}, [&](pf::DialogSession& s) {
    during = pf::currentResourceHandle();
    s.cancel();
  });
  EXPECT_EQ(s_resources, during);
  EXPECT_EQ(pf::hostModuleHandle(), pf::currentResourceHandle());
}

TEST_F(ZorvikCommandTest, ExceptionLeavingAnOptionStillPopsEveryPush) {
  const int depth = pf::resourceHandleDepth();
  EXPECT_THROW(runCommand({"Options"},
                          [](pf::DialogSession&) { throw std::runtime_error("user code failed"); }),
               std::runtime_error);
  EXPECT_EQ(depth, pf::resourceHandleDepth());
}

// The module file as the host loads it: the command is registered at initialisation with the
// registration values, runs, and its group is gone after unloading. The loaded module registers
// and deletes its own copy of the link class, so this runs in a child process of its own.
std::string loadRunAndUnload() {
  std::string failures;
  auto check = [&failures](bool ok, const std::string& what) {
    if (!ok) failures += "failed: " + what + "\n";
    return ok;
  };
  if (!check(pf::loadModule(ZORVIK_ARX_PATH, false), "load: " + pf::lastModuleError()))
    return failures;
  AcEdCommandStack* stack = acedRegCmds;
  if (!check(stack != nullptr, "command stack")) return failures;
  AcEdCommand* command = stack->lookupGlobalCmd("ZORVIK");
  if (!check(command != nullptr, "ZORVIK registered")) return failures;
  check(std::string(command->groupName()) == "Zorvik_Commands", "group name");
  check(std::string(command->globalName()) == "zorvik", "global name");
  check(std::string(command->localName()) == "zorvik", "local name");
  check(command->commandFlags() == 0, "flags 0 (modal)");
  check(command->functionCode() == -1, "function code -1");
  check(command->UIContext() == nullptr, "no UI context");
  check(command->resourceHandle() == nullptr, "no resource handle");
  check(stack->lookupLocalCmd("Zorvik") == command, "local lookup ignores case");

  pf::OutputCapture output;
  {
    pf::ScopedAnswers input({"update"});
    command->functionAddr()();
  }
  check(output.text().find("Number of updated entities: 0") != std::string::npos,
        "Update ran from the loaded module: " + output.text());

  if (!check(pf::unloadModule("zorvik"), "unload: " + pf::lastModuleError())) return failures;
  check(stack->lookupGlobalCmd("ZORVIK") == nullptr, "ZORVIK gone after unload");
  AcEdCommandIterator* it = stack->iterator();
  for (; it && !it->done(); it->next())
    check(std::string(it->commandGroup()) != "Zorvik_Commands", "group gone after unload");
  delete it;
  return failures;
}

TEST_F(ZorvikCommandTest, LoadedModuleRegistersTheCommandAndUnloadRemovesItsGroup) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        const std::string failures = loadRunAndUnload();
        std::fprintf(stderr, "%s", failures.c_str());
        std::_Exit(failures.empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace cmdtest
