// notification_test.cpp - persistent and transient reactor notifications at open, change,
// close, erase, cancel and database destruction.
#include <gtest/gtest.h>
#include "core_test_objects.h"
#include "db_test_support.h"

namespace {

class NotificationTest : public testsupport::DatabaseTest {
protected:
  void SetUp() override {
    registerTestClasses();
    DatabaseTest::SetUp();
    notifier = addToNod("NOTIFIER", new TestObj(1));
    reactor = addToNod("REACTOR", new TestReactor);
    TestObj* obj = nullptr;
    EXPECT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
    obj->addPersistentReactor(reactor);
    obj->close();
    persistentLog().events.clear();
  }
  int heard(const std::string& event) { return persistentLog().count(event); }

  AcDbObjectId notifier, reactor;
};

TEST_F(NotificationTest, AChangeAndACloseSendExactlyOneModified) {
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  obj->setValue(2);
  obj->setValue(3);
  EXPECT_EQ(0, heard("modified"));  // deferred to close
  EXPECT_EQ(1, heard("openedForModify"));
  obj->close();
  EXPECT_EQ(1, heard("modified"));
  EXPECT_EQ(1, heard("openedForModify"));
}

TEST_F(NotificationTest, OpeningForWriteWithoutAChangeSendsNothing) {
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  EXPECT_EQ(2 - 1, obj->value());
  obj->close();
  EXPECT_TRUE(persistentLog().events.empty());
}

TEST_F(NotificationTest, TheReactorIsOpenForNotifyEvenWhileOpenForWriteElsewhere) {
  TestReactor* r = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(r, reactor, AcDb::kForWrite));
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  obj->setValue(5);
  obj->close();
  EXPECT_EQ(1, heard("modified"));
  EXPECT_TRUE(r->sawNotifyOpen);
  EXPECT_FALSE(r->isNotifyEnabled());  // the notify opening was closed again
  EXPECT_TRUE(r->isWriteEnabled());
  r->close();
}

TEST_F(NotificationTest, AnErasedOrMissingReactorIsSkippedButStaysListed) {
  TestReactor* r = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(r, reactor, AcDb::kForWrite));
  ASSERT_EQ(Acad::eOk, r->erase());
  r->close();
  persistentLog().events.clear();
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  obj->setValue(6);
  EXPECT_TRUE(obj->hasPersistentReactor(reactor));
  obj->close();
  EXPECT_EQ(0, heard("modified"));
}

TEST_F(NotificationTest, NewObjectsGetNoOpenedForModify) {
  TestReactor* r = new TestReactor;
  AcDbObjectId rid = addToNod("R2", r);
  TestObj* fresh = new TestObj(1);
  ASSERT_EQ(Acad::eOk, db->addAcDbObject(fresh));
  fresh->addPersistentReactor(rid);
  persistentLog().events.clear();
  fresh->setValue(2);
  EXPECT_EQ(0, heard("openedForModify"));
  fresh->close();
  EXPECT_EQ(1, heard("modified"));
}

TEST_F(NotificationTest, DowngradeOpenDeliversModifiedAtOnce) {
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  obj->setValue(9);
  ASSERT_EQ(Acad::eOk, obj->downgradeOpen());
  EXPECT_EQ(1, heard("modified"));
  EXPECT_TRUE(obj->isReadEnabled());
  obj->close();
  EXPECT_EQ(1, heard("modified"));
}

TEST_F(NotificationTest, EraseSendsErasedAtCloseAndUneraseSendsUnerased) {
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  obj->erase();
  EXPECT_EQ(0, heard("erased"));
  obj->close();
  EXPECT_EQ(1, heard("erased"));
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite, true));
  obj->erase(false);
  obj->close();
  EXPECT_EQ(1, heard("unerased"));
}

TEST_F(NotificationTest, TransientReactorsHearTheSameAndCanBeRemoved) {
  TestTransientReactor transient;
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  obj->addReactor(&transient);
  obj->addReactor(&transient);  // once only
  obj->setValue(4);
  obj->close();
  EXPECT_EQ(1, transient.log.count("modified"));
  EXPECT_EQ(1, transient.log.count("openedForModify"));
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  obj->removeReactor(&transient);
  obj->setValue(5);
  obj->close();
  EXPECT_EQ(1, transient.log.count("modified"));
  // Left in the list: the persistent reactors (the dictionary holding the object, and ours).
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForRead));
  AcDbVoidPtrArray* list = obj->reactors();
  ASSERT_EQ(2, list->length());
  for (void* entry : *list) EXPECT_TRUE(acdbIsPersistentReactor(entry));
  EXPECT_EQ(db->namedObjectsDictionaryId(), acdbPersistentReactorObjectId(list->at(0)));
  EXPECT_EQ(reactor, acdbPersistentReactorObjectId(list->at(1)));
  obj->close();
}

TEST_F(NotificationTest, GraphicsChangesReachEntityReactors) {
  AcDbBlockTableRecord* ms = openModelSpace();
  TestCurve* curve = new TestCurve;
  AcDbObjectId cid;
  ASSERT_EQ(Acad::eOk, ms->appendAcDbEntity(cid, curve));
  ms->close();
  curve->close();
  TestTransientReactor transient;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(curve, cid, AcDb::kForWrite));
  curve->addReactor(&transient);
  curve->setSize(3.0);
  curve->close();
  EXPECT_EQ(1, transient.log.count("modifiedGraphics"));
  EXPECT_EQ(1, transient.log.count("modified"));
  ASSERT_EQ(Acad::eOk, acdbOpenObject(curve, cid, AcDb::kForWrite));
  curve->removeReactor(&transient);
  curve->close();
}

TEST_F(NotificationTest, CancelSendsCancelledAndNoModified) {
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  obj->setValue(42);
  ASSERT_EQ(Acad::eOk, obj->cancel());
  EXPECT_EQ(1, heard("cancelled"));
  EXPECT_EQ(0, heard("modified"));
  EXPECT_FALSE(obj->isWriteEnabled());
}

TEST_F(NotificationTest, ARemovedPersistentReactorHearsNothingMore) {
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  EXPECT_EQ(Acad::eOk, obj->removePersistentReactor(reactor));
  EXPECT_EQ(Acad::eKeyNotFound, obj->removePersistentReactor(reactor));
  obj->close();
  persistentLog().events.clear();
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  obj->setValue(3);
  obj->close();
  EXPECT_TRUE(persistentLog().events.empty());
}

TEST(NotificationLifetime, EveryObjectHearsGoodbyeWhenTheDatabaseGoes) {
  registerTestClasses();
  TestTransientReactor transient;
  {
    AcDbDatabase db;
    TestObj* obj = new TestObj(1);
    AcDbDictionary* nod = nullptr;
    ASSERT_EQ(Acad::eOk, db.getNamedObjectsDictionary(nod, AcDb::kForWrite));
    AcDbObjectId id;
    ASSERT_EQ(Acad::eOk, nod->setAt("X", obj, id));
    obj->addReactor(&transient);
    obj->close();
    nod->close();
    EXPECT_TRUE(testsupport::nothingOpen(&db));
  }
  EXPECT_EQ(1, transient.log.count("goodbye"));
}

}  // namespace

namespace {

// A reactor that records the notifier's value in itself, the way a link object updates its
// own state when the object it watches changes.
class SelfUpdatingReactor : public TestObj {
public:
  ACRX_DECLARE_MEMBERS(SelfUpdatingReactor);
  void modified(const AcDbObject* dbObj) override {
    const TestObj* source = TestObj::cast(dbObj);
    Adesk::Boolean wasWritable = Adesk::kTrue;
    upgradeStatus = upgradeFromNotify(wasWritable);
    if (upgradeStatus != Acad::eOk) return;
    nestedStatus = upgradeFromNotify(wasWritable);
    setValue(source->value() * 10);
    downgradeStatus = downgradeToNotify(wasWritable);
    // The notifier is open for read while it notifies: reading works, writing does not.
    AcDbObject* again = nullptr;
    readStatus = acdbOpenAcDbObject(again, dbObj->objectId(), AcDb::kForRead);
    if (again) again->close();
    writeStatus = acdbOpenAcDbObject(again, dbObj->objectId(), AcDb::kForWrite);
  }
  static Acad::ErrorStatus upgradeStatus, nestedStatus, downgradeStatus, readStatus, writeStatus;
};
Acad::ErrorStatus SelfUpdatingReactor::upgradeStatus, SelfUpdatingReactor::nestedStatus,
    SelfUpdatingReactor::downgradeStatus, SelfUpdatingReactor::readStatus, SelfUpdatingReactor::writeStatus;

}  // namespace

ACRX_DXF_DEFINE_MEMBERS(SelfUpdatingReactor, TestObj, AcDb::kDHL_CURRENT, AcDb::kMReleaseCurrent, 0, ZSELFUPDATING,
                        CoreTests)

namespace {

TEST_F(NotificationTest, AReactorUpdatesItselfThroughUpgradeFromNotify) {
  SelfUpdatingReactor::rxInit();
  AcDbObjectId selfId = addToNod("SELF", new SelfUpdatingReactor);
  // The updating reactor is itself watched by the logging reactor.
  SelfUpdatingReactor* self = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(self, selfId, AcDb::kForWrite));
  Adesk::Boolean wasWritable = Adesk::kFalse;
  EXPECT_EQ(Acad::eNotApplicable, self->upgradeFromNotify(wasWritable));  // not open for notify
  EXPECT_EQ(Acad::eNotApplicable, self->downgradeToNotify(wasWritable));
  self->addPersistentReactor(reactor);
  self->close();
  TestObj* obj = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  obj->addPersistentReactor(selfId);
  obj->close();
  persistentLog().events.clear();

  ASSERT_EQ(Acad::eOk, acdbOpenObject(obj, notifier, AcDb::kForWrite));
  obj->setValue(4);
  obj->close();
  EXPECT_EQ(Acad::eOk, SelfUpdatingReactor::upgradeStatus);
  EXPECT_EQ(Acad::eNotApplicable, SelfUpdatingReactor::nestedStatus);
  EXPECT_EQ(Acad::eOk, SelfUpdatingReactor::downgradeStatus);
  EXPECT_EQ(Acad::eOk, SelfUpdatingReactor::readStatus);
  EXPECT_EQ(Acad::eWasNotifying, SelfUpdatingReactor::writeStatus);
  ASSERT_EQ(Acad::eOk, acdbOpenObject(self, selfId, AcDb::kForRead));
  EXPECT_EQ(40, self->value());
  self->close();
  // The logger heard the notifier and then the reactor's own change.
  EXPECT_EQ(2, heard("modified"));
}

}  // namespace
