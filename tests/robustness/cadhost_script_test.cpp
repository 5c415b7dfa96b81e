// cadhost_script_test.cpp - scripts as the host reads them, text in the locale's encoding, and
// dialog answers that cannot be applied, end to end through the cadhost program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "run_cadhost.h"

namespace robust {
namespace {

const std::string kSource = ZORVIK_SOURCE_DIR;

// Runs the child processes of one test in a locale (they inherit the environment).
class ScopedLocale {
 public:
  explicit ScopedLocale(const char* locale) {
    if (const char* old = std::getenv("LC_ALL")) old_ = old, had_ = true;
    setenv("LC_ALL", locale, 1);
  }
  ~ScopedLocale() {
    if (had_) setenv("LC_ALL", old_.c_str(), 1);
    else unsetenv("LC_ALL");
  }

 private:
  std::string old_;
  bool had_ = false;
};

// The example plan with its room tags' attributes renamed (group 2 of ATTDEF and ATTRIB).
std::string planWithTags(const std::string& nameTag, const std::string& areaTag) {
  std::string text = readFile(kSource + "/examples/floorplan.dxf");
  for (const auto& [from, to] : {std::pair<std::string, std::string>{"NAME", nameTag}, {"AREA", areaTag}}) {
    for (size_t at = 0; (at = text.find("\n  2\n" + from + "\n", at)) != std::string::npos;)
      text.replace(at + 5, from.size(), to);
  }
  return text;
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(HostScripts, SpacesEndInputsAndQuotedFileNamesHoldSpaces) {
  const std::string dir = freshDir("HostScriptsSpaces");
  mkdir((dir + "/my plans").c_str(), 0755);
  writeFile(dir + "/run.scr",
            "SCALE #39  0,0 1.1\n"  // two spaces: the Enter that ends the selection
            "ZORVIK U\n"
            "_.-zorvik _Update\n"
            "INSERT ROOMTAG 500,500 1 1 0 Kitchen and dining\n"  // the value takes the rest
            "12.5\n"
            "SAVEAS \"" + dir + "/my plans/out.dxf\"\n");
  const RunResult r = runCadhost({kSource + "/tests/e2e/expected/link-picker.dxf", "-l", ZORVIK_MODULE, "-s",
                                  dir + "/run.scr", "--registry", dir + "/user.reg"});
  ASSERT_EQ(r.status, 0) << r.describe();
  EXPECT_NE(r.out.find("Number of updated entities: 12"), r.out.rfind("Number of updated entities: 12"))
      << "both Update lines ran\n" << r.describe();
  EXPECT_FALSE(contains(r.out, "Unknown command")) << r.describe();
  EXPECT_TRUE(contains(r.out, "Room name: Kitchen and dining")) << r.describe();
  ASSERT_TRUE(exists(dir + "/my plans/out.dxf")) << r.describe();
  const std::string saved = readFile(dir + "/my plans/out.dxf");
  EXPECT_TRUE(contains(saved, "\nKitchen and dining\r\n"));
  EXPECT_TRUE(contains(saved, "\n12.5\r\n"));
}

TEST(HostText, Utf8ScriptSelectsTheEntryOfItsName) {
  ScopedLocale utf8("C.UTF-8");
  const std::string dir = freshDir("HostTextSelect");
  writeFile(dir + "/plan.dxf", planWithTags("BEZEICHNUNG", "FL\xC4" "CHE"));  // in the code page
  writeFile(dir + "/run.scr", "ZORVIK\nCreate\n30,30\n2000,2300\n@select 2016 FL\xC3\x84" "CHE\n@ok\nLIST 2000,2300 \n");
  const RunResult r = runCadhost({dir + "/plan.dxf", "-l", ZORVIK_MODULE, "-s", dir + "/run.scr", "--registry",
                                  dir + "/user.reg"});
  ASSERT_EQ(r.status, 0) << r.describe();
  // The first entry (BEZEICHNUNG) keeps the room's name: the named one was linked.
  EXPECT_TRUE(contains(r.out, "attribute BEZEICHNUNG = \"Hall\"")) << r.describe();
  // LIST shows the tag in the terminal's UTF-8, with the area the link wrote.
  EXPECT_TRUE(contains(r.out, "attribute FL\xC3\x84" "CHE = \"2")) << r.describe();
}

TEST(HostText, Utf8OptionsEntryIsStoredAsTypedInTheHive) {
  ScopedLocale utf8("C.UTF-8");
  const std::string dir = freshDir("HostTextOptions");
  writeFile(dir + "/run.scr", "ZORVIK\nOptions\n@check 2022 on\n@text 2021 FL\xC3\x84" "CHE\n@ok\n");
  const RunResult r = runCadhost({"-l", ZORVIK_MODULE, "-s", dir + "/run.scr", "--registry", dir + "/user.reg"});
  ASSERT_EQ(r.status, 0) << r.describe();
  const std::string hive = readFile(dir + "/user.reg");
  EXPECT_TRUE(contains(hive, "\"Attname\"=\"FL\xC3\x84" "CHE\"")) << hive;
  EXPECT_FALSE(contains(hive, "\xC3\x83")) << "converted twice\n" << hive;
}

TEST(HostText, CharactersOutsideTheCodePageAreKeptAsEscapesAndShownAsTyped) {
  ScopedLocale utf8("C.UTF-8");
  const std::string dir = freshDir("HostTextEscapes");
  const std::string typed = "\xE9\x9D\xA2\xE7\xA7\xAF \xC3\x98 K\xC3\xBC" "che";  // 面积 Ø Küche
  writeFile(dir + "/run.scr", "INSERT ROOMTAG 500,500 1 1 0 " + typed + "\n\nLIST 500,500 \n");
  const RunResult r = runCadhost({kSource + "/examples/floorplan.dxf", "-s", dir + "/run.scr", "-o",
                                  dir + "/out.dxf", "--registry", dir + "/user.reg"});
  ASSERT_EQ(r.status, 0) << r.describe();
  EXPECT_TRUE(contains(r.out, "Room name: " + typed)) << r.describe();
  EXPECT_TRUE(contains(r.out, "= \"" + typed + "\"")) << r.describe();
  // The drawing (R2000, code page 1252) holds the host's form of the text.
  EXPECT_TRUE(contains(readFile(dir + "/out.dxf"), "\n\\U+9762\\U+79EF \xD8 K\xFC" "che\r\n"));
}

TEST(DialogAnswers, OneThatCannotBeAppliedCancelsTheDialogAndFailsTheRun) {
  const std::string dir = freshDir("DialogAnswersFailed");
  writeFile(dir + "/run.scr", "ZORVIK\nCreate\n30,30\n2000,2300\n@select 2016 NOSUCH\n@ok\nZORVIK U\n");
  const RunResult r = runCadhost({kSource + "/examples/floorplan.dxf", "-l", ZORVIK_MODULE, "-s", dir + "/run.scr",
                                  "-o", dir + "/out.dxf", "--registry", dir + "/user.reg"});
  EXPECT_EQ(r.status, 4) << r.describe();
  EXPECT_TRUE(contains(r.err, "run.scr:5: @select 2016 NOSUCH: list 2016 has no entry \"NOSUCH\"")) << r.describe();
  EXPECT_TRUE(contains(r.out, "\"Select attribute name\" cancelled")) << r.describe();
  // Nothing was linked, and the rest of the script ran.
  EXPECT_TRUE(contains(r.out, "Number of updated entities: 0")) << r.describe();
  EXPECT_TRUE(exists(dir + "/out.dxf"));
}

}  // namespace
}  // namespace robust
