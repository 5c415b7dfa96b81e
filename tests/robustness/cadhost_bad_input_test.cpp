// cadhost_bad_input_test.cpp - bad input given to the cadhost program end to end: damaged and
// hostile drawings, a damaged registry hive, scripts with unknown commands and stray dialog
// answers. Each must end with a clear message, exit status 1 where the run cannot go on, never
// a crash, and never a written (or half-written) output file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_cadhost.h"

namespace robust {
namespace {

std::string example() { return readFile(std::string(ZORVIK_SOURCE_DIR) + "/examples/floorplan.dxf"); }

// Inserts `records` just before the end of the example's ENTITIES section.
std::string withEntities(const std::string& records) {
  std::string text = example();
  const size_t entities = text.find("ENTITIES");
  size_t end = text.find("\nENDSEC", entities);
  end = text.rfind("\n", end - 1) + 1;
  text.insert(end, records);
  return text;
}

class BadDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = freshDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    drawing_ = dir_ + "/in.dxf";
    out_ = dir_ + "/out.dxf";
  }

  RunResult runOn(const std::string& bytes) {
    writeFile(drawing_, bytes);
    return runCadhost({drawing_, "-l", ZORVIK_MODULE, "-c", "LIST;#1;;", "-o", out_, "--registry", dir_ + "/user.reg"});
  }

  // The run stopped before anything ran: status 1, a message naming the drawing, no output,
  // no temporary file left beside it.
  void expectRefused(const RunResult& r, const std::string& why) {
    EXPECT_EQ(r.status, 1) << r.describe();
    EXPECT_NE(r.err.find("in.dxf"), std::string::npos) << "the message names the drawing\n" << r.describe();
    EXPECT_NE(r.err.find(why), std::string::npos) << "expected \"" << why << "\"\n" << r.describe();
    EXPECT_FALSE(exists(out_)) << r.describe();
    EXPECT_EQ(filesIn(dir_).size(), 1u) << "only the input is left";  // in.dxf
  }

  // The run went on: status 0 and an output that cadhost reads again.
  void expectReadable(const RunResult& r) {
    ASSERT_EQ(r.signal, 0) << r.describe();
    ASSERT_EQ(r.status, 0) << r.describe();
    ASSERT_TRUE(exists(out_));
    const RunResult again = runCadhost({out_, "-c", "QUIT", "--registry", dir_ + "/user.reg"});
    EXPECT_EQ(again.status, 0) << again.describe();
  }

  std::string dir_, drawing_, out_;
};

TEST_F(BadDrawing, EmptyFileIsRefused) { expectRefused(runOn(""), "in.dxf"); }

TEST_F(BadDrawing, TruncatedFilesAreRefusedWithTheirLine) {
  const std::string full = example();
  for (size_t cut : {full.size() / 3, full.size() / 2, full.size() - 10}) {
    SCOPED_TRACE(cut);
    const RunResult r = runOn(full.substr(0, cut));
    expectRefused(r, "in.dxf:");
  }
}

TEST_F(BadDrawing, BinaryDataIsRefused) {
  std::string binary("AutoCAD Binary DXF\r\n\x1a\0", 22);
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 131 + 7) & 0xff);
  expectRefused(runOn(binary), "in.dxf");
  std::string noise;
  for (int i = 0; i < 4096; ++i) noise += static_cast<char>((i * 197 + 3) & 0xff);
  expectRefused(runOn(noise), "in.dxf");
}

TEST_F(BadDrawing, HugeVertexCountIsNeverTrustedForAllocation) {
  // 2^31 vertices announced, two given: refused or read with the vertices that are there, but
  // never a crash or an attempt to reserve 2^31 vertices.
  for (const char* count : {"2147483648", "2147483647", "-1"}) {
    SCOPED_TRACE(count);
    const RunResult r = runOn(withEntities(std::string("  0\nLWPOLYLINE\n  5\nF001\n100\nAcDbEntity\n  8\n0\n100\nAcDbPolyline\n 90\n") +
                                     count + "\n 70\n1\n 10\n0\n 20\n0\n 10\n5\n 20\n5\n"));
    ASSERT_EQ(r.signal, 0) << r.describe();
    if (r.status == 1) expectRefused(r, "in.dxf:");
    else expectReadable(r);
  }
}

TEST_F(BadDrawing, TenMegabyteStringIsReadAndSaved) {
  const std::string big(10 * 1024 * 1024, 'x');
  const RunResult r = runOn(withEntities("  0\nTEXT\n  5\nF002\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n 10\n0\n 20\n0\n 30\n0\n"
                                   " 40\n1\n  1\n" + big + "\n100\nAcDbText\n"));
  expectReadable(r);
  EXPECT_NE(readFile(out_).find(big), std::string::npos) << "the long text survives the round trip";
}

TEST_F(BadDrawing, HandleOfFortyHexDigitsIsRefusedWithItsLine) {
  const RunResult r = runOn(withEntities("  0\nLINE\n  5\n1234567890ABCDEF1234567890ABCDEF12345678\n100\nAcDbEntity\n  8\n0\n"
                                   "100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n 11\n1\n 21\n1\n 31\n0\n"));
  expectRefused(r, "in.dxf:");
}

TEST_F(BadDrawing, DuplicateHandleIsRefusedWithItsLine) {
  const std::string line = "  0\nLINE\n  5\nF003\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n"
                           " 11\n1\n 21\n1\n 31\n0\n";
  const RunResult r = runOn(withEntities(line + line));
  expectRefused(r, "in.dxf:");
}

TEST_F(BadDrawing, CyclicOwnersNeverHangOrCrash) {
  // Two dictionaries that own each other, and an entity whose owner is itself.
  const std::string cyc =
      "  0\nLINE\n  5\nF004\n330\nF004\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n 10\n0\n 20\n0\n 30\n0\n"
      " 11\n1\n 21\n1\n 31\n0\n";
  RunResult r = runOn(withEntities(cyc));
  ASSERT_EQ(r.signal, 0) << r.describe();
  if (r.status == 1) expectRefused(r, "in.dxf:");
  else expectReadable(r);

  std::string text = example();
  const std::string dicts =
      "  0\nDICTIONARY\n  5\nF010\n330\nF011\n100\nAcDbDictionary\n  3\nB\n350\nF011\n"
      "  0\nDICTIONARY\n  5\nF011\n330\nF010\n100\nAcDbDictionary\n  3\nA\n350\nF010\n";
  const size_t objects = text.find("OBJECTS");
  ASSERT_NE(objects, std::string::npos);
  size_t end = text.find("\nENDSEC", objects);
  end = text.rfind("\n", end - 1) + 1;
  text.insert(end, dicts);
  r = runOn(text);
  ASSERT_EQ(r.signal, 0) << r.describe();
  if (r.status == 1) expectRefused(r, "in.dxf:");
  else expectReadable(r);
}

TEST(BadRegistry, GarbageHiveIsReportedLeftUntouchedAndTheRunGoesOn) {
  const std::string dir = freshDir("BadRegistryGarbage");
  std::string garbage = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\r\n\"x\"=dword:zz\r\n";
  for (int i = 0; i < 300; ++i) garbage += static_cast<char>((i * 73 + 11) & 0xff);
  writeFile(dir + "/user.reg", garbage);
  const RunResult r = runCadhost({"-l", ZORVIK_MODULE, "-c", "ZORVIK;Update", "--registry", dir + "/user.reg"});
  EXPECT_EQ(r.signal, 0) << r.describe();
  EXPECT_EQ(r.status, 0) << r.describe();
  EXPECT_NE(r.err.find("user.reg"), std::string::npos) << "the hive is named\n" << r.describe();
  EXPECT_NE(r.out.find("Number of updated entities: 0"), std::string::npos) << r.describe();
  EXPECT_EQ(readFile(dir + "/user.reg"), garbage) << "a damaged hive is never overwritten";
}

TEST(BadScript, UnknownCommandsAndStrayDialogAnswersAreReportedAndSkipped) {
  const std::string dir = freshDir("BadScriptUnknown");
  writeFile(dir + "/run.scr", "FROBNICATE\n@ok\n@select 2016 AREA\nZORVIK\nUpdate\nNOSUCH\n");
  const RunResult r = runCadhost({"-l", ZORVIK_MODULE, "-s", dir + "/run.scr", "-o", dir + "/out.dxf", "--registry", dir + "/user.reg"});
  EXPECT_EQ(r.signal, 0) << r.describe();
  EXPECT_EQ(r.status, 0) << r.describe();
  EXPECT_NE(r.out.find("Unknown command \"FROBNICATE\""), std::string::npos) << r.describe();
  EXPECT_NE(r.out.find("Unknown command \"NOSUCH\""), std::string::npos) << r.describe();
  EXPECT_NE((r.out + r.err).find("@ok"), std::string::npos) << "the stray answer is reported\n" << r.describe();
  EXPECT_NE(r.out.find("Number of updated entities: 0"), std::string::npos) << "the script went on\n" << r.describe();
  EXPECT_TRUE(exists(dir + "/out.dxf"));
}

TEST(BadScript, BinaryScriptIsRefusedBeforeAnythingRuns) {
  const std::string dir = freshDir("BadScriptBinary");
  writeFile(dir + "/run.scr", std::string("ZORVIK\n\0\x01\x02\xff\xfe\n", 12));
  const RunResult r = runCadhost({"-l", ZORVIK_MODULE, "-s", dir + "/run.scr", "-o", dir + "/out.dxf", "--registry", dir + "/user.reg"});
  EXPECT_EQ(r.status, 1) << r.describe();
  EXPECT_NE(r.err.find("run.scr"), std::string::npos) << r.describe();
  EXPECT_FALSE(exists(dir + "/out.dxf"));
}

}  // namespace
}  // namespace robust
