// Keyword prompts: acedInitGet keyword lists and acedGetKword answers, through scripted input.
#include <gtest/gtest.h>

#include <cstring>

#include "adslib.h"
#include "ed/keywords.h"
#include "pf/input.h"
#include "pf/output.h"

namespace {

const char* kCreateList = "Create Update Options _Create Update Options";

// Asks one keyword question with the given list and answers, returning the status and result.
struct KwordRun {
  int rc;
  std::string result;
  std::string transcript;
  std::size_t unread;
};

KwordRun askKeyword(const char* list, std::initializer_list<std::string> answers, int flags = 0) {
  pf::OutputCapture out;
  pf::ScopedAnswers in(answers);
  EXPECT_EQ(acedInitGet(flags, list), RTNORM);
  char buf[133];
  std::memset(buf, 'x', sizeof buf);
  int rc = acedGetKword("\nCreate/Update/Options: ", buf);
  return {rc, buf, out.text(), in.remaining()};
}

TEST(KeywordMatching, LocalKeywordsAbbreviationsAndCase) {
  EXPECT_EQ(askKeyword(kCreateList, {"Create"}).result, "Create");
  EXPECT_EQ(askKeyword(kCreateList, {"u"}).result, "Update");
  EXPECT_EQ(askKeyword(kCreateList, {"oPtIo"}).result, "Options");
  EXPECT_EQ(askKeyword(kCreateList, {"  UPDATE  "}).result, "Update");
  // A prefix that goes past the word is not the word.
  KwordRun past = askKeyword(kCreateList, {"Updates", "C"});
  EXPECT_EQ(past.rc, RTNORM);
  EXPECT_EQ(past.result, "Create");
}

TEST(KeywordMatching, LocalWordsAnswerTheirGlobalCounterpart) {
  const char* german = "Ja Nein _Yes No";
  EXPECT_EQ(askKeyword(german, {"ja"}).result, "Yes");
  EXPECT_EQ(askKeyword(german, {"N"}).result, "No");
  // A global word typed without the underscore is not a local word of this list.
  KwordRun plain = askKeyword(german, {"Yes", "^C"});
  EXPECT_EQ(plain.rc, RTCAN);
  EXPECT_NE(plain.transcript.find("Invalid option keyword."), std::string::npos);
  // With the underscore the global words are matched directly, abbreviations included.
  EXPECT_EQ(askKeyword(german, {"_yes"}).result, "Yes");
  EXPECT_EQ(askKeyword(german, {"_N"}).result, "No");
  EXPECT_EQ(askKeyword(kCreateList, {"_options"}).result, "Options");
  // Without '_' in the list, the local words are the global ones.
  EXPECT_EQ(askKeyword("Left Right", {"_r"}).result, "Right");
  // A local word without a global partner answers an empty keyword.
  KwordRun extra = askKeyword("Ja Nein Vielleicht _Yes No", {"v"});
  EXPECT_EQ(extra.rc, RTNORM);
  EXPECT_EQ(extra.result, "");
}

TEST(KeywordMatching, AbbreviationRules) {
  // Leading capitals are the shortest accepted prefix.
  EXPECT_EQ(askKeyword("LType LWeight", {"lt"}).result, "LType");
  EXPECT_EQ(askKeyword("LType LWeight", {"ltyp"}).result, "LType");
  EXPECT_EQ(askKeyword("LType LWeight", {"l", "lw"}).result, "LWeight");
  // Capitals inside the word: the capitals alone, or a prefix reaching the last capital.
  EXPECT_EQ(askKeyword("eXit Edit", {"x"}).result, "eXit");
  EXPECT_EQ(askKeyword("eXit Edit", {"ex"}).result, "eXit");
  EXPECT_EQ(askKeyword("eXit Edit", {"e"}).result, "Edit");
  // FULL,ABBREV: anything from the abbreviation to the full word; the result has no ",ABBREV".
  KwordRun comma = askKeyword("LTYPE,LT", {"lty"});
  EXPECT_EQ(comma.result, "LTYPE");
  EXPECT_EQ(askKeyword("LTYPE,LT", {"l", "lt"}).result, "LTYPE");
  // All capitals without a comma: only the full word.
  KwordRun full = askKeyword("ON OFF", {"o", "of", "off"});
  EXPECT_EQ(full.rc, RTNORM);
  EXPECT_EQ(full.result, "OFF");
  EXPECT_EQ(full.unread, 0u);
  // A word typed in full wins over another word's abbreviation.
  EXPECT_EQ(askKeyword("Lines L", {"l"}).result, "L");
}

TEST(KeywordMatching, InvalidInputComplainsAndAsksAgain) {
  KwordRun r = askKeyword(kCreateList, {"Delete", "42", "o"});
  EXPECT_EQ(r.rc, RTNORM);
  EXPECT_EQ(r.result, "Options");
  EXPECT_EQ(r.unread, 0u);
  EXPECT_EQ(r.transcript,
            "Create/Update/Options: Delete\n"
            "Invalid option keyword.\n"
            "Create/Update/Options: 42\n"
            "Invalid option keyword.\n"
            "Create/Update/Options: o");
}

TEST(KeywordMatching, EnterAndCancel) {
  KwordRun enter = askKeyword(kCreateList, {""});
  EXPECT_EQ(enter.rc, RTNONE);
  EXPECT_EQ(enter.result, "");

  // Empty input forbidden: Enter asks again.
  KwordRun nonull = askKeyword(kCreateList, {"", "c"}, RSG_NONULL);
  EXPECT_EQ(nonull.rc, RTNORM);
  EXPECT_EQ(nonull.result, "Create");
  EXPECT_EQ(nonull.unread, 0u);

  KwordRun cancel = askKeyword(kCreateList, {"^C", "Create"});
  EXPECT_EQ(cancel.rc, RTCAN);
  EXPECT_EQ(cancel.unread, 1u);
  EXPECT_EQ(cancel.transcript, "Create/Update/Options: *Cancel*");

  // Running out of input cancels rather than waiting forever.
  KwordRun ended = askKeyword(kCreateList, {});
  EXPECT_EQ(ended.rc, RTCAN);
  EXPECT_EQ(ended.transcript, "");  // the end of the input is nobody's answer
  EXPECT_EQ(askKeyword(kCreateList, {"nonsense"}).rc, RTCAN);
}

TEST(KeywordMatching, SettingsApplyToOneCallOnly) {
  pf::OutputCapture out;
  pf::ScopedAnswers in({"u", "u", "^C"});
  ASSERT_EQ(acedInitGet(0, kCreateList), RTNORM);
  char buf[133];
  ASSERT_EQ(acedGetKword("A: ", buf), RTNORM);
  EXPECT_STREQ(buf, "Update");
  // No acedInitGet before this call: no keyword list, so nothing is valid.
  EXPECT_EQ(acedGetKword("B: ", buf), RTCAN);
}

TEST(KeywordMatching, ArbitraryInputWithRsgOther) {
  KwordRun r = askKeyword(kCreateList, {"Whatever"}, RSG_OTHER);
  EXPECT_EQ(r.rc, RTNORM);
  EXPECT_EQ(r.result, "Whatever");
  EXPECT_EQ(askKeyword(kCreateList, {"up"}, RSG_OTHER).result, "Update");
}

TEST(KeywordLists, MalformedListsAreRejected) {
  EXPECT_EQ(acedInitGet(0, "LTYPE,LT,X"), RTERROR);
  EXPECT_EQ(acedInitGet(0, "A ,B"), RTERROR);
  EXPECT_EQ(acedInitGet(0, "A B,"), RTERROR);
  EXPECT_EQ(acedInitGet(0, std::string(200, 'K').c_str()), RTERROR);
  EXPECT_EQ(acedInitGet(0, nullptr), RTNORM);
  EXPECT_EQ(acedInitGet(0, ""), RTNORM);

  std::string reason;
  EXPECT_FALSE(pf::KeywordList::parse("Good Bad,", &reason));
  EXPECT_NE(reason.find("Bad,"), std::string::npos);
  auto list = pf::KeywordList::parse("Ja Nein _ Yes No");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->local().size(), 2u);
  EXPECT_EQ(list->global().size(), 2u);
  EXPECT_EQ(list->match("nein"), std::optional<std::string>("No"));
  EXPECT_EQ(list->match(""), std::nullopt);
  EXPECT_EQ(list->match("_"), std::nullopt);
}

TEST(KeywordLists, NullResultBufferIsAnError) {
  pf::ScopedAnswers in({"Create"});
  acedInitGet(0, kCreateList);
  EXPECT_EQ(acedGetKword("x", nullptr), RTERROR);
  // The settings were used up by that call.
  char buf[133];
  pf::OutputCapture out;
  EXPECT_EQ(acedGetKword("x", buf), RTCAN);
}

}  // namespace
