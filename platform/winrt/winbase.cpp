// winbase.cpp - Win32 base services: string length and the thread's last error.
#include "winbase.h"

#include <cstring>

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;
}

extern "C" {

int WINAPI lstrlenA(LPCSTR lpString) {
  return lpString ? static_cast<int>(std::strlen(lpString)) : 0;
}

DWORD WINAPI GetLastError(void) { return t_lastError; }

void WINAPI SetLastError(DWORD dwErrCode) { t_lastError = dwErrCode; }

}  // extern "C"
