// afxdlgs.h - MFC's standard dialogs header. The platform offers no file or property-sheet
// dialogs (a headless host has no file chooser); the header exists so that sources including
// it, directly or through afxext.h, compile.
#pragma once
#include "afxwin.h"
