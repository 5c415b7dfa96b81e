// update_test.cpp - the Update option: what it collects, what it rewrites and counts, the
// progress meter, and the failures it logs.
#include "cmd_fixture.h"

namespace cmdtest {
namespace {

class UpdateTest : public CommandTest {
protected:
  // A rectangle of the given size in `space`, linked to a fresh attribute whose text is "old".
  struct Link {
    AcDbObjectId polyline;
    AcDbObjectId attribute;
  };
  Link addLinkedRectangle(const char* space, double w, double h) {
    Link link;
    link.polyline = addRectangle(space, 0, 0, w, h);
    std::vector<AcDbObjectId> attributes;
    addBlockReference(space, {{"AREA", "old"}}, &attributes);
    link.attribute = attributes.at(0);
    linkDirectly(link.polyline, link.attribute);
    return link;
  }
  std::string countMessage(int n) const {
    return "Number of updated entities: " + std::to_string(n);
  }
};

TEST_F(UpdateTest, DrawingWithoutPolylinesShowsTheMeterAndCountsZero) {
  StatusBarRecorder bar;
  updateOption();
  ASSERT_EQ(2u, bar.events.size());
  EXPECT_EQ(pf::StatusBarEvent::kMeterStarted, bar.events[0].kind);
  EXPECT_EQ("Processing entities", bar.events[0].label);
  EXPECT_EQ(0, bar.events[0].min);
  EXPECT_EQ(100, bar.events[0].max);
  EXPECT_EQ(pf::StatusBarEvent::kRestored, bar.events[1].kind);
  EXPECT_NE(std::string::npos, output().find(countMessage(0))) << output();
  EXPECT_EQ(0, errorCount());
}

TEST_F(UpdateTest, RewritesLinksOfBothSpacesOnlyAndCountsThem) {
  app()->setAutoUpdate(false);  // links keep "old" until Update runs
  const Link model = addLinkedRectangle(ACDB_MODEL_SPACE, 10, 20);
  const Link paper = addLinkedRectangle(ACDB_PAPER_SPACE, 3, 0.5);
  // A linked polyline inside a block definition is neither collected nor updated.
  const AcDbObjectId inBlock = addRectangleToBlock("FRAME", 0, 0, 4, 4);
  std::vector<AcDbObjectId> blockAttributes;
  addBlockReference(ACDB_MODEL_SPACE, {{"AREA", "old"}}, &blockAttributes);
  linkDirectly(inBlock, blockAttributes[0]);
  // Unlinked polylines are visited but not counted.
  addRectangle(ACDB_MODEL_SPACE, 50, 50, 1, 1);
  addRectangle(ACDB_PAPER_SPACE, 50, 50, 1, 1);
  addLine(ACDB_MODEL_SPACE);
  ASSERT_EQ("old", attributeText(model.attribute));

  StatusBarRecorder bar;
  updateOption();
  EXPECT_EQ("200.00", attributeText(model.attribute));
  EXPECT_EQ(6, attributeFieldLength(model.attribute));
  EXPECT_EQ("1.50", attributeText(paper.attribute));
  EXPECT_EQ("old", attributeText(blockAttributes[0]));
  EXPECT_NE(std::string::npos, output().find(countMessage(2))) << output();
  // Four polylines were collected: positions 25, 50 and 75.
  EXPECT_EQ((std::vector<int>{25, 50, 75}), bar.positions());
  EXPECT_EQ(0, errorCount());
}

TEST_F(UpdateTest, UsesTheCurrentDivisorAndPrecision) {
  const Link link = addLinkedRectangle(ACDB_MODEL_SPACE, 25, 10);
  app()->setDivisor(100.0);
  app()->setAreaPrec(3);
  updateOption();
  EXPECT_EQ("2.500", attributeText(link.attribute));
}

TEST_F(UpdateTest, ErasedAttributeOrNullLinkIsVisitedButNotCounted) {
  const Link erased = addLinkedRectangle(ACDB_MODEL_SPACE, 2, 2);
  eraseObject(erased.attribute);
  const AcDbObjectId repaired = addRectangle(ACDB_MODEL_SPACE, 0, 0, 3, 3);
  linkDirectly(repaired, AcDbObjectId());  // a link that names no attribute
  const Link good = addLinkedRectangle(ACDB_MODEL_SPACE, 4, 4);
  updateOption();
  EXPECT_EQ("16.00", attributeText(good.attribute));
  EXPECT_NE(std::string::npos, output().find(countMessage(1))) << output();
  EXPECT_EQ(0, errorCount());
}

TEST_F(UpdateTest, AutoUpdateOffStillRewritesEveryLink) {
  app()->setAutoUpdate(false);
  const Link link = addLinkedRectangle(ACDB_MODEL_SPACE, 5, 5);
  ASSERT_EQ("old", attributeText(link.attribute));
  updateOption();
  EXPECT_EQ("25.00", attributeText(link.attribute));
  EXPECT_NE(std::string::npos, output().find(countMessage(1)));
}

TEST_F(UpdateTest, ProgressPositionsAreSentOnlyWhenThePercentageGrows) {
  {
    addRectangle(ACDB_MODEL_SPACE, 0, 0, 1, 1);
    StatusBarRecorder bar;
    updateOption();
    EXPECT_TRUE(bar.positions().empty()) << "one polyline sends no position";
  }
  {
    addRectangle(ACDB_MODEL_SPACE, 0, 0, 1, 1);
    addRectangle(ACDB_PAPER_SPACE, 0, 0, 1, 1);
    StatusBarRecorder bar;
    updateOption();
    EXPECT_EQ((std::vector<int>{33, 66}), bar.positions());
  }
  {
    for (int i = 3; i < 100; ++i) addRectangle(ACDB_MODEL_SPACE, i, 0, 1, 1);
    StatusBarRecorder bar;
    updateOption();
    // (i / 100) * 100 in double precision truncates to 28 for i = 29 and to 56 and 57 for
    // i = 57 and 58, so 29 and 58 are never sent; 0 and 100 never are either.
    std::vector<int> expected;
    for (int p = 1; p < 100; ++p)
      if (p != 29 && p != 58) expected.push_back(p);
    EXPECT_EQ(expected, bar.positions());
    EXPECT_EQ(1, bar.count(pf::StatusBarEvent::kRestored));
  }
}

TEST_F(UpdateTest, FailingBlockTableEndsWithoutMeterOrMessage) {
  pf::ScopedFault fault("AcDbDatabase::getSymbolTable", Acad::eOutOfMemory);
  StatusBarRecorder bar;
  updateOption();
  EXPECT_TRUE(bar.events.empty());
  EXPECT_EQ(std::string::npos, output().find("Number of updated")) << output();
  ASSERT_EQ(1, errorCount());
  EXPECT_EQ("src/cmd/cmdzorvik", lastError().sourceFile);
  EXPECT_EQ("Acad::ErrorStatus = 6", lastError().message);
  EXPECT_EQ(commandSourceLine("database->getSymbolTable(table, AcDb::kForRead)") + 2,
            lastError().line);
}

TEST_F(UpdateTest, FailingSpaceIsSkippedAndTheOtherIsStillScanned) {
  app()->setAutoUpdate(false);
  const Link model = addLinkedRectangle(ACDB_MODEL_SPACE, 2, 3);
  const Link paper = addLinkedRectangle(ACDB_PAPER_SPACE, 3, 3);
  {
    pf::ScopedFault fault("AcDbBlockTable::getAt", Acad::eKeyNotFound, 1);
    updateOption();
  }
  EXPECT_EQ("old", attributeText(model.attribute));
  EXPECT_EQ("9.00", attributeText(paper.attribute));
  EXPECT_NE(std::string::npos, output().find(countMessage(1))) << output();
  ASSERT_EQ(1, errorCount());
  EXPECT_EQ("Acad::ErrorStatus = 22", lastError().message);
}

TEST_F(UpdateTest, FailingIteratorSkipsThatSpace) {
  app()->setAutoUpdate(false);
  const Link model = addLinkedRectangle(ACDB_MODEL_SPACE, 2, 3);
  const Link paper = addLinkedRectangle(ACDB_PAPER_SPACE, 3, 3);
  {
    pf::ScopedFault fault("AcDbBlockTableRecord::newIterator", Acad::eOutOfMemory, 1);
    updateOption();
  }
  EXPECT_EQ("old", attributeText(model.attribute));
  EXPECT_EQ("9.00", attributeText(paper.attribute));
  EXPECT_EQ(1, errorCount());
}

TEST_F(UpdateTest, EntityThatFailsToOpenIsSkippedAndTheScanGoesOn) {
  app()->setAutoUpdate(false);
  const Link first = addLinkedRectangle(ACDB_MODEL_SPACE, 1, 2);
  const Link second = addLinkedRectangle(ACDB_MODEL_SPACE, 2, 2);
  {
    // The first entity of model space is the first polyline.
    pf::ScopedFault fault("AcDbBlockTableRecordIterator::getEntity", Acad::eWasOpenForWrite, 1);
    updateOption();
  }
  EXPECT_EQ("old", attributeText(first.attribute));
  EXPECT_EQ("4.00", attributeText(second.attribute));
  EXPECT_NE(std::string::npos, output().find(countMessage(1)));
  ASSERT_EQ(1, errorCount());
  EXPECT_EQ("Acad::ErrorStatus = 83", lastError().message);
}

}  // namespace
}  // namespace cmdtest
