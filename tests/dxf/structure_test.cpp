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

DrawingIndex scan(const std::string& text) {
  TagReader r(text, "s.dxf");
  return scanDrawing(r);
}

DxfError scanError(const std::string& text) {
  try {
    scan(text);
  } catch (const DxfError& e) {
    return e;
  }
  return DxfError("", 0, "");
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
  DrawingIndex d = scan(kSmall);
  EXPECT_EQ(d.acadVer, "AC1015");
  EXPECT_EQ(d.handSeed, 0x30u);
  ASSERT_EQ(d.header.size(), 3u);
  EXPECT_EQ(d.header[2].name, "$EXTMIN");
  EXPECT_EQ(d.header[2].tags.size(), 3u);
  ASSERT_EQ(d.classes.size(), 1u);
  EXPECT_EQ(d.classes[0].dxfName, "PLINENOTIFYOBJECT");
  EXPECT_EQ(d.classes[0].appName, "zorvik");
  ASSERT_EQ(d.tables.size(), 2u);
  EXPECT_EQ(d.tables[0].name, "LAYER");
  EXPECT_EQ(d.tables[0].handle, 2u);
  EXPECT_EQ(d.tables[0].head.type, "TABLE");
  ASSERT_EQ(d.tables[0].records.size(), 1u);
  EXPECT_EQ(d.tables[0].records[0].handle, 0x10u);
  EXPECT_EQ(d.tables[0].records[0].type, "LAYER");
  ASSERT_EQ(d.tables[1].records.size(), 1u);
  EXPECT_EQ(d.tables[1].records[0].handle, 0x1Fu);
  ASSERT_EQ(d.blocks.size(), 1u);
  EXPECT_EQ(d.blocks[0].end.handle, 0x21u);
  ASSERT_EQ(d.entities.size(), 1u);
  EXPECT_EQ(d.entities[0].type, "LINE");
  EXPECT_EQ(d.objects[0].handle, 0xCu);
  ASSERT_EQ(d.others.size(), 1u);
  EXPECT_EQ(d.others[0].name, "THUMBNAILIMAGE");
  EXPECT_EQ(d.maxHandle, 0x2Au);
  EXPECT_EQ(d.sectionOrder.back(), "THUMBNAILIMAGE");
}

TEST(DrawingScan, RecordsCanBeReadAgainFromTheirOffset) {
  DrawingIndex d = scan(kSmall);
  TagReader r(kSmall, "s.dxf");
  std::vector<Tag> tags;
  readRecord(r, d.entities[0], tags);
  ASSERT_EQ(tags.size(), 12u);
  EXPECT_EQ(tags[0].value, "LINE");
  EXPECT_EQ(tags[0].line, d.entities[0].line);
  EXPECT_EQ(tags[11].code, 31);
  readRecord(r, d.tables[1].records[0], tags);
  EXPECT_EQ(tags.back().value, "*Model_Space");
  readRecord(r, d.tables[1].head, tags);
  ASSERT_GE(tags.size(), 3u);
  EXPECT_EQ(tags[0].value, "TABLE");
  EXPECT_EQ(tags[1].value, "BLOCK_RECORD");
  EXPECT_EQ(tags[2].code, 5);
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
  };
  for (const Case& c : cases) {
    DxfError e = scanError(c.text);
    EXPECT_NE(e.line(), 0u) << c.words;
    EXPECT_NE(e.reason().find(c.words), std::string::npos) << c.words << " / " << e.what();
  }
}

TEST(DrawingScan, DuplicateHandleNamesBothLines) {
  std::string s = kSmall;
  s.replace(s.find("5\n2A"), 4, "5\n21");
  DxfError e = scanError(s);
  EXPECT_NE(e.reason().find("duplicate handle 21"), std::string::npos) << e.what();
  // The ENDBLK with handle 21 comes first; the LINE is reported.
  std::size_t lineOfLine = 0;
  {
    std::istringstream in(s);
    std::string l;
    for (std::size_t n = 1; std::getline(in, l); ++n)
      if (l == "LINE") lineOfLine = n - 1;
  }
  EXPECT_EQ(e.line(), lineOfLine + 2);
}

TEST(DrawingScan, ScansEveryRealDrawing) {
  for (const char* name : {"Constraints.dxf", "Leader_2000.dxf", "PolyLine2D.dxf", "TS1.dxf", "entities-2d.dxf",
                           "entities-3d.dxf", "example_2000.dxf", "sample_2000.dxf"}) {
    std::string path = std::string(ZORVIK_SHARED_DIR) + "/interop/real-dxf/" + name;
    InputFile f(path);
    TagReader r(f.data(), path);
    DrawingIndex d = scanDrawing(r);
    EXPECT_EQ(d.acadVer.substr(0, 2), "AC") << name;
    EXPECT_GT(d.handSeed, d.maxHandle) << name;
    EXPECT_GE(d.tables.size(), 9u) << name;
    EXPECT_FALSE(d.objects.empty()) << name;
    // Every record found reads back from its offset starting with its own type.
    std::vector<Tag> tags;
    for (const RecordRef& ref : d.objects) {
      readRecord(r, ref, tags);
      ASSERT_FALSE(tags.empty());
      ASSERT_EQ(tags[0].value, ref.type) << name << " line " << ref.line;
    }
  }
}
