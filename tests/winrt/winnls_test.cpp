// MultiByteToWideChar and WideCharToMultiByte: code page 1252 and UTF-8 both ways, the
// length-only call, a buffer too small, and code pages the platform does not know.
#include <gtest/gtest.h>

#include <string>

#include "pf/codepage.h"
#include "windows.h"

namespace {

std::string toUtf8FromAnsi(const std::string& ansi) {
  const int wide = MultiByteToWideChar(1252, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::u16string text(static_cast<size_t>(wide), u'\0');
  EXPECT_EQ(wide, MultiByteToWideChar(1252, 0, ansi.data(), static_cast<int>(ansi.size()), &text[0], wide));
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  EXPECT_EQ(bytes, WideCharToMultiByte(CP_UTF8, 0, text.data(), wide, &out[0], bytes, nullptr, nullptr));
  return out;
}

TEST(WinNlsTest, Cp1252TextBecomesUtf8AndBack) {
  ASSERT_EQ(1252u, pf::ansiCodePage());
  // "Büro 12 m²" with the euro sign, whose 1252 byte 0x80 is not Latin-1.
  const std::string ansi = "B\xFCro \x80 12 m\xB2";
  EXPECT_EQ("B\xC3\xBCro \xE2\x82\xAC 12 m\xC2\xB2", toUtf8FromAnsi(ansi));

  const std::string utf8 = "\xE2\x82\xAC\xC3\xA9";
  WCHAR wide[8];
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide, 8);
  ASSERT_EQ(3, n) << "the terminator is converted too";
  EXPECT_EQ(0x20AC, wide[0]);
  EXPECT_EQ(0xE9, wide[1]);
  char back[8];
  BOOL lost = TRUE;
  ASSERT_EQ(3, WideCharToMultiByte(CP_ACP, 0, wide, -1, back, 8, nullptr, &lost));
  EXPECT_STREQ("\x80\xE9", back);
  EXPECT_FALSE(lost);
}

TEST(WinNlsTest, CharactersTheCodePageLacksAreMarked) {
  const WCHAR snowman[] = {0x2603, u'a', 0};
  char out[4];
  BOOL lost = FALSE;
  ASSERT_EQ(3, WideCharToMultiByte(1252, 0, snowman, -1, out, 4, nullptr, &lost));
  EXPECT_STREQ("?a", out);
  EXPECT_TRUE(lost);
}

TEST(WinNlsTest, SmallBuffersAndUnknownCodePagesFail) {
  WCHAR wide[2];
  SetLastError(0);
  EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, 0, "abc", 3, wide, 2));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  EXPECT_EQ(0, MultiByteToWideChar(932, 0, "abc", 3, wide, 2));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
  // A malformed sequence becomes the replacement character.
  ASSERT_EQ(2, MultiByteToWideChar(CP_UTF8, 0, "\xC3" "a", 2, wide, 2));
  EXPECT_EQ(0xFFFD, wide[0]);
  EXPECT_EQ(u'a', wide[1]);
}

}  // namespace
