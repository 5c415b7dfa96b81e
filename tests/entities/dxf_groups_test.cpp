// dxf_groups_test.cpp - the DXF groups each entity files, in order, through the tag-list
// filer, and reading them back.
#include <cmath>

#include "acutmem.h"
#include "entity_fixture.h"

namespace {

using Codes = std::vector<int>;

double kHalfPi() { return 1.57079632679489661923; }

std::vector<std::string> markers(const pf::TagList& tags) {
  std::vector<std::string> out;
  for (const pf::Tag& t : tags)
    if (t.code == 100) out.push_back(t.text);
  return out;
}

class DxfGroupsTest : public EntityTest {
 protected:
  // Writes obj, reads the tags into fresh, and answers the read status.
  Acad::ErrorStatus readBack(const pf::TagList& tags, AcDbObject* fresh) {
    pf::TagDxfFiler in(db, tags);
    return fresh->dxfInFields(&in);
  }
};

TEST_F(DxfGroupsTest, LwpolylineGroupsInOrder) {
  AcDbPolyline* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(0, 0));
  pl->addVertexAt(1, AcGePoint2d(4, 0), 0.5);
  pl->addVertexAt(2, AcGePoint2d(4, 3));
  pl->setClosed(Adesk::kTrue);
  append(pl);
  pf::TagList tags = dxfTags(pl);
  EXPECT_EQ(markers(tags), (std::vector<std::string>{"AcDbEntity", "AcDbPolyline"}));
  pf::TagList own = fromMarker(tags, "AcDbPolyline");
  EXPECT_EQ(codes(own), (Codes{100, 90, 70, 43, 10, 20, 10, 20, 42, 10, 20}));
  EXPECT_EQ(valueOf(own, 90), "3");
  EXPECT_EQ(valueOf(own, 70), "1");
  EXPECT_EQ(realOf(own, 43), 0.0);
  EXPECT_EQ(realOf(own, 42), 0.5);

  // Elevation, thickness, plinegen, varying widths and a normal: all optional groups appear.
  pl->setElevation(2.0);
  pl->setThickness(1.5);
  pl->setPlinegen(Adesk::kTrue);
  pl->setWidthsAt(0, 0.1, 0.2);
  pl->setNormal(AcGeVector3d(0, 0, -1));
  own = fromMarker(dxfTags(pl), "AcDbPolyline");
  EXPECT_EQ(codes(own), (Codes{100, 90, 70, 38, 39, 10, 20, 40, 41, 10, 20, 40, 41, 42, 10, 20,
                               40, 41, 210, 220, 230}));
  EXPECT_EQ(valueOf(own, 70), "129");
  EXPECT_EQ(realOf(own, 230), -1.0);
  pl->close();
}

TEST_F(DxfGroupsTest, LwpolylineReadsBackEveryProperty) {
  AcDbPolyline* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(2600000.125, 1200000.5), -0.25, 0.1, 0.2);
  pl->addVertexAt(1, AcGePoint2d(2600010.0, 1200000.5), 1e-9);
  pl->addVertexAt(2, AcGePoint2d(2600010.0, 1200008.0));
  pl->setClosed(Adesk::kTrue);
  pl->setElevation(3.5);
  pl->setNormal(AcGeVector3d(0, 1, 0));
  append(pl);
  const pf::TagList tags = dxfTags(pl);

  AcDbPolyline* back = new AcDbPolyline();
  ASSERT_EQ(readBack(tags, back), Acad::eOk);
  ASSERT_EQ(back->numVerts(), 3u);
  for (unsigned i = 0; i < 3; ++i) {
    AcGePoint2d a, b;
    double ba = 0, bb = 0, sa = 0, sb = 0, ea = 0, eb = 0;
    pl->getPointAt(i, a);
    back->getPointAt(i, b);
    pl->getBulgeAt(i, ba);
    back->getBulgeAt(i, bb);
    pl->getWidthsAt(i, sa, ea);
    back->getWidthsAt(i, sb, eb);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.y, b.y);
    EXPECT_EQ(ba, bb);
    EXPECT_EQ(sa, sb);
    EXPECT_EQ(ea, eb);
  }
  EXPECT_TRUE(back->isClosed());
  EXPECT_EQ(back->elevation(), 3.5);
  EXPECT_EQ(back->normal().y, 1.0);
  double a1 = 0, a2 = 0;
  pl->getArea(a1);
  back->getArea(a2);
  EXPECT_EQ(a1, a2);
  pl->close();
  delete back;
}

TEST_F(DxfGroupsTest, LwpolylineDamagedRecordsAreRefusedAndChangeNothing) {
  AcDbPolyline* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(0, 0));
  pl->addVertexAt(1, AcGePoint2d(1, 0), 0.5);
  append(pl);
  const pf::TagList good = dxfTags(pl);
  pl->close();

  // Without its subclass marker the record is out of sequence.
  pf::TagList noMarker;
  for (const pf::Tag& t : good)
    if (!(t.code == 100 && t.text == "AcDbPolyline")) noMarker.push_back(t);
  AcDbPolyline* back = new AcDbPolyline();
  back->addVertexAt(0, AcGePoint2d(7, 7));
  EXPECT_EQ(readBack(noMarker, back), Acad::eBadDxfSequence);

  // A bulge that is not a number.
  pf::TagList badNumber = good;
  for (pf::Tag& t : badNumber)
    if (t.code == 42) t.text = "half";
  EXPECT_NE(readBack(badNumber, back), Acad::eOk);

  // A bulge before any vertex.
  pf::TagList early = good;
  for (size_t i = 0; i < early.size(); ++i)
    if (early[i].code == 90) early.insert(early.begin() + long(i) + 1, pf::Tag(42, "0.5"));
  EXPECT_EQ(readBack(early, back), Acad::eBadDxfSequence);

  ASSERT_EQ(back->numVerts(), 1u);
  AcGePoint2d p;
  back->getPointAt(0, p);
  EXPECT_EQ(p.x, 7.0);
  delete back;
}

TEST_F(DxfGroupsTest, LwpolylineWithoutConstantWidthTakesPerVertexWidths) {
  // As another program may write it: no 43, widths only on the second vertex, a 91 vertex id.
  pf::TagList head;
  {
    pf::TagDxfFiler out(db);
    AcDbPolyline* tmp = new AcDbPolyline();
    append(tmp);
    tmp->AcDbEntity::dxfOutFields(&out);
    head = out.tags();
    tmp->close();
  }
  pf::TagList record = head;
  const pf::Tag own[] = {{100, "AcDbPolyline"}, {90, "2"}, {70, "0"}, {10, "0.0"}, {20, "0.0"},
                         {91, "7"}, {10, "5.0"}, {20, "0.0"}, {40, "0.5"}, {41, "1.0"}};
  record.insert(record.end(), std::begin(own), std::end(own));
  AcDbPolyline* back = new AcDbPolyline();
  ASSERT_EQ(readBack(record, back), Acad::eOk);
  ASSERT_EQ(back->numVerts(), 2u);
  double s = 0, e = 0;
  back->getWidthsAt(0, s, e);
  EXPECT_EQ(s, 0.0);
  back->getWidthsAt(1, s, e);
  EXPECT_EQ(s, 0.5);
  EXPECT_EQ(e, 1.0);
  EXPECT_FALSE(back->isClosed());
  delete back;
}

TEST_F(DxfGroupsTest, TextHasTwoMarkersAndItsOptionalGroups) {
  AcDbText* text = new AcDbText(AcGePoint3d(1, 2, 0), "Room 1", AcDbObjectId::kNull, 2.5);
  append(text);
  pf::TagList own = fromMarker(dxfTags(text), "AcDbText");
  EXPECT_EQ(codes(own), (Codes{100, 10, 20, 30, 40, 1, 100}));
  EXPECT_EQ(valueOf(own, 1), "Room 1");
  EXPECT_EQ(realOf(own, 40), 2.5);

  text->setRotation(kHalfPi());
  text->setWidthFactor(0.8);
  text->setHorizontalMode(AcDb::kTextCenter);
  text->setVerticalMode(AcDb::kTextTop);
  text->setAlignmentPoint(AcGePoint3d(3, 4, 0));
  text->setThickness(0.5);
  const pf::TagList tags = dxfTags(text);
  EXPECT_EQ(markers(tags), (std::vector<std::string>{"AcDbEntity", "AcDbText", "AcDbText"}));
  own = fromMarker(tags, "AcDbText");
  EXPECT_EQ(codes(own), (Codes{100, 39, 10, 20, 30, 40, 1, 50, 41, 72, 11, 21, 31, 100, 73}));
  EXPECT_NEAR(realOf(own, 50), 90.0, 1e-12);  // degrees in the file
  EXPECT_EQ(valueOf(own, 72), "1");
  EXPECT_EQ(valueOf(own, 73), "3");

  AcDbText* back = new AcDbText();
  ASSERT_EQ(readBack(tags, back), Acad::eOk);
  EXPECT_NEAR(back->rotation(), kHalfPi(), 1e-15);
  EXPECT_EQ(back->horizontalMode(), AcDb::kTextCenter);
  EXPECT_EQ(back->verticalMode(), AcDb::kTextTop);
  EXPECT_EQ(back->alignmentPoint().x, 3.0);
  EXPECT_EQ(back->widthFactor(), 0.8);
  char* s = back->textString();
  EXPECT_STREQ(s, "Room 1");
  acutDelString(s);
  text->close();
  delete back;
}

TEST_F(DxfGroupsTest, DamagedModesAreRefusedAndAnUnknownWeightReadsAsByLayer) {
  AcDbText* text = new AcDbText(AcGePoint3d(1, 2, 0), "Room 1", AcDbObjectId::kNull, 2.5);
  append(text);
  text->setHorizontalMode(AcDb::kTextCenter);
  text->setVerticalMode(AcDb::kTextTop);
  text->setLineWeight(AcDb::kLnWt050);
  const pf::TagList tags = dxfTags(text);
  text->close();
  // Values no writer should produce.
  auto damaged = [&](int code, long long value) {
    pf::TagList out = tags;
    for (pf::Tag& t : out)
      if (t.code == code) {
        t.integer = value;
        t.text = std::to_string(value);
      }
    return out;
  };
  for (const auto& bad : {std::make_pair(72, 9LL), std::make_pair(73, -4LL)}) {
    AcDbText* back = new AcDbText();
    EXPECT_EQ(readBack(damaged(bad.first, bad.second), back), Acad::eInvalidInput) << bad.first;
    delete back;
  }
  // A weight outside the enumeration's range reads as "by layer" and is written back as read.
  AcDbText* back = new AcDbText();
  ASSERT_EQ(readBack(damaged(370, 500), back), Acad::eOk);
  EXPECT_EQ(back->lineWeight(), AcDb::kLnWtByLayer);
  EXPECT_EQ(back->horizontalMode(), AcDb::kTextCenter);
  EXPECT_EQ(valueOf(dxfTags(back), 370), "500");
  delete back;
}

TEST_F(DxfGroupsTest, AttributeAndDefinitionGroups) {
  AcDbAttribute* att = new AcDbAttribute(AcGePoint3d(1, 1, 0), "12.50 m2", "AREA");
  att->setHeight(0.25);
  append(att);
  pf::TagList tags = dxfTags(att);
  EXPECT_EQ(markers(tags), (std::vector<std::string>{"AcDbEntity", "AcDbText", "AcDbAttribute"}));
  pf::TagList own = fromMarker(tags, "AcDbText");
  EXPECT_EQ(codes(own), (Codes{100, 10, 20, 30, 40, 1, 100, 2, 70}));
  EXPECT_EQ(valueOf(own, 2), "AREA");
  EXPECT_EQ(valueOf(own, 70), "0");

  att->setInvisible(Adesk::kTrue);
  att->setFieldLength(12);
  att->setVerticalMode(AcDb::kTextBottom);
  att->setHorizontalMode(AcDb::kTextRight);
  tags = dxfTags(att);
  own = fromMarker(tags, "AcDbAttribute");
  EXPECT_EQ(codes(own), (Codes{100, 2, 70, 73, 74}));
  EXPECT_EQ(valueOf(own, 70), "1");
  EXPECT_EQ(valueOf(own, 73), "12");
  EXPECT_EQ(valueOf(own, 74), "1");

  AcDbAttribute* back = new AcDbAttribute();
  ASSERT_EQ(readBack(tags, back), Acad::eOk);
  char* tag = back->tag();
  EXPECT_STREQ(tag, "AREA");
  acutDelString(tag);
  EXPECT_TRUE(back->isInvisible());
  EXPECT_EQ(back->fieldLength(), 12);
  EXPECT_EQ(back->verticalMode(), AcDb::kTextBottom);
  EXPECT_EQ(back->horizontalMode(), AcDb::kTextRight);
  att->close();
  delete back;

  AcDbAttributeDefinition* def =
      new AcDbAttributeDefinition(AcGePoint3d(0, 0, 0), "0.00", "AREA", "Area of the room");
  def->setConstant(Adesk::kTrue);
  def->setPreset(Adesk::kTrue);
  append(def);
  tags = dxfTags(def);
  EXPECT_EQ(markers(tags),
            (std::vector<std::string>{"AcDbEntity", "AcDbText", "AcDbAttributeDefinition"}));
  own = fromMarker(tags, "AcDbAttributeDefinition");
  EXPECT_EQ(codes(own), (Codes{100, 3, 2, 70}));
  EXPECT_EQ(valueOf(own, 3), "Area of the room");
  EXPECT_EQ(valueOf(own, 70), "10");
  AcDbAttributeDefinition* defBack = new AcDbAttributeDefinition();
  ASSERT_EQ(readBack(tags, defBack), Acad::eOk);
  char* prompt = defBack->prompt();
  EXPECT_STREQ(prompt, "Area of the room");
  acutDelString(prompt);
  EXPECT_TRUE(defBack->isConstant());
  EXPECT_TRUE(defBack->isPreset());
  EXPECT_FALSE(defBack->isVerifiable());
  def->close();
  delete defBack;
}

TEST_F(DxfGroupsTest, AttributeWithASecondTextMarkerIsRead) {
  AcDbAttribute* att = new AcDbAttribute(AcGePoint3d(1, 1, 0), "x", "TAG");
  append(att);
  pf::TagList tags = dxfTags(att);
  att->close();
  for (size_t i = 0; i < tags.size(); ++i)
    if (tags[i].code == 100 && tags[i].text == "AcDbAttribute") {
      tags.insert(tags.begin() + long(i), pf::Tag(100, "AcDbText"));
      break;
    }
  AcDbAttribute* back = new AcDbAttribute();
  ASSERT_EQ(readBack(tags, back), Acad::eOk);
  char* tag = back->tag();
  EXPECT_STREQ(tag, "TAG");
  acutDelString(tag);
  delete back;
}

TEST_F(DxfGroupsTest, InsertGroupsWriteOnlyWhatDiffersFromTheDefaults) {
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(db->getBlockTable(table, AcDb::kForRead), Acad::eOk);
  AcDbObjectId space;
  ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, space), Acad::eOk);
  table->close();

  AcDbBlockReference* ref = new AcDbBlockReference(AcGePoint3d(10, 20, 0), space);
  append(ref);
  pf::TagList own = fromMarker(dxfTags(ref), "AcDbBlockReference");
  EXPECT_EQ(codes(own), (Codes{100, 2, 10, 20, 30}));
  EXPECT_EQ(valueOf(own, 2), ACDB_MODEL_SPACE);

  ref->setScaleFactors(AcGeScale3d(2.0, 1.0, 3.0));
  ref->setRotation(kHalfPi());
  AcDbAttribute* att = new AcDbAttribute(AcGePoint3d(10, 20, 0), "v", "T");
  ASSERT_EQ(ref->appendAttribute(att), Acad::eOk);
  att->close();
  const pf::TagList tags = dxfTags(ref);
  own = fromMarker(tags, "AcDbBlockReference");
  EXPECT_EQ(codes(own), (Codes{100, 66, 2, 10, 20, 30, 41, 43, 50}));
  EXPECT_EQ(valueOf(own, 66), "1");
  EXPECT_NEAR(realOf(own, 50), 90.0, 1e-12);

  AcDbBlockReference* back = new AcDbBlockReference();
  ASSERT_EQ(readBack(tags, back), Acad::eOk);
  EXPECT_EQ(back->scaleFactors().sx, 2.0);
  EXPECT_EQ(back->scaleFactors().sz, 3.0);
  EXPECT_EQ(back->position().y, 20.0);
  EXPECT_NEAR(back->rotation(), kHalfPi(), 1e-15);
  delete back;
  ref->close();
}

TEST_F(DxfGroupsTest, InsertOfAMissingBlockIsRefusedWithAMessage) {
  // A block of its own, referenced, then erased.
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(db->getBlockTable(table, AcDb::kForWrite), Acad::eOk);
  AcDbBlockTableRecord* door = new AcDbBlockTableRecord();
  door->setName("DOOR");
  AcDbObjectId doorId;
  ASSERT_EQ(table->add(doorId, door), Acad::eOk);
  door->close();
  table->close();

  AcDbBlockReference* ref = new AcDbBlockReference(AcGePoint3d(0, 0, 0), doorId);
  append(ref);
  EXPECT_EQ(valueOf(fromMarker(dxfTags(ref), "AcDbBlockReference"), 2), "DOOR");
  AcDbBlockTableRecord* rec = nullptr;
  ASSERT_EQ(acdbOpenObject(rec, doorId, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(rec->erase(), Acad::eOk);
  rec->close();
  {
    pf::TagDxfFiler out(db);
    EXPECT_EQ(ref->dxfOutFields(&out), Acad::eInvalidInput);
    EXPECT_NE(std::string(out.errorMessage()).find("not in the drawing"), std::string::npos);
  }
  ref->setBlockTableRecord(AcDbObjectId::kNull);
  {
    pf::TagDxfFiler out(db);
    EXPECT_EQ(ref->dxfOutFields(&out), Acad::eInvalidInput);
  }
  ref->close();
}

TEST_F(DxfGroupsTest, SequenceEndHasOnlyTheEntityGroups) {
  AcDbBlockReference* ref = new AcDbBlockReference(AcGePoint3d(0, 0, 0), AcDbObjectId::kNull);
  append(ref);
  ref->setLayer("0");
  AcDbAttribute* att = new AcDbAttribute(AcGePoint3d(0, 0, 0), "v", "T");
  ASSERT_EQ(ref->appendAttribute(att), Acad::eOk);
  att->close();
  AcDbSequenceEnd* seq = nullptr;
  ASSERT_EQ(ref->openSequenceEnd(seq, AcDb::kForRead), Acad::eOk);
  const pf::TagList tags = dxfTags(seq);
  EXPECT_EQ(markers(tags), (std::vector<std::string>{"AcDbEntity"}));
  EXPECT_EQ(tags.back().code, 8);  // the layer is the last group
  EXPECT_EQ(seq->ownerId(), ref->objectId());
  seq->close();
  ref->close();
}

TEST_F(DxfGroupsTest, LineAndCircleGroups) {
  AcDbLine* line = new AcDbLine(AcGePoint3d(1, 2, 3), AcGePoint3d(4, 5, 6));
  append(line);
  pf::TagList own = fromMarker(dxfTags(line), "AcDbLine");
  EXPECT_EQ(codes(own), (Codes{100, 10, 20, 30, 11, 21, 31}));
  EXPECT_EQ(realOf(own, 31), 6.0);
  line->setThickness(2.0);
  own = fromMarker(dxfTags(line), "AcDbLine");
  EXPECT_EQ(codes(own), (Codes{100, 39, 10, 20, 30, 11, 21, 31}));
  AcDbLine* lineBack = new AcDbLine();
  ASSERT_EQ(readBack(dxfTags(line), lineBack), Acad::eOk);
  EXPECT_EQ(lineBack->endPoint().y, 5.0);
  EXPECT_EQ(lineBack->thickness(), 2.0);
  line->close();
  delete lineBack;

  // A circle in a tilted plane files its centre in the plane's own coordinates.
  AcDbCircle* circle = new AcDbCircle(AcGePoint3d(1, 2, 3), AcGeVector3d(1, 0, 0), 2.5);
  append(circle);
  own = fromMarker(dxfTags(circle), "AcDbCircle");
  EXPECT_EQ(codes(own), (Codes{100, 10, 20, 30, 40, 210, 220, 230}));
  // Normal +X: OCS X = world Y, OCS Y = world Z, OCS Z = world X.
  EXPECT_NEAR(realOf(own, 10), 2.0, 1e-12);
  EXPECT_NEAR(realOf(own, 20), 3.0, 1e-12);
  EXPECT_NEAR(realOf(own, 30), 1.0, 1e-12);
  AcDbCircle* circleBack = new AcDbCircle();
  ASSERT_EQ(readBack(dxfTags(circle), circleBack), Acad::eOk);
  EXPECT_NEAR(circleBack->center().x, 1.0, 1e-12);
  EXPECT_NEAR(circleBack->center().y, 2.0, 1e-12);
  EXPECT_NEAR(circleBack->center().z, 3.0, 1e-12);
  EXPECT_EQ(circleBack->radius(), 2.5);
  circle->close();
  delete circleBack;
}

}  // namespace
