// ed/command_documents.h - what the command runner needs of the document a command runs in. The
// document manager sits in the host layer above the editor, so it installs this sink when it is
// loaded; until it does, commands run with no document (nothing locked, no resource handle
// pushed, depth 0).
#pragma once

#include "acdocman.h"

namespace pf {

// Plain functions rather than the manager object itself: the editor layer calls no member of a
// class the host layer defines, so it links (and is checked by the sanitizers) without the
// host's type information.
struct CommandDocumentSink {
  AcApDocument* (*currentDocument)();
  Acad::ErrorStatus (*lockDocument)(AcApDocument* doc, AcAp::DocLockMode mode, const char* globalName);
  void (*unlockDocument)(AcApDocument* doc);
  void (*pushResourceHandle)(HINSTANCE handle);
  void (*popResourceHandle)();
  // A command starts / ends in the current document (AcApDocument::isQuiescent follows this).
  void (*enterCommand)();
  void (*leaveCommand)();
  int (*resourceDepth)();  // saved handles on the resource-handle stack in force
};

void setCommandDocumentSink(const CommandDocumentSink& sink);

// The installed sink, or nullptr while there is none.
const CommandDocumentSink* commandDocumentSink();

}  // namespace pf
