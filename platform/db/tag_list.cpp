// tag_list.cpp - the tag filer's view of the group-code table, and parsing tag values.
#include <charconv>
#include <cmath>
#include <cstring>
#include "db/tag_list.h"

#include "db/group_codes.h"

namespace pf {

TagKind tagKind(int code) {
  const GroupCode g = groupCode(code);
  switch (g.type) {
    case GroupType::String: return TagKind::String;
    case GroupType::Handle: return g.pointer ? TagKind::Id : TagKind::Handle;
    case GroupType::Double:
      switch (g.point) {
        case PointPart::X: return TagKind::PointX;
        case PointPart::Y: return TagKind::PointY;
        case PointPart::Z: return TagKind::PointZ;
        case PointPart::None: break;
      }
      return TagKind::Real;
    case GroupType::Int16: return TagKind::Int16;
    case GroupType::Int32: return TagKind::Int32;
    case GroupType::Int64: return TagKind::Int64;
    case GroupType::Bool: return TagKind::Bool;
    case GroupType::Binary: return TagKind::Binary;
    case GroupType::Comment: return TagKind::Comment;
    case GroupType::Invalid: break;
  }
  return TagKind::Unknown;
}

static bool trimmed(const std::string& text, const char*& b, const char*& e) {
  b = text.data();
  e = b + text.size();
  while (b < e && (*b == ' ' || *b == '\t')) ++b;
  while (e > b && (e[-1] == ' ' || e[-1] == '\t' || e[-1] == '\r')) --e;
  if (b < e && *b == '+') ++b;
  return b < e;
}

bool parseReal(const std::string& text, double& value) {
  const char *b, *e;
  if (!trimmed(text, b, e)) return false;
  auto res = std::from_chars(b, e, value, std::chars_format::general);
  return res.ec == std::errc() && res.ptr == e && std::isfinite(value);
}

bool parseInteger(const std::string& text, long long& value) {
  const char *b, *e;
  if (!trimmed(text, b, e)) return false;
  auto res = std::from_chars(b, e, value, 10);
  if (res.ec == std::errc() && res.ptr == e) return true;
  // Some writers put integral values as reals ("1.0").
  double d = 0;
  if (parseReal(text, d) && std::floor(d) == d && std::fabs(d) < 9.2e18) {
    value = static_cast<long long>(d);
    return true;
  }
  return false;
}

}  // namespace pf
