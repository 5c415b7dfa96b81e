// The document manager: documents, locks and the per-document resource-handle stacks.
#include <gtest/gtest.h>

#include <memory>

#include "acdocman.h"
#include "dbapserv.h"
#include "dbmain.h"
#include "pf/documents.h"
#include "pf/resource_context.h"

namespace {

HINSTANCE h(std::uintptr_t v) { return reinterpret_cast<HINSTANCE>(v); }

// Opens documents for a test and closes whatever is left at its end.
class DocumentTest : public ::testing::Test {
protected:
  AcApDocument* open(const std::string& file) {
    dbs_.push_back(std::make_unique<AcDbDatabase>());
    AcApDocument* d = pf::openDocument(dbs_.back().get(), file);
    docs_.push_back(d);
    return d;
  }
  void TearDown() override {
    for (AcApDocument* d : docs_) {
      while (acDocManager->unlockDocument(d) == Acad::eOk) {}
      pf::closeDocument(d);
    }
  }
  std::vector<std::unique_ptr<AcDbDatabase>> dbs_;
  std::vector<AcApDocument*> docs_;
};

TEST_F(DocumentTest, SessionStackWithoutADocument) {
  ASSERT_EQ(acDocManager->curDocument(), nullptr);
  HINSTANCE host = pf::hostModuleHandle();
  EXPECT_EQ(pf::currentResourceHandle(), host);
  int depth = pf::resourceHandleDepth();
  acDocManager->pushResourceHandle(h(0x10));
  acDocManager->pushResourceHandle(h(0x20));
  EXPECT_EQ(pf::currentResourceHandle(), h(0x20));
  EXPECT_EQ(pf::resourceHandleDepth(), depth + 2);
  acDocManager->pushAcadResourceHandle();
  EXPECT_EQ(pf::currentResourceHandle(), host);
  acDocManager->popResourceHandle();
  acDocManager->popResourceHandle();
  EXPECT_EQ(pf::currentResourceHandle(), h(0x10));
  acDocManager->popResourceHandle();
  EXPECT_EQ(pf::currentResourceHandle(), host);
  EXPECT_EQ(pf::resourceHandleDepth(), depth);
  // One pop too many leaves the handle in force alone.
  acDocManager->popResourceHandle();
  EXPECT_EQ(pf::currentResourceHandle(), host);
  EXPECT_EQ(pf::resourceHandleDepth(), depth);
}

TEST_F(DocumentTest, EachDocumentHasItsOwnStack) {
  AcApDocument* a = open("/tmp/a.dxf");
  acDocManager->pushResourceHandle(h(0xA));
  AcApDocument* b = open("");
  EXPECT_EQ(acDocManager->curDocument(), b);
  EXPECT_EQ(pf::currentResourceHandle(), pf::hostModuleHandle());
  acDocManager->pushResourceHandle(h(0xB));
  EXPECT_EQ(pf::resourceHandleDepth(a), 1);
  EXPECT_EQ(pf::resourceHandleDepth(b), 1);
  ASSERT_EQ(acDocManager->setCurDocument(a), Acad::eOk);
  EXPECT_EQ(pf::currentResourceHandle(), h(0xA));
  acDocManager->popResourceHandle();
  EXPECT_EQ(pf::resourceHandleDepth(a), 0);
  EXPECT_EQ(pf::resourceHandleDepth(b), 1);
  EXPECT_EQ(pf::currentResourceHandle(), pf::hostModuleHandle());
  acDocManager->setCurDocument(b);
  EXPECT_EQ(pf::currentResourceHandle(), h(0xB));
  acDocManager->popResourceHandle();
}

TEST_F(DocumentTest, OpenCurrentWorkingDatabaseAndClose) {
  int before = acDocManager->documentCount();
  AcApDocument* a = open("/work/plans/floor.dxf");
  AcApDocument* b = open("");
  EXPECT_EQ(acDocManager->documentCount(), before + 2);
  EXPECT_STREQ(a->docTitle(), "floor.dxf");
  EXPECT_STREQ(a->fileName(), "/work/plans/floor.dxf");
  EXPECT_STREQ(b->fileName(), "");
  EXPECT_EQ(std::string(b->docTitle()).rfind("Drawing", 0), 0u);
  EXPECT_EQ(curDoc(), b);
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), b->database());
  EXPECT_EQ(acDocManager->document(a->database()), a);
  pf::setDocumentFileName(b, "/tmp/new.dxf");
  EXPECT_STREQ(b->docTitle(), "new.dxf");

  std::unique_ptr<AcApDocumentIterator> it(acDocManager->newAcApDocumentIterator());
  int seen = 0;
  for (; !it->done(); it->step()) seen += (it->document() == a || it->document() == b);
  EXPECT_EQ(seen, 2);

  EXPECT_EQ(pf::closeDocument(b), Acad::eOk);
  EXPECT_EQ(curDoc(), a);
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), a->database());
  EXPECT_EQ(pf::closeDocument(b), Acad::eNotApplicable);
  EXPECT_EQ(pf::closeDocument(a), Acad::eOk);
  EXPECT_EQ(acdbHostApplicationServices()->workingDatabase(), nullptr);
  EXPECT_EQ(acDocManager->documentCount(), before);
  docs_.clear();
}

TEST_F(DocumentTest, LocksAreCountedAndExclusiveLocksExclude) {
  AcApDocument* a = open("a.dxf");
  EXPECT_EQ(a->lockMode(), AcAp::kNotLocked);
  EXPECT_EQ(acDocManager->lockDocument(a, AcAp::kRead), Acad::eOk);
  EXPECT_EQ(acDocManager->lockDocument(a), Acad::eOk);  // kWrite by default
  EXPECT_EQ(a->lockMode(), AcAp::kWrite);
  EXPECT_EQ(acDocManager->lockDocument(a, AcAp::kXWrite), Acad::eLockViolation);
  EXPECT_EQ(pf::closeDocument(a), Acad::eLockViolation);
  EXPECT_EQ(acDocManager->unlockDocument(a), Acad::eOk);
  EXPECT_EQ(a->lockMode(), AcAp::kRead);
  EXPECT_EQ(acDocManager->unlockDocument(a), Acad::eOk);
  EXPECT_EQ(acDocManager->unlockDocument(a), Acad::eNotApplicable);
  EXPECT_EQ(acDocManager->lockDocument(a, AcAp::kXWrite), Acad::eOk);
  EXPECT_EQ(acDocManager->lockDocument(a, AcAp::kRead), Acad::eLockViolation);
  EXPECT_EQ(acDocManager->unlockDocument(a), Acad::eOk);
  EXPECT_EQ(acDocManager->lockDocument(nullptr), Acad::eNotApplicable);
}

}  // namespace
