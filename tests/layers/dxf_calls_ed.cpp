// A DXF-layer call into the editor: the open protocol's notices belong to the layers above.
#include "pf/editor.h"

void probeDxfLoadNotifiesTheEditor(AcDbDatabase* db) { pf::notifyBeginDxfIn(db); }
