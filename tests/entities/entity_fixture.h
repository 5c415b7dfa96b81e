// entity_fixture.h - a fresh drawing per test, helpers to add entities to model space and to
// look at DXF groups, and the check that a test leaves nothing open.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dbents.h"
#include "dbmain.h"
#include "dbpl.h"
#include "dbsymtb.h"
#include "pf/dbdebug.h"
#include "db/dxf_tag_filer.h"
#include "pf/faults.h"

class EntityTest : public ::testing::Test {
 protected:
  void SetUp() override { db = new AcDbDatabase(true, true); }

  void TearDown() override {
    pf::clearAllFaults();
    EXPECT_EQ(pf::openObjectsReport(db), "") << "objects left open";
    delete db;
  }

  // Appends the new entity to model space; it stays open for write as after appendAcDbEntity.
  AcDbObjectId append(AcDbEntity* ent) {
    AcDbBlockTable* table = nullptr;
    EXPECT_EQ(db->getBlockTable(table, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    table->close();
    AcDbObjectId id;
    EXPECT_EQ(space->appendAcDbEntity(id, ent), Acad::eOk);
    space->close();
    return id;
  }

  // Appends and closes.
  AcDbObjectId appendClosed(AcDbEntity* ent) {
    const AcDbObjectId id = append(ent);
    EXPECT_EQ(ent->close(), Acad::eOk);
    return id;
  }

  // The object's DXF groups as a tag list (its fields, as written after its "0 <TYPE>").
  pf::TagList dxfTags(const AcDbObject* obj) {
    pf::TagDxfFiler out(db);
    EXPECT_EQ(obj->dxfOutFields(&out), Acad::eOk);
    return out.tags();
  }

  // The tags from the given subclass marker on (the groups the class itself files).
  static pf::TagList fromMarker(const pf::TagList& tags, const char* marker) {
    for (size_t i = 0; i < tags.size(); ++i)
      if (tags[i].code == 100 && tags[i].text == marker)
        return pf::TagList(tags.begin() + static_cast<long>(i), tags.end());
    ADD_FAILURE() << "no subclass marker " << marker;
    return {};
  }

  static std::vector<int> codes(const pf::TagList& tags) {
    std::vector<int> out;
    for (const pf::Tag& t : tags) out.push_back(t.code);
    return out;
  }

  // The text of the first tag with this code at or after `from`, or "<none>".
  static std::string valueOf(const pf::TagList& tags, int code, size_t from = 0) {
    for (size_t i = from; i < tags.size(); ++i)
      if (tags[i].code == code) return tags[i].text;
    return "<none>";
  }

  static double realOf(const pf::TagList& tags, int code, size_t from = 0) {
    double v = 0.0;
    const std::string text = valueOf(tags, code, from);
    EXPECT_TRUE(pf::parseReal(text, v)) << "group " << code << " = " << text;
    return v;
  }

  AcDbDatabase* db = nullptr;
};
