// dxf_tag.h - one DXF group (code + value) as the reader sees it, the value type of every group
// code (from the platform's table), and the error the DXF layer throws internally (turned into a
// status at the public API).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "db/group_codes.h"

namespace pf {
namespace dxf {

// What a group code's value holds: the platform's group-code table (db/group_codes.h). The
// reader validates every value against its kind, so a bad number is reported with its line even
// inside a record we keep only as tags.
using ValueKind = pf::GroupType;
inline ValueKind kindOf(int code) { return groupType(code); }

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
