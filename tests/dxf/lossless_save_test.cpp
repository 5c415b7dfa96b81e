// An unchanged drawing is saved as it was read, where writers differ from the platform's own
// order: the head of an object (owner, reactors, extension dictionary), the common entity groups
// (defaults written out too), the block table's count, the layout pointer of a block record,
// angles in degrees, and references the file made to handles it has no record for. A change that
// no longer fits the file's order gives the platform's order.
#include <gtest/gtest.h>

#include "dbents.h"
#include "dbsymtb.h"
#include "dxf_test_util.h"
#include "pf/dxf.h"

using namespace dxftest;

namespace {

// CRLF text of (code, value) pairs.
std::string groups(std::initializer_list<const char*> l) {
  std::string s;
  for (const char* v : l) s += std::string(v) + "\r\n";
  return s;
}

// The linked drawing with a LINE 34 and a TEXT 35 in model space, the block table counting 1.
// The LINE names its owner before its reactors, one of which (3A) no record has, another (FFF)
// is above the drawing's handle seed; its common groups come out of the platform's order, with a
// default (62 256) written out.
std::string drawing() {
  std::string text = linkedDrawing(true);
  const std::string head = "BLOCK_RECORD\r\n  5\r\n1\r\n330\r\n0\r\n100\r\nAcDbSymbolTable\r\n 70\r\n3\r\n";
  std::size_t at = text.find(head);
  if (at != std::string::npos) text.replace(at + head.size() - 3, 1, "1");
  const std::string extra =
      groups({"0", "LINE", "5", "34", "330", "1F", "102", "{ACAD_REACTORS", "330", "3A", "330", "FFF", "102", "}",
              "100", "AcDbEntity", "8", "0", "370", "-2", "62", "256", "6", "Continuous", "100", "AcDbLine",
              "10", "0.0", "20", "0.0", "30", "0.0", "11", "5.0", "21", "5.0", "31", "0.0"}) +
      groups({"0", "TEXT", "5", "35", "330", "1F", "100", "AcDbEntity", "8", "0", "100", "AcDbText", "10", "1.0",
              "20", "1.0", "30", "0.0", "40", "2.5", "1", "Hall", "50", "30.0", "51", "15.0", "100", "AcDbText"});
  at = text.find("ENTITIES\r\n");
  at = text.find("  0\r\nENDSEC", at);
  text.insert(at, extra);
  return text;
}

std::vector<std::string> codesAndValues(const Record& r) {
  std::vector<std::string> out;
  for (const auto& t : r.tags) out.push_back(std::to_string(t.first) + "=" + t.second);
  return out;
}

std::string save(DbScope& db, const std::string& name) {
  std::string out = tempPath(name);
  EXPECT_EQ(db->dxfOut(out.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  return out;
}

}  // namespace

TEST(LosslessSave, AnUnchangedDrawingKeepsTheOrderAndValuesOfItsFile) {
  const std::string in = writeFile("lossless-in.dxf", drawing());
  DbScope db;
  ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  const std::string out = save(db, "lossless-out.dxf");
  auto before = byHandle(readRecords(in));
  auto after = byHandle(readRecords(out));

  // The line as read, but for the reactor above the seed, which a new object may take.
  std::vector<std::string> line = codesAndValues(before["34"]);
  line.erase(std::find(line.begin(), line.end(), "330=FFF"));
  EXPECT_EQ(codesAndValues(after["34"]), line);
  // The polyline's reactors before its extension dictionary, as in the file.
  EXPECT_EQ(after["41"].codes().substr(0, 31), "5 102 330 102 102 360 102 330 1");
  // Angles come back with the digits they were read with.
  EXPECT_EQ(after["35"].first(50), "30.0");
  EXPECT_EQ(after["35"].first(51), "15.0");
  // The block table keeps its count; each block record its 340, 0 for an ordinary block.
  for (const Record& r : readRecords(out)) {
    if (r.type == "TABLE" && r.first(2) == "BLOCK_RECORD") {
      EXPECT_EQ(r.first(70), "1");
    }
  }
  for (const char* h : {"1F", "1B", "30"}) EXPECT_EQ(after[h].values(340), std::vector<std::string>{"0"}) << h;
}

TEST(LosslessSave, AChangedObjectKeepsTheFileOrderOnlyWhileItFits) {
  const std::string in = writeFile("lossless-change-in.dxf", drawing());
  DbScope db;
  ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
  AcDbObjectId lineId;
  ASSERT_EQ(db->getAcDbObjectId(lineId, false, AcDbHandle("34")), Acad::eOk);

  // A colour where the file had one: in its place.
  AcDbEntity* line = nullptr;
  ASSERT_EQ(acdbOpenObject(line, lineId, AcDb::kForWrite), Acad::eOk);
  line->setColorIndex(1);
  line->close();
  auto after = byHandle(readRecords(save(db, "lossless-change-1.dxf")));
  EXPECT_EQ(after["34"].codes(), "5 330 102 330 102 100 8 370 62 6 100 10 20 30 11 21 31");
  EXPECT_EQ(after["34"].first(62), "1");

  // A linetype scale the file did not have, and an extension dictionary: the platform's order.
  ASSERT_EQ(acdbOpenObject(line, lineId, AcDb::kForWrite), Acad::eOk);
  line->setLinetypeScale(2.0);
  ASSERT_EQ(line->createExtensionDictionary(), Acad::eOk);
  line->close();
  after = byHandle(readRecords(save(db, "lossless-change-2.dxf")));
  EXPECT_EQ(after["34"].codes(), "5 102 360 102 102 330 102 330 100 8 6 62 370 48 100 10 20 30 11 21 31");

  // A new block: the block table counts its records.
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(db->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
  AcDbBlockTableRecord* rec = new AcDbBlockTableRecord();
  rec->setName("NEWBLOCK");
  AcDbObjectId recId;
  ASSERT_EQ(table->add(recId, rec), Acad::eOk);
  rec->close();
  table->close();
  bool seen = false;
  for (const Record& r : readRecords(save(db, "lossless-change-3.dxf")))
    if (r.type == "TABLE" && r.first(2) == "BLOCK_RECORD") {
      EXPECT_EQ(r.first(70), "4");
      seen = true;
    }
  EXPECT_TRUE(seen);
}
