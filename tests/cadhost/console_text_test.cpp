// Text between the locale's encoding (terminal, scripts, -c, file names) and the host's code
// page.
#include <gtest/gtest.h>

#include <string>

#include "console_text.h"
#include "pf/input.h"

namespace {

TEST(ConsoleEncoding, Utf8AndTheCLocaleConvertToTheCodePageAndBack) {
  for (const char* codeset : {"UTF-8", "utf8", "ANSI_X3.4-1968"}) {
    cadhost::ConsoleEncoding enc(codeset);
    EXPECT_EQ(enc.toHost("FL\xC3\x84" "CHE"), "FL\xC4" "CHE") << codeset;
    EXPECT_EQ(enc.toHost("\xE9\x9D\xA2\xE7\xA7\xAF"), "\\U+9762\\U+79EF") << codeset;
    EXPECT_EQ(enc.fromHost("FL\xC4" "CHE"), "FL\xC3\x84" "CHE") << codeset;
    EXPECT_EQ(enc.fromHost("\\U+9762\\U+79EF m\xB2"), "\xE9\x9D\xA2\xE7\xA7\xAF m\xC2\xB2") << codeset;
    // A script written in the code page itself runs as it is.
    EXPECT_EQ(enc.toHost("K\xFC" "che"), "K\xFC" "che") << codeset;
    EXPECT_EQ(enc.toHost("plain ASCII \\U+0041"), "plain ASCII \\U+0041") << codeset;
  }
}

TEST(ConsoleEncoding, OtherLocaleEncodingsGoThroughIconv) {
  cadhost::ConsoleEncoding latin9("ISO-8859-15");
  EXPECT_EQ(latin9.toHost("\xA4 K\xFC" "che"), "\x80 K\xFC" "che");  // € is 0xA4 in Latin-9
  EXPECT_EQ(latin9.fromHost("\x80 K\xFC" "che"), "\xA4 K\xFC" "che");
  EXPECT_EQ(latin9.fromHost("\\U+00D8"), "\xD8");
}

TEST(ConsoleEncoding, InputSourcesHandOutHostText) {
  auto src = cadhost::withConsoleEncoding(pf::makeCommandTextInput("@select 2016 FL\xC3\x84" "CHE;x"));
  EXPECT_EQ(src->peek().text, "@select 2016 FL\xC4" "CHE");
  EXPECT_EQ(src->read("").text, "@select 2016 FL\xC4" "CHE");
  EXPECT_EQ(src->where(), "-c input 1");
  EXPECT_EQ(src->read("").text, "x");
  EXPECT_EQ(src->read("").kind, pf::Input::kEnd);
}

}  // namespace
