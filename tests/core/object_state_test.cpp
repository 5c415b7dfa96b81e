// object_state_test.cpp - where an object's state lives: in the object's own allocation for
// objects made by `new`, on the heap for objects on the stack and for classes whose AcDbObject
// part is not at the start of the allocation; all of them work the same in a database.
#include <gtest/gtest.h>

#include "acutmem.h"
#include "db/db_internal.h"
#include "dbents.h"
#include "dbsymtb.h"
#include "db_test_support.h"

namespace {

// A class whose AcDbObject part does not start its allocation.
struct Tagged {
  virtual ~Tagged() {}
  long tag = 7;
};
class TaggedLine : public Tagged, public AcDbLine {};

class ObjectStateTest : public testsupport::DatabaseTest {
protected:
  // Adds the line to model space, changes it through an open for write, reads it back.
  void roundTrip(AcDbLine* line) {
    AcDbBlockTableRecord* ms = openModelSpace();
    AcDbObjectId id;
    ASSERT_EQ(Acad::eOk, ms->appendAcDbEntity(id, line));
    ms->close();
    ASSERT_EQ(Acad::eOk, line->setLayer("WALLS"));
    line->close();
    AcDbLine* again = nullptr;
    ASSERT_EQ(Acad::eOk, acdbOpenObject(again, id, AcDb::kForWrite));
    ASSERT_EQ(again, line);
    ASSERT_EQ(Acad::eOk, again->setEndPoint(AcGePoint3d(3, 4, 0)));
    again->close();  // records and drops its undo state
    ASSERT_EQ(Acad::eOk, acdbOpenObject(again, id, AcDb::kForRead));
    char* layer = again->layer();
    EXPECT_STREQ("WALLS", layer);
    acutDelString(layer);
    EXPECT_EQ(AcGePoint3d(3, 4, 0), again->endPoint());
    again->close();
  }
};

TEST_F(ObjectStateTest, NewObjectsKeepTheirStateInTheirOwnBlock) {
  AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  EXPECT_TRUE(pf::impl(line)->inObjectBlock);
  roundTrip(line);
}

TEST_F(ObjectStateTest, ObjectsNotStartingTheirAllocationGetStateFromTheHeap) {
  TaggedLine* line = new TaggedLine;
  EXPECT_FALSE(pf::impl(line)->inObjectBlock);
  EXPECT_EQ(7, line->tag);
  roundTrip(line);
  EXPECT_EQ(7, line->tag);  // the state was not written over the object's other parts
  // The next object made by new takes its own block again.
  AcDbLine* plain = new AcDbLine;
  EXPECT_TRUE(pf::impl(plain)->inObjectBlock);
  delete plain;
}

TEST_F(ObjectStateTest, StackObjectsAndFreedNewObjectsAreClean) {
  AcDbLine onStack(AcGePoint3d(0, 0, 0), AcGePoint3d(2, 0, 0));
  EXPECT_FALSE(pf::impl(&onStack)->inObjectBlock);
  EXPECT_EQ(Acad::eOk, onStack.setLayer("A"));
  AcDbLine* copy = new AcDbLine(onStack.startPoint(), onStack.endPoint());
  EXPECT_TRUE(pf::impl(copy)->inObjectBlock);
  ASSERT_EQ(Acad::eOk, copy->setPropertiesFrom(&onStack));
  char* layer = copy->layer();
  EXPECT_STREQ("A", layer);
  acutDelString(layer);
  delete copy;  // never in a database: freed with its state, nothing left behind
}

}  // namespace
