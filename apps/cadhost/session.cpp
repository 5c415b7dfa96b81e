// The "Command:" prompt. Enter repeats the last command, ^C at the prompt cancels nothing, a
// name that no command has is reported and the run goes on, and a dialog answer ("@...") with
// no dialog open is reported and skipped.
#include "session.h"

#include <string>

#include "aced.h"
#include "pf/commands.h"
#include "pf/editor.h"
#include "pf/input.h"
#include "pf/output.h"
#include "text_util.h"

namespace cadhost {

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
    if (!pf::commandExists(name)) {
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
