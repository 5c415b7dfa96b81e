// ed/command_documents.h - what the command runner needs of the document a command runs in. The
// document manager sits in the host layer above the editor, so it installs this sink when it is
// loaded; until it does, commands run with no document (nothing locked, no resource handle
// pushed, depth 0).
#pragma once

class AcApDocManager;

namespace pf {

struct CommandDocumentSink {
  AcApDocManager* (*manager)();  // the document manager (locks, the current document, handles)
  // A command starts / ends in the current document (AcApDocument::isQuiescent follows this).
  void (*enterCommand)();
  void (*leaveCommand)();
  int (*resourceDepth)();  // saved handles on the resource-handle stack in force
};

void setCommandDocumentSink(const CommandDocumentSink& sink);

// The installed sink, or nullptr while there is none.
const CommandDocumentSink* commandDocumentSink();

}  // namespace pf
