// mbstring.h - multibyte string functions of the runtime library, aware of the lead bytes of
// the current ANSI code page (1252, single-byte, by default; see pf/codepage.h).
#pragma once
#include <cstddef>

#ifndef _NLSCMPERROR
#define _NLSCMPERROR 2147483647
#endif

extern "C" {
// Case-insensitive comparison by character: <0, 0, >0, or _NLSCMPERROR for a null argument.
int _mbsicmp(const unsigned char* string1, const unsigned char* string2);
// Comparison by character: <0, 0, >0, or _NLSCMPERROR for a null argument.
int _mbscmp(const unsigned char* string1, const unsigned char* string2);
// Case-insensitive comparison of at most count characters.
int _mbsnicmp(const unsigned char* string1, const unsigned char* string2, std::size_t count);
// Last / first occurrence of the character c (a single byte, or lead * 256 + trail); the trail
// byte of a double-byte character never matches. Searching for 0 finds the terminator.
unsigned char* _mbsrchr(const unsigned char* string, unsigned int c);
unsigned char* _mbschr(const unsigned char* string, unsigned int c);
// Number of characters (a double-byte character counts once).
std::size_t _mbslen(const unsigned char* string);
// Non-zero when c is a lead byte of the current code page.
int _ismbblead(unsigned int c);
}
