// pf/dxf.h - what the host program needs to know about drawing files beyond the status that
// AcDbDatabase::dxfIn / dxfOut answer: why the last load or save failed (file, line, reason),
// and which DXF version a loaded drawing has.
#pragma once

#include <string>

#include "acadstrc.h"

class AcDbDatabase;

namespace pf {

struct DxfFailure {
  std::string file;    // the drawing named in the call
  unsigned line = 0;   // line of the DXF file where the problem is; 0 when not about a line
  std::string reason;  // one sentence, e.g. `value "abc" of group 70 is not an integer`
  // "FILE:LINE: REASON" (or "FILE: REASON" without a line); empty when nothing failed.
  std::string text() const;
};

// The failure of the last AcDbDatabase::dxfIn or dxfOut made by this thread; empty (reason "")
// after a call that succeeded.
const DxfFailure& lastDxfFailure();

// The $ACADVER of the drawing as loaded (e.g. "AC1015"), which is also the version it is saved
// in; "AC1015" for a drawing that was not loaded from DXF.
std::string dxfVersion(const AcDbDatabase* db);

// The drawing's code page ($DWGCODEPAGE, e.g. "ANSI_1252"), in which its text is in the database
// (the files of AC1021 and later drawings hold UTF-8, converted on reading and saving);
// "ANSI_1252" when the drawing names none.
std::string dxfCodePage(const AcDbDatabase* db);

// The two forms of a DXF file.
enum class DxfForm { kAscii, kBinary };

// The form the drawing was read in, which AcDbDatabase::dxfOut saves it in; kAscii for a drawing
// not read from DXF.
DxfForm dxfForm(const AcDbDatabase* db);

// AcDbDatabase::dxfOut in the form given (the same drawing, groups and failures).
Acad::ErrorStatus dxfOutAs(AcDbDatabase* db, const char* fileName, DxfForm form, int precision = 16);

}  // namespace pf
