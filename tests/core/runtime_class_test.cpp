// runtime_class_test.cpp - runtime classes, the class dictionary and the system registry.
#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include "rxobject.h"
#include "rxclass.h"
#include "rxdict.h"
#include "rxboiler.h"
#include "core_test_objects.h"
#include "db_test_support.h"
#include "rx/class_observers.h"
#include "rx/rxinit.h"

// A class declared the way a plug-in declares its own, with bare DXF-name and app tokens.
class RxSample : public AcDbObject {
public:
  ACRX_DECLARE_MEMBERS(RxSample);
};
ACRX_DXF_DEFINE_MEMBERS(RxSample, AcDbObject, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0x81, RX_SAMPLE,
                        SampleApp);

class RxDerived : public RxSample {
public:
  ACRX_DECLARE_MEMBERS(RxDerived);
};
ACRX_NO_CONS_DEFINE_MEMBERS(RxDerived, RxSample)

namespace {

TEST(RuntimeClassTest, DxfDefineMembersRegistersEverything) {
  RxSample::rxInit();
  AcRxClass* cls = RxSample::desc();
  ASSERT_NE(nullptr, cls);
  EXPECT_STREQ("RxSample", cls->name());
  EXPECT_STREQ("RX_SAMPLE", cls->dxfName());
  EXPECT_STREQ("SampleApp", cls->appName());
  EXPECT_EQ(0x81, cls->proxyFlags());
  int dwg = 0, maint = 0;
  cls->getClassVersion(dwg, maint);
  EXPECT_EQ(AcDb::kDHL_CURRENT, dwg);
  EXPECT_EQ(AcDb::kMReleaseCurrent, maint);
  EXPECT_EQ(AcDbObject::desc(), cls->myParent());
  EXPECT_EQ(cls, pf::classForDxfName("rx_sample"));
  AcRxObject* made = cls->create();
  ASSERT_NE(nullptr, made);
  EXPECT_EQ(cls, made->isA());
  EXPECT_TRUE(made->isKindOf(AcDbObject::desc()));
  EXPECT_TRUE(made->isKindOf(AcRxObject::desc()));
  EXPECT_FALSE(made->isKindOf(AcDbEntity::desc()));
  EXPECT_EQ(made, RxSample::cast(made));
  EXPECT_EQ(nullptr, AcDbEntity::cast(made));
  EXPECT_EQ(nullptr, RxSample::cast(nullptr));
  delete made;
  // The class is in the class dictionary of the system registry.
  EXPECT_EQ(cls, acrxClassDictionary->at("RxSample"));
  EXPECT_NE(nullptr, acrxSysRegistry()->at(ACRX_CLASS_DICTIONARY));
}

TEST(RuntimeClassTest, ParentsLinkByNameWhateverTheOrder) {
  AcRxClass* child = newAcRxClass("RxOrderChild", "RxOrderParent");
  EXPECT_EQ(nullptr, child->myParent());
  AcRxClass* parent = newAcRxClass("RxOrderParent", "AcDbObject", 23, 6, 1);
  acrxBuildClassHierarchy();
  EXPECT_EQ(parent, child->myParent());
  EXPECT_TRUE(child->isDerivedFrom(AcDbObject::desc()));
  EXPECT_FALSE(parent->isDerivedFrom(child));
  EXPECT_EQ(nullptr, child->create());  // no pseudo-constructor
  deleteAcRxClass(child);
  deleteAcRxClass(parent);
  EXPECT_EQ(nullptr, acrxClassDictionary->at("RxOrderChild"));
  EXPECT_EQ(nullptr, acrxClassDictionary->at("RxOrderParent"));
}

TEST(RuntimeClassTest, DerivationFollowsParentsThatChangeAfterItWasAsked) {
  AcRxClass* base = newAcRxClass("RxLineageBase", "AcDbObject");
  AcRxClass* leaf = newAcRxClass("RxLineageLeaf", "RxLineageBase");
  ASSERT_TRUE(leaf->isDerivedFrom(base));
  ASSERT_TRUE(leaf->isDerivedFrom(AcDbObject::desc()));
  EXPECT_FALSE(leaf->isDerivedFrom(AcDbEntity::desc()));
  EXPECT_FALSE(base->isDerivedFrom(leaf));
  // Registered again under another parent: the answers already given must not stick.
  newAcRxClass("RxLineageLeaf", "AcDbEntity");
  EXPECT_FALSE(leaf->isDerivedFrom(base));
  EXPECT_TRUE(leaf->isDerivedFrom(AcDbEntity::desc()));
  EXPECT_TRUE(leaf->isDerivedFrom(AcDbObject::desc()));
  // A class taken out of the dictionary has no parent any more.
  deleteAcRxClass(base);
  deleteAcRxClass(leaf);
  EXPECT_FALSE(leaf->isDerivedFrom(AcDbObject::desc()));
  EXPECT_TRUE(leaf->isDerivedFrom(leaf));
}

namespace {
std::string g_deletedClasses;
void recordDeletedClass(const AcRxClass* deleted) {
  // Told after the removal: the dictionary no longer answers the name.
  g_deletedClasses += acrxClassDictionary->at(deleted->name()) ? "!still-registered!" : "";
  g_deletedClasses += std::string(deleted->name()) + ";";
}
void recordAgain(const AcRxClass* deleted) { g_deletedClasses += std::string("again:") + deleted->name() + ";"; }
}  // namespace

TEST(RuntimeClassTest, DeletionObserversHearEachDeletedClassInOrder) {
  AcRxClass* first = newAcRxClass("RxGoneFirst", "AcDbObject");
  AcRxClass* second = newAcRxClass("RxGoneSecond", "RxGoneFirst");
  AcRxClass* kept = newAcRxClass("RxGoneLater", "AcDbObject");
  g_deletedClasses.clear();
  pf::addClassDeletionObserver(&recordDeletedClass);
  pf::addClassDeletionObserver(&recordDeletedClass);  // added once only
  pf::addClassDeletionObserver(&recordAgain);
  deleteAcRxClass(second);
  deleteAcRxClass(first);
  deleteAcRxClass(first);    // no longer registered: nothing deleted, no one told
  deleteAcRxClass(nullptr);
  pf::removeClassDeletionObserver(&recordAgain);
  pf::removeClassDeletionObserver(&recordAgain);  // not there any more: no change
  EXPECT_EQ("RxGoneSecond;again:RxGoneSecond;RxGoneFirst;again:RxGoneFirst;", g_deletedClasses);
  pf::removeClassDeletionObserver(&recordDeletedClass);
  deleteAcRxClass(kept);  // after the removal: heard by no one
  EXPECT_EQ("RxGoneSecond;again:RxGoneSecond;RxGoneFirst;again:RxGoneFirst;", g_deletedClasses);
}

TEST(RuntimeClassTest, RegisteringANameAgainKeepsTheClassObject) {
  AcRxClass* first = newAcRxClass("RxAgain", "AcDbObject", 0, nullptr, "A1");
  AcRxClass* second = newAcRxClass("RxAgain", "AcDbObject", 0, nullptr, "A2");
  EXPECT_EQ(first, second);
  EXPECT_STREQ("A2", second->dxfName());
  deleteAcRxClass(first);
}

TEST(RuntimeClassTest, NoConsMembersAndCastAlongTheHierarchy) {
  RxSample::rxInit();
  RxDerived::rxInit();
  EXPECT_EQ(RxSample::desc(), RxDerived::desc()->myParent());
  EXPECT_TRUE(RxDerived::desc()->isDerivedFrom(AcDbObject::desc()));
}

TEST(RuntimeClassTest, RegistryDictionaryKeepsIdsAndIterates) {
  AcRxDictionary* dict = pf::newRxDictionary(false, false);
  AcRxObject* a = pf::newRxDictionary();
  AcRxObject* b = pf::newRxDictionary();
  EXPECT_EQ(nullptr, dict->atPut("Beta", b));
  Adesk::UInt32 idA = 0;
  EXPECT_EQ(nullptr, dict->atPut("alpha", a, idA));
  EXPECT_EQ(a, dict->at("ALPHA"));  // case-insensitive dictionary
  EXPECT_EQ(a, dict->at(idA));
  EXPECT_STREQ("alpha", dict->keyAt(idA));
  EXPECT_EQ(2u, dict->numEntries());
  AcRxDictionaryIterator* it = dict->newIterator(AcRx::kDictSorted);
  ASSERT_FALSE(it->done());
  EXPECT_STREQ("Beta", it->key());  // sorted by text: upper-case first
  it->next();
  EXPECT_STREQ("alpha", it->key());
  delete it;
  EXPECT_EQ(a, dict->remove("alpha"));
  EXPECT_FALSE(dict->has("alpha"));
  EXPECT_FALSE(dict->has(idA));
  EXPECT_TRUE(dict->resetKey("beta", "Gamma"));
  EXPECT_EQ(b, dict->at("gamma"));
  delete a;
  delete b;
  delete dict;
}

}  // namespace
