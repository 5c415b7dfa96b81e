// An editor-layer call into the host services: the module loader sits above the editor.
#include "pf/modules.h"

bool probeEditorLoadsAModule() { return pf::loadModule("probe.arx", false); }
