// dxf_tag.cpp - the DXF error and the number/handle parsers shared by reader and loader.
#include "dxf/dxf_tag.h"

#include <charconv>
#include <cmath>

namespace pf {
namespace dxf {

DxfError::DxfError(const std::string& file, std::uint32_t line, const std::string& reason, Kind kind)
    : std::runtime_error(line ? file + ":" + std::to_string(line) + ": " + reason : file + ": " + reason),
      file_(file),
      line_(line),
      reason_(reason),
      kind_(kind) {}

bool parseDouble(std::string_view text, double& out) {
  std::string_view t = trimmed(text);
  if (!t.empty() && t[0] == '+') t.remove_prefix(1);
  if (t.empty()) return false;
  const char* end = t.data() + t.size();
  auto r = std::from_chars(t.data(), end, out, std::chars_format::general);
  if (r.ec != std::errc() || r.ptr != end) return false;
  return std::isfinite(out);
}

bool parseInt64(std::string_view text, std::int64_t& out) {
  std::string_view t = trimmed(text);
  if (!t.empty() && t[0] == '+') t.remove_prefix(1);
  if (t.empty()) return false;
  const char* end = t.data() + t.size();
  auto r = std::from_chars(t.data(), end, out, 10);
  if (r.ec == std::errc() && r.ptr == end) return true;
  // Some writers put a real with no fraction ("4.0") where an integer belongs; accept it.
  double d = 0;
  if (!parseDouble(t, d) || d != std::floor(d) || std::fabs(d) > 9.2e18) return false;
  out = static_cast<std::int64_t>(d);
  return true;
}

bool parseHandle(std::string_view text, std::uint64_t& out) {
  std::string_view t = trimmed(text);
  if (t.empty() || t.size() > 16) return false;  // at most 16 digits: no overflow
  std::uint64_t v = 0;
  for (char c : t) {
    unsigned d;
    if (c >= '0' && c <= '9')
      d = static_cast<unsigned>(c - '0');
    else if (c >= 'A' && c <= 'F')
      d = static_cast<unsigned>(c - 'A' + 10);
    else if (c >= 'a' && c <= 'f')
      d = static_cast<unsigned>(c - 'a' + 10);
    else
      return false;
    v = v << 4 | d;
  }
  out = v;
  return true;
}

}  // namespace dxf
}  // namespace pf
