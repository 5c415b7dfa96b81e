// reg_api.cpp - the Win32 registry calls over this process's registry (reg_store.h).
//
// Handles carry the access they were opened with: reading needs KEY_QUERY_VALUE, writing
// KEY_SET_VALUE, creating a subkey KEY_CREATE_SUB_KEY and listing subkeys
// KEY_ENUMERATE_SUB_KEYS; otherwise the call answers ERROR_ACCESS_DENIED. Every call sees the
// latest saved hive (reg_store.cpp); a value set to what this process last read of it is left
// as the hive has it, a change of nobody's. Closing a key while
// HKEY_CURRENT_USER has unsaved changes saves the hive. Tests can make the open, create, query,
// set and delete calls fail through pf/faults.h, keyed by the call's name.
#include <cstring>

#include "winrt/reg_store.h"
#include "winrt/win_faults.h"
#include "winreg.h"

using pf::reg::Change;
using pf::reg::Key;
using pf::reg::OpenKey;
using pf::reg::Store;
using pf::reg::StoreLock;

namespace {

// Key names may hold any character but the backslash; line breaks would not survive the
// hive's text form, and the registry limits a name to 255 characters.
bool isValidKeyName(const std::string& name) {
  return pf::reg::nameLength(name) <= pf::reg::kMaxKeyNameChars &&
         name.find_first_of("\r\n") == std::string::npos;
}

// The key a handle stands for, with its access; answers the error for a bad handle or a key
// that no longer exists.
LONG keyOf(Store& store, HKEY handle, OpenKey& open, Key*& key) {
  if (!store.resolve(handle, open)) return ERROR_INVALID_HANDLE;
  key = pf::reg::findPath(store.root(open.root), open.path);
  return key ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

// Copies `data` to a caller's buffer with the Win32 size protocol: a null buffer asks for the
// size only; a buffer that is too small answers ERROR_MORE_DATA with the size needed.
LONG copyOut(const std::string& data, LPBYTE buffer, LPDWORD size) {
  if (buffer != nullptr && size == nullptr) return ERROR_INVALID_PARAMETER;
  if (size == nullptr) return ERROR_SUCCESS;
  DWORD needed = static_cast<DWORD>(data.size());
  if (buffer != nullptr) {
    if (*size < needed) {
      *size = needed;
      return ERROR_MORE_DATA;
    }
    if (needed) std::memcpy(buffer, data.data(), needed);
  }
  *size = needed;
  return ERROR_SUCCESS;
}

// Copies a name into a character buffer of *count characters (terminator included).
LONG copyName(const std::string& name, LPSTR buffer, LPDWORD count) {
  if (buffer == nullptr || count == nullptr) return ERROR_INVALID_PARAMETER;
  if (*count < name.size() + 1) return ERROR_MORE_DATA;
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  *count = static_cast<DWORD>(name.size());
  return ERROR_SUCCESS;
}

}  // namespace

extern "C" {

LONG WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*ulOptions*/, REGSAM samDesired,
                          PHKEY phkResult) {
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  if (LONG rc = pf::injectedWin32Error("RegOpenKeyExA")) return rc;
  StoreLock lock;
  Store& store = lock.store();
  OpenKey parent;
  Key* key;
  if (LONG rc = keyOf(store, hKey, parent, key)) return rc;
  std::vector<std::string> parts;
  if (!pf::reg::splitPath(lpSubKey ? lpSubKey : "", parts)) return ERROR_BAD_PATHNAME;
  OpenKey opened{parent.root, parent.path, samDesired & ~static_cast<REGSAM>(KEY_WOW64_64KEY | KEY_WOW64_32KEY)};
  for (const std::string& part : parts) {
    key = key->findSubkey(part);
    if (key == nullptr) return ERROR_FILE_NOT_FOUND;
    opened.path.push_back(key->name);
  }
  *phkResult = store.addHandle(opened);
  return ERROR_SUCCESS;
}

LONG WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD /*Reserved*/, LPSTR /*lpClass*/,
                            DWORD dwOptions, REGSAM samDesired,
                            const LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/,
                            PHKEY phkResult, LPDWORD lpdwDisposition) {
  if (phkResult == nullptr || lpSubKey == nullptr) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  if (LONG rc = pf::injectedWin32Error("RegCreateKeyExA")) return rc;
  StoreLock lock;
  Store& store = lock.store();
  OpenKey parent;
  Key* key;
  if (LONG rc = keyOf(store, hKey, parent, key)) return rc;
  std::vector<std::string> parts;
  if (!pf::reg::splitPath(lpSubKey, parts)) return ERROR_BAD_PATHNAME;
  for (const std::string& part : parts)
    if (!isValidKeyName(part)) return ERROR_INVALID_PARAMETER;
  if (parent.path.size() + parts.size() > pf::reg::kMaxKeyDepth) return ERROR_INVALID_PARAMETER;
  bool makeVolatile = (dwOptions & REG_OPTION_VOLATILE) != 0;

  // Check the whole path before creating anything, so that a refusal leaves no keys behind.
  Key* walk = key;
  size_t existing = 0;
  while (existing < parts.size() && (walk = walk->findSubkey(parts[existing])) != nullptr) {
    ++existing;
    key = walk;
  }
  if (existing < parts.size()) {
    if ((parent.access & KEY_CREATE_SUB_KEY) != KEY_CREATE_SUB_KEY) return ERROR_ACCESS_DENIED;
    // Below a volatile key only volatile keys may be created (the file could not hold them).
    bool underVolatile = false;
    Key* k = &store.root(parent.root);
    for (const std::string& p : parent.path) {
      k = k->findSubkey(p);
      underVolatile = underVolatile || (k && k->isVolatile);
    }
    underVolatile = underVolatile || key->isVolatile;
    if (underVolatile && !makeVolatile) return ERROR_CHILD_MUST_BE_VOLATILE;
  }

  OpenKey opened{parent.root, parent.path, samDesired & ~static_cast<REGSAM>(KEY_WOW64_64KEY | KEY_WOW64_32KEY)};
  Key* at = pf::reg::findPath(store.root(parent.root), parent.path);
  for (size_t i = 0; i < parts.size(); ++i) {
    Key* next = at->findSubkey(parts[i]);
    if (next == nullptr) {
      next = at->addSubkey(parts[i]);
      next->isVolatile = makeVolatile;
      opened.path.push_back(next->name);
      Change change;
      change.kind = Change::kCreateKey;
      change.path = opened.path;
      store.record(parent.root, change);
    } else {
      opened.path.push_back(next->name);
    }
    at = next;
  }
  if (lpdwDisposition)
    *lpdwDisposition = existing < parts.size() ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *phkResult = store.addHandle(opened);
  return ERROR_SUCCESS;
}

LONG WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                             LPBYTE lpData, LPDWORD lpcbData) {
  if (lpReserved != nullptr || (lpData != nullptr && lpcbData == nullptr))
    return ERROR_INVALID_PARAMETER;
  if (LONG rc = pf::injectedWin32Error("RegQueryValueExA")) return rc;
  StoreLock lock;
  OpenKey open;
  Key* key;
  if (LONG rc = keyOf(lock.store(), hKey, open, key)) return rc;
  if ((open.access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  const std::string name = lpValueName ? lpValueName : "";
  pf::reg::Value* value = key->findValue(name);
  if (value == nullptr) {
    lock.store().noteRead(open.root, open.path, name, nullptr);
    return ERROR_FILE_NOT_FOUND;
  }
  if (lpType) *lpType = value->type;
  LONG rc = copyOut(value->data, lpData, lpcbData);
  if (rc == ERROR_SUCCESS && lpData != nullptr) lock.store().noteRead(open.root, open.path, name, value);
  return rc;
}

LONG WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD /*Reserved*/, DWORD dwType,
                           const BYTE* lpData, DWORD cbData) {
  if (lpData == nullptr && cbData != 0) return ERROR_INVALID_PARAMETER;
  if (LONG rc = pf::injectedWin32Error("RegSetValueExA")) return rc;
  StoreLock lock;
  Store& store = lock.store();
  OpenKey open;
  Key* key;
  if (LONG rc = keyOf(store, hKey, open, key)) return rc;
  if ((open.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (lpValueName != nullptr && pf::reg::nameLength(lpValueName) > pf::reg::kMaxValueNameChars)
    return ERROR_INVALID_PARAMETER;
  Change change;
  change.kind = Change::kSetValue;
  change.path = open.path;
  change.name = lpValueName ? lpValueName : "";
  change.type = dwType;
  change.data.assign(reinterpret_cast<const char*>(lpData), lpData ? cbData : 0);
  // Writing back what was read changes nothing: the value keeps whatever the latest saved hive
  // holds, which may be another host's newer change.
  if (store.repeatsWhatWasRead(open.root, open.path, change.name, change.type, change.data, *key))
    return ERROR_SUCCESS;
  key->setValue(change.name, change.type, change.data);
  store.record(open.root, std::move(change));
  return ERROR_SUCCESS;
}

LONG WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
  if (LONG rc = pf::injectedWin32Error("RegDeleteValueA")) return rc;
  StoreLock lock;
  Store& store = lock.store();
  OpenKey open;
  Key* key;
  if (LONG rc = keyOf(store, hKey, open, key)) return rc;
  if ((open.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
  std::string name = lpValueName ? lpValueName : "";
  if (!key->deleteValue(name)) return ERROR_FILE_NOT_FOUND;
  Change change;
  change.kind = Change::kDeleteValue;
  change.path = open.path;
  change.name = name;
  store.record(open.root, std::move(change));
  return ERROR_SUCCESS;
}

LONG WINAPI RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName,
                          LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  if (lpReserved != nullptr) return ERROR_INVALID_PARAMETER;
  StoreLock lock;
  OpenKey open;
  Key* key;
  if (LONG rc = keyOf(lock.store(), hKey, open, key)) return rc;
  if ((open.access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
  if (dwIndex >= key->values.size()) return ERROR_NO_MORE_ITEMS;
  const pf::reg::Value& value = key->values[dwIndex];
  if (LONG rc = copyName(value.name, lpValueName, lpcchValueName)) return rc;
  if (lpType) *lpType = value.type;
  LONG rc = copyOut(value.data, lpData, lpcbData);
  if (rc == ERROR_SUCCESS && lpData != nullptr) lock.store().noteRead(open.root, open.path, value.name, &value);
  return rc;
}

LONG WINAPI RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName,
                          LPDWORD lpReserved, LPSTR lpClass, LPDWORD lpcchClass,
                          void* /*lpftLastWriteTime*/) {
  if (lpReserved != nullptr) return ERROR_INVALID_PARAMETER;
  StoreLock lock;
  OpenKey open;
  Key* key;
  if (LONG rc = keyOf(lock.store(), hKey, open, key)) return rc;
  if ((open.access & KEY_ENUMERATE_SUB_KEYS) == 0) return ERROR_ACCESS_DENIED;
  if (dwIndex >= key->subkeys.size()) return ERROR_NO_MORE_ITEMS;
  auto it = key->subkeys.begin();
  std::advance(it, dwIndex);
  if (LONG rc = copyName(it->second->name, lpName, lpcchName)) return rc;
  if (lpClass != nullptr && lpcchClass != nullptr && *lpcchClass > 0) {
    lpClass[0] = '\0';  // keys have no class here
    *lpcchClass = 0;
  }
  return ERROR_SUCCESS;
}

LONG WINAPI RegFlushKey(HKEY hKey) {
  StoreLock lock;
  Store& store = lock.store();
  OpenKey open;
  if (!store.resolve(hKey, open)) return ERROR_INVALID_HANDLE;
  if (open.root != pf::reg::kCurrentUser) return ERROR_SUCCESS;
  store.root(pf::reg::kCurrentUser);
  return store.save() ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

// The handle is released in every case; a hive that could not be saved is reported and
// answered with ERROR_REGISTRY_IO_FAILED (its changes stay pending for the next save).
LONG WINAPI RegCloseKey(HKEY hKey) {
  StoreLock lock;
  Store& store = lock.store();
  OpenKey open;
  if (!store.resolve(hKey, open)) return ERROR_INVALID_HANDLE;
  store.removeHandle(hKey);  // a predefined key is not in the table: nothing to release
  if (!store.hasPending()) return ERROR_SUCCESS;
  return store.save() ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

}  // extern "C"
