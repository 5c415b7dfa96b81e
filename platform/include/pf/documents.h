// pf/documents.h - how the host program opens and closes documents, and what tests inspect of
// the document manager (the resource-handle stacks).
#pragma once
#include <string>

#include "acdocman.h"

namespace pf {

// Makes a document of a database the host has read or created (the database stays the
// host's: it is not deleted with the document), makes it the current document and the
// working database. `fileName` is "" for a new drawing.
AcApDocument* openDocument(AcDbDatabase* db, const std::string& fileName);

// Records the name a document was saved under.
void setDocumentFileName(AcApDocument* doc, const std::string& fileName);

// Removes a document (after the host told the editor reactors beginClose). If it was current,
// the most recently opened remaining document becomes current. eNotApplicable for a document
// that is not open, eLockViolation for one that is still locked.
Acad::ErrorStatus closeDocument(AcApDocument* doc);

// Number of saved handles on a document's resource-handle stack (nullptr: the stack in force,
// the current document's or the session's). A command that pushes and pops in pairs leaves
// it unchanged.
int resourceHandleDepth(const AcApDocument* doc = nullptr);

}  // namespace pf
