// registration.cpp - the toolkit's commands on the host's command stack.
#include "toolkit/commands.h"

#include "accmd.h"

namespace {

struct ToolkitCommand {
  const char* name;
  void (*run)();
};
const ToolkitCommand kToolkitCommands[] = {
    {"zorviklink", zorvikLinkCommand},
    {"zorvikaudit", zorvikAuditCommand},
    {"zorvikexport", zorvikExportCommand},
};

}  // namespace

Acad::ErrorStatus registerToolkitCommands(AcEdCommandStack* stack, const char* group) {
  for (const ToolkitCommand& command : kToolkitCommands) {
    Acad::ErrorStatus es = stack->addCommand(group, command.name, command.name, ACRX_CMD_MODAL, command.run,
                                             nullptr, -1, nullptr, nullptr);
    if (es != Acad::eOk) return es;
  }
  return Acad::eOk;
}
