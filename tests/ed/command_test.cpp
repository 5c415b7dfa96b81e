// The command stack (registration, lookup, removal) and running commands by name.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "accmd.h"
#include "acdocman.h"
#include "adslib.h"
#include "ed_test_support.h"
#include "pf/commands.h"
#include "pf/documents.h"
#include "pf/faults.h"
#include "pf/statusbar.h"
#include "rxmfcapi.h"
#include "pf/input.h"
#include "pf/output.h"
#include "pf/resource_context.h"

namespace {

int g_calls = 0;
void countCall() { ++g_calls; }
void otherCall() { g_calls += 100; }

// Removes the groups a test made, whatever the test's outcome.
class CommandStackTest : public ::testing::Test {
protected:
  void TearDown() override {
    for (const char* g : {"T_GROUP", "T_OTHER", "T_RUN"}) acedRegCmds->removeGroup(g);
    g_calls = 0;
  }
};

TEST_F(CommandStackTest, TheStackIsInTheSystemRegistry) {
  AcRxObject* entry = acrxSysRegistry()->at("ACAD_REGISTERED_COMMANDS");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(AcEdCommandStack::cast(entry), acedRegCmds);
  EXPECT_TRUE(entry->isKindOf(AcEdCommandStack::desc()));
  EXPECT_EQ(AcEdCommand::desc()->myParent(), AcRxObject::desc());
}

TEST_F(CommandStackTest, AddCommandRecordsEveryParameter) {
  AcEdCommand* cmd = nullptr;
  HINSTANCE res = reinterpret_cast<HINSTANCE>(0x1234);
  ASSERT_EQ(acedRegCmds->addCommand("T_GROUP", "ZTEST", "ZPRUEF", ACRX_CMD_MODAL | ACRX_CMD_USEPICKSET,
                                    &countCall, nullptr, 42, res, &cmd),
            Acad::eOk);
  ASSERT_NE(cmd, nullptr);
  EXPECT_STREQ(cmd->globalName(), "ZTEST");
  EXPECT_STREQ(cmd->localName(), "ZPRUEF");
  EXPECT_STREQ(cmd->groupName(), "T_GROUP");
  EXPECT_EQ(cmd->commandFlags(), ACRX_CMD_USEPICKSET);
  EXPECT_EQ(cmd->functionAddr(), &countCall);
  EXPECT_EQ(cmd->functionCode(), 42);
  EXPECT_EQ(cmd->resourceHandle(), res);
  EXPECT_EQ(cmd->UIContext(), nullptr);
  // The defaults of the trailing parameters.
  ASSERT_EQ(acedRegCmds->addCommand("T_GROUP", "ZPLAIN", "ZPLAIN", ACRX_CMD_MODAL, &countCall),
            Acad::eOk);
  AcEdCommand* plain = acedRegCmds->lookupGlobalCmd("ZPLAIN");
  ASSERT_NE(plain, nullptr);
  EXPECT_EQ(plain->functionCode(), -1);
  EXPECT_EQ(plain->resourceHandle(), nullptr);
}

TEST_F(CommandStackTest, DuplicatesAndBadNamesAreRefused) {
  ASSERT_EQ(acedRegCmds->addCommand("T_GROUP", "ZONE", "ZEINS", 0, &countCall), Acad::eOk);
  AcEdCommand* ret = reinterpret_cast<AcEdCommand*>(1);
  EXPECT_EQ(acedRegCmds->addCommand("T_GROUP", "zone", "ZANDERS", 0, &countCall, nullptr, -1,
                                    nullptr, &ret),
            Acad::eDuplicateKey);
  EXPECT_EQ(ret, nullptr);
  EXPECT_EQ(acedRegCmds->addCommand("t_group", "ZTWO", "zeins", 0, &countCall), Acad::eDuplicateKey);
  // The same name in another group is allowed.
  EXPECT_EQ(acedRegCmds->addCommand("T_OTHER", "ZONE", "ZEINS", 0, &otherCall), Acad::eOk);

  EXPECT_EQ(acedRegCmds->addCommand("T_GROUP", "", "X", 0, &countCall), Acad::eInvalidInput);
  EXPECT_EQ(acedRegCmds->addCommand("T_GROUP", nullptr, "X", 0, &countCall), Acad::eInvalidInput);
  EXPECT_EQ(acedRegCmds->addCommand("T_GROUP", "TWO WORDS", "X", 0, &countCall), Acad::eInvalidInput);
  EXPECT_EQ(acedRegCmds->addCommand("T_GROUP", "_LEAD", "X", 0, &countCall), Acad::eInvalidInput);
  EXPECT_EQ(acedRegCmds->addCommand("T_GROUP", std::string(65, 'Z').c_str(), nullptr, 0, &countCall),
            Acad::eInvalidInput);
  EXPECT_EQ(acedRegCmds->addCommand("T_GROUP", std::string(64, 'Z').c_str(), nullptr, 0, &countCall),
            Acad::eOk);
  EXPECT_EQ(acedRegCmds->addCommand("T_GROUP", "ZNOFN", "ZNOFN", 0, nullptr), Acad::eInvalidInput);
  EXPECT_EQ(acedRegCmds->addCommand("", "ZNOGROUP", "ZNOGROUP", 0, &countCall), Acad::eInvalidInput);
}

TEST_F(CommandStackTest, LookupIgnoresCaseAndTheLatestGroupWins) {
  ASSERT_EQ(acedRegCmds->addCommand("T_GROUP", "ZLOOK", "ZSUCH", 0, &countCall), Acad::eOk);
  AcEdCommand* g = acedRegCmds->lookupGlobalCmd("zLoOk");
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(acedRegCmds->lookupLocalCmd("ZSUCH"), g);
  EXPECT_EQ(acedRegCmds->lookupLocalCmd("zsuch"), g);
  EXPECT_EQ(acedRegCmds->lookupLocalCmd("ZLOOK"), nullptr);   // a global name is not a local one
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd("ZSUCH"), nullptr);
  EXPECT_EQ(acedRegCmds->lookupCmd("zsuch", false), g);

  ASSERT_EQ(acedRegCmds->addCommand("T_OTHER", "ZLOOK", "ZSUCH", 0, &otherCall), Acad::eOk);
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd("ZLOOK")->functionAddr(), &otherCall);
  EXPECT_EQ(acedRegCmds->popGroupToTop("t_group"), Acad::eOk);
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd("ZLOOK")->functionAddr(), &countCall);
  EXPECT_EQ(acedRegCmds->popGroupToTop("T_NONE"), Acad::eKeyNotFound);

  // Undefined commands are skipped only when asked.
  g->commandUndef(true);
  EXPECT_TRUE(g->commandFlags() & ACRX_CMD_UNDEFINED);
  EXPECT_EQ(acedRegCmds->lookupCmd("ZLOOK", true, false, true)->functionAddr(), &otherCall);
  EXPECT_EQ(acedRegCmds->lookupCmd("ZLOOK", true, false, false), g);
}

TEST_F(CommandStackTest, RemovalByCommandAndByGroup) {
  ASSERT_EQ(acedRegCmds->addCommand("T_GROUP", "ZA", "ZA", 0, &countCall), Acad::eOk);
  ASSERT_EQ(acedRegCmds->addCommand("T_GROUP", "ZB", "ZB", 0, &countCall), Acad::eOk);
  ASSERT_EQ(acedRegCmds->addCommand("T_OTHER", "ZC", "ZC", 0, &countCall), Acad::eOk);

  EXPECT_EQ(acedRegCmds->removeCmd("T_NONE", "ZA"), Acad::eKeyNotFound);
  EXPECT_EQ(acedRegCmds->removeCmd("T_GROUP", "ZC"), Acad::eKeyNotFound);
  EXPECT_EQ(acedRegCmds->removeCmd("t_group", "za"), Acad::eOk);
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd("ZA"), nullptr);
  EXPECT_NE(acedRegCmds->lookupGlobalCmd("ZB"), nullptr);

  EXPECT_EQ(acedRegCmds->removeGroup("T_GROUP"), Acad::eOk);
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd("ZB"), nullptr);
  EXPECT_NE(acedRegCmds->lookupGlobalCmd("ZC"), nullptr);  // other groups are untouched
  EXPECT_EQ(acedRegCmds->removeGroup("T_GROUP"), Acad::eKeyNotFound);
  // The group can be made again.
  EXPECT_EQ(acedRegCmds->addCommand("T_GROUP", "ZA", "ZA", 0, &countCall), Acad::eOk);
}

TEST_F(CommandStackTest, IteratorWalksEveryCommandFromTheTop) {
  ASSERT_EQ(acedRegCmds->addCommand("T_GROUP", "ZI1", "ZI1", 0, &countCall), Acad::eOk);
  ASSERT_EQ(acedRegCmds->addCommand("T_OTHER", "ZI2", "ZI2", 0, &countCall), Acad::eOk);
  std::unique_ptr<AcEdCommandIterator> it(acedRegCmds->iterator());
  std::vector<std::string> mine;
  for (; !it->done(); it->next()) {
    std::string group = it->commandGroup();
    if (group == "T_GROUP" || group == "T_OTHER") mine.push_back(group + "/" + it->command()->globalName());
  }
  EXPECT_EQ(mine, (std::vector<std::string>{"T_OTHER/ZI2", "T_GROUP/ZI1"}));
}

// --- running commands ---------------------------------------------------------------------

void askAndCancel() {
  char kw[133];
  acedInitGet(0, "Yes No");
  acedGetKword("\nSure? ", kw);
}
void throwing() { throw std::runtime_error("disk on fire"); }
void pushOnly() { acDocManager->pushResourceHandle(reinterpret_cast<HINSTANCE>(0x77)); }
HINSTANCE g_seenHandle = nullptr;
void noteHandle() { g_seenHandle = pf::currentResourceHandle(); }
void printHello() { acutPrintf("\nHello."); }
void rawPrompt() { pf::readInput("\nBase point: "); }
void removeOwnGroup() {
  acedRegCmds->removeGroup("T_RUN");
  acutPrintf("\nstill running");
}

class RunCommandTest : public CommandStackTest {
protected:
  void SetUp() override {
    ASSERT_EQ(acedRegCmds->addCommand("T_RUN", "ZCOUNT", "ZZAEHL", 0, &countCall), Acad::eOk);
    ASSERT_EQ(acedRegCmds->addCommand("T_RUN", "ZASK", "ZASK", 0, &askAndCancel), Acad::eOk);
    ASSERT_EQ(acedRegCmds->addCommand("T_RUN", "ZTHROW", "ZTHROW", 0, &throwing), Acad::eOk);
    ASSERT_EQ(acedRegCmds->addCommand("T_RUN", "ZHELLO", "ZHELLO", 0, &printHello), Acad::eOk);
  }
  edtest::RecordingReactor rec;
};

TEST_F(RunCommandTest, NotificationsForEachOutcome) {
  edtest::Attached on(&rec);
  pf::OutputCapture out;
  pf::ScopedAnswers in({"^C"});
  EXPECT_EQ(pf::runCommand("zcount").outcome, pf::CommandOutcome::kEnded);
  EXPECT_EQ(pf::runCommand("  ZZAEHL ").outcome, pf::CommandOutcome::kEnded);  // local name
  EXPECT_EQ(pf::runCommand("_zcount").outcome, pf::CommandOutcome::kEnded);    // global name
  EXPECT_EQ(pf::runCommand("_ZZAEHL").outcome, pf::CommandOutcome::kUnknown);  // not a global name
  EXPECT_EQ(g_calls, 3);
  EXPECT_EQ(pf::runCommand("ZASK").outcome, pf::CommandOutcome::kCancelled);
  pf::CommandRun failed = pf::runCommand("ZTHROW");
  EXPECT_EQ(failed.outcome, pf::CommandOutcome::kFailed);
  EXPECT_EQ(failed.globalName, "ZTHROW");
  EXPECT_EQ(pf::runCommand("nosuch").outcome, pf::CommandOutcome::kUnknown);
  EXPECT_EQ(rec.events, (std::vector<std::string>{
                            "willStart ZCOUNT", "ended ZCOUNT", "willStart ZCOUNT", "ended ZCOUNT",
                            "willStart ZCOUNT", "ended ZCOUNT", "unknown _ZZAEHL",
                            "willStart ZASK", "cancelled ZASK", "willStart ZTHROW",
                            "failed ZTHROW", "unknown NOSUCH"}));
  EXPECT_NE(out.text().find("Command ZTHROW failed: disk on fire"), std::string::npos);
  EXPECT_NE(out.text().find("Unknown command \"NOSUCH\"."), std::string::npos);
  EXPECT_EQ(pf::activeCommand(), "");
}

TEST_F(RunCommandTest, PrefixesOfTheTypedNameCombine) {
  edtest::Attached on(&rec);
  pf::OutputCapture out;
  for (const char* typed : {"-zcount", "._zcount", "_.-ZCOUNT", "'zcount", "-ZZAEHL"})
    EXPECT_EQ(pf::runCommand(typed).outcome, pf::CommandOutcome::kEnded) << typed;
  EXPECT_EQ(g_calls, 5);
  EXPECT_EQ(pf::runCommand("_-ZZAEHL").outcome, pf::CommandOutcome::kUnknown);  // local name asked as global
  EXPECT_EQ(pf::runCommand("-").outcome, pf::CommandOutcome::kUnknown);
  EXPECT_FALSE(pf::commandExists("._"));
  EXPECT_TRUE(pf::commandExists(" _.zcount "));
  // A command registered with the dash is the command-line form and wins over the plain name.
  ASSERT_EQ(acedRegCmds->addCommand("T_RUN", "-ZHELLO", "-ZHELLO", 0, &countCall), Acad::eOk);
  EXPECT_EQ(pf::runCommand("_-zhello").globalName, "-ZHELLO");
  EXPECT_EQ(pf::runCommand("zhello").globalName, "ZHELLO");
}

TEST_F(RunCommandTest, HostPromptsCancelCommandsToo) {
  ASSERT_EQ(acedRegCmds->addCommand("T_RUN", "ZRAW", "ZRAW", 0, &rawPrompt), Acad::eOk);
  pf::OutputCapture out;
  pf::ScopedAnswers in({"^C", "1,1"});
  EXPECT_EQ(pf::runCommand("ZRAW").outcome, pf::CommandOutcome::kCancelled);
  EXPECT_EQ(pf::runCommand("ZRAW").outcome, pf::CommandOutcome::kEnded);
  // Running out of input cancels as well.
  EXPECT_EQ(pf::runCommand("ZRAW").outcome, pf::CommandOutcome::kCancelled);
}

TEST_F(RunCommandTest, ACommandMayRemoveItselfWhileRunning) {
  ASSERT_EQ(acedRegCmds->addCommand("T_RUN", "ZSELFREMOVE", "ZSELFREMOVE", 0, &removeOwnGroup),
            Acad::eOk);
  edtest::Attached on(&rec);
  pf::OutputCapture out;
  pf::CommandRun run = pf::runCommand("ZSELFREMOVE");
  EXPECT_EQ(run.outcome, pf::CommandOutcome::kEnded);
  EXPECT_EQ(rec.events, (std::vector<std::string>{"willStart ZSELFREMOVE", "ended ZSELFREMOVE"}));
  EXPECT_EQ(acedRegCmds->lookupGlobalCmd("ZSELFREMOVE"), nullptr);
  EXPECT_EQ(pf::runCommand("ZSELFREMOVE").outcome, pf::CommandOutcome::kUnknown);
}

TEST_F(RunCommandTest, ResourceHandleOfTheCommandIsInForceWhileItRuns) {
  HINSTANCE mine = reinterpret_cast<HINSTANCE>(0x4242);
  ASSERT_EQ(acedRegCmds->addCommand("T_RUN", "ZRES", "ZRES", 0, &noteHandle, nullptr, -1, mine),
            Acad::eOk);
  ASSERT_EQ(acedRegCmds->addCommand("T_RUN", "ZLEAK", "ZLEAK", 0, &pushOnly), Acad::eOk);
  HINSTANCE before = pf::currentResourceHandle();
  pf::CommandRun run = pf::runCommand("ZRES");
  EXPECT_EQ(g_seenHandle, mine);
  EXPECT_EQ(pf::currentResourceHandle(), before);
  EXPECT_EQ(run.resourceDepthAfter, run.resourceDepthBefore);

  pf::OutputCapture out;
  pf::CommandRun leak = pf::runCommand("ZLEAK");
  EXPECT_EQ(leak.resourceDepthAfter, leak.resourceDepthBefore + 1);
  EXPECT_NE(out.text().find("ZLEAK left the resource-handle stack unbalanced"), std::string::npos);
  acDocManager->popResourceHandle();
  EXPECT_EQ(pf::currentResourceHandle(), before);
}

TEST_F(RunCommandTest, CommandLoopRepeatsOnEnterAndStopsAtTheEnd) {
  pf::OutputCapture out;
  pf::ScopedAnswers in({"ZHELLO", "", "; not a comment here", "^C", "zcount"});
  pf::CommandLoopSummary s = pf::runCommandLoop();
  EXPECT_EQ(s.commands, 3);
  EXPECT_EQ(s.unknown, 1);
  EXPECT_EQ(g_calls, 1);
  pf::finishOutputLine();
  EXPECT_EQ(out.text(),
            "Command: ZHELLO\nHello.\n"
            "Command:\nHello.\n"
            "Command: ; not a comment here\nUnknown command \"; NOT A COMMENT HERE\".\n"
            "Command: *Cancel*\n"
            "Command: zcount\n");
}

}  // namespace

namespace {

TEST(EditorFaults, InjectedFailuresChangeNothing) {
  {
    pf::ScopedFault f("AcEdCommandStack::addCommand", Acad::eOutOfMemory);
    AcEdCommand* cmd = reinterpret_cast<AcEdCommand*>(1);
    EXPECT_EQ(acedRegCmds->addCommand("T_FAULT", "ZF", "ZF", 0, &countCall, nullptr, -1, nullptr, &cmd),
              Acad::eOutOfMemory);
    EXPECT_EQ(cmd, nullptr);
  }
  EXPECT_EQ(acedRegCmds->removeGroup("T_FAULT"), Acad::eKeyNotFound);  // no group was made
  ASSERT_EQ(acedRegCmds->addCommand("T_FAULT", "ZF", "ZF", 0, &countCall), Acad::eOk);
  {
    pf::ScopedFault f("AcEdCommandStack::removeGroup", Acad::eInvalidInput, 1);
    EXPECT_EQ(acedRegCmds->removeGroup("T_FAULT"), Acad::eInvalidInput);
  }
  EXPECT_NE(acedRegCmds->lookupGlobalCmd("ZF"), nullptr);
  EXPECT_EQ(acedRegCmds->removeGroup("T_FAULT"), Acad::eOk);

  pf::OutputCapture out;
  pf::ScopedAnswers in({"Yes", "1,2"});
  char kw[133];
  {
    pf::ScopedFault f("acedGetKword", Acad::eInvalidInput, 1);
    acedInitGet(0, "Yes No");
    EXPECT_EQ(acedGetKword("Sure? ", kw), RTERROR);
  }
  {
    pf::ScopedFault f("acedInitGet", Acad::eInvalidInput, 1);
    EXPECT_EQ(acedInitGet(0, "Yes No"), RTERROR);
  }
  {
    pf::ScopedFault f("acedEntSel", Acad::eInvalidInput, 1);
    ads_name en;
    ads_point pt;
    EXPECT_EQ(acedEntSel(nullptr, en, pt), RTERROR);
  }
  EXPECT_EQ(in.remaining(), 2u);  // failing calls read no input
  {
    pf::ScopedFault f("acedSetStatusBarProgressMeter", Acad::eInvalidInput, 1);
    EXPECT_EQ(acedSetStatusBarProgressMeter("x", 0, 100), -1);
  }
  ASSERT_EQ(acedSetStatusBarProgressMeter("x", 0, 100), 0);
  {
    pf::ScopedFault f("acedSetStatusBarProgressMeterPos", Acad::eInvalidInput, 1);
    EXPECT_EQ(acedSetStatusBarProgressMeterPos(50), -1);
  }
  EXPECT_EQ(pf::progressMeter().pos, 0);
  acedRestoreStatusBar();
}

}  // namespace
