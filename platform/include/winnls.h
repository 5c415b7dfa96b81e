// winnls.h - the Win32 conversions between a code page and UTF-16.
//
// This platform knows the text of one ANSI code page at a time (pf/codepage.h), so
// MultiByteToWideChar and WideCharToMultiByte accept CP_ACP, the current ANSI code page by its
// number when that is 1252, and CP_UTF8. Any other code page fails with
// ERROR_INVALID_PARAMETER, as Windows does for a code page that is not installed.
#pragma once
#include "windef.h"

typedef char16_t WCHAR;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;

#define CP_ACP 0
#define CP_UTF8 65001

extern "C" {
// Converts cbMultiByte bytes of lpMultiByteStr (-1: up to and including its terminator) to
// UTF-16. With cchWideChar 0 answers the length needed; otherwise the length written, or 0
// with ERROR_INSUFFICIENT_BUFFER when it does not fit. dwFlags must be 0.
int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar);
// The reverse conversion; characters the code page lacks become '?' (lpUsedDefaultChar, when
// given, is set to TRUE then; it must be null for CP_UTF8). lpDefaultChar must be null.
int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                               LPBOOL lpUsedDefaultChar);
}
