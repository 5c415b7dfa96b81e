// pf/dbdebug.h - what the database can report about itself for tests and the host program:
// the objects still open, and the editor reactor list.
#pragma once
#include <string>
#include <vector>
#include "dbmain.h"
#include "pf/editor_reactors.h"

namespace pf {

struct OpenObjectInfo {
  AcDbObjectId id;
  AcDbHandle handle;
  std::string className;
  int readers;
  bool forWrite;
  bool forNotify;
};

// The objects of the database that are open (for read, write or notify), by handle.
std::vector<OpenObjectInfo> openObjects(const AcDbDatabase* db);
// A line per open object ("<handle> <class> read=<n> write notify"); empty when none is open.
std::string openObjectsReport(const AcDbDatabase* db);

// Number of live runtime objects of a database (objects in it, erased ones included).
int objectCount(const AcDbDatabase* db);

}  // namespace pf
