// winnls.cpp - MultiByteToWideChar and WideCharToMultiByte over the platform's code-page
// knowledge: the current ANSI code page (when it is 1252, the one whose every byte this
// platform can name) and UTF-8.
#include "windows.h"

#include <cstring>
#include <string>

#include "pf/codepage.h"
#include "winrt/codepage_internal.h"

namespace {

constexpr UINT kWestern = 1252;

enum class Kind { kAnsi, kUtf8, kUnknown };

Kind kindOf(UINT codePage) {
  if (codePage == CP_UTF8) return Kind::kUtf8;
  const unsigned current = pf::ansiCodePage();
  if (current != kWestern) return Kind::kUnknown;
  return codePage == CP_ACP || codePage == current ? Kind::kAnsi : Kind::kUnknown;
}

// UTF-8 to UTF-16; a malformed sequence becomes U+FFFD, as Windows substitutes it.
std::u16string utf8ToUtf16(const std::string& text) {
  std::u16string out;
  size_t i = 0;
  while (i < text.size()) {
    char32_t u = 0;
    if (!pf::cp::decodeUtf8(text, i, u)) {
      out += u'\xFFFD';
      ++i;
      continue;
    }
    if (u >= 0x10000) {
      u -= 0x10000;
      out += static_cast<char16_t>(0xD800 + (u >> 10));
      out += static_cast<char16_t>(0xDC00 + (u & 0x3FF));
    } else {
      out += static_cast<char16_t>(u);
    }
  }
  return out;
}

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf16ToUtf8(const std::u16string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t u = text[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      u = 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      u = 0xFFFD;
    }
    pf::cp::appendUtf8(out, u);
  }
  return out;
}

// Copies the converted text out, or answers the length needed when the buffer size is 0.
template <typename Char>
int deliver(const std::basic_string<Char>& text, Char* out, int capacity) {
  const int length = static_cast<int>(text.size());
  if (capacity == 0) return length;
  if (out == nullptr || capacity < length) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(out, text.data(), text.size() * sizeof(Char));
  return length;
}

}  // namespace

extern "C" int WINAPI MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR in, int inLength,
                                          LPWSTR out, int outCapacity) {
  const Kind kind = kindOf(codePage);
  if (kind == Kind::kUnknown || flags != 0 || in == nullptr || inLength == 0 || inLength < -1 ||
      outCapacity < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::string bytes = inLength == -1 ? std::string(in, std::strlen(in) + 1) : std::string(in, inLength);
  const std::u16string wide = kind == Kind::kUtf8 ? utf8ToUtf16(bytes) : pf::cp::ansiToUtf16(bytes);
  return deliver(wide, out, outCapacity);
}

extern "C" int WINAPI WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR in, int inLength,
                                          LPSTR out, int outCapacity, LPCSTR defaultChar,
                                          LPBOOL usedDefaultChar) {
  const Kind kind = kindOf(codePage);
  if (kind == Kind::kUnknown || flags != 0 || in == nullptr || inLength == 0 || inLength < -1 ||
      outCapacity < 0 || defaultChar != nullptr || (kind == Kind::kUtf8 && usedDefaultChar != nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  size_t length = 0;
  if (inLength == -1) {
    while (in[length] != 0) ++length;
    ++length;  // the terminator is converted too
  } else {
    length = static_cast<size_t>(inLength);
  }
  const std::u16string wide(in, length);
  std::string bytes;
  if (kind == Kind::kUtf8) {
    bytes = utf16ToUtf8(wide);
  } else {
    bytes = pf::cp::utf16ToAnsi(wide);
    if (usedDefaultChar != nullptr) {
      // A '?' that the input did not hold stands for a character the code page lacks.
      size_t asked = 0;
      for (char16_t c : wide) asked += c == u'?';
      size_t written = 0;
      for (char c : bytes) written += c == '?';
      *usedDefaultChar = written > asked ? TRUE : FALSE;
    }
  }
  return deliver(bytes, out, outCapacity);
}
