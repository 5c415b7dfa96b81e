// pf/commands.h - running commands by name, as the host's command line does.
//
// A typed name is looked up in the command stack: "_NAME" by global name, otherwise by local
// name and then by global name; a leading '.' (use the built-in command) is accepted and
// ignored; "-NAME" (the command-line form) runs a command registered as "-NAME", else NAME.
// The prefixes may be combined ("_.-NAME"). Running a command tells the editor reactors commandWillStart, then commandEnded,
// commandCancelled (a prompt was cancelled during the command) or commandFailed (the command
// threw); a name that is not registered tells them unknownCommand and prints
// 'Unknown command "NAME".'. While the command runs, its resource handle (if it was registered
// with one) is pushed on the current document's resource-handle stack, and the document is
// locked as the command's flags ask.
#pragma once
#include <string>

namespace pf {

enum class CommandOutcome { kEnded, kCancelled, kFailed, kUnknown };

struct CommandRun {
  CommandOutcome outcome = CommandOutcome::kUnknown;
  std::string globalName;       // of the command that ran ("" when unknown)
  int resourceDepthBefore = 0;  // the current document's resource-handle stack depth
  int resourceDepthAfter = 0;   // ... after the command: equal when it pushed and popped in pairs
};

// True when a typed name (prefixes and surrounding blanks allowed) names a command.
bool commandExists(const std::string& typedName);

// Runs one command by its typed name (surrounding blanks ignored).
CommandRun runCommand(const std::string& typedName);

// The name of the command running now (the innermost one), or "".
std::string activeCommand();

// The host's command line: reads names at the "Command: " prompt from the input source and
// runs them until the input ends. Enter repeats the last command, "^C" at the prompt does
// nothing.
struct CommandLoopSummary {
  int commands = 0;   // commands started
  int cancelled = 0;
  int failed = 0;
  int unknown = 0;
};
CommandLoopSummary runCommandLoop();

}  // namespace pf
