// pf/codepage.h - the ANSI code page that narrow text is in.
//
// The runtime-library subset (mbstring.h) and the registry's text conversions follow it. The
// default is 1252 (Western, single-byte); the double-byte code pages 932, 936, 949 and 950 can
// be chosen (their lead bytes are known; case folding covers ASCII and, in 932, the
// full-width Latin letters).
#pragma once
#include <string>

namespace pf {

// Answers false (and changes nothing) for a code page this platform does not know.
bool setAnsiCodePage(unsigned codePage);
unsigned ansiCodePage();
bool isLeadByte(unsigned char c);

// Text between UTF-8 and the current ANSI code page, as the host exchanges it with the world
// around it: a character that the code page lacks is written "\U+XXXX" (four hex digits; a
// character beyond U+FFFF as the two escapes of its surrogate pair), and such an escape becomes
// its character again on the way back. Bytes that are not UTF-8 are kept as they are (text
// that is in the code page already).
std::string utf8ToAnsiEscaped(const std::string& utf8);
std::string ansiToUtf8Unescaped(const std::string& ansi);

}  // namespace pf
