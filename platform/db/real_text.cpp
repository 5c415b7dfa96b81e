// real_text.cpp - the one formatter of reals for drawing files (see real_text.h).
#include "db/real_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace pf {

std::size_t formatRealInto(char* out, double v, int precision) {
  if (!std::isfinite(v)) return 0;
  if (v == 0) v = 0.0;  // no "-0.0"
  char tmp[64];
  std::to_chars_result r;
  if (precision > 0 && precision < 16)
    r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::general, precision);
  else if (std::fabs(v) >= 1e16 || (v != 0 && std::fabs(v) < 1e-5))
    r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::scientific);
  else
    r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::fixed);  // shortest, no exponent
  const char* end = r.ptr;
  const char* e = tmp;
  while (e != end && *e != 'e' && *e != 'E') ++e;
  std::size_t n = static_cast<std::size_t>(e - tmp);
  std::memcpy(out, tmp, n);
  if (std::memchr(tmp, '.', n) == nullptr) {
    out[n++] = '.';
    out[n++] = '0';
  }
  if (e != end) {
    out[n++] = 'E';
    const std::size_t rest = static_cast<std::size_t>(end - (e + 1));
    std::memcpy(out + n, e + 1, rest);
    n += rest;
  }
  return n;
}

bool formatReal(double value, int precision, std::string& out) {
  char text[kRealTextMax];
  const std::size_t n = formatRealInto(text, value, precision);
  if (n == 0) return false;
  out.assign(text, n);
  return true;
}

}  // namespace pf
