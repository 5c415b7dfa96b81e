// loader_paths.cpp - GetModuleFileNameA: the file of a loaded module as a Windows path.
//
// Module sources split these paths at the last backslash to find their folder, so a POSIX
// path is answered as "Z:" (standing for the root directory) followed by its components
// separated by backslashes. Like Windows, it knows every module of the process: those the
// loader loaded, and any other shared object opened with dlopen (found by walking the dynamic
// loader's list, so that a stale or made-up handle is answered 0 and never dereferenced).
#include <dlfcn.h>
#include <limits.h>
#include <link.h>
#include <stdlib.h>

#include <cstring>
#include <string>

#include "pf/modules.h"
#include "pf/resource_context.h"
#include "rx/loader_modules.h"
#include "winrt/win_faults.h"
#include "winbase.h"

namespace pf {

std::string windowsPathOf(const std::string& posixPath) {
  std::string out = "Z:";
  if (posixPath.empty() || posixPath[0] != '/') out += '\\';
  for (char c : posixPath) out += c == '/' ? '\\' : c;
  return out;
}

namespace {

bool pathOfSharedObject(HMODULE handle, std::string& path) {
  void* self = dlopen(nullptr, RTLD_LAZY | RTLD_NOLOAD);
  struct link_map* map = nullptr;
  if (self == nullptr || dlinfo(self, RTLD_DI_LINKMAP, &map) != 0) return false;
  for (; map != nullptr; map = map->l_next) {
    if (map->l_name == nullptr || map->l_name[0] == '\0') continue;
    // Opening a loaded object again without loading answers its handle (and must be undone).
    void* h = dlopen(map->l_name, RTLD_LAZY | RTLD_NOLOAD);
    if (h == nullptr) continue;
    bool same = h == reinterpret_cast<void*>(handle);
    dlclose(h);
    if (same) {
      char buf[PATH_MAX];
      path = realpath(map->l_name, buf) ? buf : map->l_name;
      return true;
    }
  }
  return false;
}

}  // namespace
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
  } else if (!pf::loader::pathOf(hModule, path) && !pf::pathOfSharedObject(hModule, path)) {
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
