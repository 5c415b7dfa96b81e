// attribute_test.cpp - attributes and the block references that own them: heap copies of tag
// and text, appending, opening, iterating, erasing and moving with the reference.
#include <cmath>

#include "acutmem.h"
#include "entity_fixture.h"
#include "gemat3d.h"

namespace {

class AttributeTest : public EntityTest {
 protected:
  // A block reference in model space with attributes tagged A, B, C (all closed again).
  AcDbObjectId referenceWithAttributes(std::vector<AcDbObjectId>& attIds) {
    AcDbBlockReference* ref = new AcDbBlockReference(AcGePoint3d(0, 0, 0), AcDbObjectId::kNull);
    const AcDbObjectId refId = append(ref);
    for (const char* tag : {"A", "B", "C"}) {
      AcDbAttribute* att = new AcDbAttribute(AcGePoint3d(1, 0, 0), "value", tag);
      AcDbObjectId id;
      EXPECT_EQ(ref->appendAttribute(id, att), Acad::eOk);
      EXPECT_FALSE(id.isNull());
      EXPECT_EQ(att->close(), Acad::eOk);
      attIds.push_back(id);
    }
    EXPECT_EQ(ref->close(), Acad::eOk);
    return refId;
  }

  std::string tagOf(AcDbObjectId id) {
    AcDbAttribute* att = nullptr;
    if (acdbOpenObject(att, id, AcDb::kForRead, true) != Acad::eOk) return "<not open>";
    char* tag = att->tag();
    std::string out = tag ? tag : "<null>";
    acutDelString(tag);
    att->close();
    return out;
  }
};

TEST_F(AttributeTest, TagAndTextAreHeapCopiesTheCallerFrees) {
  AcDbAttribute* att = new AcDbAttribute(AcGePoint3d(0, 0, 0), "12.50", "AREA");
  char* tag1 = att->tag();
  char* tag2 = att->tag();
  ASSERT_NE(tag1, nullptr);
  EXPECT_NE(tag1, tag2);  // a fresh copy each time
  tag1[0] = 'X';          // changing a copy changes nothing in the attribute
  char* tag3 = att->tag();
  EXPECT_STREQ(tag3, "AREA");
  char* text = att->textString();
  EXPECT_STREQ(text, "12.50");
  text[0] = '9';
  char* text2 = att->textString();
  EXPECT_STREQ(text2, "12.50");
  for (char** p : {&tag1, &tag2, &tag3, &text, &text2}) {
    acutDelString(*p);
    EXPECT_EQ(*p, nullptr);
  }
  EXPECT_EQ(att->setTag(nullptr), Acad::eInvalidInput);
  EXPECT_EQ(att->setTextString(nullptr), Acad::eInvalidInput);
  EXPECT_EQ(att->setTag("ROOM_NO"), Acad::eOk);
  EXPECT_EQ(att->setTextString("B.204"), Acad::eOk);
  char* tag = att->tag();
  EXPECT_STREQ(tag, "ROOM_NO");  // stored as given
  acutDelString(tag);
  delete att;
}

TEST_F(AttributeTest, NewAttributeHasNoFlagsAndNoFieldLength) {
  AcDbAttribute* att = new AcDbAttribute();
  EXPECT_FALSE(att->isInvisible());
  EXPECT_FALSE(att->isConstant());
  EXPECT_FALSE(att->isVerifiable());
  EXPECT_FALSE(att->isPreset());
  EXPECT_EQ(att->fieldLength(), 0);
  att->setInvisible(Adesk::kTrue);
  att->setFieldLength(40);
  EXPECT_TRUE(att->isInvisible());
  EXPECT_EQ(att->fieldLength(), 40);
  delete att;
}

TEST_F(AttributeTest, AppendingNeedsADatabaseResidentReferenceAndANewAttribute) {
  AcDbBlockReference* loose = new AcDbBlockReference();
  AcDbAttribute* att = new AcDbAttribute(AcGePoint3d(0, 0, 0), "v", "T");
  EXPECT_EQ(loose->appendAttribute(att), Acad::eNoDatabase);
  EXPECT_EQ(loose->appendAttribute(nullptr), Acad::eNullObjectPointer);
  delete loose;

  AcDbBlockReference* ref = new AcDbBlockReference();
  append(ref);
  {
    pf::ScopedFault fault("AcDbBlockReference::appendAttribute", Acad::eOutOfMemory);
    EXPECT_EQ(ref->appendAttribute(att), Acad::eOutOfMemory);
  }
  EXPECT_TRUE(att->objectId().isNull());  // the failed calls left it outside the database
  AcDbObjectId id;
  ASSERT_EQ(ref->appendAttribute(id, att), Acad::eOk);
  EXPECT_EQ(att->objectId(), id);
  EXPECT_EQ(att->ownerId(), ref->objectId());
  EXPECT_EQ(ref->appendAttribute(att), Acad::eAlreadyInDb);
  att->close();
  ref->close();
}

TEST_F(AttributeTest, OpenAttributeOpensOnlyOwnAttributes) {
  std::vector<AcDbObjectId> ids;
  const AcDbObjectId refId = referenceWithAttributes(ids);
  std::vector<AcDbObjectId> otherIds;
  referenceWithAttributes(otherIds);

  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForRead), Acad::eOk);
  AcDbAttribute* att = nullptr;
  EXPECT_EQ(ref->openAttribute(att, otherIds[0], AcDb::kForRead), Acad::eInvalidInput);
  EXPECT_EQ(ref->openAttribute(att, AcDbObjectId::kNull, AcDb::kForRead), Acad::eNullObjectId);
  ASSERT_EQ(ref->openAttribute(att, ids[1], AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(att->setTextString("changed"), Acad::eOk);
  att->close();
  ref->close();

  ASSERT_EQ(acdbOpenObject(att, ids[1], AcDb::kForRead), Acad::eOk);
  char* text = att->textString();
  EXPECT_STREQ(text, "changed");
  acutDelString(text);
  att->close();
}

TEST_F(AttributeTest, IteratorWalksInAppendOrderBothWays) {
  std::vector<AcDbObjectId> ids;
  const AcDbObjectId refId = referenceWithAttributes(ids);
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForRead), Acad::eOk);
  AcDbObjectIterator* it = ref->attributeIterator();
  ASSERT_NE(it, nullptr);

  std::vector<std::string> forward;
  for (it->start(); !it->done(); it->step()) forward.push_back(tagOf(it->objectId()));
  EXPECT_EQ(forward, (std::vector<std::string>{"A", "B", "C"}));

  // step(false, ...) is forward on this iterator; step(true, ...) goes back.
  it->start();
  it->step(false, true);
  EXPECT_EQ(it->objectId(), ids[1]);
  std::vector<std::string> backward;
  for (it->start(true); !it->done(); it->step(true)) backward.push_back(tagOf(it->objectId()));
  EXPECT_EQ(backward, (std::vector<std::string>{"C", "B", "A"}));

  it->setPosition(ids[2]);
  EXPECT_EQ(it->objectId(), ids[2]);
  delete it;
  ref->close();
}

TEST_F(AttributeTest, IteratorSkipsErasedAttributesOnlyWhenAsked) {
  std::vector<AcDbObjectId> ids;
  const AcDbObjectId refId = referenceWithAttributes(ids);
  AcDbAttribute* att = nullptr;
  ASSERT_EQ(acdbOpenObject(att, ids[1], AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(att->erase(), Acad::eOk);
  att->close();

  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForRead), Acad::eOk);
  AcDbObjectIterator* it = ref->attributeIterator();
  std::vector<AcDbObjectId> skipping, all;
  for (it->start(); !it->done(); it->step(false, true)) skipping.push_back(it->objectId());
  for (it->start(); !it->done(); it->step(false, false)) all.push_back(it->objectId());
  EXPECT_EQ(skipping, (std::vector<AcDbObjectId>{ids[0], ids[2]}));
  EXPECT_EQ(all, ids);
  delete it;
  ref->close();
}

TEST_F(AttributeTest, ReferenceWithoutAttributesIsDoneAtOnce) {
  AcDbBlockReference* ref = new AcDbBlockReference();
  append(ref);
  AcDbObjectIterator* it = ref->attributeIterator();
  it->start();
  EXPECT_TRUE(it->done());
  delete it;
  AcDbSequenceEnd* seq = nullptr;
  EXPECT_EQ(ref->openSequenceEnd(seq, AcDb::kForRead), Acad::eNullObjectId);
  ref->close();
}

TEST_F(AttributeTest, ErasingTheReferenceErasesItsAttributesAndUnerasingRestoresThem) {
  std::vector<AcDbObjectId> ids;
  const AcDbObjectId refId = referenceWithAttributes(ids);
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(ref->erase(), Acad::eOk);
  ref->close();
  for (const AcDbObjectId& id : ids) EXPECT_TRUE(id.isErased());

  ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForWrite, true), Acad::eOk);
  ASSERT_EQ(ref->erase(Adesk::kFalse), Acad::eOk);
  ref->close();
  for (const AcDbObjectId& id : ids) EXPECT_FALSE(id.isErased());
}

TEST_F(AttributeTest, AttributesMoveWithTheReference) {
  std::vector<AcDbObjectId> ids;
  const AcDbObjectId refId = referenceWithAttributes(ids);
  AcDbBlockReference* ref = nullptr;
  ASSERT_EQ(acdbOpenObject(ref, refId, AcDb::kForWrite), Acad::eOk);
  EXPECT_EQ(ref->transformBy(AcGeMatrix3d::translation(AcGeVector3d(5, 6, 0))), Acad::eOk);
  EXPECT_EQ(ref->position().x, 5.0);
  ref->close();
  AcDbAttribute* att = nullptr;
  ASSERT_EQ(acdbOpenObject(att, ids[2], AcDb::kForRead), Acad::eOk);
  EXPECT_EQ(att->position().x, 6.0);
  EXPECT_EQ(att->position().y, 6.0);
  att->close();
}

TEST_F(AttributeTest, AttributeFromDefinitionIsPlacedByTheInsertion) {
  AcDbAttributeDefinition* def =
      new AcDbAttributeDefinition(AcGePoint3d(1, 0, 0), "0.00", "AREA", "Area");
  def->setHeight(0.5);
  def->setVerifiable(Adesk::kTrue);
  def->setFieldLength(8);
  AcDbAttribute* att = new AcDbAttribute();
  // Inserted at (10, 0), rotated 90 degrees, scaled 2.
  AcGeMatrix3d xform = AcGeMatrix3d::translation(AcGeVector3d(10, 0, 0)) *
                       AcGeMatrix3d::rotation(1.57079632679489661923, AcGeVector3d(0, 0, 1)) *
                       AcGeMatrix3d::scaling(2.0);
  ASSERT_EQ(att->setAttributeFromBlock(def, xform), Acad::eOk);
  EXPECT_NEAR(att->position().x, 10.0, 1e-12);
  EXPECT_NEAR(att->position().y, 2.0, 1e-12);
  EXPECT_NEAR(att->height(), 1.0, 1e-12);
  EXPECT_NEAR(att->rotation(), 1.57079632679489661923, 1e-12);
  EXPECT_TRUE(att->isVerifiable());
  EXPECT_EQ(att->fieldLength(), 8);
  char* tag = att->tag();
  EXPECT_STREQ(tag, "AREA");
  acutDelString(tag);
  delete att;
  delete def;
}

}  // namespace
