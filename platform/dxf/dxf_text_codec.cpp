// dxf_text_codec.cpp - UTF-8 text of later drawings in the drawing's code page (see
// dxf_text_codec.h).
#include "dxf/dxf_text_codec.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <unordered_map>

#include "winrt/codepage_internal.h"

namespace pf {
namespace dxf {

// What a code page holds: the character of each byte that stands alone, the lead bytes of its
// double-byte characters and those characters, and the bytes of every character.
struct CodePageTable {
  unsigned number = 0;
  char32_t single[256] = {};  // a stand-in U+00XX for a byte the code page leaves unassigned
  bool lead[256] = {};
  std::unordered_map<std::uint16_t, char32_t> pairs;    // lead << 8 | trail
  std::unordered_map<char32_t, std::uint16_t> bytesOf;  // non-ASCII characters: a byte or a pair
};

namespace {

// The UTF-8 files begin with R2007 (AC1021).
constexpr int kFirstUtf8Version = 1021;

int versionNumber(std::string_view v) {
  if (v.size() < 3 || v[0] != 'A' || v[1] != 'C') return 0;
  int n = 0;
  for (std::size_t i = 2; i < v.size(); ++i) {
    if (v[i] < '0' || v[i] > '9') return 0;
    if (n < 100000000) n = n * 10 + (v[i] - '0');
  }
  return n;
}

std::string upper(std::string_view s) {
  std::string out;
  for (char c : s)
    if (c != ' ' && c != '\t') out += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  return out;
}

bool allDigits(const std::string& s) {
  if (s.empty() || s.size() > 5) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// The number and the system converter's name of a $DWGCODEPAGE value: ANSI_n (Windows code
// page n), DOSn (the DOS code page n), ISO8859-n. Answers false for any other name.
bool codePageName(std::string_view value, unsigned& number, std::string& converter) {
  const std::string v = upper(value.empty() ? std::string_view("ANSI_1252") : value);
  std::string digits;
  if (v.compare(0, 5, "ANSI_") == 0) {
    digits = v.substr(5);
    converter = "CP" + digits;
  } else if (v.compare(0, 3, "DOS") == 0) {
    digits = v.substr(3);
    converter = "CP" + digits;
  } else if (v.compare(0, 8, "ISO8859-") == 0) {
    digits = v.substr(8);
    converter = "ISO-8859-" + digits;
  }
  if (!allDigits(digits)) return false;
  number = static_cast<unsigned>(std::stoul(digits));
  if (v[0] == 'I') number += 28590;  // the Windows numbers of the ISO code pages
  return true;
}

void addBytes(CodePageTable& t, char32_t u, std::uint16_t bytes) {
  if (u >= 0x80) t.bytesOf.emplace(u, bytes);  // the first (single-byte) form wins
}

// Bytes without a character stand for U+00XX, so that every byte comes back as it was.
void addStandIns(CodePageTable& t) {
  for (unsigned b = 0x80; b < 0x100; ++b)
    if (!t.lead[b] && t.single[b] == 0) {
      t.single[b] = b;
      addBytes(t, b, static_cast<std::uint16_t>(b));
    }
}

void fill1252(CodePageTable& t) {
  t.number = 1252;
  for (unsigned b = 0; b < 0x100; ++b) {
    t.single[b] = cp::cp1252ToUnicode(static_cast<unsigned char>(b));
    addBytes(t, t.single[b], static_cast<std::uint16_t>(b));
  }
}

// One character of the code page through the system converter: 1 with the character, 0 when
// the bytes begin a longer character, -1 when they are no character.
int convertOne(iconv_t cd, const char* bytes, std::size_t n, char32_t& u) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(bytes);
  std::size_t inLeft = n;
  unsigned char out[16];
  char* op = reinterpret_cast<char*>(out);
  std::size_t outLeft = sizeof out;
  if (iconv(cd, &in, &inLeft, &op, &outLeft) == static_cast<std::size_t>(-1)) return errno == EINVAL ? 0 : -1;
  if (inLeft != 0 || sizeof out - outLeft != 4) return -1;
  u = static_cast<char32_t>(out[0] | (out[1] << 8) | (out[2] << 16) | (static_cast<std::uint32_t>(out[3]) << 24));
  return 1;
}

// Answers false when the system has no converter for the code page.
bool fillFromConverter(CodePageTable& t, const std::string& converter) {
  iconv_t cd = iconv_open("UTF-32LE", converter.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  for (unsigned b = 0x80; b < 0x100; ++b) {
    const char byte = static_cast<char>(b);
    char32_t u = 0;
    const int r = convertOne(cd, &byte, 1, u);
    if (r == 1) {
      t.single[b] = u;
      addBytes(t, u, static_cast<std::uint16_t>(b));
    } else if (r == 0) {
      t.lead[b] = true;
    }
  }
  for (unsigned b = 0x80; b < 0x100; ++b) {
    if (!t.lead[b]) continue;
    for (unsigned trail = 0x40; trail < 0xFF; ++trail) {
      const char pair[2] = {static_cast<char>(b), static_cast<char>(trail)};
      char32_t u = 0;
      if (convertOne(cd, pair, 2, u) != 1) continue;
      const std::uint16_t bytes = static_cast<std::uint16_t>(b << 8 | trail);
      t.pairs.emplace(bytes, u);
      addBytes(t, u, bytes);
    }
  }
  iconv_close(cd);
  return true;
}

// The table of a $DWGCODEPAGE value, made once for each name.
const CodePageTable* tableFor(std::string_view codePage) {
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<CodePageTable>> tables;
  const std::string key = upper(codePage);
  std::lock_guard<std::mutex> lock(mutex);
  std::unique_ptr<CodePageTable>& slot = tables[key];
  if (slot) return slot.get();
  std::unique_ptr<CodePageTable> t(new CodePageTable);
  for (unsigned b = 0; b < 0x80; ++b) t->single[b] = b;
  unsigned number = 0;
  std::string converter;
  if (codePageName(codePage, number, converter)) {
    if (number == 1252) {
      fill1252(*t);
    } else if (fillFromConverter(*t, converter)) {
      t->number = number;
      addStandIns(*t);
    }
  }
  slot = std::move(t);
  return slot.get();
}


}  // namespace

std::unique_ptr<TextCodec> TextCodec::forDrawing(std::string_view acadVer, std::string_view codePage) {
  if (versionNumber(acadVer) < kFirstUtf8Version) return nullptr;
  return std::unique_ptr<TextCodec>(new TextCodec(tableFor(codePage)));
}

unsigned TextCodec::codePage() const { return table_->number; }

bool TextCodec::toCodePage(std::string_view in, std::string& out) const {
  std::size_t i = 0;
  while (i < in.size() && static_cast<unsigned char>(in[i]) < 0x80) ++i;
  if (i == in.size()) return false;
  out.assign(in.data(), i);
  while (i < in.size()) {
    const unsigned char b = static_cast<unsigned char>(in[i]);
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    char32_t u = 0;
    if (!cp::decodeUtf8(in, i, u)) {  // not UTF-8: a byte of the code page
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    auto found = table_->bytesOf.find(u);
    if (found == table_->bytesOf.end()) {
      cp::appendEscape(out, u);
    } else if (found->second > 0xFF) {
      out += static_cast<char>(found->second >> 8);
      out += static_cast<char>(found->second & 0xFF);
    } else {
      out += static_cast<char>(found->second);
    }
  }
  return true;
}

bool TextCodec::toFile(std::string_view in, std::string& out) const {
  std::size_t i = 0;
  while (i < in.size() && static_cast<unsigned char>(in[i]) < 0x80 && in[i] != '\\') ++i;
  if (i == in.size()) return false;
  out.assign(in.data(), i);
  while (i < in.size()) {
    const unsigned char b = static_cast<unsigned char>(in[i]);
    if (b == '\\') {
      long v = cp::escapeAt(in, i);
      std::size_t len = 7;
      if (v >= 0xD800 && v < 0xDC00) {  // a character beyond U+FFFF, as its two surrogates
        const long low = cp::escapeAt(in, i + 7);
        if (low >= 0xDC00 && low < 0xE000) {
          v = 0x10000 + ((v - 0xD800) << 10) + (low - 0xDC00);
          len = 14;
        }
      }
      const bool character = v >= 0x80 && !(v >= 0xD800 && v < 0xE000);
      if (character && table_->bytesOf.count(static_cast<char32_t>(v)) == 0) {
        cp::appendUtf8(out, static_cast<char32_t>(v));
        i += len;
        continue;
      }
      out += '\\';  // a backslash of the text, or an escape the file itself held
      ++i;
      continue;
    }
    if (b < 0x80) {
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    if (table_->lead[b] && i + 1 < in.size()) {
      auto pair = table_->pairs.find(static_cast<std::uint16_t>(b << 8 | static_cast<unsigned char>(in[i + 1])));
      if (pair != table_->pairs.end()) {
        cp::appendUtf8(out, pair->second);
        i += 2;
        continue;
      }
    }
    // A lead byte without its trail byte stands for U+00XX, as unassigned bytes do.
    cp::appendUtf8(out, table_->single[b] ? table_->single[b] : b);
    ++i;
  }
  return true;
}

}  // namespace dxf
}  // namespace pf
