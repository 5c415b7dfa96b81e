// codepage_internal.h - character facts of the ANSI code pages, shared by the runtime-library
// subset and the registry's text conversion.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace pf {
namespace cp {

// The character that starts at s (lead byte and trail byte for a double-byte character of the
// current code page, else the single byte); advances s. A lead byte followed by the end of the
// string answers 0 and stops at the terminator.
unsigned nextChar(const unsigned char*& s);

// Lower-case form of a character of the current code page (ASCII letters always; the Latin
// letters of 1252; the full-width Latin letters of 932).
unsigned toLower(unsigned c);

// Conversions between the current code page's bytes and UTF-8 / UTF-16 text. Characters that
// have no form in the target answer '?'. For code page 1252 every byte round-trips (the five
// unassigned bytes stand for the control characters of the same value); other code pages
// convert only ASCII and pass other bytes through as U+0080..U+00FF.
std::string ansiToUtf8(const std::string& ansi);
std::string utf8ToAnsi(const std::string& utf8);
std::u16string ansiToUtf16(const std::string& ansi);
std::string utf16ToAnsi(const std::u16string& utf16);
// True when the bytes are well-formed UTF-8.
bool isValidUtf8(const std::string& text);

// Code page 1252 whatever the current code page (drawings name their own): the character of a
// byte (every byte has one, as above), and the byte of a character, or -1.
char32_t cp1252ToUnicode(unsigned char b);
int unicodeToCp1252(char32_t u);
// One UTF-8 sequence at text[i]: answers false for a malformed one (i unchanged), else the
// character, with i past it. appendUtf8 appends a character's UTF-8 form.
bool decodeUtf8(std::string_view text, std::size_t& i, char32_t& u);
void appendUtf8(std::string& out, char32_t u);
// The "\\U+XXXX" escape of a character the code page lacks (two, of its surrogate pair, beyond
// U+FFFF); and the value of such an escape at in[i] (four hex digits), or -1 when there is none.
void appendEscape(std::string& out, char32_t u);
long escapeAt(std::string_view in, std::size_t i);

}  // namespace cp
}  // namespace pf
