// arealink.cpp - the text of a linked area: the polyline's area as the settings format it.
// Finding a link and writing the text are the command unit's (cmd/cmdzorvik.cpp).
#include "arealink.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The area is divided only by a divisor above this.
const double kDivisorThreshold = 0.00001;

// Precisions outside this range can only come from an edited registry value: a negative one
// is meaningless to printf and a huge one would overflow the attribute's field length.
const int kMinPrecision = 0;
const int kMaxPrecision = 12;

}  // namespace

std::string formatAreaText(double area, double divisor, int precision) {
  if (divisor > kDivisorThreshold) area = area / divisor;
  if (precision < kMinPrecision) precision = kMinPrecision;
  if (precision > kMaxPrecision) precision = kMaxPrecision;

  char format[32];
  snprintf(format, sizeof format, "%%.%df", precision);
  int length = snprintf(nullptr, 0, format, area);
  if (length < 0) return std::string();
  std::vector<char> text(static_cast<size_t>(length) + 1);
  snprintf(text.data(), text.size(), format, area);
  return std::string(text.data(), static_cast<size_t>(length));
}
