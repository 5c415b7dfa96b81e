// Value prompts (acedGetInt, acedGetReal, acedGetPoint, acedGetString) and the input sources.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <sstream>

#include "adslib.h"
#include "pf/input.h"
#include "pf/output.h"

namespace {

TEST(ValuePrompts, IntegersAreCheckedAndRestricted) {
  pf::OutputCapture out;
  pf::ScopedAnswers in({"1.5", "70000", "abc", "-3", "0", "7"});
  int v = 0;
  ASSERT_EQ(acedInitGet(RSG_NONEG | RSG_NOZERO, nullptr), RTNORM);
  EXPECT_EQ(acedGetInt("\nCount: ", &v), RTNORM);
  EXPECT_EQ(v, 7);
  EXPECT_EQ(in.remaining(), 0u);
  EXPECT_EQ(out.text(),
            "Count: 1.5\nRequires an integer value.\n"
            "Count: 70000\nRequires an integer between -32768 and 32767.\n"
            "Count: abc\nRequires an integer value.\n"
            "Count: -3\nValue must be positive and nonzero.\n"
            "Count: 0\nValue must be positive and nonzero.\n"
            "Count: 7");
}

TEST(ValuePrompts, EnterKeywordsAndCancel) {
  pf::OutputCapture out;
  pf::ScopedAnswers in({"", "", "12", "Last", "^C"});
  int v = 99;
  EXPECT_EQ(acedGetInt("N: ", &v), RTNONE);
  EXPECT_EQ(v, 99);
  acedInitGet(RSG_NONULL, nullptr);
  EXPECT_EQ(acedGetInt("N: ", &v), RTNORM);  // the empty answer was refused
  EXPECT_EQ(v, 12);
  acedInitGet(0, "Last First");
  EXPECT_EQ(acedGetInt("N: ", &v), RTKWORD);
  char kw[133];
  EXPECT_EQ(acedGetInput(kw), RTNORM);
  EXPECT_STREQ(kw, "Last");
  EXPECT_EQ(acedGetInt("N: ", &v), RTCAN);
}

TEST(ValuePrompts, RealsReadAPointWhateverTheLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  bool comma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  pf::OutputCapture out;
  pf::ScopedAnswers in({"2,5", "+2.5e1", "-0.125"});
  ads_real r = 0;
  EXPECT_EQ(acedGetReal("Scale: ", &r), RTNORM);
  EXPECT_DOUBLE_EQ(r, 25.0);
  EXPECT_NE(out.text().find("Requires numeric value."), std::string::npos);
  EXPECT_EQ(acedGetReal("Scale: ", &r), RTNORM);
  EXPECT_DOUBLE_EQ(r, -0.125);
  std::setlocale(LC_NUMERIC, saved.c_str());
  if (!comma) GTEST_SKIP() << "no comma locale installed; checked the C locale only";
}

TEST(ValuePrompts, PointsAbsoluteRelativeAndPolar) {
  pf::OutputCapture out;
  pf::ScopedAnswers in({"10,20", "@5,-5", "@2<90", "1,2,3", "1;2", "3", "4,5"});
  ads_point p;
  ASSERT_EQ(acedGetPoint(nullptr, "P: ", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[X], 10);
  EXPECT_DOUBLE_EQ(p[Y], 20);
  EXPECT_DOUBLE_EQ(p[Z], 0);
  ASSERT_EQ(acedGetPoint(p, "P: ", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[X], 15);
  EXPECT_DOUBLE_EQ(p[Y], 15);
  ASSERT_EQ(acedGetPoint(p, "P: ", p), RTNORM);
  EXPECT_NEAR(p[X], 15, 1e-12);
  EXPECT_NEAR(p[Y], 17, 1e-12);
  ASSERT_EQ(acedGetPoint(nullptr, "P: ", p), RTNORM);
  EXPECT_DOUBLE_EQ(p[Z], 3);
  ASSERT_EQ(acedGetPoint(nullptr, "P: ", p), RTNORM);  // two bad answers first
  EXPECT_DOUBLE_EQ(p[X], 4);
  EXPECT_DOUBLE_EQ(p[Y], 5);
  EXPECT_EQ(out.text().find("Invalid point.") != std::string::npos, true);
}

TEST(ValuePrompts, StringsKeepBlanksAndAreTruncatedSafely) {
  pf::OutputCapture out;
  std::string longText(300, 'a');
  pf::ScopedAnswers in({"  two words ", "", longText});
  char buf[133];
  EXPECT_EQ(acedGetString(1, "Name: ", buf), RTNORM);
  EXPECT_STREQ(buf, "  two words ");
  EXPECT_EQ(acedGetString(0, "Name: ", buf), RTNORM);
  EXPECT_STREQ(buf, "");
  std::memset(buf, 'z', sizeof buf);
  buf[132] = '!';
  EXPECT_EQ(acedGetString(1, "Name: ", buf), RTINPUTTRUNCATED);
  EXPECT_EQ(std::strlen(buf), 131u);
  EXPECT_EQ(buf[132], '!');  // nothing written past the 132 bytes the caller owns
  EXPECT_EQ(acedGetString(1, "Name: ", buf), RTCAN);
}

TEST(InputSources, ScriptSkipsCommentsAndKnowsLines) {
  std::istringstream script("\xEF\xBB\xBFZORVIK\r\n; a comment\n   ;another\nUpdate\n\n^c\n");
  auto src = pf::makeScriptInput(script, "t.scr");
  EXPECT_EQ(src->peek().text, "ZORVIK");
  pf::Input a = src->read("");
  EXPECT_EQ(a.kind, pf::Input::kText);
  EXPECT_EQ(a.text, "ZORVIK");
  EXPECT_EQ(src->read("").text, "Update");
  EXPECT_EQ(src->where(), "t.scr:4");
  pf::Input enter = src->read("");
  EXPECT_EQ(enter.kind, pf::Input::kText);
  EXPECT_EQ(enter.text, "");
  EXPECT_EQ(src->read("").kind, pf::Input::kCancel);
  EXPECT_EQ(src->peek().kind, pf::Input::kEnd);
  EXPECT_EQ(src->read("").kind, pf::Input::kEnd);
}

TEST(InputSources, CommandTextSplitsOnSemicolons) {
  auto src = pf::makeCommandTextInput("ZORVIK;Update;;^C;");
  std::vector<std::string> got;
  for (pf::Input in = src->read(""); in.kind != pf::Input::kEnd; in = src->read("")) {
    got.push_back(in.kind == pf::Input::kCancel ? "<cancel>" : in.text);
  }
  EXPECT_EQ(got, (std::vector<std::string>{"ZORVIK", "Update", "", "<cancel>", ""}));

  std::string error;
  EXPECT_EQ(pf::makeScriptFileInput("/nonexistent/x.scr", &error), nullptr);
  EXPECT_NE(error.find("/nonexistent/x.scr"), std::string::npos);
}

// What a word prompt reads from a source until its end ("<cancel>" for ^C).
std::vector<std::string> words(pf::InputSource& src) {
  std::vector<std::string> got;
  for (pf::Input in = src.read(""); in.kind != pf::Input::kEnd; in = src.read(""))
    got.push_back(in.kind == pf::Input::kCancel ? "<cancel>" : in.text);
  return got;
}

TEST(InputSources, SpacesEndInputsAsTheLineEndDoes) {
  std::istringstream script(
      "ZORVIK U\n"
      "LIST  #1F \n"          // two spaces: an Enter between; the trailing space: one more
      "SAVEAS \"my plans/out.dxf\"\n"
      "  @text 2020 Hall A \n"  // a dialog answer stays whole, blanks and all
      "PLINE @10,0 ^c\n"       // a relative point is no dialog answer
      "\n");
  auto src = pf::makeScriptInput(script, "t.scr");
  EXPECT_EQ(words(*src), (std::vector<std::string>{"ZORVIK", "U", "LIST", "", "#1F", "", "SAVEAS",
                                                   "\"my plans/out.dxf\"", "  @text 2020 Hall A ", "PLINE",
                                                   "@10,0", "<cancel>", ""}));

  auto c = pf::makeCommandTextInput("ZORVIK U;Options;@text 2020 1 000;\"a b\" c");
  EXPECT_EQ(words(*c), (std::vector<std::string>{"ZORVIK", "U", "Options", "@text 2020 1 000", "\"a b\"", "c"}));
}

TEST(InputSources, TextPromptsTakeTheRestOfTheLine) {
  pf::OutputCapture out;
  std::istringstream script("NAME Kitchen and dining room\nNEXT one two\n");
  auto prev = pf::setInputSource(pf::makeScriptInput(script, "t.scr"));
  char buf[133];
  EXPECT_EQ(pf::inputSource()->peek().text, "NAME");
  EXPECT_EQ(acedGetString(0, "Command: ", buf), RTNORM);
  EXPECT_STREQ(buf, "NAME");
  EXPECT_EQ(pf::inputSource()->peek().text, "Kitchen");  // what a word prompt would read next
  EXPECT_EQ(acedGetString(1, "Room name: ", buf), RTNORM);
  EXPECT_STREQ(buf, "Kitchen and dining room");
  EXPECT_EQ(acedGetString(0, "Command: ", buf), RTNORM);
  EXPECT_STREQ(buf, "NEXT");
  EXPECT_EQ(acedGetString(0, "Word: ", buf), RTNORM);
  EXPECT_STREQ(buf, "one");
  EXPECT_EQ(acedGetString(1, "Rest: ", buf), RTNORM);
  EXPECT_STREQ(buf, "two");
  EXPECT_EQ(acedGetString(1, "Rest: ", buf), RTCAN);  // the end of the script
  pf::setInputSource(std::move(prev));
  EXPECT_NE(out.text().find("Room name: Kitchen and dining room"), std::string::npos) << out.text();
}

TEST(InputSources, TerminalShowsPromptsEvenWhenQuiet) {
  pf::OutputCapture out;
  std::istringstream typed("7\n");
  auto prev = pf::setInputSource(pf::makeTerminalInput(typed));
  pf::setQuietPrompts(true);
  int v = 0;
  EXPECT_EQ(acedGetInt("\nHow many? ", &v), RTNORM);
  EXPECT_EQ(v, 7);
  acutPrintf("\nDone.");
  pf::setQuietPrompts(false);
  pf::setInputSource(std::move(prev));
  // The user's typing ends the prompt line on the terminal itself.
  EXPECT_EQ(out.text(), "How many? Done.");
}

TEST(InputSources, QuietScriptLeavesPromptsOut) {
  pf::OutputCapture out;
  pf::ScopedAnswers in({"3"});
  pf::setQuietPrompts(true);
  int v = 0;
  EXPECT_EQ(acedGetInt("\nHow many? ", &v), RTNORM);
  acutPrintf("\nGot %d.", v);
  pf::setQuietPrompts(false);
  EXPECT_EQ(out.text(), "Got 3.");
}

TEST(InputSources, WithoutASourceEveryPromptIsCancelled) {
  pf::OutputCapture out;
  auto prev = pf::setInputSource(nullptr);
  int v = 0;
  EXPECT_EQ(acedGetInt("N: ", &v), RTCAN);
  pf::setInputSource(std::move(prev));
}

}  // namespace
