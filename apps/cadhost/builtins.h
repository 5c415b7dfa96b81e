// builtins.h - the host program's built-in commands (PLINE, INSERT, MOVE, COPY, SCALE, ERASE,
// LIST, ARX, SAVE, SAVEAS, QUIT), registered in the command stack like any module's commands.
#pragma once

namespace cadhost {

struct Session;

// The command group that holds the built-in commands.
extern const char* const kBuiltinGroup;

// The commands act on `session` (its drawing, its save path, its end) until they are
// unregistered; the session outlives the registration.
void registerBuiltinCommands(Session& session);
void unregisterBuiltinCommands();

}  // namespace cadhost
