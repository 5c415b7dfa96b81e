// stub_store_test.cpp - liveness of ids across the life of their database, ids that are no
// stub at all, the handle table with dense, sparse and colliding handles, and the flat index of
// the deep-clone id mapping.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "acdbads.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "db/stub_store.h"
#include "dbidmap.h"
#include "db/db_services.h"

namespace {

TEST(StubLiveness, IdsOfADeletedDatabaseAreNoLongerValid) {
  AcDbDatabase* db = new AcDbDatabase(true, false);
  std::vector<AcDbObjectId> ids = pf::allObjectIds(db);
  ASSERT_FALSE(ids.empty());
  for (const AcDbObjectId& id : ids) EXPECT_TRUE(id.isValid());
  delete db;
  for (const AcDbObjectId& id : ids) {
    EXPECT_FALSE(id.isValid());
    EXPECT_EQ(nullptr, id.database());
    EXPECT_TRUE(id.handle().isNull());
    AcDbObject* obj = nullptr;
    EXPECT_EQ(Acad::ePermanentlyErased, acdbOpenObject(obj, id, AcDb::kForRead));
  }
}

TEST(StubLiveness, PointersThatAreNoStubAreRefusedWithoutBeingRead) {
  AcDbDatabase db(true, false);
  AcDbObjectId real = db.blockTableId();
  ASSERT_TRUE(real.isValid());
  const AcDbStub* stub = real;
  // Inside a chunk but not at the start of a stub, and far outside any chunk.
  AcDbObjectId inside(reinterpret_cast<const AcDbStub*>(reinterpret_cast<const char*>(stub) + 8));
  EXPECT_FALSE(inside.isValid());
  long onStack = 0;
  AcDbObjectId stray(reinterpret_cast<const AcDbStub*>(&onStack));
  EXPECT_FALSE(stray.isValid());
  ads_name name = {reinterpret_cast<long>(&onStack), 0};
  AcDbObjectId out;
  EXPECT_EQ(Acad::eInvalidAdsName, acdbGetObjectId(out, name));
}

TEST(StubLiveness, ManyDatabasesKeepTheirOwnIds) {
  // Enough objects for several chunks, in two databases alive at once, then one goes.
  AcDbDatabase* a = new AcDbDatabase(true, false);
  AcDbDatabase* b = new AcDbDatabase(true, false);
  std::vector<AcDbObjectId> idsA, idsB;
  for (int i = 0; i < 3 * static_cast<int>(pf::StubStore::kChunk) / 2; ++i) {
    AcDbObjectId id;
    AcDbBlockTableRecord* ra = new AcDbBlockTableRecord;
    ASSERT_EQ(Acad::eOk, a->addAcDbObject(id, ra));
    ra->close();
    idsA.push_back(id);
    AcDbBlockTableRecord* rb = new AcDbBlockTableRecord;
    ASSERT_EQ(Acad::eOk, b->addAcDbObject(id, rb));
    rb->close();
    idsB.push_back(id);
  }
  for (std::size_t i = 0; i < idsA.size(); ++i) {
    ASSERT_EQ(a, idsA[i].database());
    ASSERT_EQ(b, idsB[i].database());
  }
  EXPECT_EQ(a->approxNumObjects(), static_cast<int>(pf::allObjectIds(a).size()));
  delete a;
  for (const AcDbObjectId& id : idsA) ASSERT_FALSE(id.isValid());
  for (const AcDbObjectId& id : idsB) ASSERT_TRUE(id.isValid());
  AcDbObject* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, idsB.back(), AcDb::kForRead));
  obj->close();
  delete b;
}

TEST(HandleTable, FindsDenseSparseAndCollidingHandles) {
  pf::StubStore store;
  pf::HandleTable table(store);
  EXPECT_EQ(nullptr, table.find(1));
  // Stubs of a stand-in database: the table only reads their handles.
  int standIn = 0;
  AcDbDatabase* db = reinterpret_cast<AcDbDatabase*>(&standIn);
  std::vector<std::uint64_t> keys;
  for (std::uint64_t h = 1; h <= 1000; ++h) keys.push_back(h);                      // dense, from 1
  for (std::uint64_t k = 1; k <= 1000; ++k) keys.push_back(k << 20);                // a table's size apart
  for (std::uint64_t k = 1; k <= 1000; ++k) keys.push_back(~std::uint64_t(0) - k);  // the top of the range
  std::vector<AcDbStub*> stubs;
  for (std::uint64_t key : keys) {
    stubs.push_back(store.add(db, AcDbHandle::fromValue(key)));
    table.put(static_cast<std::uint32_t>(store.size() - 1));
  }
  EXPECT_EQ(keys.size(), table.size());
  for (std::size_t i = 0; i < keys.size(); ++i) ASSERT_EQ(stubs[i], table.find(keys[i])) << keys[i];
  EXPECT_EQ(nullptr, table.find(1001));
  EXPECT_EQ(nullptr, table.find(0));
  // A second stub of a handle replaces the first; a reserve keeps every entry findable.
  AcDbStub* again = store.add(db, AcDbHandle::fromValue(5));
  table.put(static_cast<std::uint32_t>(store.size() - 1));
  EXPECT_EQ(again, table.find(5));
  EXPECT_EQ(keys.size(), table.size());
  table.reserve(100000);
  EXPECT_EQ(again, table.find(5));
  for (std::size_t i = 5; i < keys.size(); ++i) ASSERT_EQ(stubs[i], table.find(keys[i]));
  table.clear();
  EXPECT_EQ(0u, table.size());
  EXPECT_EQ(nullptr, table.find(keys[0]));
}

}  // namespace

namespace {

// The id mapping of a deep clone with thousands of pairs: its index grows, replaces, and is
// rebuilt when a pair is deleted.
TEST(IdMappingIndex, ThousandsOfPairsAssignComputeChangeAndDelete) {
  pf::StubStore store;
  int standIn = 0;
  AcDbDatabase* db = reinterpret_cast<AcDbDatabase*>(&standIn);
  std::vector<AcDbObjectId> keys, values;
  for (int i = 0; i < 5000; ++i) {
    keys.push_back(AcDbObjectId(store.add(db, AcDbHandle::fromValue(2 * i + 1))));
    values.push_back(AcDbObjectId(store.add(db, AcDbHandle::fromValue(2 * i + 2))));
  }
  AcDbIdMapping map;
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(Acad::eOk, map.assign(AcDbIdPair(keys[i], values[i], true)));
  for (int i = 0; i < 5000; ++i) {
    AcDbIdPair pair(keys[i], AcDbObjectId::kNull, false);
    ASSERT_TRUE(map.compute(pair)) << i;
    ASSERT_EQ(values[i], pair.value());
  }
  AcDbIdPair missing(values[0], AcDbObjectId::kNull, false);  // a value is no key
  EXPECT_FALSE(map.compute(missing));
  // Assigning a key again replaces its pair; change() does the same for a known key only.
  ASSERT_EQ(Acad::eOk, map.assign(AcDbIdPair(keys[7], values[8], false)));
  EXPECT_TRUE(map.change(AcDbIdPair(keys[9], values[10], false)));
  EXPECT_FALSE(map.change(AcDbIdPair(values[9], values[10], false)));
  // Deleting shifts the later pairs: every key must still find its own.
  EXPECT_TRUE(map.del(keys[100]));
  EXPECT_FALSE(map.del(keys[100]));
  for (int i = 0; i < 5000; ++i) {
    AcDbIdPair pair(keys[i], AcDbObjectId::kNull, false);
    if (i == 100) {
      ASSERT_FALSE(map.compute(pair));
      continue;
    }
    ASSERT_TRUE(map.compute(pair)) << i;
    const AcDbObjectId expected = i == 7 ? values[8] : i == 9 ? values[10] : values[i];
    ASSERT_EQ(expected, pair.value()) << i;
  }
}

}  // namespace
