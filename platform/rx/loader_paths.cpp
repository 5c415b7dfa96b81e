// loader_paths.cpp - GetModuleFileNameA: the file of a loaded module as a Windows path.
//
// Module sources split these paths at the last backslash to find their folder, so a POSIX
// path is answered as "Z:" (standing for the root directory) followed by its components
// separated by backslashes.
#include <limits.h>
#include <stdlib.h>

#include <cstring>
#include <string>

#include "pf/modules.h"
#include "pf/resource_context.h"
#include "rx/loader_modules.h"
#include "win/win_faults.h"
#include "winbase.h"

namespace pf {

std::string windowsPathOf(const std::string& posixPath) {
  std::string out = "Z:";
  if (posixPath.empty() || posixPath[0] != '/') out += '\\';
  for (char c : posixPath) out += c == '/' ? '\\' : c;
  return out;
}

}  // namespace pf

extern "C" DWORD WINAPI GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize) {
  if (LONG rc = pf::injectedWin32Error("GetModuleFileNameA")) {
    SetLastError(static_cast<DWORD>(rc));
    return 0;
  }
  std::string path;
  if (hModule == nullptr || hModule == pf::hostModuleHandle()) {
    char buf[PATH_MAX];
    if (realpath("/proc/self/exe", buf) == nullptr) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return 0;
    }
    path = buf;
  } else if (!pf::loader::pathOf(hModule, path)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (lpFilename == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::string windows = pf::windowsPathOf(path);
  if (windows.size() + 1 > nSize) {
    // Truncated to the buffer, terminator included, as Windows does.
    std::memcpy(lpFilename, windows.data(), nSize - 1);
    lpFilename[nSize - 1] = '\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  std::memcpy(lpFilename, windows.c_str(), windows.size() + 1);
  return static_cast<DWORD>(windows.size());
}
