// arealink.h - the text a linked attribute shows for a polyline's area.
#pragma once

#include <string>

// The text that updateAreaText writes for `area` with `precision` decimals, after division by
// `divisor` when that exceeds 0.00001. A precision below 0 formats as 0 decimals and one above
// 12 as 12.
std::string formatAreaText(double area, double divisor, int precision);
