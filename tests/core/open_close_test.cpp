// open_close_test.cpp - the open/close protocol and its status codes.
#include <gtest/gtest.h>
#include "core_test_objects.h"
#include "db_test_support.h"
#include "dbobjptr.h"

namespace {

class OpenCloseTest : public testsupport::DatabaseTest {
protected:
  void SetUp() override {
    registerTestClasses();
    DatabaseTest::SetUp();
    id = addToNod("OBJ", new TestObj(7));
  }
  AcDbObjectId id;
};

TEST_F(OpenCloseTest, OpenMatrixAnswersTheHostStatuses) {
  AcDbObject* w = nullptr;
  AcDbObject* other = nullptr;
  // null id
  EXPECT_EQ(Acad::eNullObjectId, acdbOpenAcDbObject(other, AcDbObjectId::kNull, AcDb::kForRead));
  // write twice, and read while open for write: 83
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(w, id, AcDb::kForWrite));
  EXPECT_EQ(Acad::eWasOpenForWrite, acdbOpenAcDbObject(other, id, AcDb::kForWrite));
  EXPECT_EQ(Acad::eWasOpenForWrite, acdbOpenAcDbObject(other, id, AcDb::kForRead));
  EXPECT_EQ(nullptr, other);
  EXPECT_EQ(Acad::eOk, w->close());
  // write while open for read: 82
  AcDbObject* r1 = nullptr;
  AcDbObject* r2 = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(r1, id, AcDb::kForRead));
  EXPECT_EQ(Acad::eWasOpenForRead, acdbOpenAcDbObject(other, id, AcDb::kForWrite));
  // upgrade with two readers: 94, state unchanged
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(r2, id, AcDb::kForRead));
  EXPECT_EQ(Acad::eHadMultipleReaders, r1->upgradeOpen());
  EXPECT_FALSE(r1->isWriteEnabled());
  EXPECT_EQ(Acad::eOk, r2->close());
  // one reader: the upgrade works
  EXPECT_EQ(Acad::eOk, r1->upgradeOpen());
  EXPECT_TRUE(r1->isWriteEnabled());
  EXPECT_EQ(Acad::eWasOpenForWrite, r1->upgradeOpen());
  EXPECT_EQ(Acad::eOk, r1->downgradeOpen());
  EXPECT_FALSE(r1->isWriteEnabled());
  EXPECT_EQ(Acad::eNotOpenForWrite, r1->downgradeOpen());
  EXPECT_EQ(Acad::eOk, r1->close());
}

TEST_F(OpenCloseTest, TypedOpenOfTheWrongClassAnswers46AndLeavesTheObjectClosed) {
  TestCurve* curve = reinterpret_cast<TestCurve*>(0x1);
  EXPECT_EQ(Acad::eNotThatKindOfClass, acdbOpenObject(curve, id, AcDb::kForWrite));
  EXPECT_EQ(nullptr, curve);
  // Closed again: it opens for write.
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForWrite));
  EXPECT_EQ(7, obj->value());
  obj->close();
  // A failed open leaves the pointer alone.
  TestObj* untouched = reinterpret_cast<TestObj*>(0x2);
  EXPECT_EQ(Acad::eNullObjectId, acdbOpenObject(untouched, AcDbObjectId::kNull, AcDb::kForRead));
  EXPECT_EQ(reinterpret_cast<TestObj*>(0x2), untouched);
}

TEST_F(OpenCloseTest, ErasedObjectsOpenOnlyWhenAskedFor) {
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForWrite));
  EXPECT_EQ(Acad::eOk, obj->erase());
  EXPECT_EQ(Acad::eWasErased, obj->erase());
  obj->close();
  EXPECT_TRUE(id.isErased());
  AcDbObject* p = nullptr;
  EXPECT_EQ(Acad::eWasErased, acdbOpenAcDbObject(p, id, AcDb::kForRead));
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(p, id, AcDb::kForWrite, true));
  EXPECT_TRUE(p->isErased());
  EXPECT_EQ(Acad::eOk, p->erase(false));  // unerase
  p->close();
  EXPECT_FALSE(id.isErased());
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(p, id, AcDb::kForRead));
  p->close();
}

TEST_F(OpenCloseTest, ReaderCountStopsAt256) {
  std::vector<AcDbObject*> readers;
  for (int i = 0; i < 256; ++i) {
    AcDbObject* p = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(p, id, AcDb::kForRead));
    readers.push_back(p);
  }
  AcDbObject* p = nullptr;
  EXPECT_EQ(Acad::eAtMaxReaders, acdbOpenAcDbObject(p, id, AcDb::kForRead));
  EXPECT_EQ(1u, pf::openObjects(db.get()).size());
  EXPECT_EQ(256, pf::openObjects(db.get())[0].readers);
  for (AcDbObject* r : readers) EXPECT_EQ(Acad::eOk, r->close());
  EXPECT_EQ(Acad::eNotOpenForRead, readers[0]->close());
}

TEST_F(OpenCloseTest, NotifyOpenWorksWhileOpenForWriteButNotTwice) {
  AcDbObject* w = nullptr;
  AcDbObject* n = nullptr;
  AcDbObject* n2 = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(w, id, AcDb::kForWrite));
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(n, id, AcDb::kForNotify));
  EXPECT_TRUE(n->isNotifyEnabled());
  EXPECT_EQ(Acad::eWasOpenForNotify, acdbOpenAcDbObject(n2, id, AcDb::kForNotify));
  EXPECT_EQ(Acad::eOk, n->close());
  EXPECT_TRUE(w->isWriteEnabled());
  EXPECT_EQ(Acad::eOk, w->close());
}

TEST_F(OpenCloseTest, NewObjectsAreWritableUntilFirstCloseAndCannotCloseOutsideTheDatabase) {
  TestObj* loose = new TestObj(1);
  EXPECT_TRUE(loose->isWriteEnabled());
  EXPECT_TRUE(loose->objectId().isNull());
  EXPECT_EQ(Acad::eNotInDatabase, loose->close());
  loose->setValue(2);  // allowed: a new object counts as open for write
  delete loose;        // the creator may delete an object that never entered the database

  TestObj* obj = new TestObj(3);
  ASSERT_EQ(Acad::eOk, db->addAcDbObject(obj));
  EXPECT_TRUE(obj->isNewObject());
  EXPECT_EQ(1u, pf::openObjects(db.get()).size());
  EXPECT_EQ(Acad::eOk, obj->close());
  EXPECT_EQ(Acad::eAlreadyInDb, db->addAcDbObject(obj));
}

TEST_F(OpenCloseTest, CancelRestoresTheObjectAsItWasOpened) {
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForWrite));
  obj->setValue(99);
  ASSERT_EQ(Acad::eOk, obj->erase());
  EXPECT_EQ(Acad::eOk, obj->cancel());
  EXPECT_FALSE(id.isErased());
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForRead));
  EXPECT_EQ(7, obj->value());
  obj->close();
}

TEST_F(OpenCloseTest, ScopedPointerClosesOrDeletes) {
  {
    AcDbObjectPointer<TestObj> p(id, AcDb::kForWrite);
    ASSERT_EQ(Acad::eOk, p.openStatus());
    p->setValue(8);
    EXPECT_EQ(1u, pf::openObjects(db.get()).size());
  }
  {
    AcDbObjectPointer<TestCurve> wrong(id, AcDb::kForRead);
    EXPECT_EQ(Acad::eNotThatKindOfClass, wrong.openStatus());
    EXPECT_EQ(nullptr, wrong.object());
  }
  {
    AcDbObjectPointer<TestObj> fresh;
    EXPECT_EQ(Acad::eOk, fresh.create());  // not in the database: deleted at scope end
  }
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForRead));
  EXPECT_EQ(8, obj->value());
  obj->close();
}

TEST_F(OpenCloseTest, EntityOpenRefusesOtherObjectsAndErasureReachesOwnedObjects) {
  AcDbEntity* ent = nullptr;
  EXPECT_EQ(Acad::eNotAnEntity, acdbOpenAcDbEntity(ent, id, AcDb::kForRead));
  EXPECT_EQ(nullptr, ent);
  // An object in the extension dictionary of an erased object is effectively erased.
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForWrite));
  ASSERT_EQ(Acad::eOk, obj->createExtensionDictionary());
  AcDbObjectId xdictId = obj->extensionDictionary();
  obj->close();
  AcDbDictionary* xdict = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(xdict, xdictId, AcDb::kForWrite));
  AcDbObjectId entryId;
  TestObj* entry = new TestObj(2);
  ASSERT_EQ(Acad::eOk, xdict->setAt("E", entry, entryId));
  entry->close();
  xdict->close();
  EXPECT_FALSE(entryId.isEffectivelyErased());
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForWrite));
  obj->erase();
  obj->close();
  EXPECT_FALSE(entryId.isErased());
  EXPECT_TRUE(entryId.isEffectivelyErased());
  EXPECT_TRUE(xdictId.isEffectivelyErased());
}

using OpenCloseDeathTest = OpenCloseTest;

TEST_F(OpenCloseDeathTest, WritingToAnObjectOpenForReadEndsTheHost) {
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForRead));
  EXPECT_DEATH(obj->setValue(1), "assertWriteEnabled");
  obj->close();
  EXPECT_DEATH(obj->value(), "assertReadEnabled");
}

TEST(AbortDeathTest, AcrxAbortPrintsAndEnds) {
  EXPECT_DEATH(acrx_abort("fatal %d", 42), "fatal 42");
}

}  // namespace
