// windows.h - the Win32 subset this platform offers: base types, the registry, module and
// string functions, code-page conversions, windows, messages and message boxes.
#pragma once
#include "windef.h"
#include "winbase.h"
#include "winnls.h"
#include "winreg.h"
#include "winuser.h"
