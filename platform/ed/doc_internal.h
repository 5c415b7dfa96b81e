// ed/doc_internal.h - what the command runner tells the document manager.
#pragma once

class AcApDocManager;

namespace pf {

// A command starts / ends in the current document (AcApDocument::isQuiescent follows this).
void enterCommandInCurrentDocument();
void leaveCommandInCurrentDocument();

AcApDocManager* docManagerObject();

}  // namespace pf
