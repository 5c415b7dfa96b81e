// Runtime-library subset: multibyte comparisons and searches under a single-byte and a
// double-byte code page, and the Windows locale names of setlocale under a comma locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "mbstring.h"
#include "pf/codepage.h"

namespace {

const unsigned char* u(const char* s) { return reinterpret_cast<const unsigned char*>(s); }

class CodePageTest : public ::testing::Test {
 protected:
  void TearDown() override { pf::setAnsiCodePage(1252); }
};

TEST_F(CodePageTest, OnlyKnownCodePagesCanBeChosen) {
  EXPECT_EQ(1252u, pf::ansiCodePage());
  EXPECT_FALSE(pf::setAnsiCodePage(437));
  EXPECT_EQ(1252u, pf::ansiCodePage());
  EXPECT_TRUE(pf::setAnsiCodePage(932));
  EXPECT_EQ(932u, pf::ansiCodePage());
  EXPECT_TRUE(_ismbblead(0x95));
  EXPECT_FALSE(_ismbblead(0xA5));  // half-width katakana are single bytes
}

TEST_F(CodePageTest, ReverseSearchSkipsTrailBytesInDoubleByteText) {
  // 0x95 0x5C is one character in code page 932 whose trail byte is the backslash.
  const char* path = "C:\\dir\\\x95\x5C.arx";
  ASSERT_TRUE(pf::setAnsiCodePage(932));
  const unsigned char* found = _mbsrchr(u(path), '\\');
  ASSERT_NE(nullptr, found);
  EXPECT_EQ(6, found - u(path));
  EXPECT_EQ(nullptr, _mbsrchr(u("\x95\x5C"), '\\'));
  EXPECT_EQ(u(path) + 7, _mbsrchr(u(path), 0x955C));  // a double-byte character is found whole
  EXPECT_EQ(u(path) + 7, _mbschr(u(path), 0x955C));

  ASSERT_TRUE(pf::setAnsiCodePage(1252));  // single-byte: the same byte is a backslash
  EXPECT_EQ(u(path) + 8, _mbsrchr(u(path), '\\'));

  EXPECT_EQ(u(path) + 13, _mbsrchr(u(path), 0));  // the terminator
  EXPECT_EQ(nullptr, _mbsrchr(u(path), 'z'));
  EXPECT_EQ(nullptr, _mbsrchr(nullptr, '\\'));
}

TEST_F(CodePageTest, CaseInsensitiveComparisonFoldsOnlyWholeCharacters) {
  // 0x83 0x41 and 0x83 0x61 are two different katakana in 932; in 1252 they are "ƒA" and "ƒa".
  ASSERT_TRUE(pf::setAnsiCodePage(932));
  EXPECT_NE(0, _mbsicmp(u("\x83\x41"), u("\x83\x61")));
  EXPECT_EQ(0, _mbsicmp(u("Zorvik_Commands"), u("ZORVIK_COMMANDS")));
  EXPECT_EQ(0, _mbsicmp(u("\x82\x60" "b"), u("\x82\x81" "B")));  // full-width A / a
  EXPECT_EQ(3u, _mbslen(u("\x82\x60" "b\x95\x5C")));
  ASSERT_TRUE(pf::setAnsiCodePage(1252));
  EXPECT_EQ(0, _mbsicmp(u("\x83\x41"), u("\x83\x61")));
  EXPECT_EQ(0, _mbsicmp(u("R\xE4ume"), u("R\xC4UME")));  // a-umlaut / A-umlaut
  EXPECT_NE(0, _mbsicmp(u("\x82\x60"), u("\x82\x81")));
}

TEST_F(CodePageTest, ComparisonOrdersByCharacter) {
  ASSERT_TRUE(pf::setAnsiCodePage(932));
  EXPECT_LT(_mbscmp(u("abc"), u("abd")), 0);
  EXPECT_GT(_mbscmp(u("abc"), u("ab")), 0);
  EXPECT_EQ(0, _mbscmp(u("\x95\x5C"), u("\x95\x5C")));
  EXPECT_NE(0, _mbscmp(u("ABC"), u("abc")));
  EXPECT_LT(_mbscmp(u("z"), u("\x95\x5C")), 0);  // double-byte characters sort after ASCII
  // A lead byte cut off by the terminator ends the string.
  EXPECT_EQ(0, _mbscmp(u("ab\x95"), u("ab")));
  EXPECT_LT(_mbsicmp(u("_a"), u("B")), 0) << "letters compare in lower case, after '_'";
  EXPECT_EQ(0, _mbsnicmp(u("ZORVIKx"), u("zorvikY"), 6));
  EXPECT_EQ(_NLSCMPERROR, _mbsicmp(nullptr, u("a")));
  EXPECT_EQ(_NLSCMPERROR, _mbscmp(u("a"), nullptr));
}

// setlocale with Windows names. Needs a comma locale (de_DE.UTF-8) installed.
class WindowsLocaleNames : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("LC_ALL");
    hadLcAll_ = old != nullptr;
    if (old) oldLcAll_ = old;
    savedLocale_ = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
      std::setlocale(LC_ALL, savedLocale_.c_str());
      GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    }
    std::setlocale(LC_ALL, "C");
    setenv("LC_ALL", "de_DE.UTF-8", 1);  // the user's locale uses a decimal comma
  }
  void TearDown() override {
    if (hadLcAll_)
      setenv("LC_ALL", oldLcAll_.c_str(), 1);
    else
      unsetenv("LC_ALL");
    std::setlocale(LC_ALL, savedLocale_.c_str());
  }
  static std::string format(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
  }

  bool hadLcAll_ = false;
  std::string oldLcAll_;
  std::string savedLocale_;
};

TEST_F(WindowsLocaleNames, AnsiCodePageThenEnglishNumbersGivesAPoint) {
  ASSERT_NE(nullptr, std::setlocale(LC_ALL, ".ACP"));
  EXPECT_EQ("1,5", format(1.5)) << ".ACP follows the user's locale";
  ASSERT_NE(nullptr, std::setlocale(LC_NUMERIC, "ENU"));
  EXPECT_EQ("1.5", format(1.5));
  EXPECT_DOUBLE_EQ(2.25, std::atof("2.25"));
  EXPECT_DOUBLE_EQ(0.5, std::strtod("0.5", nullptr));
}

TEST_F(WindowsLocaleNames, OtherWindowsNamesAreMapped) {
  ASSERT_NE(nullptr, std::setlocale(LC_ALL, "German_Germany.1252"));
  EXPECT_EQ("1,5", format(1.5));
  ASSERT_NE(nullptr, std::setlocale(LC_NUMERIC, "english"));
  EXPECT_EQ("1.5", format(1.5));
  ASSERT_NE(nullptr, std::setlocale(LC_ALL, "deu"));
  EXPECT_EQ("1,5", format(1.5));
}

TEST_F(WindowsLocaleNames, PosixNamesAndQueriesPassThrough) {
  ASSERT_NE(nullptr, std::setlocale(LC_NUMERIC, "de_DE.UTF-8"));
  EXPECT_EQ("1,5", format(1.5));
  EXPECT_STREQ("de_DE.UTF-8", std::setlocale(LC_NUMERIC, nullptr));
  EXPECT_STREQ("C", std::setlocale(LC_ALL, "C"));
  EXPECT_EQ(nullptr, std::setlocale(LC_ALL, "Klingon_Qonos"));
  EXPECT_EQ(nullptr, std::setlocale(LC_ALL, ".nonsense"));
  EXPECT_EQ("1.5", format(1.5));  // a refused name changes nothing
}

}  // namespace
