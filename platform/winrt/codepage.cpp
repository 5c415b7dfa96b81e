// codepage.cpp - the current ANSI code page: lead bytes, case folding and conversions to and
// from Unicode for the registry file and for the host's text exchange (with "\U+XXXX").
#include "pf/codepage.h"
#include "winrt/codepage_internal.h"

#include <atomic>

namespace pf {
namespace {

std::atomic<unsigned> g_codePage{1252};

// Unicode of the bytes 0x80..0x9F in code page 1252 (the unassigned ones map to themselves,
// as Windows does, so that every byte round-trips).
const char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isLeadByteIn(unsigned codePage, unsigned char c) {
  switch (codePage) {
    case 932:
      return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case 936:
    case 949:
    case 950:
      return c >= 0x81 && c <= 0xFE;
    default:
      return false;
  }
}

char32_t byteToUnicode(unsigned char b) {
  if (g_codePage.load() == 1252) return cp::cp1252ToUnicode(b);
  return b;  // ASCII, and a stand-in for the other code pages
}

// Answers -1 when the character has no single-byte form in the current code page.
int unicodeToByte(char32_t u) {
  if (u < 0x80) return static_cast<int>(u);
  if (g_codePage.load() != 1252) return u <= 0xFF ? static_cast<int>(u) : -1;
  return cp::unicodeToCp1252(u);
}

}  // namespace

namespace cp {

char32_t cp1252ToUnicode(unsigned char b) { return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : b; }

int unicodeToCp1252(char32_t u) {
  if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return static_cast<int>(u);
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == u) return 0x80 + i;
  return -1;
}

}  // namespace

bool setAnsiCodePage(unsigned codePage) {
  switch (codePage) {
    case 1252:
    case 932:
    case 936:
    case 949:
    case 950:
      g_codePage = codePage;
      return true;
    default:
      return false;
  }
}

unsigned ansiCodePage() { return g_codePage.load(); }

bool isLeadByte(unsigned char c) { return isLeadByteIn(g_codePage.load(), c); }

namespace cp {

void appendUtf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out += static_cast<char>(u);
  } else if (u < 0x800) {
    out += static_cast<char>(0xC0 | (u >> 6));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else if (u < 0x10000) {
    out += static_cast<char>(0xE0 | (u >> 12));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (u >> 18));
    out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (u & 0x3F));
  }
}

bool decodeUtf8(std::string_view text, std::size_t& i, char32_t& u) {
  unsigned char b = static_cast<unsigned char>(text[i]);
  int extra;
  if (b < 0x80) {
    u = b;
    extra = 0;
  } else if ((b & 0xE0) == 0xC0 && b >= 0xC2) {
    u = b & 0x1F;
    extra = 1;
  } else if ((b & 0xF0) == 0xE0) {
    u = b & 0x0F;
    extra = 2;
  } else if ((b & 0xF8) == 0xF0 && b <= 0xF4) {
    u = b & 0x07;
    extra = 3;
  } else {
    return false;
  }
  if (i + extra >= text.size()) return false;  // sequence cut off by the end of the text
  for (int k = 1; k <= extra; ++k) {
    unsigned char c = static_cast<unsigned char>(text[i + k]);
    if ((c & 0xC0) != 0x80) return false;
    u = (u << 6) | (c & 0x3F);
  }
  if ((extra == 2 && u < 0x800) || (extra == 3 && (u < 0x10000 || u > 0x10FFFF)) ||
      (u >= 0xD800 && u <= 0xDFFF))
    return false;
  i += extra + 1;
  return true;
}


unsigned nextChar(const unsigned char*& s) {
  unsigned c = *s;
  if (c == 0) return 0;
  ++s;
  if (isLeadByte(static_cast<unsigned char>(c))) {
    if (*s == 0) return 0;  // a lead byte cut off by the terminator ends the string
    c = (c << 8) | *s++;
  }
  return c;
}

unsigned toLower(unsigned c) {
  if (c < 0x100) {
    if (c >= 'A' && c <= 'Z') return c + 0x20;
    if (g_codePage.load() == 1252) {
      if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
      if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 0x10;
      if (c == 0x9F) return 0xFF;
    }
    return c;
  }
  // Full-width Latin capitals of code page 932 (0x8260..0x8279) and their small letters
  // (0x8281..0x829A).
  if (g_codePage.load() == 932 && c >= 0x8260 && c <= 0x8279) return c + 0x21;
  return c;
}

std::string ansiToUtf8(const std::string& ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (unsigned char b : ansi) cp::appendUtf8(out, byteToUnicode(b));
  return out;
}

std::string utf8ToAnsi(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t u;
    if (!cp::decodeUtf8(utf8, i, u)) {
      out += '?';
      ++i;
      continue;
    }
    int b = unicodeToByte(u);
    out += b < 0 ? '?' : static_cast<char>(b);
  }
  return out;
}

std::u16string ansiToUtf16(const std::string& ansi) {
  std::u16string out;
  out.reserve(ansi.size());
  for (unsigned char b : ansi) out += static_cast<char16_t>(byteToUnicode(b));
  return out;
}

std::string utf16ToAnsi(const std::u16string& utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t u = utf16[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      u = 0x10000 + ((u - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    }
    int b = unicodeToByte(u);
    out += b < 0 ? '?' : static_cast<char>(b);
  }
  return out;
}

bool isValidUtf8(const std::string& text) {
  size_t i = 0;
  char32_t u;
  while (i < text.size())
    if (!cp::decodeUtf8(text, i, u)) return false;
  return true;
}

namespace {

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

void appendEscape(std::string& out, char32_t u) {
  static const char kHex[] = "0123456789ABCDEF";
  auto one = [&](unsigned v) {
    out += "\\U+";
    for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(v >> shift) & 0xF];
  };
  if (u < 0x10000) {
    one(static_cast<unsigned>(u));
  } else {
    const unsigned v = static_cast<unsigned>(u) - 0x10000;
    one(0xD800 + (v >> 10));
    one(0xDC00 + (v & 0x3FF));
  }
}

long escapeAt(std::string_view in, std::size_t i) {
  if (i + 7 > in.size() || in[i] != '\\' || (in[i + 1] != 'U' && in[i + 1] != 'u') || in[i + 2] != '+') return -1;
  long v = 0;
  for (std::size_t k = i + 3; k < i + 7; ++k) {
    const int d = hexDigit(in[k]);
    if (d < 0) return -1;
    v = v * 16 + d;
  }
  return v;
}

}  // namespace cp

std::string ansiToUtf8Unescaped(const std::string& ansi) {
  std::string out;
  out.reserve(ansi.size());
  for (size_t i = 0; i < ansi.size(); ++i) {
    long u = cp::escapeAt(ansi, i);
    if (u >= 0xD800 && u <= 0xDBFF) {
      // A character beyond the 16-bit range is written as the escapes of its surrogate pair.
      const long low = cp::escapeAt(ansi, i + 7);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp::appendUtf8(out, static_cast<char32_t>(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00)));
        i += 13;
        continue;
      }
      u = -1;
    }
    if (u >= 0 && !(u >= 0xD800 && u <= 0xDFFF)) {
      cp::appendUtf8(out, static_cast<char32_t>(u));
      i += 6;
      continue;
    }
    cp::appendUtf8(out, byteToUnicode(static_cast<unsigned char>(ansi[i])));
  }
  return out;
}

std::string utf8ToAnsiEscaped(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  size_t i = 0;
  while (i < utf8.size()) {
    char32_t u;
    if (!cp::decodeUtf8(utf8, i, u)) {
      out += utf8[i++];  // not UTF-8: a byte of text that is in the code page already
      continue;
    }
    const int b = unicodeToByte(u);
    if (b >= 0) {
      out += static_cast<char>(b);
    } else {
      cp::appendEscape(out, u);  // a surrogate pair of escapes beyond U+FFFF
    }
  }
  return out;
}

}  // namespace pf
