// The editor: its registry entry, reactor attachment and the delivery of events.
#include <gtest/gtest.h>

#include "aced.h"
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
    int constructed = 0;
    void databaseConstructed(AcDbDatabase*) override { ++constructed; }
  } plain;
  RecordingReactor ed;
  edtest::Attached p(&plain), e(&ed);
  pf::notifyDatabaseConstructed(nullptr);
  pf::notifyBeginClose(nullptr);       // an AcEditorReactor hook only
  pf::notifyBeginDwgOpen("plan.dxf");
  pf::notifyDxfInComplete(nullptr);
  EXPECT_EQ(plain.constructed, 1);
  EXPECT_EQ(ed.events, (std::vector<std::string>{"databaseConstructed", "beginClose",
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

}  // namespace
