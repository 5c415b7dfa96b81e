// dxf_tag.h - one DXF group (code + value) as the reader sees it, the value type of every group
// code, and the error the DXF layer throws internally (turned into a status at the public API).
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pf {
namespace dxf {

// What a group code's value holds, from the DXF group-code ranges. The reader validates every
// value against its kind, so a bad number is reported with its line even inside a record we keep
// only as tags.
enum class ValueKind : std::uint8_t {
  String,   // text, kept exactly (spaces are data)
  Double,   // real number
  Int16,    // 16-bit integer (written padded to 6 columns)
  Int32,    // 32-bit integer (written padded to 9 columns)
  Int64,    // 64-bit integer
  Bool,     // 290-299, 0 or 1 (written like a 16-bit integer)
  Handle,   // hexadecimal handle or object reference
  Binary,   // hexadecimal binary chunk (310-319, 1004)
  Comment,  // 999
  Invalid,  // a code no DXF version defines
};

// The kind of every code from 0 to 1071 (codes outside are Invalid), built at compile time: the
// reader asks once per group.
extern const std::array<ValueKind, 1072> kValueKinds;
inline ValueKind kindOf(int code) {
  return code < 0 || code >= 1072 ? ValueKind::Invalid : kValueKinds[static_cast<std::size_t>(code)];
}

// True for the codes whose value names another object by handle (soft/hard pointers and
// owners, 320-369, 390-399, 480-481, extended-data 1005). The record's own handle (5, 105) is
// not a reference.
bool isReferenceCode(int code);

// One group as read: the value points into the reader's buffer (no copy), trimmed where the
// DXF rules say so (group 0, the name after SECTION/TABLE, numbers); strings are exact.
struct Tag {
  std::string_view value;
  std::uint32_t line = 0;  // line of the group code, 1-based
  std::int16_t code = 0;
};

// A load or syntax failure: where and why. what() reads "FILE:LINE: REASON".
class DxfError : public std::runtime_error {
 public:
  enum Kind { kFormat, kFileNotFound, kFileAccess, kWrite };
  DxfError(const std::string& file, std::uint32_t line, const std::string& reason, Kind kind = kFormat);
  Kind kind() const { return kind_; }
  const std::string& file() const { return file_; }
  std::uint32_t line() const { return line_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string file_;
  std::uint32_t line_;
  std::string reason_;
  Kind kind_;
};

// Typed conversions of a value already validated by the reader (or produced by us). They throw
// DxfError with line 0 when the text does not parse; callers with a tag use the Tag overloads,
// which carry its line.
bool parseInt64(std::string_view text, std::int64_t& out);
bool parseDouble(std::string_view text, double& out);
bool parseHandle(std::string_view text, std::uint64_t& out);

// Spaces and tabs removed from both ends.
inline std::string_view trimmed(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

}  // namespace dxf
}  // namespace pf
