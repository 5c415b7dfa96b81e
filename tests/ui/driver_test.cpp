// The scripted driver on the "@" syntax (as a host program feeds it from its script) and the
// terminal driver's form and keyboard actions.
#include <deque>
#include <sstream>

#include "ui_test_support.h"

namespace {

// A script source: hands out lines until it has none; counts what it handed out.
struct Script {
  explicit Script(std::deque<std::string> l) : lines(std::move(l)) {}
  std::shared_ptr<pf::DialogDriver> driver(bool echo = true) {
    return pf::makeScriptedDialogDriver(
        [this](std::string& line) {
          if (lines.empty()) return false;
          line = lines.front();
          lines.pop_front();
          ++consumed;
          return true;
        },
        echo);
  }
  std::deque<std::string> lines;
  int consumed = 0;
};

TEST(ScriptedDriver, RunsTheAtLinesOfAScript) {
  Transcript t;
  Script script({"@text 3002 4", "@check 3004 on", "@text 3007 Hall A ", "@select 3001 WIDTH", "@spin 3005 up",
                 "@click 3006", "@ok"});
  pf::ScopedDialogDriver d(script.driver());
  TestDialog dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_count, 5);
  EXPECT_EQ(dlg.m_enable, 1);
  EXPECT_EQ(CString("Hall A "), dlg.m_name);  // the value runs to the end of the line
  EXPECT_EQ(CString("WIDTH"), dlg.m_selected);
  EXPECT_EQ(dlg.m_applyClicks, 1);
  EXPECT_EQ(script.consumed, 7);
  EXPECT_EQ(t.lines, (std::vector<std::string>{"@text 3002 4", "@check 3004 on", "@text 3007 Hall A ",
                                               "@select 3001 WIDTH", "@spin 3005 up", "@click 3006", "@ok"}));
}

TEST(ScriptedDriver, RunningOutOfLinesCancelsTheDialog) {
  Transcript t;
  Script script({"@text 3002 1"});
  pf::ScopedDialogDriver d(script.driver());
  TestDialog dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(dlg.m_count, 3);
  ASSERT_EQ(t.lines.size(), 2u);
  EXPECT_EQ(t.lines[1], "*** Dialog 2100 \"Test dialog\": no more answers, cancelled");
}

TEST(ScriptedDriver, StopsReadingWhenTheDialogEnds) {
  Transcript t;
  Script script({"@cancel", "@text 3002 1"});
  pf::ScopedDialogDriver d(script.driver());
  TestDialog dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_EQ(script.lines.size(), 1u);  // the next line is left for whatever comes next
}

TEST(ScriptedDriver, AnActionThatCannotBeAppliedCancelsTheDialog) {
  // Each answer that cannot be applied ends its dialog with Cancel, so the "@ok" after it never
  // confirms what the dialog showed instead; the failure names the line and the reason.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"@text 9999 1", "@text 9999 1: the dialog has no control 9999"},
      {"@check 3002 on", "@check 3002 on: edit 3002 is not a check box"},
      {"@select 3001 NOPE", "@select 3001 NOPE: list 3001 has no entry \"NOPE\""},
      {"@spin 3005 sideways", "@spin takes up or down"},
      {"@frobnicate", "unknown dialog action '@frobnicate'"},
      {"@text 3007 locked", "edit 3007 is disabled"},
      {"not an answer", "not an answer: not a dialog answer"},
  };
  for (const auto& [line, why] : cases) {
    pf::clearFailedDialogActions();
    Transcript t;
    Script script({"@text 3002 4", line, "@select 3001 WIDTH", "@ok"});
    pf::ScopedDialogDriver d(pf::makeScriptedDialogDriver(
        [&](std::string& next) {
          if (script.lines.empty()) return false;
          next = script.lines.front();
          script.lines.pop_front();
          return true;
        },
        false, [] { return std::string("t.scr:7"); }));
    TestDialog dlg;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL) << line;
    EXPECT_EQ(dlg.m_count, 3) << line;  // nothing of the cancelled dialog was kept
    EXPECT_EQ(script.lines.size(), 2u) << "the lines after the failed one are left: " << line;
    ASSERT_EQ(pf::failedDialogActions().size(), 1u) << line;
    EXPECT_NE(pf::failedDialogActions()[0].find("t.scr:7: "), std::string::npos) << pf::failedDialogActions()[0];
    EXPECT_NE(pf::failedDialogActions()[0].find(why), std::string::npos) << pf::failedDialogActions()[0];
    EXPECT_TRUE(t.contains("dialog 2100 \"Test dialog\" cancelled")) << line;
    EXPECT_FALSE(t.contains("no more answers")) << line;
  }
  pf::clearFailedDialogActions();
}

TEST(ScriptedDriver, ARefusedOkKeepsTheDialogOpenForTheNextLines) {
  // OK itself was pressed: the dialog's own check refused the value and asks for another, as it
  // would ask a user.
  pf::clearFailedDialogActions();
  Transcript t;
  Script script({"@text 3002 abc", "@ok", "@text 3002 2", "@ok"});
  pf::ScopedDialogDriver d(script.driver(false));
  TestDialog dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_count, 2);
  EXPECT_TRUE(t.contains("Please enter an integer."));
  EXPECT_FALSE(t.contains("@ok"));  // echo off
  EXPECT_TRUE(pf::failedDialogActions().empty());
}

TEST(TerminalDriver, ShowsTheFormAndReadsActions) {
  Transcript t;
  std::istringstream in("?\ntext 3002 6\n@check 3004 on\nbogus\n@ok\n");
  std::ostringstream out;
  pf::ScopedDialogDriver d(pf::makeTerminalDialogDriver(in, out));
  TestDialog dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.m_count, 6);
  EXPECT_EQ(dlg.m_enable, 1);
  std::string form = out.str();
  EXPECT_NE(form.find("Dialog 2100 \"Test dialog\""), std::string::npos);
  EXPECT_NE(form.find(">  3001  list box      <AREA> | ROOM | WIDTH"), std::string::npos) << form;
  EXPECT_NE(form.find("3007  edit          [first]  (disabled)"), std::string::npos) << form;
  EXPECT_NE(form.find("3004  check box     [x] Enable name"), std::string::npos) << form;
  EXPECT_NE(form.find("*** unknown dialog action '@bogus'"), std::string::npos) << form;
}

TEST(TerminalDriver, ConvertsTheFormAndTheTypedActions) {
  Transcript t;
  std::istringstream in("@text 3007 x\n<N>@select 3001 ROOM\n@ok\n");
  std::ostringstream out;
  // Stand-ins for the terminal's encoding: the form is shown in brackets, "<N>" typed is "".
  pf::ScopedDialogDriver d(pf::makeTerminalDialogDriver(
      in, out, [](const std::string& s) { return "{" + s + "}"; },
      [](const std::string& s) { return s.compare(0, 3, "<N>") == 0 ? s.substr(3) : s; }));
  TestDialog dlg;
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(CString("ROOM"), dlg.m_selected);
  EXPECT_NE(out.str().find("{Dialog 2100 \"Test dialog\""), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("*** {edit 3007 is disabled}"), std::string::npos) << out.str();
}

TEST(TerminalDriver, EndOfInputCancels) {
  Transcript t;
  std::istringstream in("text 3002 1\n");
  std::ostringstream out;
  pf::ScopedDialogDriver d(pf::makeTerminalDialogDriver(in, out));
  TestDialog dlg;
  EXPECT_EQ(dlg.DoModal(), IDCANCEL);
  EXPECT_TRUE(t.contains("no more answers, cancelled"));
}

}  // namespace
