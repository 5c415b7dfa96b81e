// audit_test.cpp - ZORVIKAUDIT: every kind of finding, a clean plan, fix mode, the report file
// and the verdict left in EXITCODE.
#include "toolkit_fixture.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "dbdict.h"
#include "pf/sysvars.h"

namespace tktest {
namespace {

class AuditTest : public ToolkitTest {
protected:
  void SetUp() override {
    ToolkitTest::SetUp();
    pf::defineIntegerVariable("EXITCODE", 0, 0, 125);
  }
  void TearDown() override {
    pf::removeVariable("EXITCODE");
    ToolkitTest::TearDown();
  }
  void audit(bool fix, const std::string& report = "") { run(zorvikAuditCommand, {fix ? "Yes" : "", report}); }
  bool said(const std::string& text) const { return output().find(text) != std::string::npos; }
  std::string hexOf(const AcDbObjectId& id) const { return pick(id).substr(1); }
  AcDbObjectId linkOf(const AcDbObjectId& room) const {
    AcDbPolyline* polyline = nullptr;
    EXPECT_EQ(Acad::eOk, acdbOpenObject(polyline, room, AcDb::kForRead));
    const AcDbObjectId dictionaryId = polyline->extensionDictionary();
    polyline->close();
    AcDbDictionary* dictionary = nullptr;
    EXPECT_EQ(Acad::eOk, acdbOpenObject(dictionary, dictionaryId, AcDb::kForRead));
    AcDbObjectId link;
    dictionary->getAt("ZORVIK", link);
    dictionary->close();
    return link;
  }
  void addReactor(const AcDbObjectId& room, const AcDbObjectId& reactor) {
    AcDbPolyline* polyline = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(polyline, room, AcDb::kForWrite));
    polyline->addPersistentReactor(reactor);
    polyline->close();
  }
  int reactorCount(const AcDbObjectId& room) const {
    AcDbPolyline* polyline = nullptr;
    EXPECT_EQ(Acad::eOk, acdbOpenObject(polyline, room, AcDb::kForRead));
    const int n = polyline->reactors() ? polyline->reactors()->length() : 0;
    polyline->close();
    return n;
  }
  // A room with its tag inside, linked and current.
  AcDbObjectId addLinkedRoom(double x, AcDbObjectId* area = nullptr) {
    const AcDbObjectId room = addRoom(ACDB_MODEL_SPACE, x, 0, 4, 5);
    const AcDbObjectId attribute = addAreaTag(ACDB_MODEL_SPACE, x + 2, 2);
    linkDirectly(room, attribute);
    if (area) *area = attribute;
    return room;
  }
  const char* clean = "Audit: 0 stale, 0 broken, 0 foreign, 0 double, 0 shared, 0 dangling, 0 unlinked, 0 orphan.";
};

TEST_F(AuditTest, ACleanPlanReportsNothingAndLeavesZero) {
  addLinkedRoom(0);
  addLinkedRoom(10);
  pf::setIntegerVariable("EXITCODE", 7);
  audit(false);
  EXPECT_TRUE(said(clean)) << output();
  EXPECT_EQ(0, pf::integerVariable("EXITCODE"));
  EXPECT_EQ(0u, remainingAnswers_);
}

TEST_F(AuditTest, StaleTextIsFoundAgainstTheCurrentSettingsAndFixedOnRequest) {
  AcDbObjectId area;
  const AcDbObjectId room = addLinkedRoom(0, &area);
  app()->setAreaPrec(3);  // Update would now write three decimals
  audit(false);
  EXPECT_TRUE(said("stale: room #" + hexOf(room) + ", attribute #" + hexOf(area) +
                   " shows \"20.00\", Update writes \"20.000\".")) << output();
  EXPECT_EQ("20.00", attributeText(area)) << "No changes nothing";
  EXPECT_EQ(3, pf::integerVariable("EXITCODE"));
  audit(true);
  EXPECT_EQ("20.000", attributeText(area));
  EXPECT_TRUE(said("Fixed: 1 stale, 0 broken, 0 foreign, 0 dangling.")) << output();
  EXPECT_EQ(0, pf::integerVariable("EXITCODE"));
}

TEST_F(AuditTest, BrokenLinksOfEveryKindAreFoundAndRemovedByTheFix) {
  const AcDbObjectId noAttribute = addRoom(ACDB_MODEL_SPACE, 0, 0, 4, 4);
  linkDirectly(noAttribute, AcDbObjectId());  // as a copy leaves it
  AcDbObjectId erasedArea;
  const AcDbObjectId erased = addLinkedRoom(10, &erasedArea);
  eraseObject(erasedArea);
  const AcDbObjectId notAttribute = addRoom(ACDB_MODEL_SPACE, 20, 0, 4, 4);
  linkDirectly(notAttribute, addLine(ACDB_MODEL_SPACE));
  audit(false);
  for (const AcDbObjectId& room : {noAttribute, erased, notAttribute})
    EXPECT_TRUE(said("broken: room #" + hexOf(room))) << output();
  EXPECT_TRUE(said("Audit: 0 stale, 3 broken,")) << output();
  EXPECT_EQ(3, pf::integerVariable("EXITCODE"));
  audit(true);
  EXPECT_TRUE(said("Fixed: 0 stale, 3 broken, 0 foreign, 0 dangling.")) << output();
  EXPECT_TRUE(linkedAttribute(noAttribute).isNull());
  EXPECT_EQ(0, reactorCount(noAttribute));
  EXPECT_TRUE(linkOf(noAttribute).isNull()) << "the link left the dictionary as well";
  EXPECT_EQ(0, pf::integerVariable("EXITCODE"));
}

TEST_F(AuditTest, ForeignAndDoubleLinksOfADamagedDrawingAreFoundAndTheForeignOneRemoved) {
  AcDbObjectId firstArea, secondArea;
  const AcDbObjectId first = addLinkedRoom(0, &firstArea);
  const AcDbObjectId second = addLinkedRoom(10, &secondArea);
  // Other software left the first room's link in the second room's reactor list: editing the
  // second room would rewrite the first room's tag.
  addReactor(second, linkOf(first));
  audit(false);
  EXPECT_TRUE(said("foreign: room #" + hexOf(second) + " (#" + hexOf(linkOf(first)) + ")")) << output();
  EXPECT_TRUE(said("double: room #" + hexOf(second))) << output();
  EXPECT_EQ(3, pf::integerVariable("EXITCODE"));
  audit(true);
  EXPECT_EQ(1, reactorCount(second));
  EXPECT_EQ(secondArea, linkedAttribute(second));
  EXPECT_TRUE(said("Fixed: 0 stale, 0 broken, 1 foreign, 0 dangling.")) << output();
  pf::setIntegerVariable("EXITCODE", 0);
  audit(false);
  EXPECT_EQ(0, pf::integerVariable("EXITCODE")) << "nothing left once the foreign entry is gone";
  (void)firstArea;
}

TEST_F(AuditTest, SharedDanglingUnlinkedAndOrphanAreReportedAndOnlyDanglingIsFixed) {
  AcDbObjectId area;
  const AcDbObjectId room = addLinkedRoom(0, &area);
  const AcDbObjectId twin = addRoom(ACDB_MODEL_SPACE, 0, 0, 4, 5);
  linkDirectly(twin, area);
  // Relinking leaves the old link's reactor entry behind.
  const AcDbObjectId relinked = addLinkedRoom(10);
  linkDirectly(relinked, addAreaTag(ACDB_MODEL_SPACE, 12, 3));
  const AcDbObjectId unlinked = addRoom(ACDB_MODEL_SPACE, 20, 0, 4, 4);
  addOutline(ACDB_MODEL_SPACE, {{40, 0}, {44, 0}, {44, 4}, {40, 4}});  // same layer, so unlinked too
  const AcDbObjectId orphanArea = addAreaTag(ACDB_MODEL_SPACE, 100, 100);
  audit(false);
  EXPECT_TRUE(said("shared: room #" + hexOf(room) + " (#" + hexOf(area) + ", #" + hexOf(twin) + ")")) << output();
  EXPECT_TRUE(said("dangling: room #" + hexOf(relinked))) << output();
  EXPECT_TRUE(said("unlinked: room #" + hexOf(unlinked) + ".")) << output();
  EXPECT_TRUE(said("orphan: tag #")) << output();
  EXPECT_TRUE(said("Audit: 0 stale, 0 broken, 0 foreign, 0 double, 2 shared, 1 dangling, 2 unlinked,")) << output();
  EXPECT_EQ(0, pf::integerVariable("EXITCODE")) << "none of these fails a CI run";
  audit(true);
  EXPECT_EQ(1, reactorCount(relinked));
  EXPECT_TRUE(said("Fixed: 0 stale, 0 broken, 0 foreign, 1 dangling.")) << output();
  EXPECT_EQ(area, linkedAttribute(twin)) << "shared links are only reported";
  (void)orphanArea;
}

TEST_F(AuditTest, TheReportFileHoldsEveryFindingAsCsv) {
  AcDbObjectId area;
  const AcDbObjectId room = addLinkedRoom(0, &area);
  app()->setDivisor(2.0);
  char dir[] = "/tmp/tk_audit_XXXXXX";
  ASSERT_NE(nullptr, mkdtemp(dir));
  const std::string path = std::string(dir) + "/audit, report.csv";
  audit(false, path);
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ("Status,Handle,Others,Shown,Expected,Fixed\r\nstale," + hexOf(room) + "," + hexOf(area) + ",20.00,10.00,no\r\n",
            text.str());
  std::remove(path.c_str());
  audit(false, std::string(dir) + "/missing/report.csv");
  EXPECT_TRUE(said("cannot be written (No such file or directory); nothing was written.")) << output();
  rmdir(dir);
}

}  // namespace
}  // namespace tktest
