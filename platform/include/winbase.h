// winbase.h - Win32 base services of this platform: string length, the module file name of a
// loaded module, the thread's last error and the loader's notification codes for DllMain.
#pragma once
#include "windef.h"
#include "winerror.h"

// Reasons passed to a module's DllMain(HINSTANCE, DWORD reason, LPVOID).
#ifndef DLL_PROCESS_ATTACH
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3
#endif

extern "C" {
// Length of a NUL-terminated string in bytes; 0 for a null pointer.
int WINAPI lstrlenA(LPCSTR lpString);

// The file of a loaded module as a Windows path ("Z:\dir\file.arx", Z: being the root
// directory); a null module answers the host program. Answers the length copied (without the
// terminator), nSize when the buffer was too small (the text is then truncated and terminated,
// the last error ERROR_INSUFFICIENT_BUFFER), 0 on failure.
DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);

DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD dwErrCode);
}

#define lstrlen lstrlenA
#define GetModuleFileName GetModuleFileNameA
