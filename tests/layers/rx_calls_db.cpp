// A runtime-layer call into the database: the database's classes register themselves.
#include "dbmain.h"

void probeRuntimeRegistersDatabaseClasses() { AcDbDatabase::rxInit(); }
