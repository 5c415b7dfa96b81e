// dbintar.h - AcDbIntArray.
#pragma once
#include "acarray.h"

typedef AcArray<int> AcDbIntArray;
