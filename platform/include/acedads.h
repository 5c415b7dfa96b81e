// acedads.h - the editor's C functions: user input, the host abort, the main window.
#pragma once
#include "adsdef.h"

extern "C" {
// Prints the message and ends the host process.
void acrx_abort(const char* format, ...);

int acedEntSel(const char* str, ads_name entres, ads_point ptres);
int acedInitGet(int val, const char* kwl);
int acedGetKword(const char* prompt, char* result);
// The keyword (or, with RSG_OTHER, the arbitrary input) behind the last RTKWORD answer.
int acedGetInput(char* str);
int acedGetString(int cronly, const char* prompt, char* result);
int acedGetInt(const char* prompt, int* result);
int acedGetReal(const char* prompt, ads_real* result);
int acedGetPoint(const ads_point pt, const char* prompt, ads_point result);

struct resbuf* acdbEntGet(const ads_name ent);

// System variables (the host's and the host program's own; see pf/sysvars.h).
int acedGetVar(const char* sym, struct resbuf* result);
int acedSetVar(const char* sym, const struct resbuf* val);

// Selection sets. acedSSGet with a null mode asks "Select objects:" until Enter; the mode "X"
// takes every entity of model space and paper space. Points and filters are not supported
// (a filter answers RTERROR). A set lives until acedSSFree.
int acedSSGet(const char* str, const void* pt1, const void* pt2, const struct resbuf* filter,
              ads_name ss);
int acedSSFree(const ads_name sname);
int acedSSLength(const ads_name sname, long* len);
int acedSSName(const ads_name ss, long i, ads_name entres);

#ifdef _WINDEF_
HWND adsw_acadMainWnd();
HWND adsw_acadDocWnd();
#define adsw_hwndAcad adsw_acadMainWnd()
#endif
}
