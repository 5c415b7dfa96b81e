// afxext.h - MFC's extension header (control bars in MFC). The platform has no control bars;
// like MFC's it brings afxwin.h and afxdlgs.h.
#pragma once
#include "afxwin.h"
#include "afxdlgs.h"
