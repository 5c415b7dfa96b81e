// Text of drawings whose files are UTF-8 (R2007 and later) is in the drawing's code page inside:
// characters the code page lacks as \U+XXXX escapes, and the file saved comes back byte for byte;
// earlier drawings keep their bytes as read.
#include <gtest/gtest.h>

#include "acutmem.h"
#include "dbents.h"
#include "dxf/dxf_text_codec.h"
#include "dxf_test_util.h"
#include "pf/dxf.h"

using namespace dxftest;
using pf::dxf::TextCodec;

namespace {

const std::string kKueche = "K\xC3\xBC" "che";         // Küche in UTF-8
const std::string kMianji = "\xE9\x9D\xA2\xE7\xA7\xAF";  // 面积
const std::string kOslash = "\xC3\x98";                  // Ø
const std::string kFlaeche = "FL\xC3\x84" "CHE";         // FLÄCHE

std::string inCodePage(const TextCodec& codec, const std::string& fileText) {
  std::string out;
  return codec.toCodePage(fileText, out) ? out : fileText;
}

std::string inFile(const TextCodec& codec, const std::string& text) {
  std::string out;
  return codec.toFile(text, out) ? out : text;
}

void replaceAll(std::string& s, const std::string& from, const std::string& to) {
  for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
}

// The linked drawing as a drawing of `version`: the attribute tag FLÄCHE, its value Küche 面积 Ø,
// the same text in a record kept as a proxy (an MTEXT) and in a header variable; `encode` turns
// the UTF-8 text into the file's bytes.
std::string drawingWithText(const std::string& version, std::string (*encode)(const std::string&)) {
  std::string text = linkedDrawing();
  replaceAll(text, "AC1015", version);
  const std::string value = encode(kKueche + " " + kMianji + " " + kOslash);
  replaceAll(text, "48.00", value);
  replaceAll(text, "AREA", encode(kFlaeche));
  const std::string header = "  9\r\n$PROJECTNAME\r\n  1\r\n" + encode(kKueche) + "\r\n";
  text.insert(text.find("  9\r\n$HANDSEED"), header);
  const std::string mtext = "  0\r\nMTEXT\r\n  5\r\n42\r\n330\r\n1F\r\n100\r\nAcDbEntity\r\n  8\r\n0\r\n100\r\nAcDbMText\r\n"
                            " 10\r\n0.0\r\n 20\r\n0.0\r\n 30\r\n0.0\r\n 40\r\n2.5\r\n  1\r\n" + value + "\r\n";
  const std::size_t entitiesEnd = text.find("  0\r\nENDSEC\r\n", text.find("LWPOLYLINE"));
  text.insert(entitiesEnd, mtext);
  return text;
}

std::string asUtf8(const std::string& s) { return s; }

// The cp1252 bytes of the test's text (面积 has none: an R2000 drawing holds it as escapes).
std::string asCp1252(const std::string& s) {
  std::string out = s;
  replaceAll(out, "\xC3\xBC", "\xFC");
  replaceAll(out, "\xC3\x98", "\xD8");
  replaceAll(out, "\xC3\x84", "\xC4");
  replaceAll(out, kMianji, "\\U+9762\\U+79EF");
  return out;
}

// Tag and text of the attribute 3F.
std::pair<std::string, std::string> attributeOf(AcDbDatabase* db) {
  AcDbObject* obj = openByHandle(db, "3F");
  EXPECT_NE(obj, nullptr);
  std::pair<std::string, std::string> out;
  if (AcDbAttribute* attr = AcDbAttribute::cast(obj)) {
    char* tag = attr->tag();
    char* text = attr->textString();
    out = {tag ? tag : "", text ? text : ""};
    acutDelString(tag);
    acutDelString(text);
  }
  if (obj) obj->close();
  return out;
}

}  // namespace

TEST(TextCodec, ConvertsBetweenUtf8AndTheCodePageLosingNothing) {
  EXPECT_EQ(TextCodec::forDrawing("AC1015", "ANSI_1252"), nullptr);
  EXPECT_EQ(TextCodec::forDrawing("AC1018", ""), nullptr);
  EXPECT_EQ(TextCodec::forDrawing("", ""), nullptr);
  auto codec = TextCodec::forDrawing("AC1032", "ANSI_1252");
  ASSERT_NE(codec, nullptr);
  EXPECT_EQ(TextCodec::forDrawing("AC1021", "")->codePage(), 1252u) << "no $DWGCODEPAGE: 1252";

  const std::pair<std::string, std::string> cases[] = {
      {kKueche, "K\xFC" "che"},
      {kMianji, "\\U+9762\\U+79EF"},
      {kOslash, "\xD8"},
      {"\xE2\x82\xAC \xE2\x80\x9C", "\x80 \x93"},          // € and “, in 1252's 0x80..0x9F
      {"\xC2\x81", "\x81"},                                  // a byte 1252 leaves unassigned
      {"\xF0\x9F\x98\x80", "\\U+D83D\\U+DE00"},              // beyond U+FFFF: its surrogates
      {"plain \\P text", "plain \\P text"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(inCodePage(*codec, c.first), c.second) << c.first;
    EXPECT_EQ(inFile(*codec, c.second), c.first) << c.first;
  }
  // An escape the file itself holds, of a character the code page has, stays an escape; one of a
  // character it lacks is the character (the host reads both as the character).
  EXPECT_EQ(inCodePage(*codec, "108\\U+00B0"), "108\\U+00B0");
  EXPECT_EQ(inFile(*codec, "108\\U+00B0"), "108\\U+00B0");
  EXPECT_EQ(inFile(*codec, "\\U+03a9 \\U+D83D"), "\xCE\xA9 \\U+D83D") << "a lone surrogate stays an escape";
  // Bytes that are not UTF-8 are bytes of the code page, saved as the characters they stand for.
  EXPECT_EQ(inCodePage(*codec, "Stra\xDF" "e"), "Stra\xDF" "e");
  EXPECT_EQ(inFile(*codec, "Stra\xDF" "e"), "Stra\xC3\x9F" "e");
}

TEST(TextCodec, OtherCodePagesComeFromTheSystemAndUnknownOnesKeepAscii) {
  auto cyrillic = TextCodec::forDrawing("AC1032", "ANSI_1251");
  ASSERT_NE(cyrillic, nullptr);
  const std::string privet = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";  // Привет
  EXPECT_EQ(cyrillic->codePage(), 1251u);
  EXPECT_EQ(inCodePage(*cyrillic, privet), "\xCF\xF0\xE8\xE2\xE5\xF2");
  EXPECT_EQ(inCodePage(*cyrillic, kKueche), "K\\U+00FCche");
  EXPECT_EQ(inFile(*cyrillic, inCodePage(*cyrillic, privet + kKueche)), privet + kKueche);

  auto japanese = TextCodec::forDrawing("AC1032", "ANSI_932");
  ASSERT_NE(japanese, nullptr);
  const std::string hyou = "\xE8\xA1\xA8";  // 表, whose second byte in 932 is a backslash
  EXPECT_EQ(japanese->codePage(), 932u);
  EXPECT_EQ(inCodePage(*japanese, hyou + kMianji), "\x95\x5C\x96\xCA\\U+79EF");
  EXPECT_EQ(inFile(*japanese, inCodePage(*japanese, hyou + kMianji + kKueche)), hyou + kMianji + kKueche);

  auto unknown = TextCodec::forDrawing("AC1032", "NO_SUCH_PAGE");
  ASSERT_NE(unknown, nullptr);
  EXPECT_EQ(unknown->codePage(), 0u);
  EXPECT_EQ(inCodePage(*unknown, kKueche), "K\\U+00FCche");
  EXPECT_EQ(inFile(*unknown, "K\\U+00FCche"), kKueche);
}

// An R2018 drawing: the module sees the attribute's tag and text in code page 1252, as in an
// R2000 drawing, and the saved file holds the text as read (UTF-8 in one, the code page's bytes
// in the other), in the modelled attribute, the record kept as a proxy and the header alike.
TEST(TextCodec, DrawingsReadInTheCodePageAndSaveTheirTextAsRead) {
  const struct {
    const char* version;
    std::string (*encode)(const std::string&);
  } cases[] = {{"AC1032", asUtf8}, {"AC1015", asCp1252}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.version);
    const std::string in = writeFile("text-in.dxf", drawingWithText(c.version, c.encode));
    DbScope db;
    ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    const auto attribute = attributeOf(db.db);
    EXPECT_EQ(attribute.first, asCp1252(kFlaeche));
    EXPECT_EQ(attribute.second, asCp1252(kKueche + " " + kMianji + " " + kOslash));

    const std::string out = tempPath("text-out.dxf");
    ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    auto before = byHandle(readRecords(in));
    auto after = byHandle(readRecords(out));
    for (const char* h : {"3F", "42", "33"}) EXPECT_EQ(after[h].tags, before[h].tags) << h;
    const std::string saved = readFile(out);
    EXPECT_NE(saved.find("$PROJECTNAME\r\n  1\r\n" + c.encode(kKueche) + "\r\n"), std::string::npos);
    if (c.encode == asCp1252) {
      EXPECT_EQ(saved.find("\xC3"), std::string::npos) << "no UTF-8 in an R2000 drawing";
    }
  }
}

// The header decides: a header after the entities still makes their text the code page's.
TEST(TextCodec, AHeaderAfterTheEntitiesStillDecides) {
  std::string drawing = drawingWithText("AC1032", asUtf8);
  replaceAll(drawing, "\r\n", "\n");  // the section helper works on LF lines
  const std::string text = withSections(drawing, {"CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS", "HEADER"});
  const std::string in = writeFile("text-late-header.dxf", text);
  DbScope db;
  ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  EXPECT_EQ(attributeOf(db.db).first, asCp1252(kFlaeche));
  const std::string out = tempPath("text-late-header-out.dxf");
  ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  EXPECT_EQ(byHandle(readRecords(out))["3F"].tags, byHandle(readRecords(in))["3F"].tags);
}
