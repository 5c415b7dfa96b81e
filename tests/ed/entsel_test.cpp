// Entity selection answers: a handle, a point through the host's picker, Enter, cancel.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "adslib.h"
#include "ed_test_objects.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "pf/dbdebug.h"
#include "pf/documents.h"
#include "pf/input.h"
#include "pf/output.h"

namespace {

std::string handleText(AcDbObjectId id) {
  char buf[20];
  id.handle().getIntoAsciiBuffer(buf);
  return buf;
}

class EntSelTest : public ::testing::Test {
protected:
  void SetUp() override {
    edtest::registerTestObjects();
    db_ = std::make_unique<AcDbDatabase>();
    doc_ = pf::openDocument(db_.get(), "");
    mark_ = append(new EdTestMark);
    gone_ = append(new EdTestMark);
    AcDbObject* obj = nullptr;
    ASSERT_EQ(acdbOpenAcDbObject(obj, gone_, AcDb::kForWrite), Acad::eOk);
    ASSERT_EQ(obj->erase(), Acad::eOk);
    obj->close();
    EdTestNote* note = new EdTestNote;
    ASSERT_EQ(db_->addAcDbObject(note_, note), Acad::eOk);
    note->close();
    previousPicker_ = pf::setEntityPicker([this](const double p[3], AcDbObjectId& picked) {
      if (std::hypot(p[0] - 1.0, p[1] - 2.0) > 0.5) return false;
      picked = mark_;
      return true;
    });
  }
  void TearDown() override {
    pf::setEntityPicker(previousPicker_);
    EXPECT_EQ(pf::openObjectsReport(db_.get()), "");
    pf::closeDocument(doc_);
    db_.reset();
  }

  AcDbObjectId append(AcDbEntity* ent) {
    AcDbBlockTable* bt = nullptr;
    EXPECT_EQ(db_->getBlockTable(bt, AcDb::kForRead), Acad::eOk);
    AcDbBlockTableRecord* ms = nullptr;
    EXPECT_EQ(bt->getAt(ACDB_MODEL_SPACE, ms, AcDb::kForWrite), Acad::eOk);
    bt->close();
    AcDbObjectId id;
    EXPECT_EQ(ms->appendAcDbEntity(id, ent), Acad::eOk);
    ms->close();
    ent->close();
    return id;
  }

  // Runs acedEntSel on the answers; answers its status and the selected id.
  int select(std::initializer_list<std::string> answers, AcDbObjectId& picked, ads_point pt) {
    pf::ScopedAnswers in(answers);
    ads_name name = {0, 0};
    int rc = acedEntSel(nullptr, name, pt);
    picked = AcDbObjectId::kNull;
    if (rc == RTNORM) {
      EXPECT_EQ(acdbGetObjectId(picked, name), Acad::eOk);
    }
    unread_ = in.remaining();
    return rc;
  }

  std::unique_ptr<AcDbDatabase> db_;
  AcApDocument* doc_ = nullptr;
  AcDbObjectId mark_, gone_, note_;
  pf::EntityPicker previousPicker_;
  std::size_t unread_ = 0;
  pf::OutputCapture out_;
};

TEST_F(EntSelTest, HandleSelectsTheEntity) {
  AcDbObjectId picked;
  ads_point pt;
  EXPECT_EQ(select({"#" + handleText(mark_)}, picked, pt), RTNORM);
  EXPECT_EQ(picked, mark_);
  EXPECT_EQ(pf::lastSelectionErrno(), 0);
  // Lower-case hex digits name the same handle.
  std::string lower = handleText(mark_);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_EQ(select({"#" + lower}, picked, pt), RTNORM);
  EXPECT_EQ(out_.text(), "Select object: #" + handleText(mark_) + "\nSelect object: #" + lower);
}

TEST_F(EntSelTest, HandlesThatNameNoSelectableEntityPickNothing) {
  AcDbObjectId picked;
  ads_point pt;
  EXPECT_EQ(select({"#FFFFF"}, picked, pt), RTERROR);
  EXPECT_EQ(pf::lastSelectionErrno(), 7);
  EXPECT_NE(out_.text().find("No entity with handle FFFFF."), std::string::npos);
  EXPECT_EQ(select({"#" + handleText(gone_)}, picked, pt), RTERROR);  // erased
  EXPECT_EQ(select({"#" + handleText(note_)}, picked, pt), RTERROR);  // not an entity
  EXPECT_EQ(picked, AcDbObjectId::kNull);
}

TEST_F(EntSelTest, PointGoesThroughThePicker) {
  AcDbObjectId picked;
  ads_point pt;
  EXPECT_EQ(select({"1.2,2.1"}, picked, pt), RTNORM);
  EXPECT_EQ(picked, mark_);
  EXPECT_DOUBLE_EQ(pt[X], 1.2);
  EXPECT_DOUBLE_EQ(pt[Y], 2.1);
  EXPECT_EQ(select({"50,50"}, picked, pt), RTERROR);
  EXPECT_EQ(pf::lastSelectionErrno(), 7);
  // Without a picker a point finds nothing.
  pf::EntityPicker mine = pf::setEntityPicker(nullptr);
  EXPECT_EQ(select({"1,2"}, picked, pt), RTERROR);
  pf::setEntityPicker(mine);
}

TEST_F(EntSelTest, EnterCancelInvalidInputAndKeywords) {
  AcDbObjectId picked;
  ads_point pt;
  EXPECT_EQ(select({""}, picked, pt), RTERROR);
  EXPECT_EQ(pf::lastSelectionErrno(), 52);
  EXPECT_EQ(select({"^C", "1,2"}, picked, pt), RTCAN);
  EXPECT_EQ(unread_, 1u);
  // Neither a point nor a handle: complain and ask again.
  EXPECT_EQ(select({"#XYZ", "hello", "1,2"}, picked, pt), RTNORM);
  EXPECT_EQ(unread_, 0u);
  EXPECT_NE(out_.text().find("*Invalid selection*"), std::string::npos);

  acedInitGet(0, "Undo");
  EXPECT_EQ(select({"u"}, picked, pt), RTKWORD);
  char kw[133];
  acedGetInput(kw);
  EXPECT_STREQ(kw, "Undo");
  // The keyword list applied to that call only.
  EXPECT_EQ(select({"u", ""}, picked, pt), RTERROR);
}

}  // namespace
