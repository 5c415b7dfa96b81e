// fault_injection_test.cpp - each injectable call answers the injected status, for the
// chosen number of calls or always, and works again once the fault is used up or cleared.
#include <gtest/gtest.h>
#include "core_test_objects.h"
#include "db_test_support.h"
#include "pf/faults.h"

namespace {

class FaultInjectionTest : public testsupport::DatabaseTest {
protected:
  void SetUp() override {
    registerTestClasses();
    DatabaseTest::SetUp();
    objId = addToNod("OBJ", new TestObj(1));
    AcDbBlockTableRecord* ms = openModelSpace();
    msId = ms->objectId();
    TestCurve* curve = new TestCurve;
    ms->appendAcDbEntity(curveId, curve);
    curve->close();
    ms->close();
  }
  AcDbObjectId objId, msId, curveId;
};

TEST_F(FaultInjectionTest, CountedFaultsAreUsedUpThenCallsWorkAgain) {
  pf::failNext("acdbOpenAcDbObject", Acad::eWasOpenForWrite, 2);
  AcDbObject* obj = nullptr;
  EXPECT_EQ(Acad::eWasOpenForWrite, acdbOpenAcDbObject(obj, objId, AcDb::kForRead));
  TestObj* typed = nullptr;
  EXPECT_EQ(Acad::eWasOpenForWrite, acdbOpenObject(typed, objId, AcDb::kForRead));  // typed open goes through it
  ASSERT_EQ(Acad::eOk, acdbOpenAcDbObject(obj, objId, AcDb::kForRead));
  obj->close();
  EXPECT_EQ(2, pf::faultHits("acdbOpenAcDbObject"));
}

TEST_F(FaultInjectionTest, PermanentFaultsHoldUntilCleared) {
  pf::failAlways("AcDbCurve::getArea", Acad::eInvalidInput);
  TestCurve* curve = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(curve, curveId, AcDb::kForRead));
  double area = -1;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Acad::eInvalidInput, curve->getArea(area));
  pf::clearFault("AcDbCurve::getArea");
  EXPECT_EQ(Acad::eOk, curve->getArea(area));
  EXPECT_EQ(1.0, area);
  curve->close();
}

TEST_F(FaultInjectionTest, DictionaryAndObjectCallsFailWithNothingChanged) {
  AcDbDictionary* nod = nullptr;
  ASSERT_EQ(Acad::eOk, db->getNamedObjectsDictionary(nod, AcDb::kForWrite));
  {
    pf::ScopedFault f("AcDbDictionary::setAt", Acad::eOutOfMemory);
    TestObj* obj = new TestObj(2);
    AcDbObjectId id;
    EXPECT_EQ(Acad::eOutOfMemory, nod->setAt("NEW", obj, id));
    EXPECT_TRUE(obj->objectId().isNull());
    delete obj;
  }
  {
    pf::ScopedFault f("AcDbDictionary::getAt", Acad::eKeyNotFound, 2);
    AcDbObjectId id;
    AcDbObject* entry = reinterpret_cast<AcDbObject*>(1);
    EXPECT_EQ(Acad::eKeyNotFound, nod->getAt("OBJ", id));
    EXPECT_EQ(Acad::eKeyNotFound, nod->getAt("OBJ", entry, AcDb::kForRead));
    EXPECT_EQ(nullptr, entry);
    EXPECT_EQ(Acad::eOk, nod->getAt("OBJ", id));
  }
  EXPECT_FALSE(nod->has("NEW"));
  nod->close();

  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, objId, AcDb::kForRead));
  {
    pf::ScopedFault f("AcDbObject::upgradeOpen", Acad::eHadMultipleReaders, 1);
    EXPECT_EQ(Acad::eHadMultipleReaders, obj->upgradeOpen());
    EXPECT_FALSE(obj->isWriteEnabled());
  }
  ASSERT_EQ(Acad::eOk, obj->upgradeOpen());
  {
    pf::ScopedFault f("AcDbObject::createExtensionDictionary", Acad::eOutOfMemory, 1);
    EXPECT_EQ(Acad::eOutOfMemory, obj->createExtensionDictionary());
    EXPECT_TRUE(obj->extensionDictionary().isNull());
  }
  {
    pf::ScopedFault f("AcDbObject::removePersistentReactor", Acad::eNotOpenForWrite, 1);
    AcDbObjectId nodId = db->namedObjectsDictionaryId();
    EXPECT_EQ(Acad::eNotOpenForWrite, obj->removePersistentReactor(nodId));
    EXPECT_TRUE(obj->hasPersistentReactor(nodId));
  }
  {
    pf::ScopedFault f("AcDbObject::close", Acad::eCloseWasNotifying, 1);
    EXPECT_EQ(Acad::eCloseWasNotifying, obj->close());
    EXPECT_TRUE(obj->isWriteEnabled());  // still open
  }
  EXPECT_EQ(Acad::eOk, obj->close());
}

TEST_F(FaultInjectionTest, TableAndIteratorCallsFail) {
  {
    pf::ScopedFault f("AcDbDatabase::getSymbolTable", Acad::eNotOpenForRead, 1);
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(Acad::eNotOpenForRead, db->getBlockTable(table, AcDb::kForRead));
    EXPECT_EQ(nullptr, table);
  }
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(Acad::eOk, db->getSymbolTable(table, AcDb::kForRead));
  AcDbBlockTableRecord* ms = nullptr;
  {
    pf::ScopedFault f("AcDbBlockTable::getAt", Acad::eKeyNotFound, 1);
    EXPECT_EQ(Acad::eKeyNotFound, table->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForRead));
  }
  ASSERT_EQ(Acad::eOk, table->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForRead));
  table->close();
  AcDbBlockTableRecordIterator* it = nullptr;
  {
    pf::ScopedFault f("AcDbBlockTableRecord::newIterator", Acad::eOutOfMemory, 1);
    EXPECT_EQ(Acad::eOutOfMemory, ms->newIterator(it));
    EXPECT_EQ(nullptr, it);
  }
  ASSERT_EQ(Acad::eOk, ms->newIterator(it));
  AcDbEntity* ent = nullptr;
  {
    pf::ScopedFault f("AcDbBlockTableRecordIterator::getEntity", Acad::eWasOpenForWrite, 1);
    EXPECT_EQ(Acad::eWasOpenForWrite, it->getEntity(ent, AcDb::kForRead));
  }
  ASSERT_EQ(Acad::eOk, it->getEntity(ent, AcDb::kForRead));
  EXPECT_EQ(curveId, ent->objectId());
  ent->close();
  delete it;
  ms->close();
}

TEST_F(FaultInjectionTest, AdsNameConversionFails) {
  ads_name name;
  ASSERT_EQ(Acad::eOk, acdbGetAdsName(name, objId));
  pf::ScopedFault f("acdbGetObjectId", Acad::eInvalidAdsName, 1);
  AcDbObjectId id;
  EXPECT_EQ(Acad::eInvalidAdsName, acdbGetObjectId(id, name));
  EXPECT_TRUE(id.isNull());
  EXPECT_EQ(Acad::eOk, acdbGetObjectId(id, name));
  EXPECT_EQ(objId, id);
}

using FaultInjectionDeathTest = FaultInjectionTest;

// The typed open closes an object of the wrong class; if that close fails the host ends.
TEST_F(FaultInjectionDeathTest, TypedOpenAbortsWhenItsCloseFails) {
  EXPECT_DEATH(
      {
        pf::failAlways("AcDbObject::close", Acad::eCloseWasNotifying);
        TestCurve* curve = nullptr;
        acdbOpenObject(curve, objId, AcDb::kForRead);
      },
      "Failed AcDbObject::close");
}

}  // namespace
