// dxf_tag.cpp - group-code value kinds and the number/handle parsers shared by reader and loader.
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

namespace {

constexpr ValueKind computeKind(int code) {
  if (code < 0) return ValueKind::Invalid;
  if (code <= 4) return ValueKind::String;
  if (code == 5) return ValueKind::Handle;
  if (code <= 9) return ValueKind::String;
  if (code <= 59) return ValueKind::Double;
  if (code <= 79) return ValueKind::Int16;
  if (code <= 89) return ValueKind::Invalid;
  if (code <= 99) return ValueKind::Int32;
  if (code <= 102) return ValueKind::String;
  if (code == 105) return ValueKind::Handle;
  if (code <= 109) return ValueKind::Invalid;
  if (code <= 149) return ValueKind::Double;
  if (code <= 159) return ValueKind::Invalid;
  if (code <= 169) return ValueKind::Int64;
  if (code <= 179) return ValueKind::Int16;
  if (code <= 209) return ValueKind::Invalid;
  if (code <= 239) return ValueKind::Double;
  if (code <= 269) return ValueKind::Invalid;
  if (code <= 289) return ValueKind::Int16;
  if (code <= 299) return ValueKind::Bool;
  if (code <= 309) return ValueKind::String;
  if (code <= 319) return ValueKind::Binary;
  if (code <= 369) return ValueKind::Handle;
  if (code <= 389) return ValueKind::Int16;
  if (code <= 399) return ValueKind::Handle;
  if (code <= 409) return ValueKind::Int16;
  if (code <= 419) return ValueKind::String;
  if (code <= 429) return ValueKind::Int32;
  if (code <= 439) return ValueKind::String;
  if (code <= 459) return ValueKind::Int32;
  if (code <= 469) return ValueKind::Double;
  if (code <= 479) return ValueKind::String;
  if (code <= 481) return ValueKind::Handle;
  if (code == 999) return ValueKind::Comment;
  if (code < 1000) return ValueKind::Invalid;
  if (code == 1004) return ValueKind::Binary;
  if (code == 1005) return ValueKind::Handle;
  if (code <= 1009) return ValueKind::String;
  if (code <= 1059) return ValueKind::Double;
  if (code <= 1070) return ValueKind::Int16;
  if (code == 1071) return ValueKind::Int32;
  return ValueKind::Invalid;
}

constexpr std::array<ValueKind, 1072> kindTable() {
  std::array<ValueKind, 1072> kinds{};
  for (int c = 0; c < 1072; ++c) kinds[static_cast<std::size_t>(c)] = computeKind(c);
  return kinds;
}

}  // namespace

constexpr std::array<ValueKind, 1072> kValueKinds = kindTable();

bool isReferenceCode(int code) {
  return (code >= 320 && code <= 369) || (code >= 390 && code <= 399) || code == 480 || code == 481 ||
         code == 1005;
}

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
