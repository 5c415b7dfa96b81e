// export_test.cpp - ZORVIKEXPORT: columns, handle order, totals with the rounding difference,
// and files that cannot be written.
#include "toolkit_fixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace tktest {
namespace {

class ExportTest : public ToolkitTest {
protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    char dir[] = "/tmp/tk_export_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dir));
    dir_ = dir;
  }
  void TearDown() override {
    chmod(dir_.c_str(), 0700);
    std::remove((dir_ + "/plan.csv").c_str());
    rmdir(dir_.c_str());
    ToolkitTest::TearDown();
  }
  std::string exportTo(const std::string& path) {
    run(zorvikExportCommand, {path});
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::string hexOf(const AcDbObjectId& id) const { return pick(id).substr(1); }
  std::string dir_;
};

TEST_F(ExportTest, OneRowPerLinkedRoomInHandleOrderWithEveryAttributeAndATotal) {
  app()->setAreaPrec(1);
  // Rooms of 1/3 and 2/3: shown as 0.3 and 0.7, whose sum (1.0) equals the exact sum (1.0),
  // and a room of 0.25 shown as 0.2 (printf rounds half to even here), 0.05 below.
  const AcDbObjectId third = addRoom(ACDB_MODEL_SPACE, 0, 0, 1, 1.0 / 3);
  std::vector<AcDbObjectId> thirdAttributes;
  addTag(ACDB_MODEL_SPACE, AcGePoint3d(0.5, 0.1, 0), {{"NAME", "Hall, east"}, {"AREA", "?"}}, &thirdAttributes);
  const AcDbObjectId twoThirds = addRoom(ACDB_MODEL_SPACE, 2, 0, 1, 2.0 / 3);
  std::vector<AcDbObjectId> twoAttributes;
  addTag(ACDB_PAPER_SPACE, AcGePoint3d(9, 9, 0), {{"AREA", "?"}, {"NUMBER", "\"7\""}}, &twoAttributes);
  const AcDbObjectId quarter = addRoom(ACDB_MODEL_SPACE, 4, 0, 1, 0.25);
  const AcDbObjectId quarterArea = addAreaTag(ACDB_MODEL_SPACE, 4.5, 0.1, "Store");
  addRoom(ACDB_MODEL_SPACE, 10, 0, 1, 1);  // not linked: not listed
  linkDirectly(third, thirdAttributes[1]);
  linkDirectly(twoThirds, twoAttributes[0]);
  linkDirectly(quarter, quarterArea);

  const std::string csv = exportTo(dir_ + "/plan.csv");
  const std::string expected =
      "Handle,Space,Layer,Block,NAME,AREA,NUMBER,Shown,Area,Area/Divisor,Perimeter,Status\r\n" +
      hexOf(third) + ",Model,ROOMS,ROOMTAG,\"Hall, east\",0.3,,0.3,0.333333333333333,0.333333333333333,2.66666666666667,current\r\n" +
      hexOf(twoThirds) + ",Model,ROOMS,ROOMTAG,,0.7,\"\"\"7\"\"\",0.7,0.666666666666667,0.666666666666667,3.33333333333333,current\r\n" +
      hexOf(quarter) + ",Model,ROOMS,ROOMTAG,Store,0.2,,0.2,0.25,0.25,2.5,current\r\n" +
      "Total,,,,,,,1.2,,1.25,,difference -0.05\r\n";
  EXPECT_EQ(expected, csv);
  EXPECT_NE(std::string::npos, output().find("Schedule of 3 rooms written to " + dir_ + "/plan.csv.")) << output();
}

TEST_F(ExportTest, UnwritablePlacesGetAClearMessageAndLeaveNothing) {
  const AcDbObjectId room = addRoom(ACDB_MODEL_SPACE, 0, 0, 2, 2);
  linkDirectly(room, addAreaTag(ACDB_MODEL_SPACE, 1, 1));
  exportTo(dir_ + "/missing/plan.csv");
  EXPECT_NE(std::string::npos, output().find("The file " + dir_ +
                                             "/missing/plan.csv cannot be written (No such file or directory); "
                                             "nothing was written.")) << output();
  if (geteuid() != 0) {  // the superuser writes into read-only folders
    ASSERT_EQ(0, chmod(dir_.c_str(), 0500));
    exportTo(dir_ + "/plan.csv");
    EXPECT_NE(std::string::npos, output().find("(Permission denied); nothing was written.")) << output();
    chmod(dir_.c_str(), 0700);
  }
  EXPECT_NE(0, access((dir_ + "/plan.csv.tmp").c_str(), F_OK)) << "no temporary file is left";
}

TEST_F(ExportTest, APlanWithoutLinksWritesNoFile) {
  addRoom(ACDB_MODEL_SPACE, 0, 0, 2, 2);
  exportTo(dir_ + "/plan.csv");
  EXPECT_NE(std::string::npos, output().find("No linked room; the schedule would be empty")) << output();
  EXPECT_NE(0, access((dir_ + "/plan.csv").c_str(), F_OK));
}

}  // namespace
}  // namespace tktest
