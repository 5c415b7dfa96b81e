// create_test.cpp - the Create option: which picks make a link, which attribute it names, what
// is logged, and what the link writes at once.
#include "cmd_fixture.h"

namespace cmdtest {
namespace {

class CreateTest : public CommandTest {
protected:
  // Runs Create with the given answers; the picker (if shown) is played by `act`.
  void runCreate(std::vector<std::string> answers,
                 std::function<void(pf::DialogSession&)> act = nullptr) {
    pf::ScopedDialogDriver driver(recordingDriver(dialogs_, std::move(act)));
    pf::ScopedAnswers input(std::move(answers));
    createOption();
    remainingAnswers_ = input.remaining();
  }
  // The user presses OK on the picker's preselected entry.
  static void pressOk(pf::DialogSession& s) { EXPECT_TRUE(s.ok().ok); }

  DialogLog dialogs_;
  size_t remainingAnswers_ = 0;
};

TEST_F(CreateTest, LinksThePolylineToThePickedAttributeAndWritesTheArea) {
  const AcDbObjectId pline = addRectangle(ACDB_MODEL_SPACE, 0, 0, 12, 10);
  std::vector<AcDbObjectId> atts;
  const AcDbObjectId ref =
      addBlockReference(ACDB_MODEL_SPACE, {{"WIDTH", "w"}, {"AREA", "a"}, {"ROOM", "r"}}, &atts);
  std::vector<std::string> listed;
  runCreate({pick(pline), pick(ref)}, [&](pf::DialogSession& s) {
    listed = s.control(2016).items;
    EXPECT_TRUE(s.select(2016, "ROOM").ok);
    EXPECT_TRUE(s.ok().ok);
  });
  EXPECT_EQ((std::vector<UINT>{2002}), dialogs_.templates);
  EXPECT_EQ((std::vector<std::string>{"AREA", "ROOM", "WIDTH"}), listed);
  EXPECT_EQ(atts[2], linkedAttribute(pline));
  EXPECT_EQ("120.00", attributeText(atts[2])) << "AutoUpdate is on: the area is written at once";
  EXPECT_EQ("w", attributeText(atts[0]));
  EXPECT_EQ(0u, remainingAnswers_);
  EXPECT_EQ(0, errorCount());
  EXPECT_EQ(std::string::npos, output().find("Number")) << "Create prints nothing of its own";
}

TEST_F(CreateTest, AutoUpdateOffLinksButLeavesTheTextUntilUpdate) {
  app()->setAutoUpdate(false);
  const AcDbObjectId pline = addRectangle(ACDB_MODEL_SPACE, 0, 0, 2, 2);
  std::vector<AcDbObjectId> atts;
  const AcDbObjectId ref = addBlockReference(ACDB_MODEL_SPACE, {{"AREA", "keep"}}, &atts);
  runCreate({pick(pline), pick(ref)}, pressOk);
  EXPECT_EQ(atts[0], linkedAttribute(pline));
  EXPECT_EQ("keep", attributeText(atts[0]));
  updateOption();
  EXPECT_EQ("4.00", attributeText(atts[0]));
}

TEST_F(CreateTest, NonPolylineAtTheFirstPromptMakesNoLinkAndSaysNothing) {
  const AcDbObjectId line = addLine(ACDB_MODEL_SPACE);
  const AcDbObjectId ref = addBlockReference(ACDB_MODEL_SPACE, {{"AREA", "a"}});
  runCreate({pick(line), pick(ref)});
  EXPECT_EQ(1u, remainingAnswers_) << "the block reference prompt must not be asked";
  EXPECT_FALSE(hasExtensionDictionary(line));
  EXPECT_TRUE(dialogs_.templates.empty());
  EXPECT_EQ(0, errorCount());
  EXPECT_TRUE(pf::messageBoxes().empty());
}

TEST_F(CreateTest, NonBlockReferenceAtTheSecondPromptLeavesThePolylineUnchanged) {
  const AcDbObjectId pline = addRectangle(ACDB_MODEL_SPACE, 0, 0, 2, 2);
  const AcDbObjectId other = addRectangle(ACDB_MODEL_SPACE, 5, 5, 2, 2);
  runCreate({pick(pline), pick(other)});
  EXPECT_FALSE(hasExtensionDictionary(pline));
  EXPECT_TRUE(linkedAttribute(pline).isNull());
  EXPECT_TRUE(dialogs_.templates.empty());
  EXPECT_EQ(0, errorCount());
}

TEST_F(CreateTest, CancelledOrEmptyPicksEndSilently) {
  const AcDbObjectId pline = addRectangle(ACDB_MODEL_SPACE, 0, 0, 2, 2);
  runCreate({"^C"});
  runCreate({""});
  runCreate({pick(pline), "^C"});
  EXPECT_FALSE(hasExtensionDictionary(pline));
  EXPECT_EQ(0, errorCount());
  EXPECT_TRUE(dialogs_.templates.empty());
}

TEST_F(CreateTest, BlockReferenceWithoutAttributesShowsNoDialog) {
  const AcDbObjectId pline = addRectangle(ACDB_MODEL_SPACE, 0, 0, 2, 2);
  const AcDbObjectId ref = addBlockReference(ACDB_MODEL_SPACE, {});
  runCreate({pick(pline), pick(ref)}, pressOk);
  EXPECT_TRUE(dialogs_.templates.empty());
  EXPECT_TRUE(linkedAttribute(pline).isNull());
  EXPECT_EQ(0, errorCount());
}

TEST_F(CreateTest, DuplicateTagsAreOfferedOnceAndTheLaterAttributeWins) {
  const AcDbObjectId pline = addRectangle(ACDB_MODEL_SPACE, 0, 0, 3, 3);
  std::vector<AcDbObjectId> atts;
  const AcDbObjectId ref =
      addBlockReference(ACDB_MODEL_SPACE, {{"AREA", "first"}, {"AREA", "second"}}, &atts);
  std::vector<std::string> listed;
  runCreate({pick(pline), pick(ref)}, [&](pf::DialogSession& s) {
    listed = s.control(2016).items;
    s.ok();
  });
  EXPECT_EQ((std::vector<std::string>{"AREA"}), listed);
  EXPECT_EQ(atts[1], linkedAttribute(pline));
  EXPECT_EQ("first", attributeText(atts[0]));
  EXPECT_EQ("9.00", attributeText(atts[1]));
}

TEST_F(CreateTest, QuietModeLinksTheNamedTagWithoutADialog) {
  app()->setQuietMode(true);
  app()->setAttname("ROOM");
  const AcDbObjectId pline = addRectangle(ACDB_MODEL_SPACE, 0, 0, 1, 5);
  std::vector<AcDbObjectId> atts;
  const AcDbObjectId ref = addBlockReference(ACDB_MODEL_SPACE, {{"AREA", "a"}, {"ROOM", "r"}}, &atts);
  runCreate({pick(pline), pick(ref)}, pressOk);
  EXPECT_TRUE(dialogs_.templates.empty());
  EXPECT_EQ(atts[1], linkedAttribute(pline));
  EXPECT_EQ("5.00", attributeText(atts[1]));
}

TEST_F(CreateTest, QuietModeWithoutAnExactMatchMakesNoLink) {
  app()->setQuietMode(true);
  const AcDbObjectId pline = addRectangle(ACDB_MODEL_SPACE, 0, 0, 1, 5);
  const AcDbObjectId ref = addBlockReference(ACDB_MODEL_SPACE, {{"AREA", "a"}, {"ROOM", "r"}});
  for (const char* name : {"room", "ROOM ", ""}) {
    SCOPED_TRACE(std::string("Attname '") + name + "'");
    app()->setAttname(name);
    runCreate({pick(pline), pick(ref)}, pressOk);
    EXPECT_TRUE(linkedAttribute(pline).isNull());
  }
  EXPECT_TRUE(dialogs_.templates.empty());
  EXPECT_EQ(0, errorCount());
  EXPECT_TRUE(pf::messageBoxes().empty());
}

TEST_F(CreateTest, CancelInThePickerMakesNoLink) {
  const AcDbObjectId pline = addRectangle(ACDB_MODEL_SPACE, 0, 0, 1, 1);
  std::vector<AcDbObjectId> atts;
  const AcDbObjectId ref = addBlockReference(ACDB_MODEL_SPACE, {{"AREA", "a"}}, &atts);
  runCreate({pick(pline), pick(ref)}, [](pf::DialogSession& s) { s.cancel(); });
  EXPECT_EQ((std::vector<UINT>{2002}), dialogs_.templates);
  EXPECT_TRUE(linkedAttribute(pline).isNull());
  EXPECT_EQ("a", attributeText(atts[0]));
}

// The persistent reactor entries of an entity, erased objects' included.
std::vector<AcDbObjectId> persistentReactorIds(const AcDbObjectId& entityId) {
  std::vector<AcDbObjectId> ids;
  AcDbEntity* entity = nullptr;
  if (acdbOpenObject(entity, entityId, AcDb::kForRead) != Acad::eOk) return ids;
  if (AcDbVoidPtrArray* reactors = entity->reactors()) {
    for (int i = 0; i < reactors->length(); ++i) {
      if (acdbIsPersistentReactor(reactors->at(i)))
        ids.push_back(acdbPersistentReactorObjectId(reactors->at(i)));
    }
  }
  entity->close();
  return ids;
}

bool isErased(const AcDbObjectId& id) {
  AcDbObject* object = nullptr;
  if (acdbOpenAcDbObject(object, id, AcDb::kForRead, true) != Acad::eOk) return false;
  const bool erased = object->isErased();
  object->close();
  return erased;
}

TEST_F(CreateTest, RelinkingReplacesTheEarlierLink) {
  const AcDbObjectId pline = addRectangle(ACDB_MODEL_SPACE, 0, 0, 2, 3);
  std::vector<AcDbObjectId> atts;
  const AcDbObjectId ref = addBlockReference(ACDB_MODEL_SPACE, {{"A1", "x"}, {"A2", "y"}}, &atts);
  runCreate({pick(pline), pick(ref)}, [](pf::DialogSession& s) { s.select(2016, "A1"); s.ok(); });
  ASSERT_EQ(atts[0], linkedAttribute(pline));
  const std::vector<AcDbObjectId> first = persistentReactorIds(pline);
  ASSERT_EQ(1u, first.size());
  runCreate({pick(pline), pick(ref)}, [](pf::DialogSession& s) { s.select(2016, "A2"); s.ok(); });
  EXPECT_EQ(atts[1], linkedAttribute(pline));
  EXPECT_EQ("6.00", attributeText(atts[1]));
  // The new link takes the earlier one's key in the extension dictionary, which erases the
  // earlier link before its reactor entry is looked for; an erased link does not open, so its
  // entry stays beside the new one, and only the new one is a live link.
  const std::vector<AcDbObjectId> now = persistentReactorIds(pline);
  ASSERT_EQ(2u, now.size());
  EXPECT_EQ(first[0], now[0]);
  EXPECT_TRUE(isErased(now[0]));
  EXPECT_FALSE(isErased(now[1]));
  EXPECT_EQ(1, linkReactorCount(pline));
}

TEST_F(CreateTest, FailedConversionsAndUpgradeAreLogged) {
  const AcDbObjectId pline = addRectangle(ACDB_MODEL_SPACE, 0, 0, 2, 2);
  const AcDbObjectId ref = addBlockReference(ACDB_MODEL_SPACE, {{"AREA", "a"}});
  {
    pf::ScopedFault fault("acdbGetObjectId", Acad::eInvalidInput, 1);
    runCreate({pick(pline), pick(ref)}, pressOk);
  }
  ASSERT_EQ(1, errorCount());
  EXPECT_EQ("src/cmd/cmdzorvik", lastError().sourceFile);
  EXPECT_EQ("Acad::ErrorStatus = 3", lastError().message);
  EXPECT_EQ(commandSourceLine("pickEntity(IDS_SELECT_POLYLINE, polylineId, __LINE__)"),
            lastError().line);
  {
    pf::ScopedFault fault("AcDbObject::upgradeOpen", Acad::eWasOpenForRead, 1);
    runCreate({pick(pline), pick(ref)}, pressOk);
  }
  ASSERT_EQ(2, errorCount());
  EXPECT_EQ("Acad::ErrorStatus = 82", lastError().message);
  EXPECT_EQ(commandSourceLine("es = polyline->upgradeOpen();") + 2, lastError().line);
  {
    // The block reference's conversion, in the attribute selection step on its own.
    pf::ScopedFault fault("acdbGetObjectId", Acad::eInvalidInput, 1);
    pf::ScopedAnswers input({pick(ref)});
    AcDbObjectId chosen = pline;
    EXPECT_FALSE(selectLinkAttribute(chosen));
    EXPECT_EQ(pline, chosen) << "the id is left untouched";
  }
  ASSERT_EQ(3, errorCount());
  EXPECT_EQ("src/cmd/cmdzorvik", lastError().sourceFile);
  EXPECT_EQ(commandSourceLine("pickEntity(IDS_SELECT_BLOCKREF, blockRefId, __LINE__)"),
            lastError().line);
  EXPECT_TRUE(linkedAttribute(pline).isNull());
  EXPECT_FALSE(hasExtensionDictionary(pline));
}

TEST_F(CreateTest, FailedAttachDeletesTheLinkAndStillClosesThePolyline) {
  const AcDbObjectId pline = addRectangle(ACDB_MODEL_SPACE, 0, 0, 2, 2);
  std::vector<AcDbObjectId> atts;
  const AcDbObjectId ref = addBlockReference(ACDB_MODEL_SPACE, {{"AREA", "a"}}, &atts);
  const int objectsBefore = pf::objectCount(db());
  {
    pf::ScopedFault fault("AcDbDictionary::setAt", Acad::eOutOfMemory, 1);
    runCreate({pick(pline), pick(ref)}, pressOk);
  }
  EXPECT_TRUE(linkedAttribute(pline).isNull());
  EXPECT_EQ("a", attributeText(atts[0]));
  // Only the extension dictionary is new; the link object never entered the drawing.
  EXPECT_EQ(objectsBefore + 1, pf::objectCount(db()));
}

}  // namespace
}  // namespace cmdtest
