// Text between UTF-8 and the ANSI code page with "\U+XXXX" for the characters the code page
// lacks, as the host exchanges text with the world around it.
#include <gtest/gtest.h>

#include <string>

#include "pf/codepage.h"

namespace {

TEST(CodePageEscapes, CharactersOfTheCodePageConvertAndOthersBecomeEscapes) {
  ASSERT_EQ(pf::ansiCodePage(), 1252u);
  EXPECT_EQ(pf::utf8ToAnsiEscaped("K\xC3\xBC" "che"), "K\xFC" "che");
  EXPECT_EQ(pf::utf8ToAnsiEscaped("\xC3\x98 12"), "\xD8 12");                // Ø
  EXPECT_EQ(pf::utf8ToAnsiEscaped("\xE2\x82\xAC"), "\x80");                  // € is 0x80 in 1252
  EXPECT_EQ(pf::utf8ToAnsiEscaped("\xE9\x9D\xA2\xE7\xA7\xAF"), "\\U+9762\\U+79EF");  // 面积
  EXPECT_EQ(pf::utf8ToAnsiEscaped("\xF0\x9F\x98\x80"), "\\U+D83D\\U+DE00");  // beyond U+FFFF
  // Bytes that are not UTF-8 are text in the code page already.
  EXPECT_EQ(pf::utf8ToAnsiEscaped("FL\xC4" "CHE"), "FL\xC4" "CHE");
  EXPECT_EQ(pf::utf8ToAnsiEscaped("end\xC3"), "end\xC3");
}

TEST(CodePageEscapes, EscapesComeBackAsTheirCharacters) {
  for (const std::string utf8 : {"K\xC3\xBC" "che", "\xE9\x9D\xA2\xE7\xA7\xAF", "\xC3\x98", "\xF0\x9F\x98\x80", "a\\b"})
    EXPECT_EQ(pf::ansiToUtf8Unescaped(pf::utf8ToAnsiEscaped(utf8)), utf8);
  EXPECT_EQ(pf::ansiToUtf8Unescaped("\\u+00e9"), "\xC3\xA9");  // either case
  // What is no complete escape stays as it is; a lone surrogate is no character.
  EXPECT_EQ(pf::ansiToUtf8Unescaped("\\U+12"), "\\U+12");
  EXPECT_EQ(pf::ansiToUtf8Unescaped("\\U+12G4"), "\\U+12G4");
  EXPECT_EQ(pf::ansiToUtf8Unescaped("\\U+D83D"), "\\U+D83D");
  EXPECT_EQ(pf::ansiToUtf8Unescaped("C:\\dir\\Ufile"), "C:\\dir\\Ufile");
  EXPECT_EQ(pf::ansiToUtf8Unescaped("\x80"), "\xE2\x82\xAC");
}

}  // namespace
