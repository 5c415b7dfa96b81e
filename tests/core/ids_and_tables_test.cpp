// ids_and_tables_test.cpp - object ids, handles, the default drawing, the block table and
// its records, and the iterators with their opposite step flags.
#include <gtest/gtest.h>
#include <set>
#include <unordered_set>
#include "acutmem.h"
#include "core_test_objects.h"
#include "db_test_support.h"
#include "db/db_services.h"

namespace {

class TablesTest : public testsupport::DatabaseTest {
protected:
  void SetUp() override {
    registerTestClasses();
    DatabaseTest::SetUp();
  }
  // Appends n curves of sizes 1..n to model space.
  std::vector<AcDbObjectId> addCurves(int n) {
    std::vector<AcDbObjectId> ids;
    AcDbBlockTableRecord* ms = openModelSpace();
    for (int i = 1; i <= n; ++i) {
      TestCurve* c = new TestCurve;
      c->setSize(i);
      AcDbObjectId id;
      EXPECT_EQ(Acad::eOk, ms->appendAcDbEntity(id, c));
      c->close();
      ids.push_back(id);
    }
    ms->close();
    return ids;
  }
};

TEST(HandleTest, TextFormAndArithmetic) {
  AcDbHandle h("1f");
  EXPECT_EQ(0x1Fu, h.low());
  char buf[20];
  h.getIntoAsciiBuffer(buf);
  EXPECT_STREQ("1F", buf);
  AcDbHandle big(0, 1);
  big.getIntoAsciiBuffer(buf);
  EXPECT_STREQ("100000000", buf);
  AcDbHandle wrap(-1, 0);
  ++wrap;
  EXPECT_EQ(AcDbHandle(0, 1), wrap);
  EXPECT_TRUE(AcDbHandle("not hex").isNull());
  EXPECT_TRUE(AcDbHandle().isNull());
  EXPECT_LT(AcDbHandle("FF"), AcDbHandle("100"));
}

TEST_F(TablesTest, DefaultDrawingHasTheSpacesAndTheNamedObjectDictionary) {
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(Acad::eOk, db->getBlockTable(table, AcDb::kForRead));
  EXPECT_TRUE(table->has(ACDB_MODEL_SPACE));
  EXPECT_TRUE(table->has("*paper_space"));
  AcDbObjectId ms;
  ASSERT_EQ(Acad::eOk, table->getAt("*MODEL_SPACE", ms));
  EXPECT_EQ(db.get(), ms.database());
  EXPECT_EQ(Acad::eKeyNotFound, table->getAt("NOPE", ms));
  table->close();
  AcDbDictionary* nod = nullptr;
  ASSERT_EQ(Acad::eOk, db->getNamedObjectsDictionary(nod, AcDb::kForRead));
  EXPECT_EQ(0u, nod->numEntries());
  nod->close();
  AcDbDatabase empty(false);
  AcDbBlockTable* none = nullptr;
  EXPECT_EQ(Acad::eMissingSymbolTable, empty.getSymbolTable(none, AcDb::kForRead));
}

TEST_F(TablesTest, IdsCompareHashAndKnowTheirObject) {
  std::vector<AcDbObjectId> ids = addCurves(3);
  EXPECT_TRUE(ids[0] < ids[1]);  // in handle order
  EXPECT_FALSE(ids[1] < ids[0]);
  EXPECT_NE(ids[0], ids[1]);
  std::unordered_set<AcDbObjectId> set(ids.begin(), ids.end());
  EXPECT_EQ(3u, set.size());
  EXPECT_EQ(1u, set.count(ids[2]));
  EXPECT_TRUE(AcDbObjectId::kNull.isNull());
  EXPECT_FALSE(AcDbObjectId::kNull.isValid());
  EXPECT_TRUE(ids[0].isValid());
  EXPECT_EQ(ids[0], pf::idForHandle(db.get(), ids[0].handle(), false));
  AcDbObjectId byHandle;
  ASSERT_EQ(Acad::eOk, db->getAcDbObjectId(byHandle, false, ids[1].handle()));
  EXPECT_EQ(ids[1], byHandle);
  EXPECT_EQ(Acad::eUnknownHandle, db->getAcDbObjectId(byHandle, false, AcDbHandle("FFFFF")));
  // Handles are unique and come from the database's seed.
  std::set<Adesk::UInt64> handles;
  for (const AcDbObjectId& id : pf::allObjectIds(db.get())) handles.insert(id.handle().value());
  EXPECT_EQ(pf::allObjectIds(db.get()).size(), handles.size());
  EXPECT_GT(db->handseed().value(), *handles.rbegin());
}

TEST_F(TablesTest, BlockIteratorStepsForwardWithTrueAndSkipsErased) {
  std::vector<AcDbObjectId> ids = addCurves(3);
  TestCurve* middle = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(middle, ids[1], AcDb::kForWrite));
  middle->erase();
  middle->close();
  AcDbBlockTableRecord* ms = openModelSpace(AcDb::kForRead);
  AcDbBlockTableRecordIterator* it = nullptr;
  ASSERT_EQ(Acad::eOk, ms->newIterator(it));
  std::vector<AcDbObjectId> seen;
  for (it->start(); !it->done(); it->step(true, true)) {
    AcDbObjectId id;
    it->getEntityId(id);
    seen.push_back(id);
  }
  EXPECT_EQ((std::vector<AcDbObjectId>{ids[0], ids[2]}), seen);
  seen.clear();
  for (it->start(false); !it->done(); it->step(false, false)) {
    AcDbObjectId id;
    it->getEntityId(id);
    seen.push_back(id);
  }
  EXPECT_EQ((std::vector<AcDbObjectId>{ids[2], ids[1], ids[0]}), seen);
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(Acad::eOk, it->seek(ids[1]));
  EXPECT_EQ(Acad::eWasErased, it->getEntity(ent, AcDb::kForRead));
  ASSERT_EQ(Acad::eOk, it->getEntity(ent, AcDb::kForRead, true));
  ent->close();
  EXPECT_EQ(ms, it->blockTableRecord());
  delete it;
  ms->close();
}

TEST_F(TablesTest, ObjectIteratorStepsForwardWithFalse) {
  std::vector<AcDbObjectId> ids = addCurves(3);
  AcDbObjectIterator* it = pf::newObjectIterator(ids);
  std::vector<AcDbObjectId> seen;
  for (it->start(); !it->done(); it->step(false, true)) seen.push_back(it->objectId());
  EXPECT_EQ(ids, seen);
  seen.clear();
  for (it->start(true); !it->done(); it->step(true)) seen.push_back(it->objectId());
  EXPECT_EQ((std::vector<AcDbObjectId>{ids[2], ids[1], ids[0]}), seen);
  it->setPosition(ids[1]);
  EXPECT_EQ(ids[1], it->objectId());
  EXPECT_EQ(nullptr, it->entity());  // closed: open it by id
  delete it;
  AcDbObjectIterator* none = pf::newObjectIterator({});
  none->start();
  EXPECT_TRUE(none->done());
  delete none;
}

TEST_F(TablesTest, AppendNeedsANewEntityAndAWritableBlock) {
  AcDbBlockTableRecord* ms = openModelSpace(AcDb::kForRead);
  TestCurve* c = new TestCurve;
  EXPECT_EQ(Acad::eNotOpenForWrite, ms->appendAcDbEntity(c));
  ms->close();
  ms = openModelSpace();
  ASSERT_EQ(Acad::eOk, ms->appendAcDbEntity(c));
  EXPECT_EQ(Acad::eAlreadyInDb, ms->appendAcDbEntity(c));
  EXPECT_EQ(Acad::eNullEntityPointer, ms->appendAcDbEntity(nullptr));
  EXPECT_EQ(ms->objectId(), c->blockId());
  c->close();
  ms->close();
}

TEST_F(TablesTest, BlockRecordsAreAddedByUniqueName) {
  AcDbBlockTable* table = nullptr;
  ASSERT_EQ(Acad::eOk, db->getBlockTable(table, AcDb::kForWrite));
  AcDbBlockTableRecord* rec = new AcDbBlockTableRecord;
  EXPECT_EQ(Acad::eInvalidSymbolTableName, table->add(rec));
  ASSERT_EQ(Acad::eOk, rec->setName("ROOMTAG"));
  AcDbObjectId recId;
  ASSERT_EQ(Acad::eOk, table->add(recId, rec));
  rec->close();
  AcDbBlockTableRecord* dup = new AcDbBlockTableRecord;
  dup->setName("roomtag");
  EXPECT_EQ(Acad::eDuplicateRecordName, table->add(dup));
  delete dup;
  AcDbBlockTableIterator* it = nullptr;
  ASSERT_EQ(Acad::eOk, table->newIterator(it));
  int count = 0;
  for (; !it->done(); it->step()) ++count;
  EXPECT_EQ(3, count);
  delete it;
  AcDbBlockTableRecord* opened = nullptr;
  ASSERT_EQ(Acad::eOk, table->getAt("RoomTag", opened, AcDb::kForRead));
  char* name = nullptr;
  opened->getName(name);
  EXPECT_STREQ("ROOMTAG", name);
  acutDelString(name);
  EXPECT_FALSE(opened->isLayout());
  opened->close();
  table->close();
}

TEST_F(TablesTest, WorkingDatabaseIsSetAndClearedWithTheDatabase) {
  AcDbHostApplicationServices* services = acdbHostApplicationServices();
  ASSERT_NE(nullptr, services);
  {
    AcDbDatabase temp;
    services->setWorkingDatabase(&temp);
    EXPECT_EQ(&temp, services->workingDatabase());
  }
  EXPECT_EQ(nullptr, services->workingDatabase());
  services->setWorkingDatabase(db.get());
  EXPECT_EQ(db.get(), acdbHostApplicationServices()->workingDatabase());
  services->setWorkingDatabase(nullptr);
}

using TablesDeathTest = TablesTest;

TEST_F(TablesDeathTest, DeletingADatabaseResidentObjectEndsTheHost) {
  std::vector<AcDbObjectId> ids = addCurves(1);
  TestCurve* c = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(c, ids[0], AcDb::kForRead));
  EXPECT_DEATH(delete c, "deleted while in a database");
  c->close();
}

}  // namespace
