// dwg_copy_test.cpp - every entity survives a round trip through the memory copy filer, with
// every field, and a short stream is refused without changing the target.
#include <algorithm>

#include "acutmem.h"
#include "dbidmap.h"
#include "entity_fixture.h"
#include "db/dwg_filer.h"

namespace {

class DwgCopyTest : public EntityTest {
 protected:
  // Copies src's fields into dst through a copy filer; answers the read status.
  Acad::ErrorStatus copy(const AcDbObject* src, AcDbObject* dst) {
    pf::MemoryDwgFiler filer(AcDb::kCopyFiler, db);
    EXPECT_EQ(src->dwgOutFields(&filer), Acad::eOk);
    filer.rewind();
    return dst->dwgInFields(&filer);
  }
};

TEST_F(DwgCopyTest, PolylineKeepsEveryField) {
  AcDbPolyline* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(1, 2), 0.25, 0.1, 0.2);
  pl->addVertexAt(1, AcGePoint2d(3, 4), -1e-9, 0.3, 0.4);
  pl->addVertexAt(2, AcGePoint2d(5, 0));
  pl->setClosed(Adesk::kTrue);
  pl->setPlinegen(Adesk::kTrue);
  pl->setElevation(7.0);
  pl->setThickness(0.5);
  pl->setNormal(AcGeVector3d(0, -1, 0));
  append(pl);
  AcDbPolyline* back = new AcDbPolyline();
  ASSERT_EQ(copy(pl, back), Acad::eOk);
  ASSERT_EQ(back->numVerts(), 3u);
  double b = 0, s = 0, e = 0;
  back->getBulgeAt(1, b);
  back->getWidthsAt(1, s, e);
  EXPECT_EQ(b, -1e-9);
  EXPECT_EQ(s, 0.3);
  EXPECT_EQ(e, 0.4);
  EXPECT_TRUE(back->isClosed());
  EXPECT_TRUE(back->hasPlinegen());
  EXPECT_EQ(back->elevation(), 7.0);
  EXPECT_EQ(back->thickness(), 0.5);
  EXPECT_EQ(back->normal().y, -1.0);
  double a1 = 0, a2 = 0;
  pl->getArea(a1);
  back->getArea(a2);
  EXPECT_EQ(a1, a2);
  pl->close();
  delete back;
}

TEST_F(DwgCopyTest, ShortStreamIsRefusedAndLeavesTheTargetAlone) {
  AcDbPolyline* pl = new AcDbPolyline();
  pl->addVertexAt(0, AcGePoint2d(1, 2));
  pl->addVertexAt(1, AcGePoint2d(3, 4));
  append(pl);
  // A line's fields read as a polyline's: the stream does not hold what the polyline expects.
  AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 1));
  append(line);
  EXPECT_NE(copy(line, pl), Acad::eOk);
  EXPECT_EQ(pl->numVerts(), 2u);
  line->close();
  pl->close();
}

TEST_F(DwgCopyTest, TextAttributeAndDefinitionKeepEveryField) {
  AcDbAttribute* att = new AcDbAttribute(AcGePoint3d(1, 2, 3), "12.50 m2", "AREA");
  att->setHeight(0.3);
  att->setRotation(0.25);
  att->setWidthFactor(0.9);
  att->setOblique(0.1);
  att->setHorizontalMode(AcDb::kTextMid);
  att->setVerticalMode(AcDb::kTextVCenter);
  att->setAlignmentPoint(AcGePoint3d(4, 5, 6));
  att->setFieldLength(9);
  att->setInvisible(Adesk::kTrue);
  att->mirrorInY(Adesk::kTrue);
  append(att);
  AcDbAttribute* back = new AcDbAttribute();
  ASSERT_EQ(copy(att, back), Acad::eOk);
  char* tag = back->tag();
  char* text = back->textString();
  EXPECT_STREQ(tag, "AREA");
  EXPECT_STREQ(text, "12.50 m2");
  acutDelString(tag);
  acutDelString(text);
  EXPECT_EQ(back->height(), 0.3);
  EXPECT_EQ(back->rotation(), 0.25);
  EXPECT_EQ(back->widthFactor(), 0.9);
  EXPECT_EQ(back->oblique(), 0.1);
  EXPECT_EQ(back->horizontalMode(), AcDb::kTextMid);
  EXPECT_EQ(back->verticalMode(), AcDb::kTextVCenter);
  EXPECT_EQ(back->alignmentPoint().z, 6.0);
  EXPECT_EQ(back->position().z, 3.0);
  EXPECT_EQ(back->fieldLength(), 9);
  EXPECT_TRUE(back->isInvisible());
  EXPECT_TRUE(back->isMirroredInY());
  EXPECT_FALSE(back->isMirroredInX());
  att->close();
  delete back;

  AcDbAttributeDefinition* def =
      new AcDbAttributeDefinition(AcGePoint3d(0, 0, 0), "dflt", "TAG", "Prompt?");
  def->setVerifiable(Adesk::kTrue);
  append(def);
  AcDbAttributeDefinition* defBack = new AcDbAttributeDefinition();
  ASSERT_EQ(copy(def, defBack), Acad::eOk);
  char* prompt = defBack->prompt();
  EXPECT_STREQ(prompt, "Prompt?");
  acutDelString(prompt);
  EXPECT_TRUE(defBack->isVerifiable());
  def->close();
  delete defBack;
}

TEST_F(DwgCopyTest, BlockReferenceLineAndCircle) {
  AcDbBlockReference* ref = new AcDbBlockReference(AcGePoint3d(1, 2, 3), AcDbObjectId::kNull);
  ref->setScaleFactors(AcGeScale3d(2, 3, 4));
  ref->setRotation(0.5);
  append(ref);
  AcDbAttribute* att = new AcDbAttribute(AcGePoint3d(0, 0, 0), "v", "T");
  AcDbObjectId attId;
  ASSERT_EQ(ref->appendAttribute(attId, att), Acad::eOk);
  att->close();
  AcDbBlockReference* refBack = new AcDbBlockReference();
  ASSERT_EQ(copy(ref, refBack), Acad::eOk);
  EXPECT_EQ(refBack->position().y, 2.0);
  EXPECT_EQ(refBack->scaleFactors().sz, 4.0);
  EXPECT_EQ(refBack->rotation(), 0.5);
  // A plain copy filer keeps the ids: the copy lists the same attribute.
  AcDbObjectIterator* it = refBack->attributeIterator();
  it->start();
  ASSERT_FALSE(it->done());
  EXPECT_EQ(it->objectId(), attId);
  delete it;
  ref->close();
  delete refBack;

  AcDbLine* line = new AcDbLine(AcGePoint3d(1, 2, 3), AcGePoint3d(4, 5, 6));
  line->setThickness(1.25);
  append(line);
  AcDbLine* lineBack = new AcDbLine();
  ASSERT_EQ(copy(line, lineBack), Acad::eOk);
  EXPECT_EQ(lineBack->startPoint().z, 3.0);
  EXPECT_EQ(lineBack->endPoint().x, 4.0);
  EXPECT_EQ(lineBack->thickness(), 1.25);
  line->close();
  delete lineBack;

  AcDbCircle* circle = new AcDbCircle(AcGePoint3d(1, 1, 1), AcGeVector3d(0, 0, 1), 3.0);
  append(circle);
  AcDbCircle* circleBack = new AcDbCircle();
  ASSERT_EQ(copy(circle, circleBack), Acad::eOk);
  EXPECT_EQ(circleBack->radius(), 3.0);
  EXPECT_EQ(circleBack->center().x, 1.0);
  double area = 0;
  EXPECT_EQ(circleBack->getArea(area), Acad::eOk);
  EXPECT_NEAR(area, 3.14159265358979323846 * 9.0, 1e-12);
  circle->close();
  delete circleBack;
}

}  // namespace

namespace {

// Deep clone files the reference's attributes as owned: the clone gets attributes of its own.
TEST_F(DwgCopyTest, DeepCloneGivesTheReferenceItsOwnAttributes) {
  AcDbBlockReference* ref = new AcDbBlockReference(AcGePoint3d(1, 2, 0), AcDbObjectId::kNull);
  const AcDbObjectId refId = append(ref);
  std::vector<AcDbObjectId> originals;
  for (const char* tag : {"AREA", "NAME"}) {
    AcDbAttribute* att = new AcDbAttribute(AcGePoint3d(0, 0, 0), tag, tag);
    AcDbObjectId id;
    ASSERT_EQ(ref->appendAttribute(id, att), Acad::eOk);
    att->close();
    originals.push_back(id);
  }
  const AcDbObjectId owner = ref->ownerId();
  ref->close();

  AcDbObjectIdArray ids;
  ids.append(refId);
  AcDbIdMapping map;
  AcDbObjectId space = owner;
  ASSERT_EQ(db->deepCloneObjects(ids, space, map), Acad::eOk);
  AcDbIdPair pair(refId, AcDbObjectId::kNull, false);
  ASSERT_TRUE(map.compute(pair));
  ASSERT_TRUE(pair.isCloned());

  AcDbBlockReference* clone = nullptr;
  ASSERT_EQ(acdbOpenObject(clone, pair.value(), AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(clone->position().y, 2.0);
  AcDbObjectIterator* it = clone->attributeIterator();
  std::vector<std::string> tags;
  for (it->start(); !it->done(); it->step()) {
    const AcDbObjectId id = it->objectId();
    EXPECT_TRUE(std::find(originals.begin(), originals.end(), id) == originals.end());
    AcDbAttribute* att = nullptr;
    ASSERT_EQ(clone->openAttribute(att, id, AcDb::kForRead), Acad::eOk);
    EXPECT_EQ(att->ownerId(), clone->objectId());
    char* tag = att->tag();
    tags.push_back(tag);
    acutDelString(tag);
    att->close();
  }
  delete it;
  EXPECT_EQ(tags, (std::vector<std::string>{"AREA", "NAME"}));
  AcDbSequenceEnd* seq = nullptr;
  ASSERT_EQ(clone->openSequenceEnd(seq, AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(seq->ownerId(), clone->objectId());
  seq->close();
  clone->close();
}

}  // namespace
