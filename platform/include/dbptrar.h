// dbptrar.h - AcDbVoidPtrArray (used for an object's reactor list).
#pragma once
#include "acarray.h"

typedef AcArray<void*> AcDbVoidPtrArray;
