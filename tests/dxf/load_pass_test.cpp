// Loading in one pass: records become objects as they are read, yet a refused drawing answers
// what checking the whole file first would (a malformed part anywhere, then a duplicate handle
// with both lines, then the version, then the loader's own reason) and leaves the database
// empty; sections out of the usual order give the same drawing; attributes, vertices and
// sequence ends follow their entity wherever the entity list ends.
#include <gtest/gtest.h>

#include "dbents.h"
#include "dbsymtb.h"
#include "dxf/dxf_proxy.h"
#include "dxf_test_util.h"
#include "db/db_services.h"
#include "pf/dxf.h"

using namespace dxftest;

namespace {

std::string handleOf(const AcDbObjectId& id) {
  char buf[20];
  id.handle().getIntoAsciiBuffer(buf);
  return buf;
}

std::string trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// 1-based line of the `nth` line (1 = first) that reads exactly `text`.
unsigned lineOf(const std::string& s, const std::string& text, int nth = 1) {
  Lines lines = linesOf(s);
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i] == text && --nth == 0) return static_cast<unsigned>(i + 1);
  return 0;
}

// 1-based line of the code of the `nth` group `code` whose value is `value`.
unsigned groupLine(const std::string& s, const std::string& code, const std::string& value, int nth = 1) {
  Lines lines = linesOf(s);
  for (std::size_t i = 0; i + 1 < lines.size(); i += 2)
    if (trim(lines[i]) == code && lines[i + 1] == value && --nth == 0) return static_cast<unsigned>(i + 1);
  return 0;
}

std::string replaced(std::string s, const std::string& from, const std::string& to) {
  std::size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

// `records` (code and value lines) inserted before the record whose handle is `handle`.
std::string insertedBefore(const std::string& text, const std::string& handle, const Lines& records) {
  Lines lines = linesOf(text);
  const unsigned at = groupLine(text, "5", handle);
  EXPECT_GE(at, 3u) << handle;
  // The record's `0 type` group is just before its handle group.
  lines.insert(lines.begin() + static_cast<long>(at - 3), records.begin(), records.end());
  return textOf(lines);
}

struct Failure {
  Acad::ErrorStatus es;
  std::string reason;
  unsigned line;
  std::string log;
};

Failure refusal(const std::string& name, const std::string& text) {
  DbScope db;
  const std::string path = writeFile(name, text);
  const std::string log = tempPath(name + ".log");
  Failure f;
  f.es = db->dxfIn(path.c_str(), log.c_str());
  f.reason = pf::lastDxfFailure().reason;
  f.line = pf::lastDxfFailure().line;
  f.log = readFile(log);
  EXPECT_NE(f.es, Acad::eOk) << name;
  EXPECT_TRUE(pf::allObjectIds(db.db).empty()) << name;
  EXPECT_TRUE(pf::danglingIds(db.db).empty()) << name;
  EXPECT_TRUE(db->blockTableId().isNull()) << name;
  return f;
}

// Handles of a block's entities, in order, with the DXF name of proxies ("handle:NAME").
std::vector<std::string> blockContents(AcDbDatabase* db, const char* blockName) {
  std::vector<std::string> out;
  AcDbBlockTable* table = nullptr;
  if (db->getBlockTable(table, AcDb::kForRead) != Acad::eOk) return out;
  AcDbBlockTableRecord* btr = nullptr;
  Acad::ErrorStatus es = table->getAt(blockName, btr, AcDb::kForRead);
  table->close();
  if (es != Acad::eOk) return out;
  AcDbBlockTableRecordIterator* it = nullptr;
  btr->newIterator(it);
  for (; !it->done(); it->step()) {
    AcDbEntity* ent = nullptr;
    if (it->getEntity(ent, AcDb::kForRead) != Acad::eOk) continue;
    std::string item = handleOf(ent->objectId());
    if (const char* dxfName = pf::dxf::proxyDxfName(ent)) item += std::string(":") + dxfName;
    out.push_back(item);
    ent->close();
  }
  delete it;
  btr->close();
  return out;
}

// An insert's attributes with their owners ("attribute<owner").
std::vector<std::string> attributesOf(AcDbDatabase* db, const char* insertHandle) {
  std::vector<std::string> out;
  AcDbObject* obj = openByHandle(db, insertHandle);
  if (AcDbBlockReference* insert = AcDbBlockReference::cast(obj)) {
    AcDbObjectIterator* it = insert->attributeIterator();
    for (; !it->done(); it->step()) {
      AcDbObject* att = nullptr;
      if (acdbOpenAcDbObject(att, it->objectId(), AcDb::kForRead) != Acad::eOk) continue;
      out.push_back(handleOf(att->objectId()) + "<" + handleOf(att->ownerId()));
      att->close();
    }
    delete it;
  }
  if (obj) obj->close();
  return out;
}

const std::string& plain() {
  static const std::string s = linkedDrawing(false, 1, "\n");
  return s;
}

// The drawing with `count` lines removed from the line `at` (1-based) on.
std::string withoutLines(const std::string& text, unsigned at, unsigned count) {
  Lines lines = linesOf(text);
  lines.erase(lines.begin() + (at - 1), lines.begin() + (at - 1 + count));
  return textOf(lines);
}

// The drawing whose block table record ROOMTAG has no name group.
std::string namelessBlockRecord() { return withoutLines(plain(), lineOf(plain(), "ROOMTAG") - 1, 2); }

}  // namespace

TEST(DrawingLoadFailure, ADuplicateHandleNamesTheRecordThatHadItFirst) {
  const std::string text = replaced(plain(), "5\n41\n", "5\n3F\n");
  Failure f = refusal("dup.dxf", text);
  EXPECT_EQ(f.es, Acad::eDxfReadAborted);
  const unsigned first = groupLine(text, "5", "3F");  // the ATTRIB's handle
  const unsigned second = groupLine(text, "5", "3F", 2);  // the LWPOLYLINE's
  ASSERT_LT(first, second);
  EXPECT_EQ(f.reason, "duplicate handle 3F (already used by the record at line " + std::to_string(first) + ")");
  EXPECT_EQ(f.line, second);
  EXPECT_NE(f.log.find(f.reason), std::string::npos);
}

TEST(DrawingLoadFailure, AMalformedPartLaterInTheFileComesBeforeWhatTheLoaderFound) {
  const std::string badHandle = replaced(plain(), "350\nD\n", "350\nZZ\n");
  const std::string nameless = namelessBlockRecord();
  struct Case {
    const char* name;
    std::string text;
    std::string alone;  // the reason without the later fault
  } cases[] = {
      {"dup-then-bad.dxf", replaced(badHandle, "5\n41\n", "5\n3F\n"), "duplicate handle 3F"},
      {"old-then-bad.dxf", replaced(badHandle, "AC1015", "AC1006"), "drawing version AC1006 is not supported"},
      {"nameless-then-bad.dxf", replaced(nameless, "350\nD\n", "350\nZZ\n"), "BLOCK_RECORD without a name (group 2)"},
  };
  for (const Case& c : cases) {
    Failure f = refusal(c.name, c.text);
    EXPECT_EQ(f.es, Acad::eDxfReadAborted) << c.name;
    EXPECT_NE(f.reason.find("\"ZZ\" of group 350 is not a handle"), std::string::npos) << c.name << ": " << f.reason;
    EXPECT_EQ(f.line, lineOf(c.text, "ZZ")) << c.name;
    Failure alone = refusal(std::string("alone-") + c.name, replaced(c.text, "350\nZZ\n", "350\nD\n"));
    EXPECT_NE(alone.reason.find(c.alone), std::string::npos) << c.name << ": " << alone.reason;
  }
}

TEST(DrawingLoadFailure, TheSmallestDuplicateComesFirstAndDuplicatesBeforeTheVersion) {
  std::string text = replaced(plain(), "AC1015", "AC1006");
  text = replaced(text, "5\n41\n", "5\n3F\n");  // 3F twice, found first while loading
  text = replaced(text, "5\n44\n", "5\n10\n");  // 10 twice, the second in OBJECTS
  Failure f = refusal("two-dups.dxf", text);
  EXPECT_EQ(f.reason, "duplicate handle 10 (already used by the record at line " +
                          std::to_string(groupLine(text, "5", "10")) + ")");
  EXPECT_EQ(f.line, groupLine(text, "5", "10", 2));
}

TEST(DrawingLoadFailure, TheLoadersOwnReasonNamesTheMissingVersion) {
  const std::string nameless = namelessBlockRecord();
  Failure f = refusal("nameless.dxf", nameless);
  EXPECT_EQ(f.reason, "BLOCK_RECORD without a name (group 2)");
  EXPECT_EQ(f.line, lineOf(nameless, "BLOCK_RECORD", 4) - 1);

  // Without $ACADVER the reason says which drawings can be read.
  Failure g = refusal("nameless-noversion.dxf", withoutLines(nameless, lineOf(nameless, "$ACADVER") - 1, 4));
  EXPECT_EQ(g.reason,
            "BLOCK_RECORD without a name (group 2) (the drawing names no $ACADVER; drawings of R12 (AC1009) and later can "
            "be read)");
}

TEST(DrawingLoadFailure, AVersionTooOldIsRefusedWhereverTheHeaderIs) {
  const std::string old = replaced(plain(), "AC1015", "AC1006");
  for (const std::string& text :
       {old, withSections(old, {"CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS", "HEADER"})}) {
    Failure f = refusal("old.dxf", text);
    EXPECT_EQ(f.reason, "drawing version AC1006 is not supported; drawings of R12 (AC1009) and later can be read");
    EXPECT_EQ(f.line, lineOf(text, "$ACADVER") - 1);
    EXPECT_EQ(f.log, pf::lastDxfFailure().text() + "\n");
  }
}

TEST(DrawingLoad, SectionsInAnotherOrderGiveTheSameDrawing) {
  DbScope ordered;
  const std::string inOrder = writeFile("ordered.dxf", plain());
  ASSERT_EQ(ordered->dxfIn(inOrder.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  const std::string savedInOrder = tempPath("ordered-out.dxf");
  ASSERT_EQ(ordered->dxfOut(savedInOrder.c_str()), Acad::eOk) << pf::lastDxfFailure().text();

  for (const std::string& text :
       {withSections(plain(), {"HEADER", "OBJECTS", "ENTITIES", "BLOCKS", "TABLES", "CLASSES"}),
        withSections(plain(), {"HEADER", "CLASSES", "TABLES", "BLOCKS", "OBJECTS", "ENTITIES"})}) {
    DbScope db;
    const std::string path = writeFile("reordered.dxf", text);
    const std::string log = tempPath("reordered.log");
    ASSERT_EQ(db->dxfIn(path.c_str(), log.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    EXPECT_EQ(readFile(log), "");
    EXPECT_EQ(blockContents(db.db, ACDB_MODEL_SPACE), (std::vector<std::string>{"3E", "41"}));
    EXPECT_EQ(attributesOf(db.db, "3E"), (std::vector<std::string>{"3F<3E"}));
    const std::string saved = tempPath("reordered-out.dxf");
    ASSERT_EQ(db->dxfOut(saved.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    EXPECT_EQ(readFile(saved), readFile(savedInOrder));

    // Out of order and malformed: refused like any malformed drawing.
    Failure f = refusal("reordered-bad.dxf", replaced(text, "350\nD\n", "350\nZZ\n"));
    EXPECT_NE(f.reason.find("is not a handle"), std::string::npos) << f.reason;
  }
}

// The block table a drawing without one gets takes handles above those read so far: read
// before the tables, it would take handle 2 from the LINE. The LINE loads as if the file were in
// order.
TEST(DrawingLoad, ARecordTheLoaderCouldNotAddBeforeASectionOutOfOrderLoadsInOrder) {
  const std::string text =
      "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nENDSEC\n"
      "0\nSECTION\n2\nENTITIES\n"
      "0\nLINE\n5\n2\n100\nAcDbEntity\n8\n0\n100\nAcDbLine\n10\n0.0\n20\n0.0\n30\n0.0\n11\n1.0\n21\n1.0\n31\n0.0\n"
      "0\nENDSEC\n"
      "0\nSECTION\n2\nTABLES\n"
      "0\nTABLE\n2\nLAYER\n5\n10\n100\nAcDbSymbolTable\n70\n1\n"
      "0\nLAYER\n5\n11\n330\n10\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n2\n0\n70\n0\n62\n7\n6\nContinuous\n"
      "0\nENDTAB\n0\nENDSEC\n0\nEOF\n";
  DbScope db;
  const std::string path = writeFile("line-first.dxf", text);
  ASSERT_EQ(db->dxfIn(path.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  EXPECT_EQ(blockContents(db.db, ACDB_MODEL_SPACE), (std::vector<std::string>{"2"}));
  AcDbObject* line = openByHandle(db.db, "2");
  ASSERT_NE(line, nullptr);
  EXPECT_NE(AcDbLine::cast(line), nullptr);
  line->close();
  EXPECT_GT(db->blockTableId().handle(), AcDbHandle("11"));
}

TEST(DrawingLoad, FollowersJoinTheEntityBeforeThemUntilTheirSequenceEnds) {
  const Lines entities = {
      // A sequence end after an entity that is not an insert stays with that entity.
      "0", "LINE", "5", "50", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbLine",
      "10", "0.0", "20", "0.0", "30", "0.0", "11", "1.0", "21", "0.0", "31", "0.0",
      "0", "SEQEND", "5", "51", "330", "50", "100", "AcDbEntity", "8", "0",
      "0", "INSERT", "5", "52", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbBlockReference", "66", "1",
      "2", "ROOMTAG", "10", "1.0", "20", "1.0", "30", "0.0",
      // An attribute naming the block as its owner still belongs to the insert.
      "0", "ATTRIB", "5", "53", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbText", "10", "1.0", "20",
      "1.0", "30", "0.0", "40", "2.5", "1", "a", "100", "AcDbAttribute", "2", "AREA", "70", "0",
      "0", "ATTRIB", "5", "54", "330", "52", "100", "AcDbEntity", "8", "0", "100", "AcDbText", "10", "1.0", "20",
      "1.0", "30", "0.0", "40", "2.5", "1", "b", "100", "AcDbAttribute", "2", "NAME", "70", "0",
      "0", "SEQEND", "5", "55", "330", "52", "100", "AcDbEntity", "8", "0",
      // After its sequence end, an attribute has no entity to join: it is an entity of its own.
      "0", "ATTRIB", "5", "56", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbText", "10", "1.0", "20",
      "1.0", "30", "0.0", "40", "2.5", "1", "c", "100", "AcDbAttribute", "2", "LONE", "70", "0",
      "0", "POLYLINE", "5", "57", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDb2dPolyline", "66", "1",
      "10", "0.0", "20", "0.0", "30", "0.0",
      "0", "VERTEX", "5", "58", "330", "57", "100", "AcDbEntity", "8", "0", "100", "AcDbVertex", "100", "AcDb2dVertex",
      "10", "1.0", "20", "1.0", "30", "0.0",
      "0", "VERTEX", "5", "59", "330", "57", "100", "AcDbEntity", "8", "0", "100", "AcDbVertex", "100", "AcDb2dVertex",
      "10", "2.0", "20", "1.0", "30", "0.0",
      "0", "SEQEND", "5", "5A", "330", "57", "100", "AcDbEntity", "8", "0",
      // The section ends before this insert's sequence does.
      "0", "INSERT", "5", "5B", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbBlockReference", "66", "1",
      "2", "ROOMTAG", "10", "2.0", "20", "2.0", "30", "0.0",
      "0", "ATTRIB", "5", "5C", "330", "5B", "100", "AcDbEntity", "8", "0", "100", "AcDbText", "10", "2.0", "20",
      "2.0", "30", "0.0", "40", "2.5", "1", "d", "100", "AcDbAttribute", "2", "AREA", "70", "0"};
  // In a block, its ENDBLK ends the list: a polyline whose vertex has no sequence end.
  const Lines inBlock = {
      "0", "POLYLINE", "5", "60", "330", "30", "100", "AcDbEntity", "8", "0", "100", "AcDb2dPolyline", "66", "1",
      "10", "0.0", "20", "0.0", "30", "0.0",
      "0", "VERTEX", "5", "61", "330", "60", "100", "AcDbEntity", "8", "0", "100", "AcDbVertex", "100", "AcDb2dVertex",
      "10", "1.0", "20", "1.0", "30", "0.0"};
  // The new entities go before the ENTITIES section's ENDSEC, the block's before ROOMTAG's ENDBLK (32).
  Lines lines = linesOf(insertedBefore(plain(), "32", inBlock));
  Lines ents = sectionLines(lines, "ENTITIES");
  Lines changed = ents;
  changed.insert(changed.end() - 2, entities.begin(), entities.end());
  const std::string text = replaced(textOf(lines), textOf(ents), textOf(changed));

  DbScope db;
  const std::string path = writeFile("followers.dxf", text);
  ASSERT_EQ(db->dxfIn(path.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  EXPECT_EQ(blockContents(db.db, ACDB_MODEL_SPACE),
            (std::vector<std::string>{"3E", "41", "50", "52", "56", "57:POLYLINE", "5B"}));
  EXPECT_EQ(attributesOf(db.db, "52"), (std::vector<std::string>{"53<52", "54<52"}));
  EXPECT_EQ(attributesOf(db.db, "5B"), (std::vector<std::string>{"5C<5B"}));
  EXPECT_EQ(blockContents(db.db, "ROOMTAG"), (std::vector<std::string>{"33", "60:POLYLINE"}));

  // Followers kept with their entity are written right after it, in order.
  const std::string out = tempPath("followers-out.dxf");
  ASSERT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  std::string order;
  for (const Record& r : readRecords(out))
    if (r.handle == "50" || r.handle == "51" || (r.handle >= "57" && r.handle <= "5A") || r.handle == "60" ||
        r.handle == "61")
      order += r.handle + " ";
  EXPECT_EQ(order, "60 61 50 51 57 58 59 5A ");
}
