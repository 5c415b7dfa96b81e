// mbstring.cpp - the runtime library's multibyte string functions over the current ANSI code
// page: characters are single bytes or lead + trail pairs, and a trail byte is never taken for
// a character of its own (so '\' inside a double-byte character of code page 932 is not a
// path separator).
#include <mbstring.h>

#include <cerrno>

#include "pf/codepage.h"
#include "winrt/codepage_internal.h"

namespace {

int compare(const unsigned char* a, const unsigned char* b, size_t count, bool foldCase) {
  if (a == nullptr || b == nullptr) {
    errno = EINVAL;
    return _NLSCMPERROR;
  }
  for (size_t n = 0; n < count; ++n) {
    unsigned ca = pf::cp::nextChar(a);
    unsigned cb = pf::cp::nextChar(b);
    if (foldCase) {
      ca = pf::cp::toLower(ca);
      cb = pf::cp::toLower(cb);
    }
    if (ca != cb) return ca < cb ? -1 : 1;
    if (ca == 0) return 0;
  }
  return 0;
}

}  // namespace

extern "C" {

int _mbsicmp(const unsigned char* string1, const unsigned char* string2) {
  return compare(string1, string2, static_cast<size_t>(-1), true);
}

int _mbscmp(const unsigned char* string1, const unsigned char* string2) {
  return compare(string1, string2, static_cast<size_t>(-1), false);
}

int _mbsnicmp(const unsigned char* string1, const unsigned char* string2, size_t count) {
  return compare(string1, string2, count, true);
}

unsigned char* _mbsrchr(const unsigned char* string, unsigned int c) {
  if (string == nullptr) {
    errno = EINVAL;
    return nullptr;
  }
  const unsigned char* found = nullptr;
  const unsigned char* p = string;
  for (;;) {
    const unsigned char* at = p;
    unsigned ch = pf::cp::nextChar(p);
    if (ch == c) found = at;
    if (ch == 0) {
      if (c == 0) found = p;  // the terminator itself
      break;
    }
  }
  return const_cast<unsigned char*>(found);
}

unsigned char* _mbschr(const unsigned char* string, unsigned int c) {
  if (string == nullptr) {
    errno = EINVAL;
    return nullptr;
  }
  const unsigned char* p = string;
  for (;;) {
    const unsigned char* at = p;
    unsigned ch = pf::cp::nextChar(p);
    if (ch == c && ch != 0) return const_cast<unsigned char*>(at);
    if (ch == 0) return c == 0 ? const_cast<unsigned char*>(p) : nullptr;
  }
}

size_t _mbslen(const unsigned char* string) {
  if (string == nullptr) {
    errno = EINVAL;
    return 0;
  }
  size_t n = 0;
  while (pf::cp::nextChar(string) != 0) ++n;
  return n;
}

int _ismbblead(unsigned int c) { return c <= 0xFF && pf::isLeadByte(static_cast<unsigned char>(c)); }

}  // extern "C"
