// drawing_objects_test.cpp - the root objects of a drawing read from tags the way the drawing
// reader builds a database, and written back to the same tags.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "core_test_objects.h"
#include "db_test_support.h"
#include "db/db_services.h"
#include "db/dxf_tag_filer.h"
#include "rx/rxinit.h"

namespace {

typedef std::vector<std::pair<int, std::string>> Groups;

Groups groupsOf(const pf::TagList& tags) {
  Groups g;
  for (const pf::Tag& t : tags) g.emplace_back(t.code, t.text);
  return g;
}

pf::TagList tagsOf(const Groups& groups) {
  pf::TagList tags;
  int line = 1;
  for (const auto& g : groups) {
    tags.emplace_back(g.first, g.second, line);
    line += 2;
  }
  return tags;
}

class DrawingObjectsTest : public ::testing::Test {
protected:
  void SetUp() override {
    registerTestClasses();
    db.reset(new AcDbDatabase(false, true));
  }
  void TearDown() override {
    EXPECT_TRUE(testsupport::nothingOpen(db.get()));
    db.reset();
  }
  // Creates the object of the DXF type under its handle and reads its groups (left open).
  AcDbObject* read(const char* dxfType, const Groups& groups) {
    AcRxClass* cls = pf::classForDxfName(dxfType);
    EXPECT_NE(nullptr, cls) << dxfType;
    AcDbObject* obj = AcDbObject::cast(cls->create());
    AcDbObjectId id;
    EXPECT_EQ(Acad::eOk, pf::addObjectWithHandle(db.get(), obj, AcDbHandle(groups[0].second.c_str()), id));
    pf::TagDxfFiler in(db.get(), tagsOf(groups));
    EXPECT_EQ(Acad::eOk, obj->dxfIn(&in)) << in.errorMessage();
    return obj;
  }
  Groups write(AcDbObjectId id) {
    AcDbObject* obj = nullptr;
    EXPECT_EQ(Acad::eOk, acdbOpenAcDbObject(obj, id, AcDb::kForRead));
    pf::TagDxfFiler out(db.get());
    EXPECT_EQ(Acad::eOk, obj->dxfOut(&out));
    obj->close();
    return groupsOf(out.tags());
  }
  std::unique_ptr<AcDbDatabase> db;
};

TEST_F(DrawingObjectsTest, RootObjectsReadAndWriteBack) {
  Groups table = {{5, "1"}, {330, "0"}, {100, "AcDbSymbolTable"}, {70, "1"}};
  Groups model = {{5, "1F"}, {330, "1"}, {100, "AcDbSymbolTableRecord"}, {100, "AcDbBlockTableRecord"},
                  {2, "*Model_Space"}, {340, "22"}, {1001, "ACAD"}, {1000, "DesignCenter Data"}};
  Groups nod = {{5, "C"}, {330, "0"}, {100, "AcDbDictionary"}, {281, "1"}, {3, "ZLINK"}, {350, "40"}};
  Groups link = {{5, "40"}, {102, "{ACAD_REACTORS"}, {330, "C"}, {102, "}"}, {330, "C"},
                 {100, "TestObj"}, {90, "3"}, {330, "0"}};
  Groups curve = {{5, "41"}, {330, "1F"}, {100, "AcDbEntity"}, {8, "Walls"}, {62, "5"}};

  AcDbObject* t = read("TABLE", table);
  AcDbObject* m = read("BLOCK_RECORD", model);
  AcDbObject* n = read("DICTIONARY", nod);
  AcDbObject* l = read("ZTESTOBJ", link);
  AcDbObject* c = read("ZTESTCURVE", curve);
  ASSERT_EQ(Acad::eOk, AcDbBlockTable::cast(t)->add(AcDbBlockTableRecord::cast(m)));
  ASSERT_EQ(Acad::eOk, pf::appendToBlock(AcDbBlockTableRecord::cast(m), c->objectId()));
  pf::setBlockTableId(db.get(), t->objectId());
  pf::setNamedObjectsDictionaryId(db.get(), n->objectId());
  for (AcDbObject* obj : {t, m, n, l, c}) obj->close();
  EXPECT_EQ(0, pf::linkDictionaryEntries(db.get()));  // the link already names its dictionary

  // The public API finds everything.
  AcDbBlockTable* bt = nullptr;
  ASSERT_EQ(Acad::eOk, db->getBlockTable(bt, AcDb::kForRead));
  AcDbBlockTableRecord* ms = nullptr;
  ASSERT_EQ(Acad::eOk, bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForRead));
  bt->close();
  AcDbBlockTableRecordIterator* it = nullptr;
  ASSERT_EQ(Acad::eOk, ms->newIterator(it));
  ASSERT_FALSE(it->done());
  AcDbEntity* ent = nullptr;
  ASSERT_EQ(Acad::eOk, it->getEntity(ent, AcDb::kForRead));
  EXPECT_EQ(ms->objectId(), ent->blockId());
  ent->close();
  delete it;
  ms->close();

  // Written back: the same groups, except the layout that is not in this drawing.
  EXPECT_EQ(table, write(pf::idForHandle(db.get(), AcDbHandle("1"), false)));
  Groups modelOut = model;
  modelOut.erase(modelOut.begin() + 5);  // 340 22 names nothing here
  EXPECT_EQ(modelOut, write(pf::idForHandle(db.get(), AcDbHandle("1F"), false)));
  EXPECT_EQ(nod, write(pf::idForHandle(db.get(), AcDbHandle("C"), false)));
  EXPECT_EQ(link, write(pf::idForHandle(db.get(), AcDbHandle("40"), false)));
  EXPECT_EQ(curve, write(pf::idForHandle(db.get(), AcDbHandle("41"), false)));
  EXPECT_EQ(1u, pf::danglingIds(db.get()).size());  // the layout
}

TEST_F(DrawingObjectsTest, AHandleCanHoldOnlyOneObject) {
  TestObj* a = new TestObj;
  TestObj* b = new TestObj;
  AcDbObjectId id;
  ASSERT_EQ(Acad::eOk, pf::addObjectWithHandle(db.get(), a, AcDbHandle("10"), id));
  EXPECT_EQ(Acad::eHandleInUse, pf::addObjectWithHandle(db.get(), b, AcDbHandle("10"), id));
  EXPECT_EQ(Acad::eAlreadyInDb, pf::addObjectWithHandle(db.get(), a, AcDbHandle("11"), id));
  EXPECT_EQ(Acad::eNullHandle, pf::addObjectWithHandle(db.get(), b, AcDbHandle(), id));
  delete b;
  a->close();
  // New objects continue above the highest handle read.
  TestObj* c = new TestObj;
  ASSERT_EQ(Acad::eOk, db->addAcDbObject(c));
  EXPECT_EQ(AcDbHandle("11"), c->objectId().handle());
  c->close();
}

}  // namespace
