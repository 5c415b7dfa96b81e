// dictionary_test.cpp - dictionaries and extension dictionaries.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "acutmem.h"
#include "core_test_objects.h"
#include "db_test_support.h"
#include "acdbads.h"
#include "db/db_services.h"
#include "db/dxf_tag_filer.h"

namespace {

const int RTNORM_CODE = 5100;
const int RTERROR_CODE = -5001;

class DictionaryTest : public testsupport::DatabaseTest {
protected:
  void SetUp() override {
    registerTestClasses();
    DatabaseTest::SetUp();
    AcDbDictionary* d = new AcDbDictionary;
    dictId = addToNod("DICT", d);
  }
  AcDbDictionary* openDict(AcDb::OpenMode mode = AcDb::kForWrite) {
    AcDbDictionary* d = nullptr;
    EXPECT_EQ(Acad::eOk, acdbOpenObject(d, dictId, mode));
    return d;
  }
  AcDbObjectId dictId;
};

TEST_F(DictionaryTest, SetAtReplacingAnEntryErasesTheOldObject) {
  AcDbDictionary* d = openDict();
  TestObj* first = new TestObj(1);
  AcDbObjectId firstId, secondId;
  ASSERT_EQ(Acad::eOk, d->setAt("Key", first, firstId));
  first->close();
  TestObj* second = new TestObj(2);
  ASSERT_EQ(Acad::eOk, d->setAt("KEY", second, secondId));  // keys ignore case
  second->close();
  EXPECT_NE(firstId, secondId);
  EXPECT_TRUE(firstId.isErased());
  EXPECT_EQ(1u, d->numEntries());
  AcDbObjectId found;
  EXPECT_EQ(Acad::eOk, d->getAt("key", found));
  EXPECT_EQ(secondId, found);
  char* name = nullptr;
  ASSERT_EQ(Acad::eOk, d->nameAt(secondId, name));
  EXPECT_STREQ("Key", name);  // the key keeps the spelling it was added with
  acutDelString(name);
  EXPECT_EQ(Acad::eKeyNotFound, d->nameAt(firstId, name));
  d->close();
  // The new entry is owned by the dictionary, which is one of its persistent reactors.
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, secondId, AcDb::kForRead));
  EXPECT_EQ(dictId, obj->ownerId());
  EXPECT_TRUE(obj->hasPersistentReactor(dictId));
  obj->close();
}

TEST_F(DictionaryTest, SetAtFailsWithoutChangeWhenTheOldEntryCannotBeErased) {
  AcDbDictionary* d = openDict();
  AcDbObjectId oldId, newId;
  TestObj* old = new TestObj(1);
  ASSERT_EQ(Acad::eOk, d->setAt("A", old, oldId));
  old->close();
  TestObj* reader = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(reader, oldId, AcDb::kForRead));
  TestObj* fresh = new TestObj(2);
  EXPECT_EQ(Acad::eWasOpenForRead, d->setAt("A", fresh, newId));
  EXPECT_TRUE(fresh->objectId().isNull());  // not added
  delete fresh;
  reader->close();
  AcDbObjectId found;
  EXPECT_EQ(Acad::eOk, d->getAt("A", found));
  EXPECT_EQ(oldId, found);
  EXPECT_FALSE(oldId.isErased());
  d->close();
}

TEST_F(DictionaryTest, GetAtOpensOrAnswersKeyNotFound) {
  AcDbDictionary* d = openDict();
  AcDbObjectId id;
  TestObj* obj = new TestObj(5);
  ASSERT_EQ(Acad::eOk, d->setAt("E", obj, id));
  obj->close();
  AcDbObject* entry = reinterpret_cast<AcDbObject*>(0x1);
  EXPECT_EQ(Acad::eKeyNotFound, d->getAt("missing", entry, AcDb::kForRead));
  EXPECT_EQ(nullptr, entry);
  ASSERT_EQ(Acad::eOk, d->getAt("e", entry, AcDb::kForWrite));
  EXPECT_EQ(id, entry->objectId());
  AcDbObject* again = nullptr;
  EXPECT_EQ(Acad::eWasOpenForWrite, d->getAt("E", again, AcDb::kForRead));
  EXPECT_EQ(nullptr, again);
  entry->close();
  EXPECT_TRUE(d->has("E"));
  EXPECT_TRUE(d->has(id));
  EXPECT_FALSE(d->has("F"));
  d->close();
}

TEST_F(DictionaryTest, AnErasedEntryDropsOutAndStaysOutWhenUnerased) {
  AcDbDictionary* d = openDict();
  AcDbObjectId id;
  TestObj* obj = new TestObj(1);
  ASSERT_EQ(Acad::eOk, d->setAt("GONE", obj, id));
  obj->close();
  d->close();
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForWrite));
  obj->erase();
  obj->close();
  d = openDict(AcDb::kForRead);
  EXPECT_FALSE(d->has("GONE"));
  EXPECT_EQ(0u, d->numEntries());
  d->close();
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForWrite, true));
  obj->erase(false);
  obj->close();
  d = openDict(AcDb::kForRead);
  EXPECT_FALSE(d->has(id));
  d->close();
}

TEST_F(DictionaryTest, EntryErasedWhileTheDictionaryIsOpenForWriteStillDropsOut) {
  AcDbDictionary* d = openDict();
  AcDbObjectId id;
  TestObj* obj = new TestObj(1);
  ASSERT_EQ(Acad::eOk, d->setAt("X", obj, id));
  obj->close();
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, id, AcDb::kForWrite));
  obj->erase();
  obj->close();
  EXPECT_FALSE(d->has("X"));
  d->close();
}

TEST_F(DictionaryTest, RemoveTakesTheEntryOutAndErasesIt) {
  AcDbDictionary* d = openDict();
  AcDbObjectId a, b, removed;
  TestObj* oa = new TestObj(1);
  TestObj* ob = new TestObj(2);
  ASSERT_EQ(Acad::eOk, d->setAt("A", oa, a));
  ASSERT_EQ(Acad::eOk, d->setAt("B", ob, b));
  oa->close();
  ob->close();
  EXPECT_EQ(Acad::eOk, d->remove("a", removed));
  EXPECT_EQ(a, removed);
  EXPECT_TRUE(a.isErased());
  EXPECT_EQ(Acad::eKeyNotFound, d->remove("A"));
  EXPECT_EQ(Acad::eOk, d->remove(b));
  EXPECT_EQ(0u, d->numEntries());
  d->close();
}

TEST_F(DictionaryTest, IteratorsGoSortedOrInInsertionOrder) {
  AcDbDictionary* d = openDict();
  const char* keys[] = {"delta", "Alpha", "charlie", "Bravo"};
  for (const char* k : keys) {
    AcDbObjectId id;
    TestObj* o = new TestObj(1);
    ASSERT_EQ(Acad::eOk, d->setAt(k, o, id));
    o->close();
  }
  std::vector<std::string> sorted, added;
  AcDbDictionaryIterator* it = d->newIterator();
  for (; !it->done(); it->next()) sorted.push_back(it->name());
  delete it;
  it = d->newIterator(AcRx::kDictCollated);
  for (; !it->done(); it->next()) added.push_back(it->name());
  delete it;
  EXPECT_EQ((std::vector<std::string>{"Alpha", "Bravo", "charlie", "delta"}), sorted);
  EXPECT_EQ((std::vector<std::string>{"delta", "Alpha", "charlie", "Bravo"}), added);
  d->close();
}

TEST_F(DictionaryTest, WritesNeedTheDictionaryOpenForWrite) {
  AcDbDictionary* d = openDict(AcDb::kForRead);
  AcDbObjectId id;
  TestObj* o = new TestObj(1);
  EXPECT_EQ(Acad::eNotOpenForWrite, d->setAt("K", o, id));
  EXPECT_EQ(Acad::eNotOpenForWrite, d->remove("K"));
  d->close();
  delete o;
}

TEST_F(DictionaryTest, ASecondExtensionDictionaryFailsWith26) {
  TestObj* obj = nullptr;
  AcDbObjectId objId = addToNod("OWNER", new TestObj(1));
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, objId, AcDb::kForWrite));
  EXPECT_TRUE(obj->extensionDictionary().isNull());
  ASSERT_EQ(Acad::eOk, obj->createExtensionDictionary());
  AcDbObjectId xdict = obj->extensionDictionary();
  EXPECT_FALSE(xdict.isNull());
  EXPECT_EQ(Acad::eAlreadyInDb, obj->createExtensionDictionary());
  EXPECT_EQ(xdict, obj->extensionDictionary());
  obj->close();
  AcDbDictionary* x = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(x, xdict, AcDb::kForWrite));
  EXPECT_EQ(objId, x->ownerId());
  EXPECT_TRUE(x->isTreatElementsAsHard());
  AcDbObjectId entry;
  TestObj* e = new TestObj(2);
  ASSERT_EQ(Acad::eOk, x->setAt("LINK", e, entry));
  e->close();
  x->close();
  // Not empty: the link cannot be released.
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, objId, AcDb::kForWrite));
  EXPECT_EQ(Acad::eContainerNotEmpty, obj->releaseExtensionDictionary());
  obj->close();
  // Erasing the dictionary keeps the link; a new one still cannot be made.
  ASSERT_EQ(Acad::eOk, acdbOpenObject(x, xdict, AcDb::kForWrite));
  x->erase();
  x->close();
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, objId, AcDb::kForWrite));
  EXPECT_EQ(xdict, obj->extensionDictionary());
  EXPECT_EQ(Acad::eAlreadyInDb, obj->createExtensionDictionary());
  obj->close();
}

TEST_F(DictionaryTest, AnEmptyExtensionDictionaryCanBeReleased) {
  AcDbObjectId objId = addToNod("OWNER", new TestObj(1));
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, objId, AcDb::kForWrite));
  ASSERT_EQ(Acad::eOk, obj->createExtensionDictionary());
  AcDbObjectId xdict = obj->extensionDictionary();
  EXPECT_EQ(Acad::eOk, obj->releaseExtensionDictionary());
  EXPECT_TRUE(obj->extensionDictionary().isNull());
  EXPECT_TRUE(xdict.isErased());
  EXPECT_EQ(Acad::eOk, obj->createExtensionDictionary());
  obj->close();
}

TEST_F(DictionaryTest, ExtensionDictionaryNeedsAnObjectInTheDatabaseOpenForWrite) {
  TestObj loose(1);
  EXPECT_EQ(Acad::eNoDatabase, loose.createExtensionDictionary());
  AcDbObjectId objId = addToNod("OWNER", new TestObj(1));
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, objId, AcDb::kForRead));
  EXPECT_EQ(Acad::eNotOpenForWrite, obj->createExtensionDictionary());
  obj->close();
}

TEST_F(DictionaryTest, EntriesReadWithoutBackReferencesAreLinkedAfterLoading) {
  // A dictionary as another writer saves it: entries by 350 although 280 says hard, and the
  // entry has no reactor group.
  AcDbDictionary* dict = new AcDbDictionary;
  TestObj* entry = new TestObj;
  AcDbObjectId dictId2, entryId;
  ASSERT_EQ(Acad::eOk, pf::addObjectWithHandle(db.get(), dict, AcDbHandle("A0"), dictId2));
  ASSERT_EQ(Acad::eOk, pf::addObjectWithHandle(db.get(), entry, AcDbHandle("A1"), entryId));
  pf::TagDxfFiler dictIn(db.get(), {{5, "A0"}, {330, "0"}, {100, "AcDbDictionary"}, {280, "1"}, {281, "1"},
                                    {3, "ENTRY"}, {350, "A1"}});
  ASSERT_EQ(Acad::eOk, dict->dxfIn(&dictIn)) << dictIn.errorMessage();
  pf::TagDxfFiler entryIn(db.get(), {{5, "A1"}, {330, "A0"}, {100, "TestObj"}, {90, "4"}, {330, "0"}});
  ASSERT_EQ(Acad::eOk, entry->dxfIn(&entryIn)) << entryIn.errorMessage();
  EXPECT_TRUE(dict->isTreatElementsAsHard());
  EXPECT_FALSE(entry->hasPersistentReactor(dictId2));
  dict->close();
  entry->close();
  EXPECT_EQ(1, pf::linkDictionaryEntries(db.get()));
  EXPECT_EQ(0, pf::linkDictionaryEntries(db.get()));
  ASSERT_EQ(Acad::eOk, acdbOpenObject(entry, entryId, AcDb::kForWrite));
  EXPECT_EQ(dictId2, entry->ownerId());
  entry->erase();
  entry->close();
  ASSERT_EQ(Acad::eOk, acdbOpenObject(dict, dictId2, AcDb::kForRead));
  EXPECT_EQ(0u, dict->numEntries());
  dict->close();
}

TEST_F(DictionaryTest, HandEntFindsObjectsOfTheWorkingDatabase) {
  acdbHostApplicationServices()->setWorkingDatabase(db.get());
  char hex[20];
  dictId.handle().getIntoAsciiBuffer(hex);
  ads_name name = {0, 0};
  EXPECT_EQ(RTNORM_CODE, acdbHandEnt(hex, name));
  AcDbObjectId back;
  ASSERT_EQ(Acad::eOk, acdbGetObjectId(back, name));
  EXPECT_EQ(dictId, back);
  EXPECT_EQ(RTERROR_CODE, acdbHandEnt("FFFFFF", name));
  EXPECT_EQ(RTERROR_CODE, acdbHandEnt("xyz", name));
  acdbHostApplicationServices()->setWorkingDatabase(nullptr);
  EXPECT_EQ(RTERROR_CODE, acdbHandEnt(hex, name));
}

}  // namespace
