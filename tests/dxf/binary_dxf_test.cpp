// Binary DXF: a drawing read binary is saved binary (and ASCII when asked), the groups survive
// ASCII -> binary -> ASCII, and a damaged binary file is refused with where it breaks.
#include <gtest/gtest.h>

#include "dxf_test_util.h"
#include "pf/dxf.h"
#include "db/db_services.h"
#include "tag_compare.h"

using namespace dxftest;

namespace {

const std::string kSentinel("AutoCAD Binary DXF\r\n\x1a\0", 22);

}  // namespace

TEST(BinaryDxf, ReadsAndSavesInTheFormReadAndLosesNothing) {
  const std::string in = writeFile("bin-in.dxf", linkedDrawing(true));
  const std::string bin = tempPath("bin-1.dxf"), bin2 = tempPath("bin-2.dxf"), back = tempPath("bin-back.dxf");
  {
    DbScope db;
    ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    EXPECT_EQ(pf::dxfForm(db.db), pf::DxfForm::kAscii);
    ASSERT_EQ(pf::dxfOutAs(db.db, bin.c_str(), pf::DxfForm::kBinary), Acad::eOk) << pf::lastDxfFailure().text();
  }
  const std::string bytes = readFile(bin);
  ASSERT_GT(bytes.size(), kSentinel.size());
  EXPECT_EQ(bytes.substr(0, 22), kSentinel);
  // The first group: code 0 in two little-endian bytes, then "SECTION" and its NUL.
  EXPECT_EQ(bytes.substr(22, 10), std::string("\0\0SECTION\0", 10));
  {
    DbScope db;
    ASSERT_EQ(db->dxfIn(bin.c_str()), Acad::eOk) << pf::lastDxfFailure().text();
    EXPECT_EQ(pf::dxfForm(db.db), pf::DxfForm::kBinary);
    EXPECT_EQ(pf::dxfVersion(db.db), "AC1015");
    ASSERT_EQ(db->dxfOut(bin2.c_str()), Acad::eOk) << pf::lastDxfFailure().text();  // binary again
    ASSERT_EQ(pf::dxfOutAs(db.db, back.c_str(), pf::DxfForm::kAscii), Acad::eOk);
  }
  EXPECT_EQ(readFile(bin2), bytes);
  EXPECT_NE(readFile(back).substr(0, 22), kSentinel);
  const TagDifferences d = compareTags(in, back);
  EXPECT_EQ(d.count, 0u) << d.text();
}

TEST(BinaryDxf, RefusesADamagedFileSayingWhereAndLeavesTheDatabaseEmpty) {
  const std::string in = writeFile("bin-good-in.dxf", linkedDrawing());
  const std::string bin = tempPath("bin-good.dxf");
  {
    DbScope db;
    ASSERT_EQ(db->dxfIn(in.c_str()), Acad::eOk);
    ASSERT_EQ(pf::dxfOutAs(db.db, bin.c_str(), pf::DxfForm::kBinary), Acad::eOk);
  }
  const std::string bytes = readFile(bin);
  struct Case {
    const char* name;
    std::string data;
    const char* reason;
  } cases[] = {
      {"cut short", bytes.substr(0, bytes.size() / 2), "truncated"},
      {"sentinel only", kSentinel, "no 0 EOF"},
      {"unknown code", kSentinel + std::string("\x59\x00" "1\0", 4), "group code 89 is not a DXF group code"},
      {"half a group code", bytes.substr(0, bytes.size() - 6) + std::string(1, '\0'), "truncated inside a group code"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = writeFile(std::string("bin-bad-") + std::to_string(&c - cases) + ".dxf", c.data);
    DbScope db;
    EXPECT_EQ(db->dxfIn(path.c_str()), Acad::eDxfReadAborted);
    const std::string why = pf::lastDxfFailure().reason;
    EXPECT_NE(why.find("binary DXF, byte "), std::string::npos) << why;
    EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    EXPECT_TRUE(pf::allObjectIds(db.db).empty());
  }
}
