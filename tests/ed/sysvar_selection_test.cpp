// System variables (acedGetVar, acedSetVar and the host's own integer variables) and selection
// sets (acedSSGet, acedSSLength, acedSSName, acedSSFree).
#include <gtest/gtest.h>

#include <memory>

#include "acutmem.h"
#include "adslib.h"
#include "dbents.h"
#include "dbmain.h"
#include "dbsymtb.h"
#include "pf/documents.h"
#include "pf/input.h"
#include "pf/output.h"
#include "pf/sysvars.h"

namespace {

resbuf shortValue(short v) {
  resbuf rb;
  rb.rbnext = nullptr;
  rb.restype = RTSHORT;
  rb.resval.rint = v;
  return rb;
}

TEST(SysVarTest, HostVariablesKeepTheirRangeAndUnknownOnesAreRefused) {
  ASSERT_TRUE(pf::defineIntegerVariable("TestStatus", 0, 0, 9));
  resbuf value = shortValue(3);
  EXPECT_EQ(RTNORM, acedSetVar("teststatus", &value)) << "names ignore case";
  EXPECT_EQ(3, pf::integerVariable("TESTSTATUS"));
  resbuf read;
  ASSERT_EQ(RTNORM, acedGetVar("TESTSTATUS", &read));
  EXPECT_EQ(RTSHORT, read.restype);
  EXPECT_EQ(3, read.resval.rint);

  resbuf tooBig = shortValue(10);
  EXPECT_EQ(RTERROR, acedSetVar("TESTSTATUS", &tooBig));
  resbuf text;
  text.restype = RTSTR;
  text.resval.rstring = const_cast<char*>("3");
  EXPECT_EQ(RTERROR, acedSetVar("TESTSTATUS", &text));
  EXPECT_EQ(3, pf::integerVariable("TESTSTATUS")) << "a refused value changes nothing";

  EXPECT_EQ(RTERROR, acedSetVar("NOSUCHVAR", &value));
  EXPECT_EQ(RTERROR, acedGetVar("NOSUCHVAR", &read));
  pf::removeVariable("TESTSTATUS");
  EXPECT_EQ(RTERROR, acedGetVar("TESTSTATUS", &read));
  EXPECT_FALSE(pf::defineIntegerVariable("DWGCODEPAGE", 0, 0, 1)) << "a built-in cannot be redefined";
}

TEST(SysVarTest, CodePageIsTheWorkingDrawingsAndReadOnly) {
  auto db = std::make_unique<AcDbDatabase>();
  AcApDocument* doc = pf::openDocument(db.get(), "");
  resbuf read;
  ASSERT_EQ(RTNORM, acedGetVar("DWGCODEPAGE", &read));
  ASSERT_EQ(RTSTR, read.restype);
  EXPECT_STREQ("ANSI_1252", read.resval.rstring);
  acutDelString(read.resval.rstring);
  resbuf value = shortValue(1);
  EXPECT_EQ(RTERROR, acedSetVar("DWGCODEPAGE", &value));
  pf::closeDocument(doc);
}

class SelectionTest : public ::testing::Test {
protected:
  void SetUp() override {
    db_ = std::make_unique<AcDbDatabase>();
    doc_ = pf::openDocument(db_.get(), "");
    for (const char* space : {ACDB_MODEL_SPACE, ACDB_PAPER_SPACE}) {
      AcDbBlockTable* table = nullptr;
      ASSERT_EQ(Acad::eOk, db_->getBlockTable(table, AcDb::kForRead));
      AcDbBlockTableRecord* record = nullptr;
      ASSERT_EQ(Acad::eOk, table->getAt(space, record, AcDb::kForWrite));
      table->close();
      AcDbLine* line = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
      AcDbObjectId id;
      ASSERT_EQ(Acad::eOk, record->appendAcDbEntity(id, line));
      line->close();
      record->close();
      ids_.push_back(id);
    }
  }
  void TearDown() override {
    pf::closeDocument(doc_);
    db_.reset();
  }
  std::string handleOf(int i) const {
    char buffer[20];
    ids_[i].handle().getIntoAsciiBuffer(buffer);
    return std::string("#") + buffer;
  }
  std::vector<AcDbObjectId> members(const ads_name set) const {
    long length = -1;
    EXPECT_EQ(RTNORM, acedSSLength(set, &length));
    std::vector<AcDbObjectId> out;
    for (long i = 0; i < length; ++i) {
      ads_name name;
      EXPECT_EQ(RTNORM, acedSSName(set, i, name));
      AcDbObjectId id;
      EXPECT_EQ(Acad::eOk, acdbGetObjectId(id, name));
      out.push_back(id);
    }
    ads_name past;
    EXPECT_EQ(RTERROR, acedSSName(set, length, past));
    return out;
  }

  std::unique_ptr<AcDbDatabase> db_;
  AcApDocument* doc_ = nullptr;
  std::vector<AcDbObjectId> ids_;
};

TEST_F(SelectionTest, PicksUntilEnterSkippingDuplicatesAndFreesTheSet) {
  pf::OutputCapture output;
  pf::ScopedAnswers answers({handleOf(1), handleOf(0), handleOf(1), ""});
  ads_name set;
  ASSERT_EQ(RTNORM, acedSSGet(nullptr, nullptr, nullptr, nullptr, set));
  EXPECT_EQ((std::vector<AcDbObjectId>{ids_[1], ids_[0]}), members(set));
  EXPECT_NE(std::string::npos, output.text().find("1 found, 1 duplicate")) << output.text();
  EXPECT_EQ(RTNORM, acedSSFree(set));
  long length = 0;
  EXPECT_EQ(RTERROR, acedSSLength(set, &length)) << "a freed set is gone";
  EXPECT_EQ(RTERROR, acedSSFree(set));
}

TEST_F(SelectionTest, EmptyOrCancelledSelectionMakesNoSet) {
  ads_name set;
  {
    pf::ScopedAnswers answers({""});
    EXPECT_EQ(RTERROR, acedSSGet(nullptr, nullptr, nullptr, nullptr, set));
  }
  {
    pf::ScopedAnswers answers({handleOf(0), "^C"});
    EXPECT_EQ(RTCAN, acedSSGet(nullptr, nullptr, nullptr, nullptr, set));
  }
  ads_name entity;
  ASSERT_EQ(Acad::eOk, acdbGetAdsName(entity, ids_[0]));
  long length = 0;
  EXPECT_EQ(RTERROR, acedSSLength(entity, &length)) << "an entity name is not a set";
}

TEST_F(SelectionTest, ModeXTakesBothSpacesAndUnsupportedRequestsAreRefused) {
  ads_name set;
  ASSERT_EQ(RTNORM, acedSSGet("X", nullptr, nullptr, nullptr, set));
  EXPECT_EQ(ids_, members(set));
  acedSSFree(set);
  resbuf filter;
  filter.rbnext = nullptr;
  filter.restype = 0;
  EXPECT_EQ(RTERROR, acedSSGet("X", nullptr, nullptr, &filter, set));
  EXPECT_EQ(RTERROR, acedSSGet("W", nullptr, nullptr, nullptr, set));
}

}  // namespace
