// win_faults.h - fault injection (pf/faults.h) for the Win32 calls: an injected host status
// becomes the Win32 error code closest to it.
#pragma once
#include "pf/faults.h"
#include "winerror.h"
#include "windef.h"

namespace pf {

// ERROR_SUCCESS when no fault is injected into `call`.
inline LONG injectedWin32Error(const char* call) {
  switch (injectedFault(call)) {
    case Acad::eOk:
      return ERROR_SUCCESS;
    case Acad::eFileNotFound:
    case Acad::eKeyNotFound:
      return ERROR_FILE_NOT_FOUND;
    case Acad::eOutOfMemory:
      return ERROR_NOT_ENOUGH_MEMORY;
    case Acad::eInvalidInput:
      return ERROR_INVALID_PARAMETER;
    case Acad::eBufferTooSmall:
      return ERROR_MORE_DATA;
    case Acad::eFileSystemErr:
    case Acad::eFileInternalErr:
      return ERROR_REGISTRY_IO_FAILED;
    default:
      return ERROR_ACCESS_DENIED;
  }
}

}  // namespace pf
