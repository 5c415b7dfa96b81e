// dbboiler.h - the declare macro of the database's built-in classes.
#pragma once
#include "rxboiler.h"

class AcDbSystemInternals;

#define ACDB_DECLARE_MEMBERS(CLASSNAME)          \
  friend class AcDbSystemInternals;             \
                                                \
 protected:                                     \
  CLASSNAME(AcDbSystemInternals*);              \
                                                \
 public:                                        \
  ACRX_DECLARE_MEMBERS(CLASSNAME)

#define MAKE_ACDBOPENOBJECT_FUNCTION(CLASSNAME)
