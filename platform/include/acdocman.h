// acdocman.h - the document manager: open drawings (documents), the current one, document
// locks and the resource-handle stack.
//
// Every document keeps its own resource-handle stack: pushResourceHandle saves the handle in
// force and makes the new one current, popResourceHandle brings the saved one back. While no
// document is open a session-wide stack stands in. The handle in force is what the resource
// loader reads strings and dialogs from (pf::currentResourceHandle()).
#pragma once
#include "wtypes.h"
#include "rxobject.h"
#include "acadstrc.h"

class AcDbDatabase;

struct AcAp {
  enum DocLockMode {
    kNone = 0x00,
    kAutoWrite = 0x01,
    kNotLocked = 0x02,
    kWrite = 0x04,
    kProtectedAutoWrite = 0x14,
    kRead = 0x20,
    kXWrite = 0x40
  };
};

class AcApDocument : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcApDocument);
  // The drawing's file name as it was opened or last saved ("" for a new drawing).
  virtual const char* fileName() const = 0;
  virtual AcDbDatabase* database() const = 0;
  // The file name without its folder ("Drawing1.dxf" for a new drawing).
  virtual const char* docTitle() const = 0;
  // The strongest lock held on the document (kNotLocked when none).
  virtual AcAp::DocLockMode lockMode(bool bIncludeMyLocks = false) const = 0;
  virtual AcAp::DocLockMode myLockMode() const = 0;
  // True while no command runs in the document.
  virtual bool isQuiescent() const = 0;
  virtual bool isReadOnly() const = 0;
};

class AcApDocumentIterator : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcApDocumentIterator);
  virtual bool done() const = 0;
  virtual void step() = 0;
  virtual AcApDocument* document() = 0;
};

class AcApDocManager : public AcRxObject {
public:
  ACRX_DECLARE_MEMBERS(AcApDocManager);

  virtual AcApDocument* curDocument() const = 0;
  virtual AcApDocument* mdiActiveDocument() const = 0;
  virtual bool isApplicationContext() const = 0;
  virtual AcApDocument* document(const AcDbDatabase* pDb) const = 0;

  // Locks are counted: every lockDocument needs its unlockDocument. eNotApplicable for a
  // document that is not open, eLockViolation when an exclusive lock stands in the way.
  virtual Acad::ErrorStatus lockDocument(AcApDocument* pDoc, AcAp::DocLockMode = AcAp::kWrite,
                                         const char* pGlobalCmdName = NULL,
                                         const char* pLocalCmdName = NULL,
                                         bool prompt = true) = 0;
  virtual Acad::ErrorStatus unlockDocument(AcApDocument* pDoc) = 0;

  // A new iterator over the open documents; the caller deletes it.
  virtual AcApDocumentIterator* newAcApDocumentIterator() = 0;

  virtual Acad::ErrorStatus setCurDocument(AcApDocument* pDoc,
                                           AcAp::DocLockMode = AcAp::kNone,
                                           bool activate = false) = 0;
  virtual Acad::ErrorStatus activateDocument(AcApDocument* pAcTargetDocument,
                                             bool bPassScript = false) = 0;
  virtual int documentCount() const = 0;

  virtual void pushResourceHandle(HINSTANCE hNewResourceHandle) = 0;
  // Pushes the host's own resource handle.
  virtual void pushAcadResourceHandle() = 0;
  virtual void popResourceHandle() = 0;
};

AcApDocManager* acDocManagerPtr();
#define acDocManager acDocManagerPtr()

inline AcApDocument* curDoc() { return acDocManager->curDocument(); }
