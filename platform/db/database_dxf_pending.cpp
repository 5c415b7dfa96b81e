// database_dxf_pending.cpp - AcDbDatabase::dxfIn/dxfOut until the drawing reader and writer
// (platform/dxf/) define them; that layer replaces this file.
#include "dbmain.h"

Acad::ErrorStatus AcDbDatabase::dxfIn(const char*, const char*) { return Acad::eNotImplementedYet; }
Acad::ErrorStatus AcDbDatabase::dxfOut(const char*, const int, const bool) { return Acad::eNotImplementedYet; }
