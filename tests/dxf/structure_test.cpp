// Structural scan: sections, tables, blocks, records, handles, and the refusal of malformed
// structure with the line where it goes wrong.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "dxf/dxf_file.h"
#include "dxf/dxf_structure.h"

using namespace pf::dxf;

namespace {

// Lines joined with LF; each pair is code, value.
std::string dxf(std::initializer_list<const char*> lines) {
  std::string s;
  for (const char* l : lines) {
    s += l;
    s += '\n';
  }
  return s;
}

// What a sink was handed: each record's kind, groups (copied) and handle.
struct Seen {
  std::string kind;  // "table", "record", "endtab", "block", "blockEntity", "endblk", "entity", "object"
  std::vector<std::pair<int, std::string>> tags;
  std::uint64_t handle = 0;
  std::uint32_t handleLine = 0, line = 0;
  std::string type() const { return tags.empty() ? std::string() : tags[0].second; }
};

class Recorder : public DrawingSink {
 public:
  std::vector<Seen> seen;
  std::vector<std::string> sections;  // "+NAME" at its start, "-NAME" at its end

  void sectionBegin(const SectionPlace& s) override { sections.push_back("+" + s.name); }
  void sectionEnd(const SectionPlace& s) override { sections.push_back("-" + s.name); }
  void tableBegin(const std::string& name, ScannedRecord& head) override {
    note("table", head);
    EXPECT_EQ(std::string(name), seen.back().tags.size() > 1 ? seen.back().tags[1].second : "");
  }
  void tableRecord(ScannedRecord& rec) override { note("record", rec); }
  void tableEnd() override { seen.push_back(Seen{"endtab", {}, 0, 0, 0}); }
  void blockBegin(ScannedRecord& rec) override { note("block", rec); }
  void blockEntity(ScannedRecord& rec) override { note("blockEntity", rec); }
  void blockEnd(ScannedRecord& rec) override { note("endblk", rec); }
  void entity(ScannedRecord& rec) override { note("entity", rec); }
  void object(ScannedRecord& rec) override { note("object", rec); }

  std::vector<Seen> ofKind(const std::string& kind) const {
    std::vector<Seen> out;
    for (const Seen& s : seen)
      if (s.kind == kind) out.push_back(s);
    return out;
  }

 private:
  void note(const char* kind, const ScannedRecord& rec) {
    Seen s;
    s.kind = kind;
    for (const Tag& t : rec.tags) s.tags.emplace_back(t.code, std::string(t.value));
    s.handle = rec.handle;
    s.handleLine = rec.handleLine;
    s.line = rec.line();
    EXPECT_EQ(rec.tags.front().code, 0);
    EXPECT_EQ(rec.type(), rec.tags.front().value);
    seen.push_back(s);
  }
};

struct Scan {
  DrawingParts parts;
  Recorder rec;
};

Scan scan(const std::string& text) {
  Scan s;
  TagReader r(text, "s.dxf");
  scanDrawing(r, s.rec, s.parts);
  return s;
}

DxfError scanError(const std::string& text) {
  try {
    TagReader r(text, "s.dxf");
    checkDrawing(r);
  } catch (const DxfError& e) {
    return e;
  }
  return DxfError("", 0, "");
}

// The line (1-based) of the first line after `after` whose text is `text`.
std::uint32_t lineOf(const std::string& s, const std::string& text, std::uint32_t after = 0) {
  std::istringstream in(s);
  std::string l;
  for (std::uint32_t n = 1; std::getline(in, l); ++n)
    if (n > after && l == text) return n;
  return 0;
}

const std::string kSmall = dxf({
    "0", "SECTION", "2", "HEADER",                                   // 1-4
    "9", "$ACADVER", "1", "AC1015",                                  // 5-8
    "9", "$HANDSEED", "5", "30",                                     // 9-12
    "9", "$EXTMIN", "10", "0.0", "20", "0.0", "30", "0.0",           // 13-20
    "0", "ENDSEC",                                                   // 21-22
    "0", "SECTION", "2", "CLASSES",                                  // 23-26
    "0", "CLASS", "1", "PLINENOTIFYOBJECT", "2", "CPlineNotifyObject", "3", "zorvik", "90", "0", "280", "0", "281", "0",
    "0", "ENDSEC",
    "0", "SECTION", "2", "TABLES",
    "0", "TABLE", "2", "LAYER", "5", "2", "330", "0", "100", "AcDbSymbolTable", "70", "1",
    "0", "LAYER", "5", "10", "330", "2", "100", "AcDbSymbolTableRecord", "100", "AcDbLayerTableRecord", "2", "0", "70", "0",
    "0", "ENDTAB",
    "0", "TABLE", "2", "BLOCK_RECORD", "5", "1", "330", "0", "100", "AcDbSymbolTable", "70", "1",
    "0", "BLOCK_RECORD", "5", "1F", "330", "1", "100", "AcDbSymbolTableRecord", "100", "AcDbBlockTableRecord", "2", "*Model_Space",
    "0", "ENDTAB",
    "0", "ENDSEC",
    "0", "SECTION", "2", "BLOCKS",
    "0", "BLOCK", "5", "20", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbBlockBegin", "2", "*Model_Space",
    "0", "ENDBLK", "5", "21", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbBlockEnd",
    "0", "ENDSEC",
    "0", "SECTION", "2", "ENTITIES",
    "0", "LINE", "5", "2A", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbLine",
    "10", "0.0", "20", "0.0", "30", "0.0", "11", "1.0", "21", "1.0", "31", "0.0",
    "0", "ENDSEC",
    "0", "SECTION", "2", "OBJECTS",
    "0", "DICTIONARY", "5", "C", "330", "0", "100", "AcDbDictionary",
    "0", "ENDSEC",
    "0", "SECTION", "2", "THUMBNAILIMAGE", "90", "2", "310", "ABCD",
    "0", "ENDSEC",
    "0", "EOF"});

}  // namespace

TEST(DrawingScan, FindsEveryPartOfADrawing) {
  Scan d = scan(kSmall);
  EXPECT_EQ(d.parts.acadVer, "AC1015");
  EXPECT_EQ(d.parts.acadVerLine, 5u);
  EXPECT_EQ(d.parts.handSeed, 0x30u);
  ASSERT_EQ(d.parts.header.size(), 3u);
  EXPECT_EQ(d.parts.header[2].name, "$EXTMIN");
  EXPECT_EQ(d.parts.header[2].tags.size(), 3u);
  ASSERT_EQ(d.parts.classes.size(), 1u);
  EXPECT_EQ(d.parts.classes[0].dxfName, "PLINENOTIFYOBJECT");
  EXPECT_EQ(d.parts.classes[0].appName, "zorvik");
  ASSERT_EQ(d.parts.others.size(), 1u);
  EXPECT_EQ(d.parts.others[0].name, "THUMBNAILIMAGE");
  EXPECT_EQ(d.parts.maxHandle, 0x2Au);
  ASSERT_EQ(d.parts.sections.size(), 7u);
  EXPECT_EQ(d.parts.sections.back().name, "THUMBNAILIMAGE");
  EXPECT_EQ(d.parts.sections[0].line, 1u);

  // Every record in file order, each section announced around its records.
  std::string kinds;
  for (const Seen& s : d.rec.seen) kinds += s.kind + " " + s.type() + ",";
  EXPECT_EQ(kinds,
            "table TABLE,record LAYER,endtab ,table TABLE,record BLOCK_RECORD,endtab ,block BLOCK,endblk ENDBLK,"
            "entity LINE,object DICTIONARY,");
  EXPECT_EQ(d.rec.sections, (std::vector<std::string>{"+HEADER", "-HEADER", "+CLASSES", "-CLASSES", "+TABLES", "-TABLES",
                                                     "+BLOCKS", "-BLOCKS", "+ENTITIES", "-ENTITIES", "+OBJECTS",
                                                     "-OBJECTS", "+THUMBNAILIMAGE", "-THUMBNAILIMAGE"}));
  auto tables = d.rec.ofKind("table");
  EXPECT_EQ(tables[0].handle, 2u);
  auto records = d.rec.ofKind("record");
  EXPECT_EQ(records[0].handle, 0x10u);
  EXPECT_EQ(records[1].handle, 0x1Fu);
  EXPECT_EQ(d.rec.ofKind("endblk")[0].handle, 0x21u);
  EXPECT_EQ(d.rec.ofKind("object")[0].handle, 0xCu);
}

TEST(DrawingScan, RecordsAreHandedOverWithAllTheirGroups) {
  Scan d = scan(kSmall);
  const Seen line = d.rec.ofKind("entity")[0];
  ASSERT_EQ(line.tags.size(), 12u);
  EXPECT_EQ(line.tags[0].second, "LINE");
  EXPECT_EQ(line.line, lineOf(kSmall, "LINE") - 1);
  EXPECT_EQ(line.handle, 0x2Au);
  EXPECT_EQ(line.handleLine, line.line + 2);
  EXPECT_EQ(line.tags[11].first, 31);
  EXPECT_EQ(d.rec.ofKind("record")[1].tags.back().second, "*Model_Space");
  // A table's head record keeps its name group after `0 TABLE`.
  const Seen head = d.rec.ofKind("table")[1];
  ASSERT_GE(head.tags.size(), 3u);
  EXPECT_EQ(head.tags[0].second, "TABLE");
  EXPECT_EQ(head.tags[1].second, "BLOCK_RECORD");
  EXPECT_EQ(head.tags[2].first, 5);
}

TEST(DrawingScan, HandlesAreTheFirstBeforeTheSubclassMarker) {
  const std::string text = dxf({
      "0", "SECTION", "2", "TABLES",
      "0", "TABLE", "2", "DIMSTYLE", "5", "A", "100", "AcDbSymbolTable", "70", "1",
      "0", "DIMSTYLE", "105", "27", "5", "99", "100", "AcDbSymbolTableRecord", "2", "Standard",
      "0", "ENDTAB",
      "0", "ENDSEC",
      "0", "SECTION", "2", "OBJECTS",
      "0", "DICTIONARY", "5", "0", "5", "1C", "100", "AcDbDictionary", "5", "77",
      "0", "DICTIONARY", "100", "AcDbDictionary", "5", "78",
      "0", "ENDSEC",
      "0", "EOF"});
  Scan d = scan(text);
  EXPECT_EQ(d.rec.ofKind("record")[0].handle, 0x27u);  // DIMSTYLE names itself with 105
  auto objects = d.rec.ofKind("object");
  ASSERT_EQ(objects.size(), 2u);
  EXPECT_EQ(objects[0].handle, 0x1Cu);  // a handle of 0 names nothing
  EXPECT_EQ(objects[0].handleLine, lineOf(text, "1C") - 1);
  EXPECT_EQ(objects[1].handle, 0u);  // after the subclass marker it is data
  EXPECT_EQ(d.parts.maxHandle, 0x27u);
}

TEST(DrawingScan, ASectionIsWalkedAgainFromItsPlace) {
  Scan whole = scan(kSmall);
  TagReader r(kSmall, "s.dxf");
  for (const SectionPlace& place : whole.parts.sections) {
    if (place.name != "TABLES" && place.name != "ENTITIES") continue;
    Recorder again;
    DrawingParts parts;
    scanSection(r, place, again, parts);
    EXPECT_EQ(again.sections, (std::vector<std::string>{"+" + place.name, "-" + place.name}));
    std::vector<Seen> expected;
    for (const Seen& s : whole.rec.seen)
      if ((place.name == "TABLES") == (s.kind == "table" || s.kind == "record" || s.kind == "endtab") &&
          (place.name != "ENTITIES" || s.kind == "entity"))
        expected.push_back(s);
    ASSERT_EQ(again.seen.size(), expected.size()) << place.name;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(again.seen[i].tags, expected[i].tags) << place.name;
      EXPECT_EQ(again.seen[i].line, expected[i].line) << place.name;
    }
  }
}

TEST(DrawingScan, WhatASinkThrowsStopsTheWalk) {
  struct Stop {};
  struct Stopper : Recorder {
    void entity(ScannedRecord&) override { throw Stop(); }
  } sink;
  DrawingParts parts;
  TagReader r(kSmall, "s.dxf");
  EXPECT_THROW(scanDrawing(r, sink, parts), Stop);
  EXPECT_TRUE(sink.ofKind("object").empty());
  EXPECT_EQ(sink.sections.back(), "+ENTITIES");
}

TEST(DrawingScan, RefusesBrokenStructureWithTheLine) {
  auto replaced = [](std::string from, std::string to) {
    std::string s = kSmall;
    std::size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return s.replace(at, from.size(), to);
  };
  struct Case {
    std::string text;
    const char* words;
  } cases[] = {
      {dxf({"0", "LINE", "0", "EOF"}), "expected 0 SECTION"},
      {replaced("0\nENDSEC\n0\nSECTION\n2\nCLASSES", "0\nSECTION\n2\nCLASSES"), "HEADER starting at line 1 has no ENDSEC"},
      {replaced("0\nENDTAB\n0\nTABLE\n2\nBLOCK_RECORD", "0\nTABLE\n2\nBLOCK_RECORD"), "has no ENDTAB"},
      {replaced("0\nENDBLK\n5\n21", "0\nBLOCK\n5\n21"), "has no ENDBLK"},
      {replaced("5\n2A", "5\n1F"), "duplicate handle 1F"},
      {replaced("0\nSECTION\n2\nOBJECTS", "0\nSECTION\n2\nENTITIES"), "appears twice"},
      {replaced("0\nEOF\n", "0\nENDSEC\n0\nEOF\n"), "ENDSEC without a SECTION"},
      {replaced("0\nSECTION\n2\nTHUMBNAILIMAGE\n90\n2\n310\nABCD\n0\nENDSEC\n0\nEOF", "0\nSECTION\n2\nTHUMBNAILIMAGE\n0\nEOF"),
       "THUMBNAILIMAGE starting at line"},
      {replaced("9\n$ACADVER", "1\n$ACADVER"), "without a variable name"},
      {replaced("AC1015", "AC1009"), "drawing version AC1009 is not supported"},
      {replaced("AC1015", "ACX"), "drawing version ACX is not supported"},
  };
  for (const Case& c : cases) {
    DxfError e = scanError(c.text);
    EXPECT_NE(e.line(), 0u) << c.words;
    EXPECT_NE(e.reason().find(c.words), std::string::npos) << c.words << " / " << e.what();
  }
}

TEST(DrawingScan, TheCheckReportsAMalformedPartBeforeADuplicateAndADuplicateBeforeTheVersion) {
  std::string s = kSmall;
  s.replace(s.find("AC1015"), 6, "AC1009");
  s.replace(s.find("5\n2A"), 4, "5\n21");
  EXPECT_NE(scanError(s).reason().find("duplicate handle 21"), std::string::npos) << scanError(s).what();
  s.replace(s.find("310\nABCD"), 8, "310\nXYZ!");
  DxfError e = scanError(s);
  EXPECT_NE(e.reason().find("not hexadecimal binary data"), std::string::npos) << e.what();
  EXPECT_EQ(e.line(), lineOf(s, "XYZ!"));
}

TEST(DrawingScan, DuplicateHandleNamesBothLines) {
  std::string s = kSmall;
  s.replace(s.find("5\n2A"), 4, "5\n21");
  DxfError e = scanError(s);
  // The ENDBLK with handle 21 comes first; the LINE is reported, naming the ENDBLK's handle line.
  const std::uint32_t endblkHandle = lineOf(s, "21", lineOf(s, "ENDBLK")) - 1;
  EXPECT_EQ(e.reason(), "duplicate handle 21 (already used by the record at line " + std::to_string(endblkHandle) + ")");
  EXPECT_EQ(e.line(), lineOf(s, "LINE") + 1);
}

TEST(DrawingScan, ScansEveryRealDrawing) {
  for (const char* name : {"Constraints.dxf", "Leader_2000.dxf", "PolyLine2D.dxf", "TS1.dxf", "entities-2d.dxf",
                           "entities-3d.dxf", "example_2000.dxf", "sample_2000.dxf"}) {
    std::string path = std::string(ZORVIK_SHARED_DIR) + "/interop/real-dxf/" + name;
    InputFile f(path);
    TagReader r(f.data(), path);
    DrawingParts d;
    Recorder rec;
    scanDrawing(r, rec, d);
    EXPECT_EQ(d.acadVer.substr(0, 2), "AC") << name;
    EXPECT_GT(d.handSeed, d.maxHandle) << name;
    EXPECT_GE(rec.ofKind("table").size(), 9u) << name;
    EXPECT_EQ(rec.ofKind("table").size(), rec.ofKind("endtab").size()) << name;
    EXPECT_FALSE(rec.ofKind("object").empty()) << name;
    // Every record handed over holds exactly one `0` group, its first.
    for (const Seen& s : rec.seen) {
      for (std::size_t i = 1; i < s.tags.size(); ++i) ASSERT_NE(s.tags[i].first, 0) << name << " line " << s.line;
      if (s.kind != "endtab") {
        ASSERT_FALSE(s.type().empty()) << name << " line " << s.line;
      }
    }
    TagReader again(f.data(), path);
    EXPECT_NO_THROW(checkDrawing(again)) << name;
  }
}
