// real_records_test.cpp - the entity records of real drawings read through each class's
// dxfInFields and written back: the same subclass markers, and the same groups and values once
// the groups that only restate a default are left aside.
#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "dbproxy.h"
#include "entity_fixture.h"

namespace {

struct Record {
  std::string type;
  pf::TagList tags;  // the groups after "0 <type>"
};

// Every record of the ENTITIES and BLOCKS sections of an ASCII drawing.
std::vector<Record> readRecords(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<Record> out;
  std::string codeLine, value;
  int line = 0;
  Record* current = nullptr;
  while (std::getline(in, codeLine) && std::getline(in, value)) {
    line += 2;
    if (!value.empty() && value.back() == '\r') value.pop_back();
    const int code = std::stoi(codeLine);
    if (code == 0) {
      out.push_back(Record{value, {}});
      current = &out.back();
      continue;
    }
    if (current) current->tags.push_back(pf::Tag(code, value, line - 1));
  }
  return out;
}

AcDbEntity* newEntityFor(const std::string& type) {
  if (type == "LWPOLYLINE") return new AcDbPolyline();
  if (type == "TEXT") return new AcDbText();
  if (type == "ATTRIB") return new AcDbAttribute();
  if (type == "ATTDEF") return new AcDbAttributeDefinition();
  if (type == "INSERT") return new AcDbBlockReference();
  if (type == "LINE") return new AcDbLine();
  if (type == "CIRCLE") return new AcDbCircle();
  if (type == "SEQEND") return new AcDbSequenceEnd();
  return nullptr;
}

// Groups of later versions of the format, which a drawing saved in this one leaves out (a
// drawing of a later version is read, and saved in this version).
bool isLaterVersion(const std::string& type, const pf::Tag& t) {
  if ((type == "ATTRIB" || type == "ATTDEF") && t.code == 280) return true;  // version, lock
  if (type == "LWPOLYLINE" && t.code == 91) return true;                      // vertex ids
  return false;
}

// Groups a writer may leave out because they hold the default value, per record type.
bool isDefault(const std::string& type, const pf::Tag& t) {
  double v = 0.0;
  const bool number = pf::parseReal(t.text, v);
  static const std::set<int> zeroAnywhere = {38, 39, 210, 220};
  if (number && zeroAnywhere.count(t.code) && v == 0.0) return true;
  if (number && t.code == 230 && v == 1.0) return true;
  if (type == "INSERT") {
    if (number && (t.code == 41 || t.code == 42 || t.code == 43) && v == 1.0) return true;
    if (number && t.code == 50 && v == 0.0) return true;
    if (t.code == 66) return true;  // attributes are attached by the drawing reader
  }
  if (type == "TEXT" || type == "ATTRIB" || type == "ATTDEF") {
    if (number && t.code == 41 && v == 1.0) return true;
    if (number && (t.code == 50 || t.code == 51 || t.code == 71 || t.code == 72 ||
                   t.code == 73 || t.code == 74) && v == 0.0)
      return true;
  }
  return false;
}

// The class's own groups: everything from the first subclass marker after AcDbEntity on,
// without the groups that restate a default.
pf::TagList ownGroups(const std::string& type, const pf::TagList& tags) {
  pf::TagList out;
  bool inside = false;
  for (const pf::Tag& t : tags) {
    if (t.code == 100 && t.text != "AcDbEntity") inside = true;
    if (inside && !isDefault(type, t) && !isLaterVersion(type, t)) out.push_back(t);
  }
  return out;
}

class RealRecordsTest : public EntityTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RealRecordsTest, EntityRecordsReadAndWriteBackTheirGroups) {
  const std::string path = std::string(ZORVIK_SHARED_DIR) + "/interop/real-dxf/" + GetParam();
  const std::vector<Record> records = readRecords(path);
  ASSERT_FALSE(records.empty()) << path;
  std::map<std::string, int> seen;
  for (const Record& rec : records) {
    AcDbEntity* ent = newEntityFor(rec.type);
    if (ent == nullptr) continue;
    ++seen[rec.type];
    const int line = rec.tags.empty() ? 0 : rec.tags.front().line;
    // As the drawing reader and writer do it: the fields, then the extended data.
    pf::TagDxfFiler in(db, rec.tags);
    ASSERT_EQ(pf::dxfInObject(ent, &in), Acad::eOk) << rec.type << " at line " << line << ": "
                                                    << in.errorMessage();
    EXPECT_TRUE(in.atEOF()) << rec.type << " at line " << line << " not read to its end";
    pf::TagDxfFiler out(db);
    ASSERT_EQ(pf::dxfOutObject(ent, &out), Acad::eOk);
    const pf::TagList& written = out.tags();
    const pf::TagList want = ownGroups(rec.type, rec.tags);
    const pf::TagList got = ownGroups(rec.type, written);
    ASSERT_EQ(codes(got), codes(want)) << rec.type << " at line " << line;
    for (size_t i = 0; i < want.size(); ++i) {
      double a = 0, b = 0;
      if (pf::tagKind(want[i].code) == pf::TagKind::String) {
        EXPECT_EQ(got[i].text, want[i].text) << rec.type << " at line " << line;
      } else if (pf::parseReal(want[i].text, a) && pf::parseReal(got[i].text, b)) {
        EXPECT_NEAR(b, a, 1e-12 * std::fmax(1.0, std::fabs(a)))
            << rec.type << " at line " << line << " group " << want[i].code;
      }
    }
    delete ent;
  }
  EXPECT_FALSE(seen.empty()) << "no modelled entity in " << path;
}

// Damaged records: each group in turn left out, or given a value of the wrong kind. Reading
// must answer a status (never crash or read past the record), and what it accepts must write.
TEST_P(RealRecordsTest, DamagedRecordsAreReadSafely) {
  const std::string path = std::string(ZORVIK_SHARED_DIR) + "/interop/real-dxf/" + GetParam();
  std::map<std::string, int> perType;
  for (const Record& rec : readRecords(path)) {
    AcDbEntity* probe = newEntityFor(rec.type);
    if (probe == nullptr) continue;
    delete probe;
    if (++perType[rec.type] > 2) continue;  // two records of each type are enough
    for (size_t i = 0; i < rec.tags.size(); ++i) {
      for (int damage = 0; damage < 2; ++damage) {
        pf::TagList tags = rec.tags;
        if (damage == 0)
          tags.erase(tags.begin() + static_cast<long>(i));
        else
          tags[i].text = "#";
        AcDbEntity* ent = newEntityFor(rec.type);
        pf::TagDxfFiler in(db, tags);
        const Acad::ErrorStatus es = pf::dxfInObject(ent, &in);
        if (es == Acad::eOk) {
          pf::TagDxfFiler out(db);
          EXPECT_EQ(pf::dxfOutObject(ent, &out), Acad::eOk)
              << rec.type << " with group " << i << " damaged (" << damage << ")";
        } else {
          EXPECT_NE(std::string(in.errorMessage()), "")
              << rec.type << " refused without a message, group " << i << " damaged (" << damage
              << "), status " << es;
        }
        delete ent;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Drawings, RealRecordsTest,
                         ::testing::Values("entities-2d.dxf", "entities-3d.dxf",
                                           "example_2000.dxf", "sample_2000.dxf", "TS1.dxf",
                                           "Leader_2000.dxf", "Constraints.dxf"));

}  // namespace
