// dxf_reader.cpp - ASCII DXF group reader (see dxf_reader.h).
#include "dxf/dxf_reader.h"

#include <cstring>

#include "dxf/dxf_binary.h"

namespace pf {
namespace dxf {

namespace {


// Shows a value in a message: quoted, shortened, control characters made visible.
std::string shown(std::string_view v) {
  std::string s = "\"";
  for (std::size_t i = 0; i < v.size() && i < 40; ++i) {
    unsigned char c = static_cast<unsigned char>(v[i]);
    if (c < 0x20) {
      s += '^';
      s += static_cast<char>(c + 64);
    } else {
      s += static_cast<char>(c);
    }
  }
  if (v.size() > 40) s += "...";
  return s + "\"";
}

// Group codes are small integers; parsed by hand because this runs once per tag.
bool parseCode(std::string_view line, int& code) {
  // The usual layout: spaces, then 1-4 digits, nothing after.
  {
    std::size_t i = 0, n = line.size();
    while (i < n && line[i] == ' ') ++i;
    std::size_t start = i;
    int v = 0;
    while (i < n && i - start < 5 && line[i] >= '0' && line[i] <= '9') v = v * 10 + (line[i++] - '0');
    if (i == n && i > start) {
      code = v;
      return true;
    }
  }
  std::string_view t = trimmed(line);
  if (t.empty() || t.size() > 6) return false;
  std::size_t i = 0;
  bool neg = false;
  if (t[0] == '-') {
    neg = true;
    i = 1;
    if (t.size() == 1) return false;
  }
  int v = 0;
  for (; i < t.size(); ++i) {
    char c = t[i];
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  code = neg ? -v : v;
  return true;
}

// Syntax of a real as writers put it: [sign] digits [. digits] [e|E [sign] digits], at least
// one digit in the mantissa. Checking the text is much cheaper than converting it.
bool isReal(std::string_view t) {
  std::size_t i = 0, n = t.size();
  if (i < n && (t[i] == '-' || t[i] == '+')) ++i;
  std::size_t digits = 0;
  while (i < n && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  if (i < n && t[i] == '.') {
    ++i;
    while (i < n && t[i] >= '0' && t[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (t[i] == 'e' || t[i] == 'E')) {
    ++i;
    if (i < n && (t[i] == '-' || t[i] == '+')) ++i;
    std::size_t e = 0;
    while (i < n && t[i] >= '0' && t[i] <= '9') ++i, ++e;
    if (e == 0) return false;
    // A large exponent may not fit a double: the full conversion decides.
    if (e > 2 && i == n) {
      double d;
      return parseDouble(t, d);
    }
  }
  return i == n;
}

// A plain integer that fits the range; anything else goes through parseInt64.
bool quickInt(std::string_view t, std::int64_t& v) {
  std::size_t i = 0, n = t.size();
  bool neg = false;
  if (i < n && (t[i] == '-' || t[i] == '+')) neg = t[i++] == '-';
  if (i == n || n - i > 12) return false;
  std::int64_t x = 0;
  for (; i < n; ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
    x = x * 10 + (t[i] - '0');
  }
  v = neg ? -x : x;
  return true;
}

bool isHex(std::string_view t) {
  for (char c : t) {
    bool ok = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    if (!ok) return false;
  }
  return true;
}

// Index of the first LF or CR at or after `i`, or `n`. Line ends are the only bytes <= '\r' in
// practice, so eight bytes at a time are tested for one (the lowest flagged byte of the test is
// exact); a tab or another control byte inside a value is stepped over.
inline std::size_t lineEnd(const unsigned char* base, std::size_t i, std::size_t n) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  for (;;) {
    while (i + 8 <= n) {
      std::uint64_t x;
      std::memcpy(&x, base + i, 8);
      const std::uint64_t low = (x - kOnes * 0x0E) & ~x & (kOnes * 0x80);
      if (low) {
        i += static_cast<std::size_t>(__builtin_ctzll(low)) / 8;
        break;
      }
      i += 8;
    }
    if (i + 8 > n)
      while (i < n && base[i] > '\r') ++i;
    if (i >= n || base[i] == '\n' || base[i] == '\r') return i;
    ++i;  // another control byte: part of the line
  }
}

// Index of the start of the next line, after the line end at `i` (LF, CRLF or a lone CR).
inline std::size_t pastLineEnd(const unsigned char* base, std::size_t i, std::size_t n) {
  if (i >= n) return n;
  if (base[i] == '\r' && i + 1 < n && base[i + 1] == '\n') return i + 2;
  return i + 1;
}

[[noreturn]] __attribute__((noinline, cold)) void badValue(const TagReader& r, std::uint32_t line, std::string_view value,
                                                           int code, const char* what) {
  r.fail(line, "value " + shown(value) + " of group " + std::to_string(code) + " " + what);
}

// Checks a value against the type of its group code and trims what is trimmed (numbers,
// handles, binary data, group 0).
inline void checkValue(const TagReader& r, Tag& tag, std::uint32_t valueLine) {
  const int code = tag.code;
  const ValueKind kind = kindOf(code);
  switch (kind) {
    case ValueKind::String:
      if (code == 0) tag.value = trimmed(tag.value);
      return;
    case ValueKind::Double: {
      tag.value = trimmed(tag.value);
      double d;
      if (!isReal(tag.value) && !parseDouble(tag.value, d))  // the conversion only for odd text
        badValue(r, valueLine, tag.value, code, "is not a number");
      return;
    }
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Int64:
    case ValueKind::Bool: {
      std::int64_t v;
      tag.value = trimmed(tag.value);
      if (!quickInt(tag.value, v) && !parseInt64(tag.value, v)) badValue(r, valueLine, tag.value, code, "is not an integer");
      // 16- and 32-bit groups are accepted in both their signed and unsigned ranges: writers
      // differ on flag words with the top bit set.
      if ((kind == ValueKind::Int16 || kind == ValueKind::Bool) && (v < -32768 || v > 65535))
        badValue(r, valueLine, tag.value, code, "is out of range for a 16-bit integer");
      if (kind == ValueKind::Int32 && (v < -2147483648LL || v > 4294967295LL))
        badValue(r, valueLine, tag.value, code, "is out of range for a 32-bit integer");
      return;
    }
    case ValueKind::Handle: {
      tag.value = trimmed(tag.value);
      if (tag.value.empty() || tag.value.size() > 16 || !isHex(tag.value)) badValue(r, valueLine, tag.value, code, "is not a handle");
      return;
    }
    case ValueKind::Binary: {
      std::string_view t = trimmed(tag.value);
      if (!isHex(t)) badValue(r, valueLine, tag.value, code, "is not hexadecimal binary data");
      tag.value = t;
      return;
    }
    case ValueKind::Comment:
      return;
    case ValueKind::Invalid:
      r.fail(tag.line, "group code " + std::to_string(code) + " is not a DXF group code");
  }
}

}  // namespace

bool isBinaryDxf(std::string_view data) {
  const std::size_t n = sizeof kBinarySentinel;
  return data.size() >= n && std::memcmp(data.data(), kBinarySentinel, n) == 0;
}

std::size_t offsetAfterGroup(std::string_view data, std::size_t codeOffset) {
  const unsigned char* base = reinterpret_cast<const unsigned char*>(data.data());
  const std::size_t n = data.size();
  const std::size_t valueStart = pastLineEnd(base, lineEnd(base, codeOffset, n), n);
  return pastLineEnd(base, lineEnd(base, valueStart, n), n);
}

TagReader::TagReader(std::string_view data, std::string fileName, bool requireEof)
    : data_(data), file_(std::move(fileName)), requireEof_(requireEof) {
  if (isBinaryDxf(data_))
    fail(1, "binary DXF: the tag reader reads its ASCII form (decodeBinaryDxf)");
  if (data_.size() >= 3 && std::memcmp(data_.data(), "\xEF\xBB\xBF", 3) == 0) pos_ = 3;  // UTF-8 BOM
}

void TagReader::fail(std::uint32_t line, const std::string& reason) const {
  throw DxfError(file_, line, reason);
}

bool TagReader::readLine(std::string_view& out) {
  const std::size_t n = data_.size();
  if (pos_ >= n) return false;
  const unsigned char* base = reinterpret_cast<const unsigned char*>(data_.data());
  const std::size_t end = lineEnd(base, pos_, n);
  out = std::string_view(data_.data() + pos_, end - pos_);
  pos_ = pastLineEnd(base, end, n);
  ++line_;
  return true;
}

void TagReader::seek(std::size_t offset, std::uint32_t line) {
  pos_ = offset;
  line_ = line - 1;
  requireEof_ = false;
  done_ = false;
  first_ = false;
  havePushed_ = false;
  trimNextName_ = false;
}

void TagReader::pushBack(const Tag& tag) {
  pushed_ = tag;
  pushedOffset_ = tagOffset_;
  havePushed_ = true;
}

bool TagReader::next(Tag& tag) {
  if (havePushed_) {
    havePushed_ = false;
    tag = pushed_;
    tagOffset_ = pushedOffset_;
    return true;
  }
  if (done_) return false;
  const unsigned char* base = reinterpret_cast<const unsigned char*>(data_.data());
  const std::size_t n = data_.size();
  for (;;) {
    const std::size_t codeOffset = pos_;
    int code = 0;
    // The usual group-code line, read in place: spaces, one to five digits, the line end.
    // Anything else (and the end of the data) takes the general path below.
    std::size_t i = pos_;
    bool inPlace = false;
    if (i + 4 <= n) {
      // Most writers right-align codes in three columns ("  0", " 10", "330"): a space counts
      // as a leading zero (its low four bits are 0).
      const unsigned c0 = base[i], c1 = base[i + 1], c2 = base[i + 2], c3 = base[i + 3];
      const bool digit0 = c0 - '0' < 10u, digit1 = c1 - '0' < 10u;
      if ((c3 == '\n' || c3 == '\r') && c2 - '0' < 10u && (digit0 || c0 == ' ') && (digit1 || (c1 == ' ' && !digit0))) {
        code = static_cast<int>((c0 & 15u) * 100 + (c1 & 15u) * 10 + (c2 & 15u));
        i += 3;
        inPlace = true;
      }
    }
    if (!inPlace) {
      while (i < n && base[i] == ' ') ++i;
      const std::size_t digits = i;
      while (i < n && i - digits < 5 && static_cast<unsigned>(base[i] - '0') < 10u) code = code * 10 + (base[i++] - '0');
      inPlace = i > digits && i < n && (base[i] == '\n' || base[i] == '\r');
    }
    if (inPlace) {
      pos_ = pastLineEnd(base, i, n);
      ++line_;
    } else {
      code = 0;
      std::string_view codeLine;
      if (!readLine(codeLine)) {
        if (requireEof_) {
          if (first_) fail(1, "not a DXF file: the file is empty");
          fail(line_, "unexpected end of file: the drawing is truncated (no 0 EOF)");
        }
        done_ = true;
        return false;
      }
      if (!parseCode(codeLine, code)) {
        if (first_) fail(line_, "not a DXF file: expected a group code, found " + shown(codeLine));
        fail(line_, "expected a group code, found " + shown(codeLine));
      }
    }
    const std::uint32_t codeLineNo = line_;
    if (pos_ >= n)
      fail(codeLineNo, "unexpected end of file: the drawing is truncated (group " + std::to_string(code) + " has no value)");
    const std::size_t valueEnd = lineEnd(base, pos_, n);
    const std::string_view value(data_.data() + pos_, valueEnd - pos_);
    pos_ = pastLineEnd(base, valueEnd, n);
    ++line_;
    if (code == 999) continue;  // comment
    tag.code = static_cast<std::int16_t>(code);
    tag.line = codeLineNo;
    tag.value = value;
    tagOffset_ = codeOffset;
    if (validate_) {
      checkValue(*this, tag, codeLineNo + 1);
    } else if (code == 0 || kindOf(code) != ValueKind::String) {
      std::string_view v = tag.value;  // trimmed only if there is something to trim
      if (!v.empty() && (v.front() == ' ' || v.back() == ' ' || v.front() == '\t' || v.back() == '\t'))
        tag.value = trimmed(v);
    }
    first_ = false;
    if (code == 0) {
      trimNextName_ = tag.value == "SECTION" || tag.value == "TABLE";
      if (tag.value == "EOF") done_ = true;
    } else if (code == 2 && trimNextName_) {
      tag.value = trimmed(tag.value);
      trimNextName_ = false;
    } else {
      trimNextName_ = false;
    }
    return true;
  }
}

}  // namespace dxf
}  // namespace pf
