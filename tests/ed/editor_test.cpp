// The editor: its registry entry, reactor attachment and the delivery of events.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "aced.h"
#include "db_test_support.h"
#include "dbidmap.h"
#include "ed_test_objects.h"
#include "ed_test_support.h"
#include "pf/editor.h"
#include "pf/editor_reactors.h"

namespace {

using edtest::RecordingReactor;

TEST(Editor, IsRegisteredWithItsClasses) {
  AcRxObject* entry = acrxSysRegistry()->at("AcEditor");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(acedEditor, entry);
  EXPECT_TRUE(entry->isKindOf(AcRxEvent::desc()));
  AcRxClass* reactorClass = AcRxClass::cast(acrxClassDictionary->at("AcEditorReactor"));
  ASSERT_NE(reactorClass, nullptr);
  EXPECT_TRUE(reactorClass->isDerivedFrom(AcRxEventReactor::desc()));
  RecordingReactor r;
  EXPECT_EQ(AcEditorReactor::cast(&r), &r);
}

TEST(Editor, ReactorsAreAddedOnceAndHearEventsInOrder) {
  RecordingReactor a("a"), b("b");
  std::size_t base = pf::editorEventReactors().size();
  acedEditor->addReactor(&a);
  acedEditor->addReactor(&b);
  acedEditor->addReactor(&a);
  EXPECT_EQ(pf::editorEventReactors().size(), base + 2);
  pf::notifyBeginSave(nullptr, "x.dxf");
  pf::notifySaveComplete(nullptr, "x.dxf");
  acedEditor->removeReactor(&a);
  acedEditor->removeReactor(&a);  // removing twice is harmless
  pf::notifyBeginClose(nullptr);
  acedEditor->removeReactor(&b);
  pf::notifyBeginClose(nullptr);
  EXPECT_EQ(a.events, (std::vector<std::string>{"a:beginSave x.dxf", "a:saveComplete x.dxf"}));
  EXPECT_EQ(b.events, (std::vector<std::string>{"b:beginSave x.dxf", "b:saveComplete x.dxf",
                                                "b:beginClose"}));
  EXPECT_EQ(pf::editorEventReactors().size(), base);
}

TEST(Editor, EditorEventsSkipPlainEventReactors) {
  struct Plain : AcRxEventReactor {
    int saves = 0;
    void beginSave(AcDbDatabase*, const char*) override { ++saves; }
  } plain;
  RecordingReactor ed;
  edtest::Attached p(&plain), e(&ed);
  pf::notifyBeginSave(nullptr, "s.dxf");
  pf::notifyBeginClose(nullptr);       // an AcEditorReactor hook only
  pf::notifyBeginDwgOpen("plan.dxf");
  pf::notifyDxfInComplete(nullptr);
  EXPECT_EQ(plain.saves, 1);
  EXPECT_EQ(ed.events, (std::vector<std::string>{"beginSave s.dxf", "beginClose",
                                                 "beginDwgOpen plan.dxf", "dxfInComplete"}));
}

// A reactor that detaches another reactor (and itself) while it is notified.
class Detacher : public RecordingReactor {
public:
  explicit Detacher(AcRxEventReactor* victim) : RecordingReactor("d"), victim_(victim) {}
  void beginClose(AcDbDatabase* db) override {
    RecordingReactor::beginClose(db);
    acedEditor->removeReactor(victim_);
    acedEditor->removeReactor(this);
  }

private:
  AcRxEventReactor* victim_;
};

TEST(Editor, ReactorsDetachedDuringAnEventHearNoMoreOfIt) {
  RecordingReactor later("later");
  Detacher d(&later);
  acedEditor->addReactor(&d);
  acedEditor->addReactor(&later);
  pf::notifyBeginClose(nullptr);
  pf::notifyBeginClose(nullptr);
  EXPECT_EQ(d.events, (std::vector<std::string>{"d:beginClose"}));
  EXPECT_TRUE(later.events.empty());
}

TEST(Editor, ADeletedReactorLeavesTheList) {
  std::size_t base = pf::editorEventReactors().size();
  auto* r = new RecordingReactor;
  acedEditor->addReactor(r);
  EXPECT_EQ(pf::editorEventReactors().size(), base + 1);
  delete r;
  EXPECT_EQ(pf::editorEventReactors().size(), base);
  pf::notifyBeginClose(nullptr);  // would touch freed memory if the reactor were still listed
}

// The database's deep clone tells the reactors attached through the editor, in order.
class DeepCloneListener : public AcEditorReactor {
public:
  void beginDeepClone(AcDbDatabase* to, AcDbIdMapping&) override {
    events.push_back(to ? "begin" : "begin(null)");
  }
  void beginDeepCloneXlation(AcDbIdMapping&, Acad::ErrorStatus* es) override {
    events.push_back(es ? "xlation" : "xlation(null)");
  }
  void abortDeepClone(AcDbIdMapping&) override { events.push_back("abort"); }
  void endDeepClone(AcDbIdMapping& map) override {
    AcDbIdMappingIter it(map);
    int pairs = 0;
    for (it.start(); !it.done(); it.next()) ++pairs;
    events.push_back("end " + std::to_string(pairs > 0));
  }
  std::vector<std::string> events;
};

class EditorDeepCloneTest : public testsupport::DatabaseTest {};

TEST_F(EditorDeepCloneTest, ReactorsAttachedThroughTheEditorHearDeepClone) {
  edtest::registerTestObjects();
  AcDbBlockTableRecord* ms = openModelSpace();
  AcDbObjectId msId = ms->objectId();
  AcDbObjectId markId;
  EdTestMark* mark = new EdTestMark;
  ASSERT_EQ(ms->appendAcDbEntity(markId, mark), Acad::eOk);
  mark->close();
  ms->close();

  DeepCloneListener listener;
  edtest::Attached on(&listener);
  AcDbObjectIdArray ids;
  ids.append(markId);
  AcDbIdMapping map;
  ASSERT_EQ(db->deepCloneObjects(ids, msId, map), Acad::eOk);
  EXPECT_EQ(listener.events, (std::vector<std::string>{"begin", "xlation", "end 1"}));

  // Detached, it hears nothing more.
  acedEditor->removeReactor(&listener);
  AcDbIdMapping again;
  ASSERT_EQ(db->deepCloneObjects(ids, msId, again), Acad::eOk);
  EXPECT_EQ(listener.events.size(), 3u);
}

}  // namespace

namespace {

// A reactor with static storage constructed before the reactor list is destroyed after it at
// exit; its destructor must not touch the list then. The child process exits normally and must
// do so cleanly.
RecordingReactor g_staticReactor("static");

TEST(EditorDeathTest, StaticReactorsOutliveTheListSafely) {
  EXPECT_EXIT(
      {
        acedEditor->addReactor(&g_staticReactor);
        std::exit(0);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
