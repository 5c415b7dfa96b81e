// An editor-layer call into the document manager: documents are host services, above the
// editor, which reaches them only through the sink the host layer installs.
#include "acdocman.h"

AcApDocument* probeEditorAsksForTheCurrentDocument() { return acDocManagerPtr()->curDocument(); }
