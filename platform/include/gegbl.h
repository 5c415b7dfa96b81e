// gegbl.h - the geometry library's global context (the default tolerance).
#pragma once
#include "getol.h"

struct AcGeContext {
  static AcGeTol gTol;
};
