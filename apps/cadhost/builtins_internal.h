// builtins_internal.h - what the built-in command files share.
#pragma once
#include <string>

#include "acadstrc.h"
#include "dbid.h"

class AcDbEntity;

namespace cadhost {

struct Session;

// The session the built-in commands were registered for (registerBuiltinCommands).
Session& session();

// Appends a new entity to model space; it is closed afterwards unless keepOpen (then the
// caller closes it). On failure the entity is deleted, the reason printed, and false answered.
bool appendToModelSpace(AcDbEntity* ent, AcDbObjectId* id = nullptr, bool keepOpen = false);
AcDbObjectId modelSpaceId();

// Prints "Cannot <what>: <status name> (<number>)." on the command line.
void printStatus(const char* what, Acad::ErrorStatus es);

void cmdPline();
void cmdInsert();
void cmdMove();
void cmdCopy();
void cmdScale();
void cmdErase();
void cmdList();
void cmdArx();
void cmdSave();
void cmdSaveAs();
void cmdQuit();

}  // namespace cadhost
