// The "Command:" prompt. Enter repeats the last command, ^C at the prompt cancels nothing, a
// name that no command has is reported and the run goes on, and a dialog answer ("@...") with
// no dialog open is reported and skipped.
#include "session.h"

#include <cctype>
#include <string>

#include "accmd.h"
#include "aced.h"
#include "pf/commands.h"
#include "pf/editor.h"
#include "pf/input.h"
#include "pf/output.h"
#include "text_util.h"

namespace cadhost {
namespace {

// True when a command of that typed name exists ("_NAME" asks for the global name, a leading
// '.' for the built-in one).
bool commandExists(std::string name) {
  bool globalOnly = false;
  while (!name.empty() && (name[0] == '_' || name[0] == '.')) {
    if (name[0] == '_') globalOnly = true;
    name.erase(0, 1);
  }
  if (name.empty()) return false;
  AcEdCommandStack* stack = acedRegCmds;
  if (!stack) return false;
  if (stack->lookupGlobalCmd(name.c_str())) return true;
  return !globalOnly && stack->lookupLocalCmd(name.c_str()) != nullptr;
}

}  // namespace

void runCommandLine(Session& session) {
  std::string last;
  while (!session.quitRequested) {
    pf::Input in = pf::readInput("Command: ");
    if (in.kind == pf::Input::kEnd) break;
    if (in.kind == pf::Input::kCancel) continue;  // the prompt has shown *Cancel*
    std::string name = trimBlanks(in.text);
    if (name.empty()) {
      if (last.empty()) continue;
      name = last;
    }
    if (name[0] == '@') {
      pf::writeOutput("\nIgnored the dialog answer \"" + name + "\": no dialog is open.");
      continue;
    }
    if (!commandExists(name)) {
      const std::string shown = upperCase(name);
      pf::notifyEditorReactors([&](AcEditorReactor& r) { r.unknownCommand(shown.c_str(), nullptr); });
      pf::writeOutput("\nUnknown command \"" + shown + "\".  Press F1 for help.");
      continue;
    }
    last = name;
    pf::runCommand(name);
  }
  pf::finishOutputLine();
}

}  // namespace cadhost
