// collections_test.cpp - the id array Update collects into and the tag map Create builds.
#include "cmd/attributemap.h"
#include "cmd/objectidarray.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// Distinct non-null ids without a database. They name no object, so they are only ever compared
// by the stub they carry (stub()), never through the id's own operators.
char g_stubs[70000];
AcDbObjectId fakeId(int n) { return AcDbObjectId(reinterpret_cast<AcDbStub*>(&g_stubs[n])); }
const AcDbStub* stub(const AcDbObjectId& id) { return static_cast<AcDbStub*>(id); }

TEST(ObjectIdArray, CapacityDoublesFromEightThenGrowsBy16384) {
  ObjectIdArray ids;
  EXPECT_EQ(0, ids.length());
  EXPECT_EQ(0, ids.physicalLength());

  std::vector<int> capacities;
  for (int i = 0; i < 16384 * 3 + 1; ++i) {
    const int before = ids.physicalLength();
    ids.append(fakeId(i % 70000));
    if (ids.physicalLength() != before) capacities.push_back(ids.physicalLength());
  }
  const std::vector<int> expected = {8,    16,   32,   64,    128,   256,   512,  1024,
                                     2048, 4096, 8192, 16384, 32768, 49152, 65536};
  EXPECT_EQ(expected, capacities);
  EXPECT_EQ(16384 * 3 + 1, ids.length());
}

TEST(ObjectIdArray, GrowingKeepsEveryIdInOrder) {
  ObjectIdArray ids;
  for (int i = 0; i < 1000; ++i) ids.append(fakeId(i));
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(stub(fakeId(i)), stub(ids.at(i))) << "index " << i;
}

TEST(ObjectIdArray, ShrinkingCutsTheLengthAndNewSlotsAreNull) {
  ObjectIdArray ids;
  for (int i = 0; i < 5; ++i) ids.append(fakeId(i + 1));
  ids.setPhysicalLength(3);
  EXPECT_EQ(3, ids.length());
  EXPECT_EQ(stub(fakeId(3)), stub(ids.at(2)));
  ids.setPhysicalLength(10);
  EXPECT_EQ(3, ids.length());
  EXPECT_EQ(10, ids.physicalLength());
  ids.append(fakeId(50));
  EXPECT_EQ(stub(fakeId(50)), stub(ids.at(3)));
  EXPECT_TRUE(ids.at(4).isNull());
}

std::map<std::string, AcDbObjectId> contents(const AttributeMap& map) {
  std::map<std::string, AcDbObjectId> out;
  map.forEach([&out](const char* tag, const AcDbObjectId& id) {
    EXPECT_TRUE(out.emplace(tag, id).second) << "tag visited twice: " << tag;
  });
  return out;
}

TEST(AttributeMap, LaterEqualTagReplacesTheIdAndKeepsOneEntry) {
  AttributeMap map;
  map.setAt("AREA", fakeId(1));
  map.setAt("ROOM", fakeId(2));
  map.setAt("AREA", fakeId(3));
  EXPECT_EQ(2, map.count());
  AcDbObjectId id;
  ASSERT_TRUE(map.lookup("AREA", id));
  EXPECT_EQ(stub(fakeId(3)), stub(id));
  EXPECT_EQ(2u, contents(map).size());
}

TEST(AttributeMap, TagsAreCaseSensitiveAndExact) {
  AttributeMap map;
  map.setAt("Area", fakeId(1));
  map.setAt("AREA", fakeId(2));
  EXPECT_EQ(2, map.count());
  AcDbObjectId id;
  EXPECT_FALSE(map.lookup("area", id));
  EXPECT_FALSE(map.lookup("AREA ", id));
  EXPECT_FALSE(map.lookup("", id));
  EXPECT_TRUE(id.isNull()) << "a failed lookup must not write the id";
  ASSERT_TRUE(map.lookup("Area", id));
  EXPECT_EQ(stub(fakeId(1)), stub(id));
}

TEST(AttributeMap, ManyTagsAcrossBlocksAndBucketsAreAllFound) {
  AttributeMap map;
  for (int i = 0; i < 95; ++i) map.setAt(("TAG" + std::to_string(i)).c_str(), fakeId(i + 1));
  EXPECT_EQ(95, map.count());
  std::map<std::string, AcDbObjectId> all = contents(map);
  ASSERT_EQ(95u, all.size());
  for (int i = 0; i < 95; ++i) {
    AcDbObjectId id;
    ASSERT_TRUE(map.lookup(("TAG" + std::to_string(i)).c_str(), id));
    EXPECT_EQ(stub(fakeId(i + 1)), stub(id));
  }
}

TEST(AttributeMap, IterationVisitsBucketsInOrderWithTheNewestEntryFirst) {
  // "A" (65) and "R" (82) share bucket 65 % 17 == 82 % 17 == 14; "B" (66) is in bucket 15.
  ASSERT_EQ(14u, AttributeMap::bucketOf("A"));
  ASSERT_EQ(14u, AttributeMap::bucketOf("R"));
  ASSERT_EQ(15u, AttributeMap::bucketOf("B"));
  AttributeMap map;
  map.setAt("B", fakeId(1));
  map.setAt("A", fakeId(2));
  map.setAt("R", fakeId(3));
  std::vector<std::string> order;
  map.forEach([&order](const char* tag, const AcDbObjectId&) { order.push_back(tag); });
  EXPECT_EQ((std::vector<std::string>{"R", "A", "B"}), order);
}

}  // namespace
