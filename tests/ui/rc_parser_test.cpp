// Resource scripts: string tables with escapes, dialog templates with the styles the Windows
// resource compiler gives them, symbolic ids from an included header, and errors with file
// and line.
#include <gtest/gtest.h>

#include <map>

#include "commctrl.h"
#include "pf/resources.h"
#include "windows.h"

namespace {

pf::ResourceScript parseFile(const std::string& name) {
  pf::ResourceScript script;
  pf::RcError error;
  EXPECT_TRUE(pf::parseResourceFile(std::string(UI_TEST_DATA_DIR) + "/" + name, script, error)) << error.toString();
  return script;
}

// Parses text with in-memory headers; answers the error (empty message on success).
pf::RcError parseText(const std::string& text, pf::ResourceScript* out = nullptr,
                      std::map<std::string, std::string> headers = {}) {
  pf::ResourceScript script;
  pf::RcError error;
  auto resolver = [headers](const std::string& n, std::string& content) {
    auto it = headers.find(n);
    if (it == headers.end()) return false;
    content = it->second;
    return true;
  };
  if (pf::parseResourceScript("t.rc", text, resolver, script, error)) error = pf::RcError();
  if (out) *out = script;
  return error;
}

TEST(ResourceScript, StringTableDecodesEscapesAndResolvesIds) {
  pf::ResourceScript s = parseFile("testui.rc");
  ASSERT_EQ(s.strings.size(), 4u);
  EXPECT_EQ(*s.findStringNoOops(1), "Hello from the test module");
  EXPECT_EQ(*s.findStringNoOops(2), "\nTab\there, quote \"x\" and \"y\", backslash \\ end");
  EXPECT_EQ(*s.findStringNoOops(3), "\nNumber of updated entities: %d");
  EXPECT_EQ(*s.findStringNoOops(4), "wide joined");
  EXPECT_EQ(s.findStringNoOops(99), nullptr);
  // Symbols of the header, including one defined through a name defined after it.
  EXPECT_EQ(s.symbols.at("IDD_OPTIONS"), 2003);
  EXPECT_EQ(s.symbols.at("IDC_TEST_LIST"), 3001);
}

TEST(ResourceScript, OptionsDialogTemplateAsTheCompilerBuildsIt) {
  pf::ResourceScript s = parseFile("testui.rc");
  const pf::RcDialog* d = s.findDialogNoOops(2003);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->caption, "Options");
  EXPECT_EQ(d->fontSize, 8);
  EXPECT_EQ(d->fontName, "MS Sans Serif");
  EXPECT_EQ(d->width, 205);
  EXPECT_EQ(d->height, 132);
  EXPECT_EQ(d->style, 0x80C800C0u);
  ASSERT_EQ(d->controls.size(), 11u);

  struct Expected {
    int id;
    const char* cls;
    const char* text;
    DWORD style;
    int x, y, w, h;
  };
  const Expected expected[] = {
      {2017, "Button", "Allow automatic update", 0x50010003, 12, 14, 89, 10},
      {-1, "Static", "Area precision", 0x50020000, 12, 34, 46, 8},
      {2018, "Edit", "", 0x50810080, 68, 32, 40, 14},
      {2019, "msctls_updown32", "Spin1", 0x50000036, 112, 32, 11, 14},
      {1, "Button", "OK", 0x50010001, 93, 111, 50, 14},
      {2, "Button", "Cancel", 0x50010000, 148, 111, 50, 14},
      {-1, "Static", "Area divisor", 0x50020000, 12, 50, 38, 8},
      {2020, "Edit", "", 0x50810080, 68, 48, 40, 14},
      {2021, "Edit", "", 0x50810080, 68, 80, 110, 14},
      {-1, "Static", "Default attribute", 0x50020000, 12, 82, 51, 8},
      {2022, "Button", "Run in quiet mode", 0x50010003, 12, 66, 73, 10},
  };
  for (size_t i = 0; i < d->controls.size(); ++i) {
    const pf::RcControl& c = d->controls[i];
    const Expected& e = expected[i];
    SCOPED_TRACE("control " + std::to_string(i));
    EXPECT_EQ(c.id, e.id);
    EXPECT_EQ(c.className, e.cls);
    EXPECT_EQ(c.text, e.text);
    EXPECT_EQ(c.style, e.style);
    EXPECT_EQ(c.x, e.x);
    EXPECT_EQ(c.y, e.y);
    EXPECT_EQ(c.width, e.w);
    EXPECT_EQ(c.height, e.h);
  }
}

TEST(ResourceScript, PickerTemplateAndExtendedDialog) {
  pf::ResourceScript s = parseFile("testui.rc");
  const pf::RcDialog* picker = s.findDialogNoOops(2002);
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(picker->caption, "Select attribute name");
  EXPECT_EQ(picker->width, 229);
  EXPECT_EQ(picker->height, 194);
  ASSERT_EQ(picker->controls.size(), 3u);
  const pf::RcControl& list = picker->controls[2];
  EXPECT_EQ(list.id, 2016);
  EXPECT_EQ(list.className, "ListBox");
  // visible, border, vertical scroll bar, tab stop, sorted, notify, no integral height
  EXPECT_EQ(list.style, DWORD(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_SORT | LBS_NOTIFY |
                              LBS_NOINTEGRALHEIGHT));
  EXPECT_EQ(list.line, 31);

  const pf::RcDialog* test = s.findDialogNoOops(2100);
  ASSERT_NE(test, nullptr);
  EXPECT_TRUE(test->extended);
  EXPECT_EQ(test->x, 10);
  EXPECT_EQ(test->y, 20);
  EXPECT_EQ(test->fontWeight, 400);
  EXPECT_EQ(test->controls[0].id, 3001);
  EXPECT_EQ(test->controls[2].className, "msctls_updown32");  // UPDOWN_CLASS
  // NOT removes a default style bit.
  const pf::RcControl* name = test->findControlNoOops(3007);
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->style & WS_BORDER, 0u);
  EXPECT_EQ(name->style & WS_TABSTOP, DWORD(WS_TABSTOP));
}

TEST(ResourceScript, ConditionalSectionsAndUnknownResourcesAreSkipped) {
  pf::ResourceScript s;
  pf::RcError e = parseText(R"(#define FEATURE 2
#if FEATURE > 1 && !defined(NOTHING)
10 "not a statement"
#endif
)", &s);
  EXPECT_EQ(e.line, 3);  // the active section is read...

  e = parseText(R"(#if 0
garbage that would not parse (
#elif defined FEATURE
more garbage
#else
STRINGTABLE BEGIN 5 "five" END
#endif
1 ICON "app.ico"
IDR_MENU MENU
BEGIN
    POPUP "&File"
    BEGIN
        MENUITEM "E&xit", 100
    END
END
2 VERSIONINFO
 FILEVERSION 1,0,0,1
BEGIN
  BLOCK "StringFileInfo" BEGIN VALUE "x", "y" END
END
)", &s);
  EXPECT_TRUE(e.message.empty()) << e.toString();  // ...the others are not
  EXPECT_EQ(*s.findStringNoOops(5), "five");
  EXPECT_TRUE(s.dialogs.empty());
}

TEST(ResourceScript, ErrorsCarryFileAndLine) {
  struct Case {
    const char* text;
    int line;
    const char* fragment;
  };
  const Case cases[] = {
      {"STRINGTABLE\nBEGIN\n  1 \"a\"\n  1 \"b\"\nEND\n", 4, "defined twice"},
      {"STRINGTABLE\nBEGIN\n  IDS_MISSING \"a\"\nEND\n", 3, "undefined string id 'IDS_MISSING'"},
      {"STRINGTABLE\nBEGIN\n  1 \"a\"\n", 1, "has no END"},
      {"100 DIALOG 0, 0, 10\nBEGIN\nEND\n", 2, "expected ',' after the dialog's width, found 'BEGIN'"},
      {"100 DIALOG 0,0,10,10\nSTYLE WS_POPUP | WS_NOSUCHSTYLE\nBEGIN\nEND\n", 2, "undefined symbol 'WS_NOSUCHSTYLE'"},
      {"100 DIALOG 0,0,10,10\nBEGIN\n  FANCYBUTTON \"x\", 1, 0,0,1,1\nEND\n", 3, "unknown control statement"},
      {"100 DIALOG 0,0,10,10\nBEGIN\n  PUSHBUTTON \"x\", 1, 0,0,1\nEND\n", 4, "expected ','"},
      {"#include \"missing.h\"\n", 1, "cannot open include file 'missing.h'"},
      {"#if 1\n", 1, "#if without #endif"},
      {"STRINGTABLE\nBEGIN\n  1 \"open\nEND\n", 3, "not closed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    pf::RcError e = parseText(c.text);
    EXPECT_EQ(e.file, "t.rc");
    EXPECT_EQ(e.line, c.line);
    EXPECT_NE(e.message.find(c.fragment), std::string::npos) << e.message;
  }
}

TEST(ResourceScript, ErrorInAnIncludedHeaderNamesTheHeader) {
  pf::RcError e = parseText("#include \"ids.h\"\n", nullptr, {{"ids.h", "#define A 1\n#if\n#endif\n"}});
  EXPECT_EQ(e.file, "ids.h");
  EXPECT_EQ(e.line, 2);
  EXPECT_EQ(e.toString().rfind("ids.h:2: error: ", 0), 0u) << e.toString();
}

TEST(ResourceScript, BrokenFileIsReportedWithItsLine) {
  pf::ResourceScript script;
  pf::RcError error;
  EXPECT_FALSE(pf::parseResourceFile(std::string(UI_TEST_DATA_DIR) + "/broken.rc", script, error));
  EXPECT_EQ(error.line, 7);
  EXPECT_NE(error.message.find("IDC_NO_SUCH_CONTROL"), std::string::npos);
  EXPECT_TRUE(script.dialogs.empty());
}

}  // namespace
