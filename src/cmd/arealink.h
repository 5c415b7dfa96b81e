// arealink.h - finding a polyline's link and writing its area into the linked attribute.
#pragma once

#include <string>

#include "dbmain.h"

class AcDbPolyline;

// Finds the first link among the entity's persistent reactors and writes its attribute id
// into attId. Answers true when a link was found; attId is written only then. A reactor
// object that cannot be opened is recorded in the ErrorLog and skipped.
bool findLinkedAttribute(AcDbEntity* pEnt, AcDbObjectId& attId);

// Writes the polyline's area, divided by the Divisor setting and formatted with AreaPrec
// decimals, as the text of attribute attId. Answers true when the text was written; false
// when the attribute cannot be opened for write as an attribute (silently) or the area cannot
// be computed (recorded in the ErrorLog). The caller holds the polyline open.
bool updateAreaText(const AcDbPolyline* pPline, AcDbObjectId attId);

// The text that updateAreaText writes for `area` with `precision` decimals, after division by
// `divisor` when that exceeds 0.00001. A precision below 0 formats as 0 decimals and one above
// 12 as 12.
std::string formatAreaText(double area, double divisor, int precision);
