// tag_list.cpp - group-code kinds and the text form of values in a drawing file.
#include <charconv>
#include <cmath>
#include <cstring>
#include "db/tag_list.h"

namespace pf {

TagKind tagKind(int c) {
  if (c < 0) return TagKind::Unknown;
  if (c <= 4 || (c >= 6 && c <= 9)) return TagKind::String;
  if (c == 5) return TagKind::Handle;
  if (c >= 10 && c <= 18) return TagKind::PointX;
  if (c >= 20 && c <= 28) return TagKind::PointY;
  if (c >= 30 && c <= 37) return TagKind::PointZ;
  if (c >= 38 && c <= 59) return TagKind::Real;
  if (c >= 60 && c <= 79) return TagKind::Int16;
  if (c >= 90 && c <= 99) return TagKind::Int32;
  if (c >= 100 && c <= 102) return TagKind::String;
  if (c == 105) return TagKind::Handle;
  if (c >= 110 && c <= 112) return TagKind::PointX;
  if (c >= 120 && c <= 122) return TagKind::PointY;
  if (c >= 130 && c <= 132) return TagKind::PointZ;
  if (c >= 140 && c <= 149) return TagKind::Real;
  if (c >= 160 && c <= 169) return TagKind::Int64;
  if (c >= 170 && c <= 179) return TagKind::Int16;
  if (c == 210) return TagKind::PointX;
  if (c == 220) return TagKind::PointY;
  if (c == 230) return TagKind::PointZ;
  if (c >= 270 && c <= 289) return TagKind::Int16;
  if (c >= 290 && c <= 299) return TagKind::Bool;
  if (c >= 300 && c <= 309) return TagKind::String;
  if (c >= 310 && c <= 319) return TagKind::Binary;
  if (c >= 320 && c <= 329) return TagKind::Handle;
  if (c >= 330 && c <= 369) return TagKind::Id;
  if (c >= 370 && c <= 389) return TagKind::Int16;
  if (c >= 390 && c <= 399) return TagKind::Id;
  if (c >= 400 && c <= 409) return TagKind::Int16;
  if (c >= 410 && c <= 419) return TagKind::String;
  if (c >= 420 && c <= 429) return TagKind::Int32;
  if (c >= 430 && c <= 439) return TagKind::String;
  if (c >= 440 && c <= 459) return TagKind::Int32;
  if (c >= 460 && c <= 469) return TagKind::Real;
  if (c >= 470 && c <= 479) return TagKind::String;
  if (c >= 480 && c <= 481) return TagKind::Id;
  if (c == 999) return TagKind::Comment;
  if (c >= 1000 && c <= 1003) return TagKind::String;
  if (c == 1004) return TagKind::Binary;
  if (c == 1005) return TagKind::Handle;
  if (c >= 1006 && c <= 1009) return TagKind::String;
  if (c >= 1010 && c <= 1013) return TagKind::PointX;
  if (c >= 1020 && c <= 1023) return TagKind::PointY;
  if (c >= 1030 && c <= 1033) return TagKind::PointZ;
  if (c >= 1040 && c <= 1059) return TagKind::Real;
  if (c >= 1060 && c <= 1070) return TagKind::Int16;
  if (c == 1071) return TagKind::Int32;
  return TagKind::Unknown;
}

bool formatReal(double value, int precision, std::string& out) {
  if (!std::isfinite(value)) return false;
  char buf[64];
  std::to_chars_result res;
  if (precision >= 1 && precision < 17)
    res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
  else
    res = std::to_chars(buf, buf + sizeof buf, value);
  std::string s(buf, res.ptr);
  // Keep the value recognisably real: "2600000" -> "2600000.0", "1e-09" -> "1.0e-09".
  size_t e = s.find_first_of("eE");
  std::string mantissa = e == std::string::npos ? s : s.substr(0, e);
  if (mantissa.find('.') == std::string::npos) mantissa += ".0";
  out = e == std::string::npos ? mantissa : mantissa + s.substr(e);
  return true;
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
