// windows.h - the Win32 subset this platform offers: base types, the registry, module and
// string functions, windows, messages and message boxes.
#pragma once
#include "windef.h"
#include "winbase.h"
#include "winreg.h"
#include "winuser.h"
