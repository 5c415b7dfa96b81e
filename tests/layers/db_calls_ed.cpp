// A database-layer call into the editor: the command line belongs to ed, above db.
#include "pf/output.h"

void probeDatabaseWritesToTheCommandLine() { pf::writeOutput("listed"); }
