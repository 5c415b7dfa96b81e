// windef.h - the basic Win32 types the host API and MFC subset use, defined for this platform.
#pragma once
#include <cstdint>
#include <cstddef>

#ifndef _WINDEF_
#define _WINDEF_
#endif

#define WINAPI
#define CALLBACK
#define APIENTRY
#define PASCAL
#ifndef CONST
#define CONST const
#endif

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef unsigned int UINT;
typedef int INT;
typedef char CHAR;
typedef char TCHAR;
typedef short SHORT;
typedef unsigned short USHORT;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t INT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef ULONG_PTR DWORD_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef char* LPTSTR;
typedef const char* LPCTSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef const BYTE* LPCBYTE;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef BOOL* LPBOOL;
typedef void* HANDLE;

// Handles are distinct opaque pointer types, so that a window cannot be passed for a module.
#define PF_DECLARE_HANDLE(name) struct name##__; typedef struct name##__* name
PF_DECLARE_HANDLE(HWND);
PF_DECLARE_HANDLE(HINSTANCE);
PF_DECLARE_HANDLE(HKEY);
PF_DECLARE_HANDLE(HMENU);
PF_DECLARE_HANDLE(HICON);
PF_DECLARE_HANDLE(HFONT);
PF_DECLARE_HANDLE(HDC);
PF_DECLARE_HANDLE(HBRUSH);
#undef PF_DECLARE_HANDLE
typedef HINSTANCE HMODULE;
typedef HKEY* PHKEY;

#ifndef FALSE
#define FALSE 0
#endif
#ifndef TRUE
#define TRUE 1
#endif
#ifndef MAX_PATH
#define MAX_PATH 260
#endif
#ifndef _T
#define _T(x) x
#endif
#ifndef _TEXT
#define _TEXT(x) x
#endif
#ifndef TEXT
#define TEXT(x) x
#endif

#define LOWORD(l) ((WORD)(((DWORD_PTR)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR)(l)) >> 16) & 0xffff))
#define MAKELONG(a, b) ((LONG)(((WORD)(((DWORD_PTR)(a)) & 0xffff)) | ((DWORD)((WORD)(((DWORD_PTR)(b)) & 0xffff))) << 16))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT, *LPPOINT;

typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE, *LPSIZE;
