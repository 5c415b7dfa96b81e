// settings.cpp - loading and saving the user's settings in the registry.
//
// The settings live per user in the key VelmoraApps\Zorvik\Settings below the host's product
// key in HKEY_CURRENT_USER. Loading takes every value that is present and acceptable and leaves
// every other setting as it is; saving writes all five values. Neither reports anything.
#include "zorvik.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "windows.h"
#include "rxregsvc.h"

namespace {

const char* const kAutoUpdate = "AutoUpdate";
const char* const kAreaPrec = "AreaPrec";
const char* const kDivisor = "Divisor";
const char* const kQuietMode = "QuietMode";
const char* const kAttname = "Attname";

// The size of the buffer that text values are read into, terminator included.
const DWORD kTextBufferSize = 1024;

// Reads a 4-byte value; bytes that a shorter value does not fill read as zero.
bool queryDword(HKEY hKey, const char* name, DWORD& value) {
  DWORD data = 0;
  DWORD size = sizeof data;
  if (RegQueryValueExA(hKey, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(&data), &size) !=
      ERROR_SUCCESS)
    return false;
  value = data;
  return true;
}

// Reads a text value of at most kTextBufferSize bytes; the text ends at its first zero byte.
bool queryText(HKEY hKey, const char* name, std::string& text) {
  // One byte more than the size offered, so that data without a terminator still ends.
  char buffer[kTextBufferSize + 1];
  memset(buffer, 0, sizeof buffer);
  DWORD size = kTextBufferSize;
  if (RegQueryValueExA(hKey, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &size) !=
      ERROR_SUCCESS)
    return false;
  text = buffer;
  return true;
}

bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string trimmed(const std::string& text) {
  size_t first = 0;
  size_t last = text.size();
  while (first < last && isWhiteSpace(text[first])) ++first;
  while (last > first && isWhiteSpace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

void setDword(HKEY hKey, const char* name, DWORD value) {
  RegSetValueExA(hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void setText(HKEY hKey, const char* name, const char* text) {
  RegSetValueExA(hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), lstrlenA(text) + 1);
}

// The divisor as text that reads back as the same number: "%g" when its six digits are enough
// (so 1e+06 stays as users know it), otherwise the fewest digits that give back the same
// double (0.09290304 keeps its eight digits instead of becoming 0.092903).
void formatDivisor(double value, char* text, size_t size) {
  snprintf(text, size, "%g", value);
  for (int digits = 7; digits <= 17 && atof(text) != value; ++digits)
    snprintf(text, size, "%.*g", digits, value);
}

}  // namespace

std::string settingsKeyPath() {
  const char* productKey = acrxProductKey();
  std::string path = productKey != nullptr ? productKey : "";
  path += "\\VelmoraApps\\Zorvik\\Settings";
  return path;
}

void ModuleApp::loadSettings() {
  HKEY hKey = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, settingsKeyPath().c_str(), 0, KEY_READ, &hKey) !=
      ERROR_SUCCESS)
    return;

  DWORD number = 0;
  if (queryDword(hKey, kAutoUpdate, number)) m_settings.autoUpdate = number != 0;
  if (queryDword(hKey, kAreaPrec, number))
    m_settings.areaPrec = static_cast<int>(static_cast<LONG>(number));

  std::string text;
  if (queryText(hKey, kDivisor, text)) {
    double value = atof(text.c_str());
    if (value > 0.0) m_settings.divisor = value;
  }
  if (queryDword(hKey, kQuietMode, number)) m_settings.quietMode = number != 0;
  if (queryText(hKey, kAttname, text)) {
    std::string name = trimmed(text);
    if (!name.empty()) m_settings.attname = name;
  }

  RegCloseKey(hKey);
}

void ModuleApp::saveSettings() {
  const std::string path = settingsKeyPath();
  HKEY hKey = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_WRITE, &hKey) != ERROR_SUCCESS) {
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &hKey, nullptr) != ERROR_SUCCESS)
      return;
  }

  char divisorText[64];
  formatDivisor(m_settings.divisor, divisorText, sizeof divisorText);

  // Each write stands alone: a failed one does not stop the others.
  setDword(hKey, kAutoUpdate, m_settings.autoUpdate ? 1 : 0);
  setDword(hKey, kAreaPrec, static_cast<DWORD>(m_settings.areaPrec));
  setText(hKey, kDivisor, divisorText);
  setDword(hKey, kQuietMode, m_settings.quietMode ? 1 : 0);
  setText(hKey, kAttname, m_settings.attname.c_str());

  RegCloseKey(hKey);
}
