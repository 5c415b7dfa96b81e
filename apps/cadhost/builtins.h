// builtins.h - the host program's built-in commands (PLINE, INSERT, MOVE, COPY, SCALE, ERASE,
// LIST, ARX, SAVE, SAVEAS, QUIT), registered in the command stack like any module's commands.
#pragma once

namespace cadhost {

// The command group that holds the built-in commands.
extern const char* const kBuiltinGroup;

void registerBuiltinCommands();
void unregisterBuiltinCommands();

}  // namespace cadhost
