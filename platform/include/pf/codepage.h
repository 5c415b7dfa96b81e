// pf/codepage.h - the ANSI code page that narrow text is in.
//
// The runtime-library subset (mbstring.h) and the registry's text conversions follow it. The
// default is 1252 (Western, single-byte); the double-byte code pages 932, 936, 949 and 950 can
// be chosen (their lead bytes are known; case folding covers ASCII and, in 932, the
// full-width Latin letters).
#pragma once

namespace pf {

// Answers false (and changes nothing) for a code page this platform does not know.
bool setAnsiCodePage(unsigned codePage);
unsigned ansiCodePage();
bool isLeadByte(unsigned char c);

}  // namespace pf
