// The document manager: open documents, the current document, counted document locks and the
// per-document resource-handle stacks that answer pf::currentResourceHandle(). It sits in the host
// layer; the editor's command runner reaches it through the sink of ed/command_documents.h.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "acdocman.h"
#include "dbapserv.h"
#include "ed/command_documents.h"
#include "pf/documents.h"
#include "pf/resource_context.h"
#include "rx/rxinit.h"

ACRX_NO_CONS_DEFINE_MEMBERS(AcApDocument, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcApDocumentIterator, AcRxObject)
ACRX_NO_CONS_DEFINE_MEMBERS(AcApDocManager, AcRxObject)

PF_REGISTER_CLASS(AcApDocument);
PF_REGISTER_CLASS(AcApDocumentIterator);
PF_REGISTER_CLASS(AcApDocManager);

namespace pf {
namespace {

// A resource-handle stack: the handle in force and the ones saved below it.
struct ResourceStack {
  HINSTANCE current = nullptr;  // nullptr until first used: the host's own module
  std::vector<HINSTANCE> saved;

  HINSTANCE inForce() const { return current ? current : hostModuleHandle(); }
  void push(HINSTANCE h) {
    saved.push_back(inForce());
    current = h;
  }
  void pop() {
    // A pop without a push leaves the handle in force alone.
    if (saved.empty()) return;
    current = saved.back();
    saved.pop_back();
  }
};

int lockStrength(AcAp::DocLockMode m) {
  switch (m) {
    case AcAp::kRead: return 1;
    case AcAp::kAutoWrite: return 2;
    case AcAp::kProtectedAutoWrite: return 3;
    case AcAp::kWrite: return 4;
    case AcAp::kXWrite: return 5;
    default: return 0;
  }
}

std::string baseName(const std::string& path) {
  std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

class Document : public AcApDocument {
public:
  Document(AcDbDatabase* db, std::string fileName, std::string untitled)
      : db_(db), untitled_(std::move(untitled)) {
    setFileName(std::move(fileName));
  }

  const char* fileName() const override { return fileName_.c_str(); }
  AcDbDatabase* database() const override { return db_; }
  const char* docTitle() const override { return title_.c_str(); }
  AcAp::DocLockMode lockMode(bool /*bIncludeMyLocks*/) const override { return strongest(); }
  AcAp::DocLockMode myLockMode() const override { return strongest(); }
  bool isQuiescent() const override { return commandDepth == 0; }
  bool isReadOnly() const override { return false; }

  void setFileName(std::string name) {
    fileName_ = std::move(name);
    title_ = fileName_.empty() ? untitled_ : baseName(fileName_);
  }

  AcAp::DocLockMode strongest() const {
    AcAp::DocLockMode best = AcAp::kNotLocked;
    for (AcAp::DocLockMode m : locks) {
      if (lockStrength(m) > lockStrength(best)) best = m;
    }
    return best;
  }

  ResourceStack resources;
  std::vector<AcAp::DocLockMode> locks;
  int commandDepth = 0;

private:
  AcDbDatabase* db_;
  std::string untitled_;
  std::string fileName_;
  std::string title_;
};

class DocumentIterator : public AcApDocumentIterator {
public:
  explicit DocumentIterator(std::vector<AcApDocument*> docs) : docs_(std::move(docs)) {}
  bool done() const override { return pos_ >= docs_.size(); }
  void step() override {
    if (pos_ < docs_.size()) ++pos_;
  }
  AcApDocument* document() override { return done() ? nullptr : docs_[pos_]; }

private:
  std::vector<AcApDocument*> docs_;
  std::size_t pos_ = 0;
};

class DocManager : public AcApDocManager {
public:
  AcApDocument* curDocument() const override { return current_; }
  AcApDocument* mdiActiveDocument() const override { return current_; }
  bool isApplicationContext() const override { return false; }

  AcApDocument* document(const AcDbDatabase* pDb) const override {
    for (const auto& d : docs_) {
      if (pDb != nullptr && d->database() == pDb) return d.get();
    }
    return nullptr;
  }

  Acad::ErrorStatus lockDocument(AcApDocument* pDoc, AcAp::DocLockMode mode, const char*,
                                 const char*, bool) override {
    Document* d = find(pDoc);
    if (d == nullptr) return Acad::eNotApplicable;
    if (lockStrength(mode) == 0) return Acad::eInvalidInput;
    // An exclusive lock excludes every other lock, in both directions.
    if (!d->locks.empty() && (mode == AcAp::kXWrite || d->strongest() == AcAp::kXWrite)) {
      return Acad::eLockViolation;
    }
    d->locks.push_back(mode);
    return Acad::eOk;
  }

  Acad::ErrorStatus unlockDocument(AcApDocument* pDoc) override {
    Document* d = find(pDoc);
    if (d == nullptr) return Acad::eNotApplicable;
    if (d->locks.empty()) return Acad::eNotApplicable;
    d->locks.pop_back();
    return Acad::eOk;
  }

  AcApDocumentIterator* newAcApDocumentIterator() override {
    std::vector<AcApDocument*> v;
    for (const auto& d : docs_) v.push_back(d.get());
    return new DocumentIterator(std::move(v));
  }

  Acad::ErrorStatus setCurDocument(AcApDocument* pDoc, AcAp::DocLockMode mode,
                                   bool /*activate*/) override {
    Document* d = find(pDoc);
    if (d == nullptr) return Acad::eNotApplicable;
    if (mode != AcAp::kNone) {
      Acad::ErrorStatus es = lockDocument(d, mode, nullptr, nullptr, false);
      if (es != Acad::eOk) return es;
    }
    makeCurrent(d);
    return Acad::eOk;
  }

  Acad::ErrorStatus activateDocument(AcApDocument* pDoc, bool) override {
    return setCurDocument(pDoc, AcAp::kNone, true);
  }

  int documentCount() const override { return static_cast<int>(docs_.size()); }

  void pushResourceHandle(HINSTANCE h) override { stackInForce().push(h); }
  void pushAcadResourceHandle() override { stackInForce().push(hostModuleHandle()); }
  void popResourceHandle() override { stackInForce().pop(); }

  // --- host side --------------------------------------------------------------------------

  AcApDocument* open(AcDbDatabase* db, const std::string& fileName) {
    std::string untitled = "Drawing" + std::to_string(++untitledCount_) + ".dxf";
    docs_.push_back(std::make_unique<Document>(db, fileName, untitled));
    Document* d = docs_.back().get();
    makeCurrent(d);
    return d;
  }

  Acad::ErrorStatus close(AcApDocument* pDoc) {
    Document* d = find(pDoc);
    if (d == nullptr) return Acad::eNotApplicable;
    if (!d->locks.empty()) return Acad::eLockViolation;
    bool wasCurrent = d == current_;
    docs_.erase(std::find_if(docs_.begin(), docs_.end(),
                             [&](const auto& p) { return p.get() == d; }));
    if (wasCurrent) makeCurrent(docs_.empty() ? nullptr : docs_.back().get());
    return Acad::eOk;
  }

  Document* find(const AcApDocument* pDoc) const {
    for (const auto& d : docs_) {
      if (d.get() == pDoc) return d.get();
    }
    return nullptr;
  }

  ResourceStack& stackInForce() { return current_ ? current_->resources : session_; }
  const ResourceStack& stackOf(const AcApDocument* doc) const {
    if (doc == nullptr) return current_ ? current_->resources : session_;
    const Document* d = find(doc);
    return d ? d->resources : session_;
  }

  Document* current() const { return current_; }

private:
  void makeCurrent(Document* d) {
    current_ = d;
    if (AcDbHostApplicationServices* services = acdbHostApplicationServices()) {
      services->setWorkingDatabase(d ? d->database() : nullptr);
    }
  }

  std::vector<std::unique_ptr<Document>> docs_;
  Document* current_ = nullptr;
  ResourceStack session_;
  int untitledCount_ = 0;
};

DocManager& manager() {
  static DocManager* m = new DocManager;  // lives for the whole process (modules may outlive main)
  return *m;
}

HINSTANCE resourceHandleInForce() { return manager().stackInForce().inForce(); }

AcApDocument* currentDocumentOfCommands() { return manager().curDocument(); }
Acad::ErrorStatus lockForCommand(AcApDocument* doc, AcAp::DocLockMode mode, const char* globalName) {
  return manager().lockDocument(doc, mode, globalName, globalName, false);
}
void unlockAfterCommand(AcApDocument* doc) { manager().unlockDocument(doc); }
void pushCommandResourceHandle(HINSTANCE handle) { manager().pushResourceHandle(handle); }
void popCommandResourceHandle() { manager().popResourceHandle(); }

void enterCommandInCurrentDocument() {
  if (Document* d = manager().current()) ++d->commandDepth;
}

void leaveCommandInCurrentDocument() {
  if (Document* d = manager().current()) d->commandDepth = std::max(0, d->commandDepth - 1);
}

int resourceDepthInForce() { return resourceHandleDepth(nullptr); }

// The document manager answers the current resource handle from the start, and the editor's
// command runner finds the current document through it.
const bool g_installed = (setCurrentResourceHandleSource(&resourceHandleInForce),
                          setCommandDocumentSink({&currentDocumentOfCommands, &lockForCommand, &unlockAfterCommand,
                                                  &pushCommandResourceHandle, &popCommandResourceHandle,
                                                  &enterCommandInCurrentDocument,
                                                  &leaveCommandInCurrentDocument,
                                                  &resourceDepthInForce}),
                          true);

}  // namespace

AcApDocument* openDocument(AcDbDatabase* db, const std::string& fileName) {
  return manager().open(db, fileName);
}

void setDocumentFileName(AcApDocument* doc, const std::string& fileName) {
  if (Document* d = manager().find(doc)) d->setFileName(fileName);
}

Acad::ErrorStatus closeDocument(AcApDocument* doc) { return manager().close(doc); }

int resourceHandleDepth(const AcApDocument* doc) {
  return static_cast<int>(manager().stackOf(doc).saved.size());
}

}  // namespace pf

AcApDocManager* acDocManagerPtr() { return &pf::manager(); }
