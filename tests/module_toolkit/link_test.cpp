// link_test.cpp - ZORVIKLINK: pairing (nesting, ambiguity, coordinate systems, arcs, spaces),
// relinking, selection, the tag choice, and what it reports.
#include "toolkit_fixture.h"

namespace tktest {
namespace {

class LinkTest : public ToolkitTest {
protected:
  std::string hexOf(const AcDbObjectId& id) const { return pick(id).substr(1); }
  // The handle of the block reference that owns the attribute.
  std::string tagHandle(const AcDbObjectId& attribute) const {
    AcDbObject* object = nullptr;
    EXPECT_EQ(Acad::eOk, acdbOpenAcDbObject(object, attribute, AcDb::kForRead));
    const AcDbObjectId owner = object->ownerId();
    object->close();
    return hexOf(owner);
  }
};

TEST_F(LinkTest, EachRoomGetsTheTagInsideAndShowsItsArea) {
  const AcDbObjectId hall = addRoom(ACDB_MODEL_SPACE, 0, 0, 10, 5);
  const AcDbObjectId kitchen = addRoom(ACDB_MODEL_SPACE, 10, 0, 4, 5);
  const AcDbObjectId hallArea = addAreaTag(ACDB_MODEL_SPACE, 5, 2.5);
  const AcDbObjectId kitchenArea = addAreaTag(ACDB_MODEL_SPACE, 12, 2.5);
  linkAll();
  EXPECT_EQ(hallArea, linkedAttribute(hall));
  EXPECT_EQ(kitchenArea, linkedAttribute(kitchen));
  EXPECT_EQ("50.00", attributeText(hallArea));
  EXPECT_EQ("20.00", attributeText(kitchenArea));
  EXPECT_NE(std::string::npos,
            output().find("Linked 2 rooms; 0 without a tag; 0 with several tags; 0 tags in no room.")) << output();
  EXPECT_EQ(0u, remainingAnswers_);
  EXPECT_EQ(0, errorCount());
}

TEST_F(LinkTest, AutomaticUpdateOffLinksAndLeavesTheTextForUpdate) {
  app()->setAutoUpdate(false);
  const AcDbObjectId room = addRoom(ACDB_MODEL_SPACE, 0, 0, 3, 3);
  const AcDbObjectId area = addAreaTag(ACDB_MODEL_SPACE, 1, 1);
  linkAll();
  EXPECT_EQ(area, linkedAttribute(room));
  EXPECT_EQ("?", attributeText(area));
  updateOption();
  EXPECT_EQ("9.00", attributeText(area));
}

TEST_F(LinkTest, NestedOutlinesGiveTheTagToTheSmallestRoom) {
  const AcDbObjectId zone = addRoom(ACDB_MODEL_SPACE, -5, -5, 100, 100);
  const AcDbObjectId room = addRoom(ACDB_MODEL_SPACE, 0, 0, 10, 10);
  const AcDbObjectId inner = addRoom(ACDB_MODEL_SPACE, 2, 2, 3, 3);  // a cupboard inside the room
  const AcDbObjectId roomArea = addAreaTag(ACDB_MODEL_SPACE, 8, 8);
  const AcDbObjectId innerArea = addAreaTag(ACDB_MODEL_SPACE, 3, 3);
  linkAll();
  EXPECT_EQ(roomArea, linkedAttribute(room));
  EXPECT_EQ(innerArea, linkedAttribute(inner));
  EXPECT_TRUE(linkedAttribute(zone).isNull());
  EXPECT_NE(std::string::npos, output().find("Room #" + hexOf(zone) + ": no tag inside.")) << output();
  EXPECT_NE(std::string::npos, output().find("Linked 2 rooms; 1 without a tag;")) << output();
}

TEST_F(LinkTest, OnlyBlockReferencesWithTheAttributeAreTags) {
  const AcDbObjectId room = addRoom(ACDB_MODEL_SPACE, 0, 0, 10, 10);
  const AcDbObjectId area = addAreaTag(ACDB_MODEL_SPACE, 5, 5);
  addTag(ACDB_MODEL_SPACE, AcGePoint3d(2, 2, 0), {{"NAME", "a door label"}});
  linkAll();
  EXPECT_EQ(area, linkedAttribute(room)) << "the NAME-only block does not make the room ambiguous";
}

TEST_F(LinkTest, QuietModeTakesTheLaterOfTwoAttributesOfTheTagAndMatchesItsCaseExactly) {
  const AcDbObjectId room = addRoom(ACDB_MODEL_SPACE, 0, 0, 10, 10);
  std::vector<AcDbObjectId> ids;
  addTag(ACDB_MODEL_SPACE, AcGePoint3d(5, 5, 0), {{"AREA", "first"}, {"NAME", "n"}, {"AREA", "second"}}, &ids);
  const AcDbObjectId other = addRoom(ACDB_MODEL_SPACE, 20, 0, 10, 10);
  addTag(ACDB_MODEL_SPACE, AcGePoint3d(25, 5, 0), {{"area", "lower case"}});
  linkAll();
  ASSERT_EQ(3u, ids.size());
  EXPECT_EQ(ids[2], linkedAttribute(room)) << "of two AREA attributes the later is linked, as Create chooses";
  EXPECT_TRUE(linkedAttribute(other).isNull()) << "an attribute \"area\" is not the tag AREA";
}

TEST_F(LinkTest, RoomsWithSeveralTagsAndTagsInNoRoomAreReportedWithHandles) {
  const AcDbObjectId twice = addRoom(ACDB_MODEL_SPACE, 0, 0, 10, 10);
  const AcDbObjectId first = addAreaTag(ACDB_MODEL_SPACE, 2, 2);
  const AcDbObjectId second = addAreaTag(ACDB_MODEL_SPACE, 8, 8);
  const AcDbObjectId outside = addAreaTag(ACDB_MODEL_SPACE, 50, 50);
  linkAll();
  EXPECT_TRUE(linkedAttribute(twice).isNull());
  EXPECT_NE(std::string::npos, output().find("Room #" + hexOf(twice) + ": 2 tags inside (#" + tagHandle(first) +
                                             ", #" + tagHandle(second) + "); not linked."))
      << output();
  EXPECT_NE(std::string::npos, output().find("Tag #" + tagHandle(outside) + ": in no room.")) << output();
  EXPECT_NE(std::string::npos,
            output().find("Linked 0 rooms; 0 without a tag; 1 with several tags; 1 tag in no room.")) << output();
}

TEST_F(LinkTest, ArcsAreTakenExactly) {
  // The right edge bows outwards by 2 (a half circle of radius 2 from (10,-2)... (10,2)); the
  // left edge bows inwards by 1.
  const AcDbObjectId room = addOutline(ACDB_MODEL_SPACE, {{0, -2, -0.5}, {10, -2, 1.0}, {10, 2}, {0, 2}});
  // (11.5, 0) lies in the outward half circle, beyond the straight edge.
  const AcDbObjectId inBulge = addAreaTag(ACDB_MODEL_SPACE, 11.5, 0);
  linkAll();
  EXPECT_EQ(inBulge, linkedAttribute(room));
}

TEST_F(LinkTest, AnInwardArcLeavesItsSegmentOutside) {
  // The bottom edge from (0,0) to (10,0) bows inwards (up) by 2.5 (bulge -0.5).
  const AcDbObjectId room = addOutline(ACDB_MODEL_SPACE, {{0, 0, -0.5}, {10, 0}, {10, 10}, {0, 10}});
  const AcDbObjectId cutOut = addAreaTag(ACDB_MODEL_SPACE, 5, 1);  // under the arc: outside
  linkAll();
  EXPECT_TRUE(linkedAttribute(room).isNull());
  EXPECT_NE(std::string::npos, output().find("Tag #" + tagHandle(cutOut) + ": in no room.")) << output();
}

TEST_F(LinkTest, MirroredCoordinateSystemIsSeenFromItsOwnSide) {
  // With the normal (0,0,-1) the OCS x axis points to world -x: OCS x from -10 to 0 covers
  // world x from 0 to 10.
  const AcDbObjectId mirrored =
      addOutline(ACDB_MODEL_SPACE, {{-10, 0}, {0, 0}, {0, 10}, {-10, 10}}, true, AcGeVector3d(0, 0, -1));
  const AcDbObjectId inside = addAreaTag(ACDB_MODEL_SPACE, 7, 5);
  const AcDbObjectId onOcsSide = addAreaTag(ACDB_MODEL_SPACE, -7, 5);  // where the OCS numbers lie
  linkAll();
  EXPECT_EQ(inside, linkedAttribute(mirrored));
  EXPECT_EQ("100.00", attributeText(inside));
  EXPECT_NE(std::string::npos, output().find("Tag #" + tagHandle(onOcsSide) + ": in no room.")) << output();
}

TEST_F(LinkTest, TiltedRoomTakesTheTagProjectedAlongItsNormal) {
  // A room in the plane x = 0 (normal +x): its OCS x is world y, its OCS y is world z.
  const AcDbObjectId wall = addOutline(ACDB_MODEL_SPACE, {{0, 0}, {4, 0}, {4, 3}, {0, 3}}, true,
                                       AcGeVector3d(1, 0, 0));
  const AcDbObjectId tag = addTag(ACDB_MODEL_SPACE, AcGePoint3d(0, 2, 1), {{"AREA", "?"}});
  (void)tag;
  linkAll();
  EXPECT_FALSE(linkedAttribute(wall).isNull());
}

TEST_F(LinkTest, RoomsFarFromTheOriginKeepTheirPrecision) {
  const double x = 2600000.0, y = 1200000.0;
  const AcDbObjectId left = addRoom(ACDB_MODEL_SPACE, x, y, 5, 4);
  const AcDbObjectId right = addRoom(ACDB_MODEL_SPACE, x + 5, y, 5, 4);
  // A millimetre from the shared edge, on each side.
  const AcDbObjectId leftArea = addAreaTag(ACDB_MODEL_SPACE, x + 4.999, y + 2);
  const AcDbObjectId rightArea = addAreaTag(ACDB_MODEL_SPACE, x + 5.001, y + 2);
  linkAll();
  EXPECT_EQ(leftArea, linkedAttribute(left));
  EXPECT_EQ(rightArea, linkedAttribute(right));
  EXPECT_EQ("20.00", attributeText(leftArea));
}

TEST_F(LinkTest, ATagOnTheOutlineIsInNoRoom) {
  const AcDbObjectId room = addRoom(ACDB_MODEL_SPACE, 0, 0, 10, 10);
  addAreaTag(ACDB_MODEL_SPACE, 10, 5);
  linkAll();
  EXPECT_TRUE(linkedAttribute(room).isNull());
  EXPECT_NE(std::string::npos, output().find("1 without a tag; 0 with several tags; 1 tag in no room.")) << output();
}

TEST_F(LinkTest, SelfIntersectingOutlineContainsWhatTheEvenOddRuleFills) {
  // A bow tie: two triangles meeting at (5,5).
  const AcDbObjectId bowTie = addOutline(ACDB_MODEL_SPACE, {{0, 0}, {10, 10}, {10, 0}, {0, 10}});
  const AcDbObjectId inLobe = addAreaTag(ACDB_MODEL_SPACE, 2, 5);
  const AcDbObjectId between = addAreaTag(ACDB_MODEL_SPACE, 5, 8);  // above the crossing: outside
  linkAll();
  EXPECT_EQ(inLobe, linkedAttribute(bowTie));
  EXPECT_NE(std::string::npos, output().find("Tag #" + tagHandle(between) + ": in no room.")) << output();
}

TEST_F(LinkTest, PaperSpaceRoomsLinkTheirOwnTagsOnly) {
  const AcDbObjectId paperRoom = addRoom(ACDB_PAPER_SPACE, 0, 0, 2, 2);
  const AcDbObjectId paperArea = addAreaTag(ACDB_PAPER_SPACE, 1, 1);
  const AcDbObjectId modelRoom = addRoom(ACDB_MODEL_SPACE, 100, 100, 10, 10);
  const AcDbObjectId strayArea = addAreaTag(ACDB_PAPER_SPACE, 105, 105);  // over the model room
  linkAll();
  EXPECT_EQ(paperArea, linkedAttribute(paperRoom));
  EXPECT_TRUE(linkedAttribute(modelRoom).isNull());
  EXPECT_NE(std::string::npos, output().find("Tag #" + tagHandle(strayArea) + ": inside room #" + hexOf(modelRoom) +
                                             " of the other space; not linked."))
      << output();
  EXPECT_NE(std::string::npos, output().find("; 1 in a room of the other space.")) << output();
}

TEST_F(LinkTest, OpenPolylineAroundATagIsReported) {
  const AcDbObjectId open = addOutline(ACDB_MODEL_SPACE, {{0, 0}, {10, 0}, {10, 10}, {0, 10}}, false);
  const AcDbObjectId area = addAreaTag(ACDB_MODEL_SPACE, 5, 5);
  linkAll();
  EXPECT_TRUE(linkedAttribute(open).isNull());
  EXPECT_NE(std::string::npos, output().find("Tag #" + tagHandle(area) + ": inside polyline #" + hexOf(open) +
                                             ", which is not closed; not linked."))
      << output();
}

TEST_F(LinkTest, RelinkNoKeepsExistingLinksAndYesReplacesThemCleanly) {
  const AcDbObjectId room = addRoom(ACDB_MODEL_SPACE, 0, 0, 4, 4);
  const AcDbObjectId elsewhere = addAreaTag(ACDB_MODEL_SPACE, 50, 50);
  linkDirectly(room, elsewhere);
  const AcDbObjectId inside = addAreaTag(ACDB_MODEL_SPACE, 2, 2);
  linkAll(false);
  EXPECT_EQ(elsewhere, linkedAttribute(room));
  EXPECT_NE(std::string::npos, output().find("Linked 0 rooms; 0 without a tag; 0 with several tags; 1 tag in no "
                                             "room; 1 already linked, kept.")) << output();

  linkAll(true);
  EXPECT_EQ(inside, linkedAttribute(room));
  EXPECT_EQ(1, linkReactorCount(room));
  AcDbPolyline* polyline = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(polyline, room, AcDb::kForRead));
  const int reactors = polyline->reactors() ? polyline->reactors()->length() : 0;
  polyline->close();
  EXPECT_EQ(1, reactors) << "the replaced link's reactor entry is gone, not left dangling";
  EXPECT_EQ("16.00", attributeText(inside));
}

TEST_F(LinkTest, SelectionLinksOnlyTheSelectedRoomsAndTags) {
  const AcDbObjectId chosen = addRoom(ACDB_MODEL_SPACE, 0, 0, 4, 4);
  const AcDbObjectId chosenArea = addAreaTag(ACDB_MODEL_SPACE, 2, 2);
  const AcDbObjectId other = addRoom(ACDB_MODEL_SPACE, 10, 0, 4, 4);
  addAreaTag(ACDB_MODEL_SPACE, 12, 2);
  AcDbObject* attribute = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(attribute, chosenArea, AcDb::kForRead));
  const AcDbObjectId chosenTag = attribute->ownerId();
  attribute->close();
  app()->setQuietMode(true);
  app()->setAttname("AREA");
  run(zorvikLinkCommand, {"Select", pick(chosen), pick(chosenTag), "", ""});
  EXPECT_EQ(chosenArea, linkedAttribute(chosen));
  EXPECT_TRUE(linkedAttribute(other).isNull());
  EXPECT_NE(std::string::npos, output().find("Linked 1 rooms; 0 without a tag")) << output();
  EXPECT_EQ(0u, remainingAnswers_);
}

TEST_F(LinkTest, ThePickerListsTheTagsOfTheCandidatesAndItsChoiceIsUsed) {
  const AcDbObjectId room = addRoom(ACDB_MODEL_SPACE, 0, 0, 4, 4);
  std::vector<AcDbObjectId> attributes;
  addTag(ACDB_MODEL_SPACE, AcGePoint3d(2, 2, 0), {{"NAME", "n"}, {"SURFACE", "s"}}, &attributes);
  addTag(ACDB_MODEL_SPACE, AcGePoint3d(30, 30, 0), {{"ZONE", "z"}});
  std::vector<std::string> listed;
  run(zorvikLinkCommand, {"", ""}, [&](pf::DialogSession& s) {
    listed = s.control(2016).items;
    EXPECT_TRUE(s.select(2016, "SURFACE").ok);
    EXPECT_TRUE(s.ok().ok);
  });
  EXPECT_EQ((std::vector<UINT>{2002}), dialogs_.templates);
  EXPECT_EQ((std::vector<std::string>{"NAME", "SURFACE", "ZONE"}), listed);
  EXPECT_EQ(attributes[1], linkedAttribute(room));
}

TEST_F(LinkTest, EmptyPlansAndMissingTagsSayWhyNothingWasLinked) {
  linkAll();
  EXPECT_NE(std::string::npos, output().find("No polyline found; no room linked.")) << output();

  addRoom(ACDB_MODEL_SPACE, 0, 0, 4, 4);
  addTag(ACDB_MODEL_SPACE, AcGePoint3d(2, 2, 0), {{"NAME", "n"}});
  linkAll();
  EXPECT_NE(std::string::npos, output().find("No block reference has an attribute AREA; no room linked.")) << output();

  app()->setAttname("");
  run(zorvikLinkCommand, {"", ""});
  EXPECT_NE(std::string::npos, output().find("Quiet mode names no attribute")) << output();
}

TEST_F(LinkTest, CancelAtAnyPromptLinksNothing) {
  const AcDbObjectId room = addRoom(ACDB_MODEL_SPACE, 0, 0, 4, 4);
  addAreaTag(ACDB_MODEL_SPACE, 2, 2);
  app()->setQuietMode(true);
  app()->setAttname("AREA");
  run(zorvikLinkCommand, {"^C"});
  run(zorvikLinkCommand, {"", "^C"});
  run(zorvikLinkCommand, {"Select", "^C"});
  EXPECT_TRUE(linkedAttribute(room).isNull());
  EXPECT_EQ(std::string::npos, output().find("Linked")) << output();
}

}  // namespace
}  // namespace tktest
