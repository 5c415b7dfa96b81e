// Tag layer: reading edge cases (line ends, spacing, comments, EOF, binary sentinel, bad values
// with their line numbers) and the writer's layout.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dxf/dxf_reader.h"
#include "dxf/dxf_writer.h"

using pf::dxf::DxfError;
using pf::dxf::Tag;
using pf::dxf::TagReader;
using pf::dxf::TagWriter;

namespace {

struct Read {
  int code;
  std::string value;
  unsigned line;
};

std::vector<Read> readAll(const std::string& text, bool requireEof = true) {
  TagReader r(text, "t.dxf", requireEof);
  std::vector<Read> out;
  Tag t;
  while (r.next(t)) out.push_back({t.code, std::string(t.value), t.line});
  return out;
}

// The error a text raises, or an empty error with line 0 when it reads cleanly.
DxfError errorOf(const std::string& text, bool requireEof = true) {
  try {
    readAll(text, requireEof);
  } catch (const DxfError& e) {
    return e;
  }
  return DxfError("", 0, "");
}

}  // namespace

TEST(TagReader, AcceptsEveryLineEndAndKeepsLineNumbers) {
  for (const char* eol : {"\n", "\r\n", "\r"}) {
    std::string e = eol;
    std::string text = "0" + e + "SECTION" + e + "2" + e + "ENTITIES" + e + "0" + e + "ENDSEC" + e + "0" + e + "EOF" + e;
    auto tags = readAll(text);
    ASSERT_EQ(tags.size(), 4u) << "line end " << int(eol[0]);
    EXPECT_EQ(tags[1].code, 2);
    EXPECT_EQ(tags[1].value, "ENTITIES");
    EXPECT_EQ(tags[1].line, 3u);
    EXPECT_EQ(tags[3].value, "EOF");
    EXPECT_EQ(tags[3].line, 7u);
  }
}

TEST(TagReader, MixedLineEndsCountEveryLine) {
  auto tags = readAll("  0\r\nSECTION\n  2\rHEADER\r\n  0\nEOF", true);
  ASSERT_EQ(tags.size(), 3u);
  EXPECT_EQ(tags[1].value, "HEADER");
  EXPECT_EQ(tags[2].line, 5u);
}

TEST(TagReader, CodesMayHaveSpacesOnEitherSideButStringsAreExact) {
  auto tags = readAll("  0  \nTEXT\n1 \n  77.47  \n\t8\n 0\n 40\n 2.5 \n0\nEOF\n");
  ASSERT_EQ(tags.size(), 5u);
  EXPECT_EQ(tags[1].code, 1);
  EXPECT_EQ(tags[1].value, "  77.47  ");  // text is data
  EXPECT_EQ(tags[2].value, " 0");          // group 8 is a string too
  EXPECT_EQ(tags[3].value, "2.5");         // numbers are trimmed
}

TEST(TagReader, TrimsStructuralNamesOnly) {
  auto tags = readAll("0\nSECTION \n2\n ENTITIES \n0\nLWPOLYLINE \n2\n BLOCKNAME \n0\nEOF\n");
  ASSERT_EQ(tags.size(), 5u);
  EXPECT_EQ(tags[0].value, "SECTION");
  EXPECT_EQ(tags[1].value, "ENTITIES");
  EXPECT_EQ(tags[2].value, "LWPOLYLINE");
  EXPECT_EQ(tags[3].value, " BLOCKNAME ");  // a group 2 inside a record is data
}

TEST(TagReader, SkipsCommentsAndStopsAtEof) {
  auto tags = readAll("999\nwritten by hand\n0\nSECTION\n999\n\n2\nHEADER\n0\nEOF\ngarbage after\nthe end\n");
  ASSERT_EQ(tags.size(), 3u);
  EXPECT_EQ(tags[1].value, "HEADER");
  EXPECT_EQ(tags[1].line, 7u);
}

TEST(TagReader, PushBackRereadsOneTag) {
  std::string text = "0\nA\n0\nB\n0\nEOF\n";
  TagReader r(text, "t.dxf");
  Tag t;
  ASSERT_TRUE(r.next(t));
  ASSERT_TRUE(r.next(t));
  EXPECT_EQ(t.value, "B");
  r.pushBack(t);
  Tag u;
  ASSERT_TRUE(r.next(u));
  EXPECT_EQ(u.value, "B");
  ASSERT_TRUE(r.next(u));
  EXPECT_EQ(u.value, "EOF");
  EXPECT_FALSE(r.next(u));
}

TEST(TagReader, RefusesBinaryDxf) {
  std::string bin("AutoCAD Binary DXF\r\n\x1a\0\0\0SECTION\0", 31);
  DxfError e = errorOf(bin);
  EXPECT_EQ(e.line(), 1u);
  EXPECT_NE(e.reason().find("binary DXF"), std::string::npos) << e.what();
}

TEST(TagReader, ReportsMalformedInputWithLineNumbers) {
  struct Case {
    std::string text;
    unsigned line;
    const char* words;
  } cases[] = {
      {"", 1, "empty"},
      {"hello world\nthis is text\n", 1, "not a DXF file"},
      {"0\nSECTION\n2\nENTITIES\n", 4, "truncated"},
      {"0\nSECTION\n2\n", 3, "has no value"},
      {"0\nSECTION\nxx\nHEADER\n0\nEOF\n", 3, "expected a group code"},
      {"0\nLINE\n10\n1.5.3\n0\nEOF\n", 4, "not a number"},
      {"0\nLINE\n10\nnan\n0\nEOF\n", 4, "not a number"},
      {"0\nLINE\n70\nabc\n0\nEOF\n", 4, "not an integer"},
      {"0\nLINE\n70\n70000\n0\nEOF\n", 4, "out of range"},
      {"0\nLINE\n90\n99999999999\n0\nEOF\n", 4, "out of range"},
      {"0\nLINE\n5\nXYZ\n0\nEOF\n", 4, "not a handle"},
      {"0\nLINE\n330\n\n0\nEOF\n", 4, "not a handle"},
      {"0\nLINE\n310\n0G\n0\nEOF\n", 4, "hexadecimal"},
      {"0\nLINE\n85\n1\n0\nEOF\n", 3, "not a DXF group code"},
  };
  for (const Case& c : cases) {
    DxfError e = errorOf(c.text);
    EXPECT_EQ(e.line(), c.line) << c.text << " -> " << e.what();
    EXPECT_NE(e.reason().find(c.words), std::string::npos) << e.what();
    EXPECT_EQ(e.file(), "t.dxf");
    EXPECT_NE(std::string(e.what()).find("t.dxf:" + std::to_string(c.line) + ":"), std::string::npos);
  }
}

TEST(TagReader, AcceptsNumbersInEveryFormWritersUse) {
  auto tags = readAll("40\n1.000000000000000E+20\n40\n-.5\n40\n+3\n70\n     1\n70\n4.0\n90\n4294967295\n0\nEOF\n");
  ASSERT_EQ(tags.size(), 7u);
  double d = 0;
  ASSERT_TRUE(pf::dxf::parseDouble(tags[0].value, d));
  EXPECT_EQ(d, 1e20);
  ASSERT_TRUE(pf::dxf::parseDouble(tags[1].value, d));
  EXPECT_EQ(d, -0.5);
  std::int64_t i = 0;
  ASSERT_TRUE(pf::dxf::parseInt64(tags[3].value, i));
  EXPECT_EQ(i, 1);
  ASSERT_TRUE(pf::dxf::parseInt64(tags[4].value, i));
  EXPECT_EQ(i, 4);
  EXPECT_FALSE(pf::dxf::parseInt64("4.5", i));
  std::uint64_t h = 0;
  ASSERT_TRUE(pf::dxf::parseHandle("1f", h));
  EXPECT_EQ(h, 0x1Fu);
  EXPECT_FALSE(pf::dxf::parseHandle("0x1F", h));
  EXPECT_FALSE(pf::dxf::parseHandle("12345678901234567", h));
}

TEST(TagReader, FragmentsReadWithoutEof) {
  auto tags = readAll("10\n1.0\n20\n2.0", false);
  ASSERT_EQ(tags.size(), 2u);
  EXPECT_EQ(tags[1].value, "2.0");
}

// Values of every length, so that each line end falls at every place of the reader's eight-byte
// steps: control bytes other than CR and LF are part of a value, CR LF is one line end, a lone CR
// another, and the last line may have none.
TEST(TagReader, FindsEveryLineEndWhateverTheValueLength) {
  for (const char* eol : {"\n", "\r\n", "\r"}) {
    for (std::size_t len = 0; len < 20; ++len) {
      std::string value;
      for (std::size_t i = 0; i < len; ++i) value += i % 5 == 2 ? '\t' : i % 7 == 3 ? '\x01' : static_cast<char>('a' + i);
      const std::string e = eol;
      const std::string text = "1" + e + value + e + "  1" + e + value + "x" + e + "0" + e + "EOF";
      SCOPED_TRACE("length " + std::to_string(len) + " line end " + std::to_string(int(eol[0])) +
                   std::to_string(e.size()));
      auto tags = readAll(text);
      ASSERT_EQ(tags.size(), 3u);
      EXPECT_EQ(tags[0].value, value);
      EXPECT_EQ(tags[1].value, value + "x");
      EXPECT_EQ(tags[1].line, 3u);
      EXPECT_EQ(tags[2].line, 5u);
      auto fragment = readAll("1" + e + value + "y", false);  // no line end after the last value
      ASSERT_EQ(fragment.size(), 1u);
      EXPECT_EQ(fragment[0].value, value + "y");
    }
  }
}

TEST(TagReader, ReadsGroupCodesInEveryLayout) {
  auto tags = readAll("00010\n1.0\n 20 \n2.0\n\t30\n3.0\n   40\n4.0\n1071\n5\n  1\r\na\n 11\r1.0\n010\n2.0\n 1 \nb\n"
                      "330\n1F\n  0\nEOF\n");
  ASSERT_EQ(tags.size(), 11u);
  const int codes[] = {10, 20, 30, 40, 1071, 1, 11, 10, 1, 330, 0};
  for (std::size_t i = 0; i < 11; ++i) EXPECT_EQ(tags[i].code, codes[i]) << i;
  EXPECT_EQ(tags[6].value, "1.0");
  EXPECT_EQ(tags[10].line, 21u);
  struct Case {
    std::string text;
    unsigned line;
    const char* words;
  } cases[] = {
      {"0\nSECTION\n100000\nx\n0\nEOF\n", 3, "not a DXF group code"},
      {"0\nSECTION\n-5\nx\n0\nEOF\n", 3, "not a DXF group code"},
      {"0\nSECTION\n1 0\nx\n0\nEOF\n", 3, "expected a group code"},
      {"0\nSECTION\n0 1\nx\n0\nEOF\n", 3, "expected a group code"},
      {"0\nSECTION\n 1x\nx\n0\nEOF\n", 3, "expected a group code"},
      {"0\nSECTION\n -1\nx\n0\nEOF\n", 3, "not a DXF group code"},
      {"0\nSECTION\n10\x01\nx\n0\nEOF\n", 3, "expected a group code, found \"10^A\""},
      {"0\nSECTION\n   \nx\n0\nEOF\n", 3, "expected a group code"},
      {"0\nSECTION\n10", 3, "has no value"},
      {"0\nSECTION\n10\n", 3, "has no value"},
  };
  for (const Case& c : cases) {
    DxfError e = errorOf(c.text);
    EXPECT_EQ(e.line(), c.line) << e.what();
    EXPECT_NE(e.reason().find(c.words), std::string::npos) << e.what();
  }
}

TEST(TagReader, ParsesHandlesOfEveryDigit) {
  std::uint64_t h = 0;
  ASSERT_TRUE(pf::dxf::parseHandle("0123456789abcdef", h));
  EXPECT_EQ(h, 0x0123456789ABCDEFu);
  ASSERT_TRUE(pf::dxf::parseHandle(" FEDCBA9876543210\t", h));
  EXPECT_EQ(h, 0xFEDCBA9876543210u);
  EXPECT_FALSE(pf::dxf::parseHandle("", h));
  EXPECT_FALSE(pf::dxf::parseHandle("1G", h));
  EXPECT_FALSE(pf::dxf::parseHandle("-1", h));
  EXPECT_FALSE(pf::dxf::parseHandle("1 2", h));
}

TEST(TagWriter, WritesTheLayoutOfRealDrawings) {
  TagWriter w;
  w.string(0, "SECTION");
  w.integer(70, 1);
  w.integer(90, 4);
  w.integer(62, -7);
  w.real(10, 0.0);
  w.real(40, 5.181518581674339);
  w.real(41, 1e20);
  w.real(42, 1e-6);
  w.handle(5, 0x1f);
  w.handle(330, 0);
  w.string(1001, "ACAD");
  w.integer(290, 1);
  w.integer(1071, 12);
  EXPECT_EQ(w.text(),
            "  0\r\nSECTION\r\n"
            " 70\r\n     1\r\n"
            " 90\r\n        4\r\n"
            " 62\r\n    -7\r\n"
            " 10\r\n0.0\r\n"
            " 40\r\n5.181518581674339\r\n"
            " 41\r\n1.0E+20\r\n"
            " 42\r\n1.0E-06\r\n"
            "  5\r\n1F\r\n"
            "330\r\n0\r\n"
            "1001\r\nACAD\r\n"
            "290\r\n     1\r\n"
            "1071\r\n       12\r\n");
}

TEST(TagWriter, DoublesRoundTripExactly) {
  for (double v : {0.1, 1.0 / 3.0, 77.472469453188, -82.265482457437, 1e-300, 123456789012345678.0,
                   2.5e-7, 6.283185307179586}) {
    std::string s = TagWriter::formatDouble(v);
    double back = 0;
    ASSERT_TRUE(pf::dxf::parseDouble(s, back)) << s;
    EXPECT_EQ(back, v) << s;
    EXPECT_NE(s.find('.'), std::string::npos) << s;
  }
  EXPECT_EQ(TagWriter::formatDouble(-0.0), "0.0");
  EXPECT_EQ(TagWriter::formatDouble(100000.0), "100000.0");
  EXPECT_EQ(TagWriter::formatDouble(1.0 / 3.0, 6), "0.333333");
}

TEST(TagWriter, KeptValuesAreNormalisedByKindAndStringsCannotBreakLines) {
  TagWriter w;
  w.kept(70, "1");
  w.kept(330, "1f");
  w.kept(40, "1.000000000000000E+20");
  w.kept(310, "0a0b");
  w.kept(1, "  two\nlines\r ");
  EXPECT_EQ(w.text(),
            " 70\r\n     1\r\n"
            "330\r\n1F\r\n"
            " 40\r\n1.000000000000000E+20\r\n"
            "310\r\n0A0B\r\n"
            "  1\r\n  two^Jlines^M \r\n");
}

TEST(TagWriter, UnicodeEscapesAreWrittenInUpperCase) {
  TagWriter w;
  w.string(1, "Area \\U+03a9 and \\u+00e9, \\U+00C4 kept, \\U+12 too short");
  EXPECT_EQ(w.text(), "  1\r\nArea \\U+03A9 and \\U+00E9, \\U+00C4 kept, \\U+12 too short\r\n");
}

TEST(TagWriter, OutputReadsBackAsTheSameTags) {
  std::string out;
  {
    TagWriter w([&](const char* p, std::size_t n) { out.append(p, n); });
    w.string(0, "SECTION");
    w.string(2, "ENTITIES");
    w.string(1, " spaced ");
    w.point(10, 1.5, -2.25, 0.0);
    w.integer(70, 128);
    w.string(0, "EOF");
    w.flush();
  }
  auto tags = readAll(out);
  ASSERT_EQ(tags.size(), 8u);
  EXPECT_EQ(tags[2].value, " spaced ");
  EXPECT_EQ(tags[4].code, 20);
  EXPECT_EQ(tags[4].value, "-2.25");
  EXPECT_EQ(tags[6].value, "128");
  EXPECT_EQ(tags[7].value, "EOF");
}
