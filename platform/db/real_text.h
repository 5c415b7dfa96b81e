// db/real_text.h - the text of a real in a drawing file, as every DXF and tag writer puts it.
//
// Full precision is the shortest text that reads back to the same double. Values from 1e-5 up to
// 1e16 are written without an exponent ("2600000.0", "0.00001"); others in scientific form with
// an upper-case E and at least two exponent digits ("1.0E+20", "2.5E-07"), the form the host's
// own drawings use. The mantissa always holds a decimal point, so the text is recognisably real,
// and zero is written "0.0" whatever its sign.
#pragma once
#include <cstddef>
#include <string>

namespace pf {

// Room the text of any finite double needs.
constexpr std::size_t kRealTextMax = 40;

// Writes `value` into `out` (kRealTextMax bytes) and answers the length. `precision` from 1 to 15
// is a count of significant digits; anything else asks for full precision. Answers 0, writing
// nothing, for NaN and infinities, which a file cannot hold.
std::size_t formatRealInto(char* out, double value, int precision);

// The same into a string; false for NaN and infinities.
bool formatReal(double value, int precision, std::string& out);

}  // namespace pf
