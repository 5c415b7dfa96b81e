// deep_clone_test.cpp - deep clone: owned objects cloned along, id translation, editor
// reactor notices and their order, copied notifications.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "core_test_objects.h"
#include "db_test_support.h"
#include "dbidmap.h"
#include "rxevent.h"
#include "pf/editor_reactors.h"
#include "pf/faults.h"

namespace {

// Logs the deep-clone notices into the shared log, so their order against object
// notifications shows.
class CloneWatcher : public AcRxEventReactor {
public:
  void beginDeepClone(AcDbDatabase*, AcDbIdMapping& map) override {
    persistentLog().add("beginDeepClone", nullptr);
    AcDbIdMappingIter it(map);
    pairsAtBegin = 0;
    for (it.start(); !it.done(); it.next()) ++pairsAtBegin;
  }
  void beginDeepCloneXlation(AcDbIdMapping& map, Acad::ErrorStatus* es) override {
    persistentLog().add("beginDeepCloneXlation", nullptr);
    AcDbIdMappingIter it(map);
    pairsAtXlation = 0;
    for (it.start(); !it.done(); it.next()) ++pairsAtXlation;
    if (stopAtXlation) *es = Acad::eInvalidInput;
  }
  void abortDeepClone(AcDbIdMapping&) override { persistentLog().add("abortDeepClone", nullptr); }
  void endDeepClone(AcDbIdMapping&) override { persistentLog().add("endDeepClone", nullptr); }
  int pairsAtBegin = -1;
  int pairsAtXlation = -1;
  bool stopAtXlation = false;
};

class DeepCloneTest : public testsupport::DatabaseTest {
protected:
  void SetUp() override {
    registerTestClasses();
    DatabaseTest::SetUp();
    pf::addEditorEventReactor(&watcher);
    // Outside the copy: an object the link refers to, and a reactor that logs.
    outside = addToNod("OUTSIDE", new TestObj(100));
    logger = addToNod("LOGGER", new TestReactor);
    // The curve, in model space, with an extension dictionary holding a link that refers
    // outside; the link and the logger are the curve's persistent reactors.
    AcDbBlockTableRecord* ms = openModelSpace();
    msId = ms->objectId();
    TestCurve* curve = new TestCurve;
    EXPECT_EQ(Acad::eOk, ms->appendAcDbEntity(curveId, curve));
    ms->close();
    EXPECT_EQ(Acad::eOk, curve->createExtensionDictionary());
    xdictId = curve->extensionDictionary();
    AcDbDictionary* xdict = nullptr;
    EXPECT_EQ(Acad::eOk, acdbOpenObject(xdict, xdictId, AcDb::kForWrite));
    TestObj* link = new TestObj(7);
    link->setRef(outside);
    EXPECT_EQ(Acad::eOk, xdict->setAt("LINK", link, linkId));
    link->close();
    xdict->close();
    curve->addPersistentReactor(linkId);
    curve->addPersistentReactor(logger);
    curve->close();
    persistentLog().events.clear();
  }
  void TearDown() override {
    pf::removeEditorEventReactor(&watcher);
    DatabaseTest::TearDown();
  }
  AcDbObjectId cloneOf(const AcDbIdMapping& map, AcDbObjectId source) {
    AcDbIdPair pair(source, AcDbObjectId::kNull, false);
    return map.compute(pair) ? pair.value() : AcDbObjectId::kNull;
  }
  std::vector<std::string> eventNames() {
    std::vector<std::string> names;
    for (const auto& e : persistentLog().events) names.push_back(e.substr(0, e.find(':')));
    return names;
  }

  CloneWatcher watcher;
  AcDbObjectId outside, logger, msId, curveId, xdictId, linkId;
};

TEST_F(DeepCloneTest, OwnedObjectsAreClonedAndIdsTranslated) {
  AcDbObjectIdArray ids;
  ids.append(curveId);
  AcDbIdMapping map;
  ASSERT_EQ(Acad::eOk, db->deepCloneObjects(ids, msId, map));

  AcDbObjectId cloneCurve = cloneOf(map, curveId);
  AcDbObjectId cloneXdict = cloneOf(map, xdictId);
  AcDbObjectId cloneLink = cloneOf(map, linkId);
  ASSERT_FALSE(cloneCurve.isNull());
  ASSERT_FALSE(cloneXdict.isNull());
  ASSERT_FALSE(cloneLink.isNull());
  EXPECT_NE(curveId, cloneCurve);
  EXPECT_NE(xdictId, cloneXdict);
  EXPECT_NE(linkId, cloneLink);
  EXPECT_TRUE(cloneOf(map, outside).isNull());  // not owned: not cloned

  AcDbIdPair primary(curveId, AcDbObjectId::kNull, false);
  ASSERT_TRUE(map.compute(primary));
  EXPECT_TRUE(primary.isCloned());
  EXPECT_TRUE(primary.isPrimary());
  AcDbIdPair owned(linkId, AcDbObjectId::kNull, false);
  ASSERT_TRUE(map.compute(owned));
  EXPECT_FALSE(owned.isPrimary());

  // The clone sits in model space, with its own extension dictionary.
  TestCurve* curve = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(curve, cloneCurve, AcDb::kForRead));
  EXPECT_EQ(msId, curve->ownerId());
  EXPECT_EQ(msId, curve->blockId());
  EXPECT_EQ(cloneXdict, curve->extensionDictionary());
  // Its reactor list names the cloned link; the logger, not cloned, keeps its id.
  AcDbVoidPtrArray* reactors = curve->reactors();
  std::vector<AcDbObjectId> persistent;
  for (void* r : *reactors)
    if (acdbIsPersistentReactor(r)) persistent.push_back(acdbPersistentReactorObjectId(r));
  EXPECT_EQ((std::vector<AcDbObjectId>{cloneLink, logger}), persistent);
  curve->close();

  AcDbDictionary* xdict = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(xdict, cloneXdict, AcDb::kForRead));
  EXPECT_EQ(cloneCurve, xdict->ownerId());
  AcDbObjectId entry;
  ASSERT_EQ(Acad::eOk, xdict->getAt("LINK", entry));
  EXPECT_EQ(cloneLink, entry);
  xdict->close();

  // The cloned link still refers to the object outside the copy.
  TestObj* link = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(link, cloneLink, AcDb::kForRead));
  EXPECT_EQ(outside, link->ref());
  EXPECT_EQ(7, link->value());
  EXPECT_EQ(cloneXdict, link->ownerId());
  EXPECT_TRUE(link->hasPersistentReactor(cloneXdict));
  EXPECT_FALSE(link->hasPersistentReactor(xdictId));
  link->close();

  // The original is untouched.
  ASSERT_EQ(Acad::eOk, acdbOpenObject(curve, curveId, AcDb::kForRead));
  EXPECT_EQ(xdictId, curve->extensionDictionary());
  EXPECT_TRUE(curve->hasPersistentReactor(linkId));
  curve->close();

  AcDbBlockTableRecord* ms = openModelSpace(AcDb::kForRead);
  AcDbBlockTableRecordIterator* it = nullptr;
  ASSERT_EQ(Acad::eOk, ms->newIterator(it));
  std::vector<AcDbObjectId> entities;
  for (; !it->done(); it->step()) {
    AcDbObjectId id;
    it->getEntityId(id);
    entities.push_back(id);
  }
  delete it;
  ms->close();
  EXPECT_EQ((std::vector<AcDbObjectId>{curveId, cloneCurve}), entities);
}

TEST_F(DeepCloneTest, NoticesComeInOrderAndClonesNotifyOnlyAfterwards) {
  AcDbObjectIdArray ids;
  ids.append(curveId);
  AcDbIdMapping map;
  ASSERT_EQ(Acad::eOk, db->deepCloneObjects(ids, msId, map));
  EXPECT_EQ(0, watcher.pairsAtBegin);
  EXPECT_EQ(3, watcher.pairsAtXlation);
  // Then the command moves the clone: its modified reaches the logger after endDeepClone.
  TestCurve* clone = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(clone, cloneOf(map, curveId), AcDb::kForWrite));
  clone->setSize(2.0);
  clone->close();
  std::vector<std::string> names = eventNames();
  std::vector<std::string> expected = {"beginDeepClone", "copied", "beginDeepCloneXlation", "endDeepClone",
                                       "openedForModify", "modified", "modifiedGraphics"};
  EXPECT_EQ(expected, names);
}

TEST_F(DeepCloneTest, AMappingServesOneOperationAndCallsCanShareItWithDeferredTranslation) {
  AcDbObjectId second = addToNod("SECOND", new TestObj(3));
  AcDbObjectIdArray curves;
  curves.append(curveId);
  AcDbObjectIdArray objects;
  objects.append(second);
  AcDbObjectId nod = db->namedObjectsDictionaryId();
  AcDbIdMapping map;
  ASSERT_EQ(Acad::eOk, db->deepCloneObjects(curves, msId, map, true));
  std::vector<std::string> first = eventNames();
  ASSERT_FALSE(first.empty());
  EXPECT_EQ("beginDeepClone", first.front());
  EXPECT_EQ(0, static_cast<int>(std::count(first.begin(), first.end(), "endDeepClone")));
  ASSERT_EQ(Acad::eOk, db->deepCloneObjects(objects, nod, map));
  std::vector<std::string> names = eventNames();
  EXPECT_EQ(1, static_cast<int>(std::count(names.begin(), names.end(), "beginDeepClone")));
  EXPECT_EQ(1, static_cast<int>(std::count(names.begin(), names.end(), "endDeepClone")));
  EXPECT_FALSE(cloneOf(map, second).isNull());
  EXPECT_EQ(Acad::eInvalidIdMap, db->deepCloneObjects(curves, msId, map));
}

TEST_F(DeepCloneTest, AReactorCanStopTheCloneBeforeTranslation) {
  watcher.stopAtXlation = true;
  AcDbObjectIdArray ids;
  ids.append(curveId);
  AcDbIdMapping map;
  EXPECT_EQ(Acad::eInvalidInput, db->deepCloneObjects(ids, msId, map));
  std::vector<std::string> names = eventNames();
  EXPECT_EQ(0, static_cast<int>(std::count(names.begin(), names.end(), "endDeepClone")));
  db->abortDeepClone(map);
  EXPECT_EQ("abortDeepClone", eventNames().back());
}

TEST_F(DeepCloneTest, ObjectsOfAnotherDatabaseAreRefused) {
  AcDbDatabase other;
  AcDbObjectIdArray ids;
  ids.append(curveId);
  AcDbObjectId otherMs;
  AcDbBlockTable* bt = nullptr;
  ASSERT_EQ(Acad::eOk, other.getSymbolTable(bt, AcDb::kForRead));
  bt->getAt(ACDB_MODEL_SPACE, otherMs);
  bt->close();
  AcDbIdMapping map;
  EXPECT_EQ(Acad::eWrongDatabase, db->deepCloneObjects(ids, otherMs, map));
  EXPECT_TRUE(eventNames().empty());
}

TEST_F(DeepCloneTest, IdMappingPairsCanBeChangedAndDeleted) {
  AcDbIdMapping map;
  AcDbIdPair pair(curveId, linkId, true, true);
  EXPECT_EQ(Acad::eOk, map.assign(pair));
  AcDbIdPair look(curveId, AcDbObjectId::kNull, false);
  ASSERT_TRUE(map.compute(look));
  EXPECT_EQ(linkId, look.value());
  EXPECT_TRUE(map.change(AcDbIdPair(curveId, xdictId, true)));
  ASSERT_TRUE(map.compute(look));
  EXPECT_EQ(xdictId, look.value());
  EXPECT_FALSE(map.change(AcDbIdPair(linkId, xdictId, true)));
  EXPECT_TRUE(map.del(curveId));
  EXPECT_FALSE(map.compute(look));
  AcDbIdMappingIter it(map);
  EXPECT_TRUE(it.done());
  AcDbDatabase* dest = nullptr;
  EXPECT_EQ(Acad::eNoDatabase, map.destDb(dest));
  EXPECT_EQ(AcDb::kDcObjects, map.deepCloneContext());
}

TEST_F(DeepCloneTest, InjectedFaultStopsTheCloneBeforeAnything) {
  pf::ScopedFault fault("AcDbDatabase::deepCloneObjects", Acad::eOutOfMemory, 1);
  AcDbObjectIdArray ids;
  ids.append(curveId);
  AcDbIdMapping map;
  EXPECT_EQ(Acad::eOutOfMemory, db->deepCloneObjects(ids, msId, map));
  EXPECT_TRUE(eventNames().empty());
}

}  // namespace

namespace {

TEST_F(DeepCloneTest, ClonesJoinAnOwnerTheCallerHoldsOpenForRead) {
  AcDbBlockTableRecord* ms = openModelSpace(AcDb::kForRead);
  AcDbObjectIdArray ids;
  ids.append(curveId);
  AcDbIdMapping map;
  ASSERT_EQ(Acad::eOk, db->deepCloneObjects(ids, msId, map));
  AcDbBlockTableRecordIterator* it = nullptr;
  ASSERT_EQ(Acad::eOk, ms->newIterator(it));
  int n = 0;
  for (; !it->done(); it->step()) ++n;
  delete it;
  ms->close();
  EXPECT_EQ(2, n);
}

// An object that will not be copied (its class refuses): a copy of its owner leaves it out
// rather than owning the original, which would then have two owners.
class Uncopyable : public TestObj {
public:
  Acad::ErrorStatus deepClone(AcDbObject*, AcDbObject*& clone, AcDbIdMapping&, Adesk::Boolean) const override {
    clone = nullptr;
    return Acad::eNotApplicable;
  }
};

TEST_F(DeepCloneTest, AnOwnedObjectThatIsNotClonedIsLeftOutOfTheCopy) {
  AcDbDictionary* xdict = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(xdict, xdictId, AcDb::kForWrite));
  AcDbObjectId staysId;
  Uncopyable* uncopyable = new Uncopyable;
  ASSERT_EQ(Acad::eOk, xdict->setAt("STAYS", uncopyable, staysId));
  uncopyable->close();
  xdict->close();

  AcDbObjectIdArray ids;
  ids.append(curveId);
  AcDbIdMapping map;
  ASSERT_EQ(Acad::eOk, db->deepCloneObjects(ids, msId, map));
  const AcDbObjectId cloneXdict = cloneOf(map, xdictId);
  ASSERT_FALSE(cloneXdict.isNull());
  EXPECT_TRUE(cloneOf(map, staysId).isNull());

  ASSERT_EQ(Acad::eOk, acdbOpenObject(xdict, cloneXdict, AcDb::kForRead));
  AcDbObjectId entry;
  EXPECT_EQ(Acad::eOk, xdict->getAt("LINK", entry));
  EXPECT_EQ(cloneOf(map, linkId), entry);
  EXPECT_NE(Acad::eOk, xdict->getAt("STAYS", entry)) << "the copy does not own the original";
  EXPECT_EQ(1u, xdict->numEntries());
  xdict->close();
  AcDbObject* stays = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(stays, staysId, AcDb::kForRead));
  EXPECT_EQ(xdictId, stays->ownerId());
  stays->close();
}

}  // namespace
