// db_test_support.h - shared helpers for database tests: a fresh database per test that
// checks, at the end, that nothing was left open.
#pragma once
#include <gtest/gtest.h>
#include <memory>
#include "dbmain.h"
#include "dbsymtb.h"
#include "dbdict.h"
#include "dbapserv.h"
#include "pf/dbdebug.h"
#include "pf/faults.h"

namespace testsupport {

// Every test that touches a database ends with this check.
inline ::testing::AssertionResult nothingOpen(const AcDbDatabase* db) {
  std::string report = pf::openObjectsReport(db);
  if (report.empty()) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "objects left open:\n" << report;
}

// A fixture with its own default drawing; it clears injected faults and checks that nothing
// is open when the test ends.
class DatabaseTest : public ::testing::Test {
protected:
  void SetUp() override {
    pf::clearAllFaults();
    db.reset(new AcDbDatabase(true, true));
  }
  void TearDown() override {
    pf::clearAllFaults();
    EXPECT_TRUE(nothingOpen(db.get()));
    db.reset();
  }

  // Model space, opened for write; the caller closes it.
  AcDbBlockTableRecord* openModelSpace(AcDb::OpenMode mode = AcDb::kForWrite) {
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(Acad::eOk, db->getSymbolTable(table, AcDb::kForRead));
    AcDbBlockTableRecord* ms = nullptr;
    EXPECT_EQ(Acad::eOk, table->getAt(ACDB_MODEL_SPACE, ms, mode));
    table->close();
    return ms;
  }

  // Adds an object to the named-object dictionary under key and answers its id (closed).
  AcDbObjectId addToNod(const char* key, AcDbObject* obj) {
    AcDbDictionary* nod = nullptr;
    EXPECT_EQ(Acad::eOk, db->getNamedObjectsDictionary(nod, AcDb::kForWrite));
    AcDbObjectId id;
    EXPECT_EQ(Acad::eOk, nod->setAt(key, obj, id));
    nod->close();
    obj->close();
    return id;
  }

  std::unique_ptr<AcDbDatabase> db;
};

}  // namespace testsupport
