// extmodule.h - the module file's MFC extension-library record.
//
// The module is an MFC extension library: when the operating system maps the file, the
// process-attach handler sets it up and records the module instance here. The module
// instance is also the module's resource handle, which every user action pushes.
#pragma once

#include "afxwin.h"

struct ExtensionModule {
  BOOL attached;                    // true after a successful attach
  HINSTANCE defaultResourceHandle;  // MFC's resource handle at attach time (recorded only)
  HINSTANCE moduleInstance;         // the module file, also its resource handle
  AFX_EXTENSION_MODULE extension;   // filled by AfxInitExtensionModule
};

// The one record of this module file.
extern ExtensionModule* g_pExtensionModule;
