// The hive's text form on damaged input: every truncation and every single-byte change of a
// hive that uses all the syntax either parses or names a line of the file, and never reads
// outside it (run under the sanitizers to see the latter).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "winrt/reg_model.h"

namespace {

const std::string kHive =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "; comment\r\n"
    "[HKEY_CURRENT_USER\\Software\\A]\r\n"
    "@=\"default\"\r\n"
    "\"Text\"=\"q\\\"uo\\\\te\"\r\n"
    "\"Num\"=dword:0000002a\r\n"
    "\"Bin\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,\\\r\n"
    "  18,19\r\n"
    "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
    "\"Gone\"=-\r\n"
    "[-HKEY_CURRENT_USER\\Software\\B]\r\n"
    "[HKEY_CURRENT_USER\\Software\\A\\Sub]\r\n"
    "\"Q\"=hex(b):01,02,03,04,05,06,07,08\r\n";

int lineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
}

void expectParsesOrNamesALine(const std::string& text) {
  pf::reg::Key root;
  pf::reg::ParseError error;
  if (!pf::reg::parseHive(text, root, error)) {
    EXPECT_GE(error.line, 1);
    EXPECT_LE(error.line, lineCount(text));
    EXPECT_FALSE(error.message.empty());
  }
}

TEST(HiveText, TheSampleParsesAndFormatsBackToTheSameValues) {
  pf::reg::Key root;
  pf::reg::ParseError error;
  ASSERT_TRUE(pf::reg::parseHive(kHive, root, error)) << error.line << ": " << error.message;
  pf::reg::Key* a = root.findSubkey("software") ? root.findSubkey("software")->findSubkey("a") : nullptr;
  ASSERT_NE(nullptr, a);
  ASSERT_NE(nullptr, a->findValue("bin"));
  EXPECT_EQ(26u, a->findValue("bin")->data.size());
  EXPECT_EQ(std::string("q\"uo\\te") + '\0', a->findValue("Text")->data);

  pf::reg::Key again;
  ASSERT_TRUE(pf::reg::parseHive(pf::reg::formatHive(root), again, error)) << error.message;
  EXPECT_EQ(pf::reg::formatHive(root), pf::reg::formatHive(again));
}

TEST(HiveText, EveryTruncationParsesOrNamesALine) {
  for (size_t n = 0; n <= kHive.size(); ++n) expectParsesOrNamesALine(kHive.substr(0, n));
}

TEST(HiveText, EverySingleByteChangeParsesOrNamesALine) {
  const char replacements[] = {'\\', '"', '\n', ',', '[', ']', '=', '\0', '\xFF', '\xC3'};
  for (size_t i = 0; i < kHive.size(); ++i) {
    for (char r : replacements) {
      std::string text = kHive;
      text[i] = r;
      expectParsesOrNamesALine(text);
    }
  }
}

}  // namespace
